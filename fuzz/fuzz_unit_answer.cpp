// The read and write exchanges against a unit that answers anything at all, in any number of
// pieces, on virtual time. Whatever it answers, an exchange sends exactly its line, waits no
// longer than its time-out, reads a finite number or none, and reports only its own failures.
//
// Input: one selector byte, then up to three answers separated by 0x1e, one per exchange, each
// cut into the pieces the unit sends by 0x1f. An empty answer is a unit that stays silent.

#include "catalogue/naming.h"
#include "fuzz_check.h"
#include "support/messages.h"
#include "support/rig.h"

#include <QByteArray>
#include <QList>
#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <utility>

using namespace quvex;

namespace {

constexpr char kAnswerSeparator = '\x1e';
constexpr char kPieceSeparator = '\x1f';
constexpr int kMaxExchanges = 3;
constexpr int kMaxPieces = 16;

struct Exchange
{
    const char *name; // as the catalogue spells it
    QByteArray line;  // as the unit must receive it
    bool write;
    int wait_ticks; // 1.1 s for a write and 0.6 s for a read, in 100 ms ticks
};

QList<QByteArray> split_limited(const QByteArray &bytes, char separator, int limit)
{
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (qsizetype at = 0; parts.size() < limit - 1 && (at = bytes.indexOf(separator, from)) >= 0; from = at + 1)
        parts.append(bytes.mid(from, at - from));
    parts.append(bytes.mid(from));
    return parts;
}

bool is_known(const test::FakeOperator::Message &message)
{
    return (message.text == test::kWrongType && message.title.isEmpty() && message.icon == link::MessageIcon::None)
           || (message.text == test::kNoResponse && message.title == QLatin1String("Error")
               && message.icon == link::MessageIcon::Exclamation);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto selector = static_cast<unsigned>(data[0]);
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    // Each with its wire text written out, so the bytes sent are not taken on the formatter's word.
    static const std::pair<double, const char *> kWriteValues[] = {
        {1, "1"}, {-3, "-3"}, {2.5, "2.5"}, {1e20, "100000000000000000000"}};
    const auto [write_value, write_text] = kWriteValues[(selector >> 6) & 3];
    const Exchange kinds[] = {{"Zoom", "Zoom\r", false, 6},
                              {"VGA Left:", "VGALeft:\r", false, 6},
                              {"Zoom", "Zoom=" + QByteArray(write_text) + '\r', true, 11},
                              {"Out H-Centre:", "OutH-Centre:\r", false, 6}};

    test::Rig rig;
    rig.link.open_port();
    rig.unit.clear_sent();
    FUZZ_CHECK(rig.link.is_port_open() && rig.operator_side.messages.isEmpty(), "port did not open quietly");
    link::LinkState &state = rig.link.state();
    const qsizetype window_changes = rig.operator_side.window_changes.size();

    QByteArray expected_sent;
    qsizetype pieces_so_far = 0;
    const QList<QByteArray> answers = split_limited(rest, kAnswerSeparator, kMaxExchanges);
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const Exchange &exchange = kinds[(selector >> (2 * i)) & 3];
        const QList<QByteArray> pieces =
            answers[i].isEmpty() ? QList<QByteArray>{} : split_limited(answers[i], kPieceSeparator, kMaxPieces);
        rig.unit.script_next_answer(pieces);
        pieces_so_far += pieces.size();
        expected_sent += exchange.line;

        // The flags of a failure stay set for the operation; here each exchange is one.
        state.wrong_type_error = state.no_response_error = false;
        const qsizetype messages_before = rig.operator_side.messages.size();
        const int ticks_before = rig.unit.now();
        const int turns_before = rig.operator_side.events_processed;
        const QString name = catalogue::pad_name(QLatin1String(exchange.name));
        const QString what = QStringLiteral("exchange %1 (%2)").arg(i).arg(QLatin1String(exchange.line.trimmed()));

        // Before any late piece can interfere, a plain answer has one meaning.
        static const QRegularExpression kPlainNumber(QStringLiteral("^[0-9]{1,3}\r\n\\z"));
        const bool alone = i == 0 && pieces.size() == 1;
        const int plain_byte =
            alone && kPlainNumber.match(QLatin1String(pieces[0])).hasMatch() ? pieces[0].chopped(2).toInt() : 256;

        bool failed = false;
        if (exchange.write) {
            const link::WriteResult result = rig.link.send_item_value(name, write_value);
            FUZZ_CHECK(result != link::WriteResult::NotSent, what + " was not sent");
            failed = result == link::WriteResult::Failed;
            if (alone && pieces[0] == ">")
                FUZZ_CHECK(!failed, what + " failed on a plain acknowledgement");
        } else {
            const link::Reading reading = rig.link.query_item_value(name);
            FUZZ_CHECK(reading.has_value(), what + " was not sent");
            const catalogue::Value value = *reading;
            failed = value.is_empty();
            FUZZ_CHECK(value.is_empty() || std::isfinite(value.number()),
                       what + QStringLiteral(" read %1").arg(value.number()));
            if (plain_byte < 256)
                FUZZ_CHECK(!value.is_empty() && value.number() == plain_byte, what + " misread a plain answer");
            if (!value.is_empty() && exchange.line.startsWith("VGALeft:")) {
                FUZZ_CHECK(value.number() >= 0 && value.number() <= 255 && value.number() == std::floor(value.number()),
                           what + QStringLiteral(" read %1 for a byte").arg(value.number()));
            }
        }

        const int ticks = rig.unit.now() - ticks_before;
        FUZZ_CHECK(ticks <= exchange.wait_ticks, what + QStringLiteral(" waited %1 ticks").arg(ticks));
        // Each turn of the wait takes one piece or one tick; none is spent idle.
        const int turns = rig.operator_side.events_processed - turns_before;
        FUZZ_CHECK(turns <= exchange.wait_ticks + pieces_so_far, what + QStringLiteral(" took %1 turns").arg(turns));

        QStringList shown = rig.operator_side.message_texts().mid(messages_before);
        for (const test::FakeOperator::Message &message : rig.operator_side.messages.mid(messages_before))
            FUZZ_CHECK(is_known(message), what + " showed " + message.text + " titled " + message.title);
        FUZZ_CHECK(state.no_response_error == shown.contains(test::kNoResponse)
                       && state.wrong_type_error == shown.contains(test::kWrongType) && shown.removeDuplicates() == 0,
                   what + QStringLiteral(" flags %1 %2 after ").arg(state.no_response_error).arg(state.wrong_type_error)
                       + shown.join(u'|'));
        FUZZ_CHECK(failed || !(state.no_response_error || state.wrong_type_error), what + " succeeded with a failure");
    }

    FUZZ_CHECK(rig.unit.sent() == expected_sent,
               fuzz_quote(rig.unit.sent()) + " sent, expected " + fuzz_quote(expected_sent));
    // The window belongs to the operation that runs the exchanges, never to an exchange.
    FUZZ_CHECK(rig.operator_side.window_changes.size() == window_changes, "an exchange enabled or disabled the window");
    FUZZ_CHECK(rig.link.is_port_open(), "port closed by an exchange");
    return 0;
}
