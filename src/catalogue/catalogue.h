#pragma once

#include "value.h"

#include <QString>

#include <array>

namespace quvex::catalogue {

struct Entry
{
    QString name; // padded with spaces to kNameWidth
    QString models;
    QString format;
    Value value;

    bool is_header() const { return name.startsWith(u'>'); }
};

// The fixed table of every item the panel knows. Entries are numbered from 1; entry 0 and the
// entries above item_count() exist but stay empty, because find_item() answers item_count() + 1
// for a name it does not know and callers index with that.
class Catalogue
{
public:
    static constexpr int kCapacity = 100;
    static constexpr int kNameWidth = 18;

    // Throws std::out_of_range beyond kCapacity entries.
    void add_item(const QString &name, const QString &models, const QString &format);

    int item_count() const { return m_item_count; }
    bool is_entry(int index) const { return index >= 1 && index <= m_item_count; }

    // index 0..kCapacity
    const Entry &entry(int index) const { return m_entries.at(static_cast<std::size_t>(index)); }
    Entry &entry(int index) { return m_entries.at(static_cast<std::size_t>(index)); }

private:
    std::array<Entry, kCapacity + 1> m_entries;
    int m_item_count = 0;
};

// Right-pads a name with spaces to the catalogue's name width; longer names stay as they are.
QString pad_name(QString name);

// Fills a catalogue with the 79 items of the QUVEX family, in list order.
void build_catalogue(Catalogue &catalogue);

} // namespace quvex::catalogue
