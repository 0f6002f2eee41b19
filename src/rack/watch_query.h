#pragma once

#include <QString>

namespace quvex::rack {

enum class WatchOutcome { Answers, NoAnswer, NotOpened };

struct WatchAnswer
{
    WatchOutcome outcome = WatchOutcome::NoAnswer;
    QString reason; // NotOpened: the port layer's words
};

// The watch's one question to a unit: opens its port, asks an item every model has (a read,
// which changes nothing), and closes the port again, so that other programs may use it between
// two questions. Runs in a quiet session of its own on the calling thread; an interruption of
// that thread ends the wait at once.
WatchAnswer watch_query(const QString &device);

} // namespace quvex::rack
