#pragma once

#include "unit_task.h"

#include <QList>
#include <QString>

namespace quvex::rack {

// "3 items", "1 item", "none": how many items differ.
QString items_text(qsizetype count);

// A unit's outcome in a run, as its row and the summary give it: "new version", "3 items
// loaded", "no answer", the port layer's reason...
QString outcome_text(TaskKind kind, const TaskResult &result);

// One unit of a finished run: how reports name it and how it ended.
struct RunLine
{
    QString port;
    bool done = false;
    bool left_alone = false; // of another model: named, not counted
    QString text;
};

// "7 of 8 backed up; COM 5: no answer": the units done of those asked, then each that was not,
// in row order.
QString run_summary(TaskKind kind, const QList<RunLine> &lines);

} // namespace quvex::rack
