#include "list_line.h"

#include "catalogue/catalogue.h"

#include <cmath>

namespace quvex::panel {

QString format_list_number(double value)
{
    return QString::number(std::round(value) + 0.0, 'f', 0);
}

QString header_line(const QString &name)
{
    return (QStringLiteral("---") + name.mid(1).trimmed()).leftJustified(catalogue::Catalogue::kNameWidth, u'-');
}

bool is_header_line(const QString &line)
{
    return line.startsWith(u'-');
}

} // namespace quvex::panel
