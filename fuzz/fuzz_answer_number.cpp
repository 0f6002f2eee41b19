// Whatever bytes a unit answers with, the number taken from them is finite and agrees with an
// independent reading of the same text; the byte wrap and the wire text hold for any finite double.

#include "fuzz_check.h"
#include "link/answer_number.h"

#include <QByteArrayView>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

using quvex::link::format_wire_number;
using quvex::link::parse_answer_number;
using quvex::link::wrap_to_byte;

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// A second reading written from the documented rules rather than from the product's state
// machine: drop the skipped bytes first, then take the longest number at the front and let
// the C library convert it, clamping what it cannot hold.
std::optional<double> reference_number(QByteArrayView answer)
{
    std::string kept;
    for (const char c : answer) {
        if (c != ' ' && c != '\t')
            kept += c;
    }
    std::size_t at = 0;
    const auto more = [&] { return at < kept.size(); };
    bool negative = false;
    if (more() && (kept[at] == '+' || kept[at] == '-'))
        negative = kept[at++] == '-';
    std::string mantissa;
    while (more() && is_digit(kept[at]))
        mantissa += kept[at++];
    mantissa += '.';
    if (more() && kept[at] == '.') {
        ++at;
        while (more() && is_digit(kept[at]))
            mantissa += kept[at++];
    }
    std::string exponent;
    if (more() && (kept[at] == 'e' || kept[at] == 'E' || kept[at] == 'd' || kept[at] == 'D')) {
        std::size_t e = at + 1;
        std::string sign;
        if (e < kept.size() && (kept[e] == '+' || kept[e] == '-'))
            sign = kept[e++];
        std::string digits;
        while (e < kept.size() && is_digit(kept[e]))
            digits += kept[e++];
        if (!digits.empty())
            exponent = sign + digits;
    }
    if (mantissa == ".")
        return std::nullopt;
    if (mantissa.find_first_of("123456789") == std::string::npos)
        return 0.0;

    // An exponent of eight digits or more outweighs all the digits of any input under 10 MB.
    const std::size_t first = exponent.find_first_not_of("+-0");
    const std::size_t exponent_digits = first == std::string::npos ? 0 : exponent.size() - first;
    double value = 0.0;
    if (exponent_digits > 7) {
        value = exponent[0] == '-' ? 0.0 : std::numeric_limits<double>::max();
    } else {
        const std::string text = mantissa + (exponent.empty() ? "" : "e" + exponent);
        value = std::strtod(text.c_str(), nullptr);
        if (std::isinf(value))
            value = std::numeric_limits<double>::max();
    }
    return (negative ? -value : value) + 0.0;
}

QString describe(double value)
{
    return QString::number(value, 'g', 17);
}

// Half to even by hand, so the check does not lean on the same library call as the product.
double reference_byte(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    double whole = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        whole = below + 1.0;
    double byte = std::fmod(whole, 256.0);
    if (byte < 0)
        byte += 256.0;
    return byte;
}

bool looks_like_wire_number(const QString &text)
{
    // -?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?
    qsizetype at = 0;
    const auto digit = [&](qsizetype i) { return i < text.size() && text[i] >= u'0' && text[i] <= u'9'; };
    if (at < text.size() && text[at] == u'-')
        ++at;
    if (!digit(at))
        return false;
    if (text[at] == u'0') {
        ++at;
    } else {
        while (digit(at))
            ++at;
    }
    if (at == text.size())
        return true;
    if (text[at] != u'.')
        return false;
    ++at;
    if (!digit(at))
        return false;
    while (digit(at))
        ++at;
    return at == text.size() && text.back() != u'0';
}

void check_finite_value(double value)
{
    const double byte = wrap_to_byte(value);
    FUZZ_CHECK(byte >= 0 && byte <= 255 && byte == std::floor(byte), describe(value) + " -> " + describe(byte));
    FUZZ_CHECK(byte == reference_byte(value), describe(value) + " -> " + describe(byte));

    const QString wire = format_wire_number(value);
    bool ok = false;
    const double back = wire.toDouble(&ok);
    FUZZ_CHECK(ok && back == value, describe(value) + " -> " + wire);
    FUZZ_CHECK(looks_like_wire_number(wire), describe(value) + " -> " + wire);
    FUZZ_CHECK(wire.startsWith(u'-') == (value < 0), describe(value) + " -> " + wire);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView answer(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    const std::optional<double> parsed = parse_answer_number(answer);
    const std::optional<double> expected = reference_number(answer);
    const QString input = fuzz_quote(answer.toByteArray());
    FUZZ_CHECK(parsed.has_value() == expected.has_value(), input + " holds a number: " + (parsed ? "yes" : "no"));
    if (!parsed)
        return 0;
    const double value = *parsed;
    FUZZ_CHECK(std::isfinite(value), input + " -> " + describe(value));
    FUZZ_CHECK(!(value == 0 && std::signbit(value)), input + " gives negative zero");
    FUZZ_CHECK(value == *expected, input + " -> " + describe(value) + ", expected " + describe(*expected));
    check_finite_value(value);

    // The parser rarely yields values near the edges of the double range; raw bytes reach them.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw))
            check_finite_value(raw);
    }
    return 0;
}
