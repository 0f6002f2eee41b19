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

} // namespace quvex::link
