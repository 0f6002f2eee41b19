#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QLabel;
class QStatusBar;

namespace quvex::app {

// The window's status line: the wire's hint as its normal widget, and a run's progress over it
// while the run lasts, shown at most four times a second.
class StatusLine final : public QObject
{
    Q_OBJECT

public:
    explicit StatusLine(QStatusBar &bar);

    QLabel &hint() const { return *m_hint; }
    // An empty verb ends the progress shown.
    void show_progress(const QString &verb, int done, int total, const QString &item);

private:
    static constexpr int kProgressIntervalMs = 250;

    QStatusBar &m_bar;
    QLabel *m_hint;
    QTimer m_pace;
    QString m_progress;
};

} // namespace quvex::app
