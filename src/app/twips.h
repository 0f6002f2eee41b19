#pragma once

#include <QRect>

class QWidget;

namespace quvex::app {

// Turns the panel's twip geometry (15 twips to a pixel at 96 dpi) into pixels for the screen
// the window is on, so the layout keeps its proportions at any dpi.
class TwipScale
{
public:
    explicit TwipScale(const QWidget &widget);

    int px(int twips) const;
    QRect rect(int x, int y, int width, int height) const;
    void place(QWidget &widget, int x, int y, int width, int height) const;

private:
    double m_px_per_twip = 1.0 / 15.0;
};

} // namespace quvex::app
