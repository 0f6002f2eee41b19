#pragma once

#include "catalogue/value.h"

#include <QList>
#include <QString>

#include <functional>

namespace quvex::panel {

// One item the unit took a new value for: its catalogue name, the value before and after.
struct ItemChange
{
    QString name;
    catalogue::Value before;
    catalogue::Value after;

    friend bool operator==(const ItemChange &, const ItemChange &) = default;
};

// What one operator action changed at the unit, in the order it was sent.
struct ChangeStep
{
    QString caption; // of a unit-wide run ("Loading"); empty for a single action
    QList<ItemChange> items;

    // "Flicker Red. 3 → 4" for one item, else the run's caption and how many.
    QString text() const;
};

// Collects the changes the unit accepted during one operator action and hands them on as one
// step when the action ends. A change whose old value the panel does not know cannot be taken
// back, nor can anything after which the unit computed values itself: those end the history,
// with the reason. While a step is being taken back its own sends are no new step.
class ChangeHistory
{
public:
    using StepHook = std::function<void(const ChangeStep &step)>;
    // An empty reason: the history ended with the unit it was about.
    using ClearHook = std::function<void(const QString &reason)>;

    void set_hooks(StepHook on_step, ClearHook on_clear);

    void record(const QString &name, const catalogue::Value &before, const catalogue::Value &after);
    void forbid(const QString &reason);
    void clear() { forbid(QString()); }
    // The unit-wide run that started last in this action: its changes are its step.
    void set_caption(const QString &caption);
    void set_suspended(bool suspended) { m_suspended = suspended; }
    // The outermost operation has ended.
    void end_action();

private:
    StepHook m_on_step;
    ClearHook m_on_clear;
    ChangeStep m_step;
    QString m_caption;
    bool m_cleared = false;
    QString m_reason;
    bool m_suspended = false;
};

} // namespace quvex::panel
