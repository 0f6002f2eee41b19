#pragma once

#include "ports/port_list.h"
#include "settings/settings_compare.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace quvex::rack {

// What a port was found to hold, as the Units window's state column says it.
enum class UnitState {
    NotAsked,    // listed, not probed yet
    Answers,     // a QUVEX unit of model_index
    NoAnswer,    // nothing came back (since silent_since)
    NotQuvex,    // answers, but not as a QUVEX unit
    InUse,       // another program holds the port (reason names it when it can)
    WillNotOpen, // the port layer's reason
    OpenInPanel, // the panel's own port: never opened here
};

// One row of the Units window: a numbered port or a unit found on another line.
struct UnitRow
{
    ports::PortEntry port;
    QString target; // backup::unit_target(port.device): what names, backups and the store know it by
    QString name;   // the operator's name for it; empty: none
    int model_index = 0;
    UnitState state = UnitState::NotAsked;
    QString reason;         // InUse, WillNotOpen: the port layer's words; OpenInPanel: the panel's last exchange
    QDateTime silent_since; // NoAnswer: when it was first found silent
    QString last_backup;    // the time of the newest version in the store; empty: none
    QString changes;        // "none", "3 items": filled by a backup or by Changes since backup

    // While an action runs on the row: its progress, then its outcome in words.
    bool running = false;
    int done = 0;
    int total = 0;
    QString outcome;
};

// The state in words, readable without colour: "answers", "no answer (since 14:02:11)",
// "answers, but not as a QUVEX unit", "in use by quvexctl (process 4711)", the port layer's reason
// why it will not open, "open in this panel".
QString state_text(const UnitRow &row);

// How reports name the row's line: "COM 5", else its target.
QString port_text(const UnitRow &row);

// One unit's items that differ from its newest backup, as Changes since backup lists them.
struct UnitChanges
{
    int row = -1;
    QList<settings::Difference> differences; // file: the backup's value, unit: the unit's
};

} // namespace quvex::rack
