#pragma once

#include <QIcon>

class QPainter;

namespace quvex::app {

enum class ArrowDirection { Up, Down, Left, Right };

// The pictures the panel draws for itself: no image files ship with it.
QIcon arrow_icon(ArrowDirection direction);
QIcon window_icon();

// The window icon filling a side x side square at the painter's origin. The window and the
// icons installed for the desktop are all painted by it, so they cannot drift apart.
void paint_window_icon(QPainter &painter, qreal side);

} // namespace quvex::app
