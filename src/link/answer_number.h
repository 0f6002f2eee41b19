#pragma once

#include "catalogue/value.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace quvex::link {

// The leading decimal number of a unit's answer: spaces and tabs are skipped anywhere and
// the first other character (the CR or LF that ends the line) ends it. Nothing when no digit comes before that
// character ("x512", "-", "inf"): such an answer holds no number, which is not the same as 0.
// Whatever the unit sends, a number is finite: magnitudes beyond the double range become the
// largest finite double of that sign, and ones too small to hold become 0.
std::optional<double> parse_answer_number(QByteArrayView answer);

// Rounds half to even and keeps the lowest 8 bits, two's complement: -1 gives 255.
double wrap_to_byte(double value);

// A value as the unit reads it: a '-' when negative, no leading zeros, '.' as the decimal
// point whatever the locale, whole numbers without a point.
QString format_wire_number(double value);

// An unknown value is written as nothing at all.
QString format_wire_value(const catalogue::Value &value);

// Whether the value may go to the unit: its line must say exactly this number and stay short.
// Refused are magnitudes of 1e15 or more, and wire texts of more than 15 digits, a whole part
// of 0 not counted (0.001 carries three, 1e-300 three hundred): the unit answers "?" to a long
// line, and a double keeps no more than 15 decimal digits for certain.
bool is_sendable(double value);

// The number a text asks to send, as QString::toDouble reads it (spaces around it allowed);
// nothing when it holds no finite number, when the number is not sendable, or when the text
// asks for more significant digits than the wire would carry ("1.0000000000000000001" would
// go out as 1).
std::optional<double> sendable_number(const QString &text);

} // namespace quvex::link
