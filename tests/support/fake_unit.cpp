#include "support/fake_unit.h"

#include "link/answer_number.h"

namespace quvex::test {

namespace {

sim::Model model_of(std::string_view code)
{
    return sim::parse_model(code).value_or(sim::Model::Qvm);
}

} // namespace

FakeUnit::FakeUnit(std::string_view model)
    : m_unit(model_of(model))
{
}

void FakeUnit::swap_for(std::string_view model)
{
    m_unit = sim::Unit(model_of(model));
}

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
    return QByteArray::fromStdString(m_unit.handle(line.toStdString()));
}

QByteArray FakeUnit::handle(const QString &line)
{
    return QByteArray::fromStdString(m_unit.handle(line.toStdString()));
}

void FakeUnit::set_value(const QString &wire_name, double value)
{
    handle(wire_name + u'=' + link::format_wire_number(value));
}

double FakeUnit::value(const QString &wire_name)
{
    return link::parse_answer_number(handle(wire_name)).value_or(0.0);
}

void FakeUnit::in_mode(int video_std, int overscan, const std::function<void()> &access)
{
    const int own_video_std = this->video_std();
    const int own_overscan = this->overscan();
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
