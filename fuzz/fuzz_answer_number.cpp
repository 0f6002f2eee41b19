// Whatever bytes a unit answers with, the number taken from them is finite or none, and where the
// C library can read the same text it agrees; any finite double wraps to a whole byte, and its
// wire text reads back as the same double.

#include "fuzz_check.h"
#include "link/answer_number.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

using namespace quvex::link;

namespace {

const auto describe = [](double value) { return QString::number(value, 'g', 17); };

void check_finite_value(double value)
{
    const double byte = wrap_to_byte(value);
    FUZZ_CHECK(byte >= 0 && byte <= 255 && byte == std::floor(byte), describe(value) + " -> " + describe(byte));
    static const QRegularExpression wire_shape(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?\\z"));
    // Read back by the C library, not by this program's own reader, so a fault both share shows.
    const QString wire = format_wire_number(value);
    const double back = std::strtod(wire.toLatin1().constData(), nullptr);
    FUZZ_CHECK(wire_shape.match(wire).hasMatch() && back == value,
               describe(value) + " -> " + wire + " -> " + describe(back));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray answer(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<double> parsed = parse_answer_number(answer);
    const QString shown = fuzz_quote(answer) + " -> " + describe(parsed.value_or(NAN));
    if (parsed) {
        const bool digit = std::any_of(answer.begin(), answer.end(), [](char c) { return c >= '0' && c <= '9'; });
        FUZZ_CHECK(digit && std::isfinite(*parsed) && !(*parsed == 0 && std::signbit(*parsed)), shown);
        check_finite_value(*parsed);
    }
    // Plain decimals read as the C library reads them, but what it cannot hold is the largest
    // double of that sign.
    static const QRegularExpression plain(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)\\z"));
    if (plain.match(QLatin1String(answer)).hasMatch()) {
        const double read = std::strtod(answer.constData(), nullptr);
        const double expected = std::isinf(read) ? std::copysign(std::numeric_limits<double>::max(), read) : read;
        FUZZ_CHECK(parsed == expected, shown + ", strtod gives " + describe(read));
    }
    // The parser rarely yields values near the edges of the double range; raw bytes reach them.
    double raw = 0;
    if (size >= sizeof raw)
        std::memcpy(&raw, data, sizeof raw);
    if (std::isfinite(raw))
        check_finite_value(raw);
    return 0;
}
