#pragma once

#include <QString>

namespace quvex::panel {

// A value as the list shows it ("#####0"): rounded to a whole number, half away from zero,
// no grouping, '-' when negative.
QString format_list_number(double value);

// A heading line: three hyphens, the heading text, hyphens up to the name width.
QString header_line(const QString &name);

bool is_header_line(const QString &line);

} // namespace quvex::panel
