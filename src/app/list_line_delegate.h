#pragma once

#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace quvex::app {

// Paints the adjustment list's lines. The lines are fixed-pitch text that never needs
// eliding or shaping twice: each text is laid out once and kept, so that repainting the list
// while a whole unit is read costs the window little more than the exchanges themselves.
class ListLineDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // The list asks again after every line appended; the answer only changes with the text's length.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // Lines differ only in their values; this many cover a session many times over.
    static constexpr qsizetype kKeptTexts = 1024;

    mutable QHash<QString, QStaticText> m_laid_out;
    mutable int m_line_height = 0; // 0 until the first line is measured
    mutable int m_char_width = 0;
    mutable int m_margins = 0;
};

} // namespace quvex::app
