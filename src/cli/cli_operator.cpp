#include "cli_operator.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>
#include <utility>

namespace quvex::cli {

namespace {

void print_error_text(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

} // namespace

CliOperator::CliOperator(bool quiet)
    : m_quiet(quiet)
    , m_terminal(!quiet && ::isatty(STDERR_FILENO) == 1)
{
}

void CliOperator::show_message(const QString &text, const QString &, link::MessageIcon, const QString &detail)
{
    ++m_messages_shown;
    if (m_quiet)
        return;
    clear_progress();
    // The core breaks some messages with CR alone, which would overwrite the line on a terminal.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    if (!detail.isEmpty())
        shown += u'\n' + detail;
    print_error_text(shown + u'\n');
}

void CliOperator::show_hint(const QString &text)
{
    if (std::exchange(m_hinted, true) || m_quiet)
        return;
    clear_progress();
    print_error_text(text + u'\n');
}

void CliOperator::show_trace_line(const QString &line)
{
    clear_progress();
    print_error_text(line + u'\n');
}

void CliOperator::process_events()
{
    // Blocks until something happens; Timer1's ticks make sure something always does.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void CliOperator::show_progress(const QString &verb, int done, int total, const QString &item)
{
    if (!m_terminal)
        return;
    if (verb.isEmpty()) {
        clear_progress();
        return;
    }
    QString text = verb.toLower() + u' ' + QString::number(done);
    if (total > 0)
        text += u'/' + QString::number(total);
    print_error_text(QStringLiteral("\r\x1b[K") + text + u' ' + item);
    m_progress_shown = true;
}

void CliOperator::clear_progress()
{
    if (std::exchange(m_progress_shown, false))
        print_error_text(QStringLiteral("\r\x1b[K"));
}

} // namespace quvex::cli
