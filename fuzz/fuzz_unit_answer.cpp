// The read and write exchanges against a unit that answers anything at all, in any number of
// pieces, on virtual time. Every outcome (result, flags, messages, bytes sent, ticks waited) is
// predicted from the pieces alone and compared with what the link did.
//
// Input: one selector byte, then up to three answers separated by 0x1e, one per exchange, each
// cut into the pieces the unit sends by 0x1f. An empty answer is a unit that stays silent.

#include "catalogue/catalogue.h"
#include "catalogue/naming.h"
#include "fuzz_check.h"
#include "link/answer_number.h"
#include "support/rig.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

using namespace quvex;

namespace {

constexpr char kAnswerSeparator = '\x1e';
constexpr char kPieceSeparator = '\x1f';
constexpr int kMaxExchanges = 3;
constexpr int kMaxPieces = 16;

const QString kWrongType = QStringLiteral("Wrong QUVEX type selected.");
const QString kNoResponse =
    QStringLiteral("QUVEX unit not responding.\rPlease check cables,\r that BaudRate=23\r and that RS232 = Control.");

enum class Kind { ReadPlain, ReadByte, Write, ReadPicture };

struct Exchange
{
    Kind kind;
    QList<QByteArray> pieces;
};

QList<QByteArray> split_limited(const QByteArray &bytes, char separator, int limit)
{
    QList<QByteArray> parts;
    qsizetype from = 0;
    while (parts.size() < limit - 1) {
        const qsizetype at = bytes.indexOf(separator, from);
        if (at < 0)
            break;
        parts.append(bytes.mid(from, at - from));
        from = at + 1;
    }
    parts.append(bytes.mid(from));
    return parts;
}

// What the link is expected to have done, tracked across the exchanges of one input.
struct Prediction
{
    QList<QByteArray> pending; // pieces the unit has yet to deliver, oldest first
    QByteArray sent;
    int ticks = 0;
    bool wrong_type = false;
    bool no_response = false;
    QList<test::FakeOperator::Message> messages;

    void expect_no_response()
    {
        messages.append({kNoResponse, QStringLiteral("Error"), link::MessageIcon::Exclamation});
        no_response = true;
    }

    // Runs the fake unit's delivery: one piece per turn while any is due, else one tick.
    QByteArray next_turn(int &tick_count)
    {
        if (!pending.isEmpty())
            return pending.takeFirst();
        ++ticks;
        ++tick_count;
        return {};
    }

    // The number the read should return; nothing when the answer held none.
    std::optional<double> read(const QString &name, bool wraps)
    {
        sent += catalogue::remove_spaces(name).toLatin1() + '\r';
        int tick_count = 0;
        bool received = false;
        bool ended = false;
        QByteArray answer;
        do {
            const QByteArray chunk = next_turn(tick_count);
            if (chunk.isEmpty())
                continue;
            received = true;
            const qsizetype line_feed = chunk.indexOf('\n'); // the rest of the burst answers nothing
            ended = line_feed >= 0;
            const qsizetype kept = ended ? line_feed + 1 : chunk.size();
            answer.append(chunk.left(std::min(kept, link::Link::kAnswerLimit - answer.size())));
        } while (!ended && tick_count <= link::Link::kReadTimeoutTicks);

        if (!received) {
            expect_no_response();
            return std::nullopt;
        }
        qsizetype start = 0; // late acknowledgements of earlier writes
        while (start < answer.size() && answer.at(start) == '>')
            ++start;
        const QByteArray reply = answer.mid(start);
        wrong_type = reply.startsWith('?');
        if (wrong_type) {
            messages.append({kWrongType, QString(), link::MessageIcon::None});
            return std::nullopt;
        }
        const std::optional<double> number = link::parse_answer_number(reply);
        if (!number)
            return std::nullopt;
        return wraps ? link::wrap_to_byte(*number) : *number;
    }

    void write(const QString &name, double value)
    {
        sent += (catalogue::remove_spaces(name) + u'=' + link::format_wire_number(value)).toLatin1() + '\r';
        int tick_count = 0;
        QByteArray answer;
        do {
            answer += next_turn(tick_count);
        } while (answer.isEmpty() && tick_count <= link::Link::kWriteTimeoutTicks);
        if (answer.startsWith('?')) {
            messages.append({kWrongType, QString(), link::MessageIcon::None});
            wrong_type = true;
        }
        if (answer != ">")
            expect_no_response();
    }
};

QString describe(const test::FakeOperator::Message &message)
{
    return QStringLiteral("[%1|%2|%3]")
        .arg(message.text, message.title)
        .arg(message.icon == link::MessageIcon::Exclamation ? 1 : 0);
}

QString describe(const QList<test::FakeOperator::Message> &messages)
{
    QString text;
    for (const auto &message : messages)
        text += describe(message);
    return text;
}

bool same(const QList<test::FakeOperator::Message> &a, const QList<test::FakeOperator::Message> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].text != b[i].text || a[i].title != b[i].title || a[i].icon != b[i].icon)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto selector = static_cast<unsigned>(data[0]);
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    static const double kWriteValues[] = {1, -3, 2.5, 1e20};
    const double write_value = kWriteValues[(selector >> 6) & 3];

    QList<Exchange> exchanges;
    const QList<QByteArray> answers = split_limited(rest, kAnswerSeparator, kMaxExchanges);
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const auto kind = static_cast<Kind>((selector >> (2 * i)) & 3);
        const QList<QByteArray> pieces =
            answers[i].isEmpty() ? QList<QByteArray>{} : split_limited(answers[i], kPieceSeparator, kMaxPieces);
        exchanges.append({kind, pieces});
    }

    test::Rig rig;
    rig.link.open_port();
    rig.unit.clear_sent();
    FUZZ_CHECK(rig.link.is_port_open() && rig.operator_side.messages.isEmpty(), "port did not open quietly");
    const int start_ticks = rig.unit.now();
    const int start_window_changes = static_cast<int>(rig.operator_side.window_changes.size());

    Prediction expected;
    for (const Exchange &exchange : exchanges) {
        rig.unit.script_next_answer(exchange.pieces);
        expected.pending.append(exchange.pieces);
        if (exchange.kind == Kind::Write) {
            const QString name = catalogue::pad_name(QStringLiteral("Zoom"));
            expected.write(name, write_value);
            rig.link.send_item_value(name, write_value);
        } else {
            const QString name =
                catalogue::pad_name(exchange.kind == Kind::ReadPlain  ? QStringLiteral("Zoom")
                                    : exchange.kind == Kind::ReadByte ? QStringLiteral("VGA Left:")
                                                                      : QStringLiteral("Out H-Centre:"));
            const std::optional<double> want = expected.read(name, exchange.kind == Kind::ReadByte);
            const link::Reading reading = rig.link.query_item_value(name);
            FUZZ_CHECK(reading.has_value(), name + " was not read");
            const catalogue::Value got = *reading;
            FUZZ_CHECK(got.is_empty() == !want, name + QStringLiteral(" read unknown: %1").arg(got.is_empty()));
            if (!got.is_empty())
                FUZZ_CHECK(std::isfinite(got.number()) && got.number() == *want,
                           name + QStringLiteral(" read %1, expected %2").arg(got.number()).arg(want.value_or(-1)));
            if (!got.is_empty() && exchange.kind == Kind::ReadByte) {
                FUZZ_CHECK(got.number() >= 0 && got.number() <= 255 && got.number() == std::floor(got.number()),
                           QStringLiteral("byte item read %1").arg(got.number()));
            }
        }
        const link::LinkState &state = rig.link.state();
        FUZZ_CHECK(state.wrong_type_error == expected.wrong_type,
                   QStringLiteral("wrong type flag %1").arg(state.wrong_type_error));
        FUZZ_CHECK(state.no_response_error == expected.no_response,
                   QStringLiteral("no response flag %1").arg(state.no_response_error));
        FUZZ_CHECK(same(rig.operator_side.messages, expected.messages),
                   describe(rig.operator_side.messages) + " expected " + describe(expected.messages));
    }

    FUZZ_CHECK(rig.unit.sent() == expected.sent,
               fuzz_quote(rig.unit.sent()) + " expected " + fuzz_quote(expected.sent));
    FUZZ_CHECK(rig.unit.now() - start_ticks == expected.ticks,
               QStringLiteral("waited %1 ticks, expected %2").arg(rig.unit.now() - start_ticks).arg(expected.ticks));
    // The window belongs to the operation that runs the exchanges, never to an exchange.
    FUZZ_CHECK(
        rig.operator_side.window_changes.size() == start_window_changes,
        QStringLiteral("window changed %1 times").arg(rig.operator_side.window_changes.size() - start_window_changes));
    FUZZ_CHECK(rig.link.is_port_open(), "port closed by an exchange");
    return 0;
}
