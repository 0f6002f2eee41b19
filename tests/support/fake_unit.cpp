#include "support/fake_unit.h"

#include "link/answer_number.h"

namespace quvex::test {

bool FakeUnit::set_open(bool open)
{
    if (open && refuse_open)
        return false;
    m_open_count += open && !m_open;
    m_open = open;
    if (!open) {
        m_input.clear();
        m_pending.clear();
    }
    return true;
}

void FakeUnit::unplug()
{
    m_plugged = false;
    m_input.clear();
    m_pending.clear();
}

bool FakeUnit::send(const QByteArray &bytes)
{
    if (!m_plugged)
        return false;
    for (int i = 0; i < send_ticks; ++i) {
        ++m_now;
        if (on_tick)
            on_tick();
    }
    m_sent += bytes;
    for (const char c : bytes) {
        if (c != '\r') {
            m_partial_line += c;
            continue;
        }
        const QByteArray line = std::exchange(m_partial_line, {});
        QList<QByteArray> pieces;
        // In place of the unit's answer: the line never reaches it.
        if (!m_scripted.isEmpty())
            pieces = m_scripted.takeFirst();
        else if (!m_scripted_to.isEmpty() && m_scripted_to.constFirst().first.toLatin1() == line)
            pieces = m_scripted_to.takeFirst().second;
        else if (const QByteArray answer = answer_to(line); !answer.isEmpty())
            pieces = {answer};
        for (const QByteArray &piece : pieces)
            m_pending.append({m_now + answer_delay_ticks, piece});
    }
    return true;
}

void FakeUnit::step()
{
    if (!m_pending.isEmpty() && m_pending.front().first <= m_now) {
        if (m_pending.front().second == kPull)
            unplug();
        else
            m_input += m_pending.takeFirst().second;
        return;
    }
    ++m_now;
    if (on_tick)
        on_tick();
}

QByteArray FakeUnit::answer_to(const QByteArray &line)
{
    const QString name = QString::fromLatin1(line.split('=').first());
    if (behaviour == Behaviour::Silent || silent_names.contains(name))
        return {};
    if (m_faults.next(line.toStdString()).garbled) {
        handle(line);
        return QByteArray(1, sim::kGarbledAnswer);
    }
    if (noisy_names.contains(name))
        return "x\r\n";
    if (behaviour == Behaviour::AnswerUnknown || unknown_names.contains(name))
        return "?\n";
    return handle(line);
}

void FakeUnit::set_value(const QString &wire_name, double value)
{
    handle((wire_name + u'=' + link::format_wire_number(value)).toLatin1());
}

double FakeUnit::value(const QString &wire_name)
{
    return link::parse_answer_number(handle(wire_name.toLatin1())).value_or(0.0);
}

void FakeUnit::in_mode(int video_std, int overscan, const std::function<void()> &access)
{
    const int own_video_std = this->video_std(), own_overscan = this->overscan();
    set_value(QStringLiteral("VideoStd"), video_std);
    set_value(QStringLiteral("Overscan"), overscan);
    access();
    set_value(QStringLiteral("VideoStd"), own_video_std);
    set_value(QStringLiteral("Overscan"), own_overscan);
}

void FakeUnit::set_picture_value(int video_std, int overscan, const QString &wire_name, double value)
{
    in_mode(video_std, overscan, [&] { set_value(wire_name, value); });
}

double FakeUnit::picture_value(int video_std, int overscan, const QString &wire_name)
{
    double value = 0;
    in_mode(video_std, overscan, [&] { value = this->value(wire_name); });
    return value;
}

QStringList FakeUnit::sent_lines() const
{
    QStringList lines = QString::fromLatin1(m_sent).split(u'\r');
    lines.removeLast(); // text after the last CR is no complete line
    return lines;
}

} // namespace quvex::test
