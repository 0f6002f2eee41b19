#include "support/fake_unit.h"

namespace quvex::test {

namespace {

const QStringList kPictureItems = {QStringLiteral("OutH-Centre:"), QStringLiteral("OutH-Width:"),
                                   QStringLiteral("OutV-Centre:"), QStringLiteral("OutV-Height:")};
const QStringList kCommands = {QStringLiteral("Reset"), QStringLiteral("StoreSettings"), QStringLiteral("VGAStore"),
                               QStringLiteral("AutoSet")};

} // namespace

bool FakeUnit::set_open(bool open)
{
    if (open && refuse_open)
        return false;
    if (open && !m_open)
        ++m_open_count;
    m_open = open;
    if (!open) {
        m_input.clear();
        m_pending.clear();
    }
    return true;
}

QByteArray FakeUnit::read_waiting()
{
    return std::exchange(m_input, {});
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
    m_sent += bytes;
    for (const char c : bytes) {
        if (c != '\r') {
            m_partial_line += c;
            continue;
        }
        const QByteArray line = std::exchange(m_partial_line, {});
        QList<QByteArray> pieces;
        if (!m_scripted.isEmpty())
            pieces = m_scripted.takeFirst();
        else if (const QByteArray answer = answer_to(line); !answer.isEmpty())
            pieces = {answer};
        for (const QByteArray &piece : pieces)
            m_pending.append({m_now + answer_delay_ticks, piece});
    }
    return true;
}

void FakeUnit::step()
{
    if (!m_pending.isEmpty() && m_pending.front().due <= m_now) {
        m_input += m_pending.takeFirst().bytes;
        return;
    }
    ++m_now;
    if (on_tick)
        on_tick();
}

QString FakeUnit::picture_key(const QString &wire_name) const
{
    return QStringLiteral("%1/%2/%3").arg(video_std()).arg(overscan()).arg(wire_name);
}

void FakeUnit::set_picture_value(int video_std, int overscan, const QString &wire_name, double value)
{
    m_values[QStringLiteral("%1/%2/%3").arg(video_std).arg(overscan).arg(wire_name)] = value;
}

double FakeUnit::picture_value(int video_std, int overscan, const QString &wire_name) const
{
    return m_values.value(QStringLiteral("%1/%2/%3").arg(video_std).arg(overscan).arg(wire_name));
}

QByteArray FakeUnit::answer_to(const QByteArray &line)
{
    if (behaviour == Behaviour::Silent)
        return {};
    const qsizetype equals = line.indexOf('=');
    const QString name = QString::fromLatin1(equals < 0 ? line : line.left(equals));
    if (silent_names.contains(name))
        return {};
    if (noisy_names.contains(name))
        return "x\r\n";
    if (behaviour == Behaviour::AnswerUnknown || unknown_names.contains(name))
        return "?\n";
    const QString key = kPictureItems.contains(name) ? picture_key(name) : name;
    if (equals >= 0) {
        if (!kCommands.contains(name))
            m_values[key] = line.mid(equals + 1).toDouble();
        return ">";
    }
    return QByteArray::number(m_values.value(key)) + "\r\n";
}

QStringList FakeUnit::sent_lines() const
{
    QStringList lines = QString::fromLatin1(m_sent).split(u'\r');
    lines.removeLast(); // text after the last CR is no complete line
    return lines;
}

} // namespace quvex::test
