#pragma once

#include "window_hooks.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

class QPlainTextEdit;

namespace quvex::app {

// "Wire log", a window of its own beside the panel: the last kKeptLines lines of the wire log,
// kept whether the window is open or not, with Copy and Save. It never blocks the panel and is
// not locked with it. Its view takes new lines in batches, at most four times a second: a read
// all writes hundreds of lines, and painting each at once would cost the panel more than the
// exchanges themselves.
class WireLogWindow final : public QWidget
{
    Q_OBJECT

public:
    static constexpr qsizetype kKeptLines = 10000;
    static constexpr int kBatchMs = 250;

    WireLogWindow(QWidget &panel, const WindowHooks &hooks);

    void add_line(const QString &line);
    // Opened beside the panel the first time, where the operator left it after that.
    void show_beside_panel();
    // Every line kept, each ended by a line feed.
    QString text() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void show_batch();
    void copy();
    void save();
    void save_to(const QString &path);

    QWidget &m_panel;
    const WindowHooks &m_hooks;
    QPlainTextEdit *m_view;
    QStringList m_lines;
    qsizetype m_unshown = 0; // the last lines, not in the view yet
    QTimer m_batch;
    bool m_placed = false;
};

} // namespace quvex::app
