// The read and write exchanges against a unit that answers anything at all, in any number of
// pieces, on virtual time. Whatever it answers, an exchange sends exactly its line, waits no
// longer than its time-out, reads a finite number or none, and shows only the link's warnings.
//
// Input: one selector byte, then up to three answers separated by 0x1e, one per exchange, each
// cut into the pieces the unit sends by 0x1f. An empty answer is a unit that stays silent.

#include "catalogue/naming.h"
#include "fuzz_check.h"
#include "support/messages.h"
#include "support/rig.h"

#include <cmath>
#include <cstdint>

using namespace quvex;

namespace {

struct Exchange
{
    const char *name; // as the catalogue spells it
    QByteArray line;  // as the unit must receive it, the written value written out
    int wait_ticks;   // its time-out in 100 ms ticks: 1.1 s for a write, 0.6 s for a read
};

const Exchange kExchanges[] = {{"Zoom", "Zoom\r", 6},
                               {"VGA Left:", "VGALeft:\r", 6},
                               {"Zoom", "Zoom=-2.5\r", 11},
                               {"Out H-Centre:", "OutH-Centre:\r", 6}};

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
    test::Rig rig;
    rig.link.open_port();
    rig.unit.clear_sent();
    FUZZ_CHECK(rig.link.is_port_open() && rig.operator_side.messages.isEmpty(), "port did not open quietly");
    const qsizetype window_changes = rig.operator_side.window_changes.size();

    QByteArray expected_sent;
    qsizetype pieces_so_far = 0;
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    const QList<QByteArray> answers = split_limited(rest, '\x1e', 3);
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const Exchange &exchange = kExchanges[(data[0] >> (2 * i)) & 3];
        QList<QByteArray> pieces = answers[i].isEmpty() ? QList<QByteArray>{} : split_limited(answers[i], '\x1f', 16);
        // The fake unit takes this piece for a pulled cable, after which nothing sent arrives:
        // answers are what is fuzzed here, a lost line has tests of its own.
        pieces.removeAll(test::FakeUnit::kPull);
        rig.unit.script_next_answer(pieces);
        pieces_so_far += pieces.size();
        expected_sent += exchange.line;
        // The flags of a failure stay set for the operation; here each exchange is one.
        rig.link.state().wrong_type_error = rig.link.state().no_response_error = false;
        const qsizetype messages_before = rig.operator_side.messages.size();
        const int ticks_before = rig.unit.now();
        const int turns_before = rig.operator_side.events_processed;
        const QString name = catalogue::pad_name(QLatin1String(exchange.name));
        const QString what = QStringLiteral("exchange %1 (%2)").arg(i).arg(QLatin1String(exchange.line.trimmed()));

        if (exchange.line.contains('=')) {
            FUZZ_CHECK(rig.link.send_item_value(name, -2.5) != link::WriteResult::NotSent, what + " was not sent");
        } else {
            const link::Reading reading = rig.link.query_item_value(name);
            FUZZ_CHECK(reading && (reading->is_empty() || std::isfinite(reading->number())),
                       what + QStringLiteral(" read %1").arg(reading.value_or(catalogue::Value()).number()));
        }

        const int ticks = rig.unit.now() - ticks_before;
        FUZZ_CHECK(ticks <= exchange.wait_ticks, what + QStringLiteral(" waited %1 ticks").arg(ticks));
        // Each turn of the wait takes one piece or one tick; none is spent idle.
        const int turns = rig.operator_side.events_processed - turns_before;
        FUZZ_CHECK(turns <= exchange.wait_ticks + pieces_so_far, what + QStringLiteral(" took %1 turns").arg(turns));
        for (const test::FakeOperator::Message &message : rig.operator_side.messages.mid(messages_before))
            FUZZ_CHECK(is_known(message), what + " showed " + message.text + " titled " + message.title);
    }

    FUZZ_CHECK(rig.unit.sent() == expected_sent,
               fuzz_quote(rig.unit.sent()) + " sent, expected " + fuzz_quote(expected_sent));
    // The window belongs to the operation that runs the exchanges, never to an exchange.
    FUZZ_CHECK(rig.operator_side.window_changes.size() == window_changes, "an exchange enabled or disabled the window");
    FUZZ_CHECK(rig.link.is_port_open(), "port closed by an exchange");
    return 0;
}
