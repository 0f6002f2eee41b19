#include "catalogue.h"

#include <stdexcept>

namespace quvex::catalogue {

QString pad_name(QString name)
{
    if (name.size() < Catalogue::kNameWidth)
        name = name.leftJustified(Catalogue::kNameWidth, u' ');
    return name;
}

void Catalogue::add_item(const QString &name, const QString &models, const QString &format)
{
    if (m_item_count >= kCapacity)
        throw std::out_of_range("item catalogue is full: cannot add " + name.toStdString());
    ++m_item_count;
    Entry &added = m_entries[static_cast<std::size_t>(m_item_count)];
    added.name = pad_name(name);
    added.models = models;
    added.format = format;
}

} // namespace quvex::catalogue
