#include "list_line_delegate.h"

#include <QApplication>
#include <QPainter>

namespace quvex::app {

QSize ListLineDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // The text is fixed-pitch: a line is as wide as its characters and as high as the first one
    // the style measured. Measured by the style, every new text would be shaped once more.
    const qsizetype length = index.data(Qt::DisplayRole).toString().size();
    if (m_line_height == 0) {
        const QSize first_line = QStyledItemDelegate::sizeHint(option, index);
        m_line_height = first_line.height();
        m_char_width = option.fontMetrics.horizontalAdvance(u'0');
        m_margins = first_line.width() - m_char_width * static_cast<int>(length);
    }
    return {m_margins + m_char_width * static_cast<int>(length), m_line_height};
}

void ListLineDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const QString text = std::exchange(item.text, QString());
    // Only a highlighted line has a background of its own; the list's base shows elsewhere.
    if (item.state & (QStyle::State_Selected | QStyle::State_HasFocus))
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    if (m_laid_out.size() >= kKeptTexts)
        m_laid_out.clear();
    auto laid_out = m_laid_out.find(text);
    if (laid_out == m_laid_out.end()) {
        QStaticText line(text);
        line.setTextFormat(Qt::PlainText);
        line.prepare(QTransform(), item.font);
        laid_out = m_laid_out.insert(text, line);
    }
    const QPalette::ColorGroup group = item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const QPalette::ColorRole role = item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, widget) + 1;
    const int top = item.rect.top() + (item.rect.height() - item.fontMetrics.height()) / 2;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(group, role));
    painter->setClipRect(item.rect);
    painter->drawStaticText(QPoint(item.rect.left() + margin, top), *laid_out);
    painter->restore();
}

} // namespace quvex::app
