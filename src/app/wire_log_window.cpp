#include "wire_log_window.h"

#include "text/visible_text.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QVBoxLayout>

namespace quvex::app {

WireLogWindow::WireLogWindow(QWidget &panel, const WindowHooks &hooks)
    : QWidget(&panel, Qt::Window)
    , m_panel(panel)
    , m_hooks(hooks)
    , m_view(new QPlainTextEdit)
{
    setObjectName(QStringLiteral("wire_log_window"));
    setWindowTitle(QStringLiteral("Wire log"));
    m_view->setObjectName(QStringLiteral("wire_log_view"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setMaximumBlockCount(int(kKeptLines));
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Room for an event's longest words after the time, and a screenful of exchanges.
    const QFontMetrics metrics(m_view->font());
    m_view->setMinimumSize(metrics.horizontalAdvance(QString(90, u'0')), metrics.lineSpacing() * 24);

    auto *copy = new QPushButton(QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("wire_log_copy"));
    auto *save = new QPushButton(QStringLiteral("Save..."));
    save->setObjectName(QStringLiteral("wire_log_save"));
    connect(copy, &QPushButton::clicked, this, &WireLogWindow::copy);
    connect(save, &QPushButton::clicked, this, &WireLogWindow::save);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(save);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    m_batch.setSingleShot(true);
    m_batch.setInterval(kBatchMs);
    connect(&m_batch, &QTimer::timeout, this, &WireLogWindow::show_batch);
}

void WireLogWindow::add_line(const QString &line)
{
    m_lines.append(line);
    if (m_lines.size() > kKeptLines)
        m_lines.removeFirst();
    m_unshown = std::min(m_unshown + 1, kKeptLines);
    if (isVisible() && !m_batch.isActive())
        m_batch.start();
}

void WireLogWindow::show_batch()
{
    if (m_unshown == 0)
        return;
    // One append for the whole batch: the view lays out and paints once.
    m_view->appendPlainText(m_lines.sliced(m_lines.size() - m_unshown).join(u'\n'));
    m_unshown = 0;
}

void WireLogWindow::showEvent(QShowEvent *event)
{
    // Nothing was shown while the window was closed: what is kept goes in at once.
    m_batch.stop();
    m_view->setPlainText(m_lines.join(u'\n'));
    m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum());
    m_unshown = 0;
    QWidget::showEvent(event);
}

void WireLogWindow::show_beside_panel()
{
    if (!std::exchange(m_placed, true)) {
        adjustSize();
        move(m_panel.frameGeometry().topRight() + QPoint(1, 0));
    }
    show();
    raise();
    activateWindow();
}

QString WireLogWindow::text() const
{
    return m_lines.isEmpty() ? QString() : m_lines.join(u'\n') + u'\n';
}

void WireLogWindow::copy()
{
    QApplication::clipboard()->setText(text());
}

void WireLogWindow::save()
{
    // Not exec(): a nested event loop here would hold up an exchange that is waiting meanwhile.
    auto *dialog = new QFileDialog(this, QStringLiteral("Save wire log"), QString(),
                                   QStringLiteral("Text files (*.txt);;All files (*)"));
    dialog->setObjectName(QStringLiteral("wire_log_save_dialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, &WireLogWindow::save_to);
    dialog->open();
}

void WireLogWindow::save_to(const QString &path)
{
    QSaveFile file(path);
    const QByteArray bytes = text().toUtf8();
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit())
        return;
    m_hooks.show_message(
        this, QStringLiteral("Could not save the wire log to %1").arg(text::visible(QDir::toNativeSeparators(path))),
        {}, link::MessageIcon::None, file.errorString());
}

} // namespace quvex::app
