// Whatever bytes a unit answers with, the number taken from them is finite, and where the C
// library can read the same text it agrees; the byte wrap and the wire text hold for any finite double.

#include "fuzz_check.h"
#include "link/answer_number.h"

#include <QByteArray>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

using quvex::link::format_wire_number;
using quvex::link::parse_answer_number;
using quvex::link::wrap_to_byte;

namespace {

QString describe(double value)
{
    return QString::number(value, 'g', 17);
}

// Optional sign, digits, optional fraction: text that strtod reads the same way, whole.
bool is_plain_decimal(const QByteArray &text)
{
    static const QRegularExpression plain(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)\\z"));
    return plain.match(QLatin1String(text)).hasMatch();
}

// Half to even by hand, so the check does not lean on the same library call as the product.
double reference_byte(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0);
    const double byte = std::fmod(up ? below + 1.0 : below, 256.0);
    return byte < 0 ? byte + 256.0 : byte;
}

void check_finite_value(double value)
{
    const double byte = wrap_to_byte(value);
    FUZZ_CHECK(byte >= 0 && byte <= 255 && byte == std::floor(byte), describe(value) + " -> " + describe(byte));
    FUZZ_CHECK(byte == reference_byte(value), describe(value) + " -> " + describe(byte));
    // Only where adding 256 is exact: a rounded sum may be another number's byte.
    if (std::abs(value) < 0x1p40 && (value + 256) - 256 == value)
        FUZZ_CHECK(wrap_to_byte(value + 256) == byte, describe(value) + " and 256 more wrap apart");

    static const QRegularExpression wire_shape(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?\\z"));
    const QString wire = format_wire_number(value);
    FUZZ_CHECK(wire_shape.match(wire).hasMatch(), describe(value) + " -> " + wire);
    FUZZ_CHECK(wire.startsWith(u'-') == (value < 0), describe(value) + " -> " + wire);
    const std::optional<double> back = parse_answer_number(wire.toLatin1());
    FUZZ_CHECK(back && *back == value, describe(value) + " -> " + wire + " -> " + describe(back.value_or(NAN)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray answer(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString input = fuzz_quote(answer);
    const std::optional<double> parsed = parse_answer_number(answer);

    if (parsed) {
        FUZZ_CHECK(std::isfinite(*parsed), input + " -> " + describe(*parsed));
        FUZZ_CHECK(!(*parsed == 0 && std::signbit(*parsed)), input + " gives negative zero");
        check_finite_value(*parsed);
    }
    const bool has_digit = std::any_of(answer.begin(), answer.end(), [](char c) { return c >= '0' && c <= '9'; });
    FUZZ_CHECK(has_digit || !parsed, input + " holds no digit yet gives " + describe(*parsed));

    if (is_plain_decimal(answer)) {
        const double read = std::strtod(answer.constData(), nullptr);
        // What strtod cannot hold the parser gives as the largest double of that sign.
        const double expected = std::isinf(read) ? std::copysign(std::numeric_limits<double>::max(), read) : read;
        FUZZ_CHECK(parsed && *parsed == expected,
                   input + " -> " + describe(parsed.value_or(NAN)) + ", strtod gives " + describe(read));
    }

    // Spaces and tabs do not count wherever they stand, and a line feed ends the number.
    QByteArray squeezed = answer;
    squeezed.replace(' ', QByteArray()).replace('\t', QByteArray());
    FUZZ_CHECK(parse_answer_number(squeezed) == parsed, input + " reads otherwise without its spaces");
    if (const qsizetype line_feed = answer.indexOf('\n'); line_feed >= 0)
        FUZZ_CHECK(parse_answer_number(answer.left(line_feed)) == parsed, input + " reads past its line feed");

    // The parser rarely yields values near the edges of the double range; raw bytes reach them.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw))
            check_finite_value(raw);
    }
    return 0;
}
