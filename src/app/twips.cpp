#include "twips.h"

#include <QWidget>

#include <cmath>

namespace quvex::app {

namespace {

constexpr double kTwipsPerPixelAt96 = 15.0;
constexpr double kReferenceDpi = 96.0;

} // namespace

TwipScale::TwipScale(const QWidget &widget)
    : m_px_per_twip(widget.logicalDpiX() / kReferenceDpi / kTwipsPerPixelAt96)
{
}

int TwipScale::px(int twips) const
{
    return static_cast<int>(std::lround(twips * m_px_per_twip));
}

QRect TwipScale::rect(int x, int y, int width, int height) const
{
    // Edges are rounded, not sizes, so neighbouring controls meet without gaps or overlaps.
    const int left = px(x);
    const int top = px(y);
    return {left, top, px(x + width) - left, px(y + height) - top};
}

void TwipScale::place(QWidget &widget, int x, int y, int width, int height) const
{
    widget.setGeometry(rect(x, y, width, height));
}

} // namespace quvex::app
