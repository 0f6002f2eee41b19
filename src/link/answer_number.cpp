#include "answer_number.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace quvex::link {

namespace {

// Far beyond any double's decimal exponent and any answer's length, small enough that adding a
// digit count never overflows.
constexpr long long kExponentCap = 1'000'000'000'000'000LL;

constexpr double kWireMagnitudeLimit = 1e15;
constexpr qsizetype kWireDigitLimit = 15;

bool is_skipped(char c)
{
    return c == ' ' || c == '\t';
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

struct Scanned
{
    bool negative = false;
    std::string int_digits;
    std::string frac_digits;
    long long exponent = 0;
};

Scanned scan(QByteArrayView answer)
{
    enum class State { Start, Int, Frac, ExpStart, ExpSign, Exp };
    Scanned s;
    State state = State::Start;
    bool exponent_negative = false;
    long long exponent = 0;
    for (const char c : answer) {
        if (is_skipped(c))
            continue;
        switch (state) {
        case State::Start:
            if (c == '+' || c == '-') {
                s.negative = c == '-';
                state = State::Int;
                continue;
            }
            [[fallthrough]];
        case State::Int:
            if (is_digit(c)) {
                s.int_digits += c;
                state = State::Int;
                continue;
            }
            if (c == '.') {
                state = State::Frac;
                continue;
            }
            if (state == State::Int && (c == 'e' || c == 'E' || c == 'd' || c == 'D')) {
                state = State::ExpStart;
                continue;
            }
            break;
        case State::Frac:
            if (is_digit(c)) {
                s.frac_digits += c;
                continue;
            }
            if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
                state = State::ExpStart;
                continue;
            }
            break;
        case State::ExpStart:
            if (c == '+' || c == '-') {
                exponent_negative = c == '-';
                state = State::ExpSign;
                continue;
            }
            [[fallthrough]];
        case State::ExpSign:
        case State::Exp:
            if (is_digit(c)) {
                exponent = std::min(kExponentCap, exponent * 10 + (c - '0'));
                state = State::Exp;
                continue;
            }
            break;
        }
        break;
    }
    if (state == State::Exp)
        s.exponent = exponent_negative ? -exponent : exponent;
    return s;
}

} // namespace

std::optional<double> parse_answer_number(QByteArrayView answer)
{
    const Scanned s = scan(answer);
    const std::string digits = s.int_digits + s.frac_digits;
    if (digits.empty())
        return std::nullopt;
    const auto first_nonzero = digits.find_first_not_of('0');
    if (first_nonzero == std::string::npos)
        return 0.0;

    const std::string text = s.int_digits + "." + s.frac_digits + "e" + std::to_string(s.exponent);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decimal position of the leading digit decides between overflow and underflow.
        const long long magnitude =
            s.exponent + static_cast<long long>(s.int_digits.size()) - static_cast<long long>(first_nonzero);
        value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return (s.negative ? -value : value) + 0.0;
}

double wrap_to_byte(double value)
{
    const double wrapped = std::fmod(std::nearbyint(value), 256.0);
    return wrapped < 0 ? wrapped + 256.0 : wrapped + 0.0;
}

QString format_wire_number(double value)
{
    return QString::number(value + 0.0, 'f', QLocale::FloatingPointShortest);
}

QString format_wire_value(const catalogue::Value &value)
{
    return value.is_empty() ? QString() : format_wire_number(value.number());
}

bool is_sendable(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= kWireMagnitudeLimit)
        return false;
    qsizetype digits = 0;
    bool counting = false;
    for (const QChar c : format_wire_number(value)) {
        // Zeros after the point go on the wire as much as any other digit.
        counting = counting || c == u'.' || (c.isDigit() && c != u'0');
        digits += counting && c.isDigit() ? 1 : 0;
    }
    return digits <= kWireDigitLimit;
}

std::optional<double> sendable_number(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !is_sendable(value))
        return std::nullopt;
    const qsizetype exponent = trimmed.indexOf(u'e', 0, Qt::CaseInsensitive);
    QString digits;
    for (const QChar c : QStringView(trimmed).first(exponent < 0 ? trimmed.size() : exponent)) {
        if (c.isDigit())
            digits += c;
    }
    // Zeros at either end say nothing that a shorter text would not say as well.
    while (digits.startsWith(u'0'))
        digits.remove(0, 1);
    while (digits.endsWith(u'0'))
        digits.chop(1);
    if (digits.size() > kWireDigitLimit)
        return std::nullopt;
    return value;
}

} // namespace quvex::link
