#pragma once

#include <QIcon>

namespace quvex::app {

enum class ArrowDirection { Up, Down, Left, Right };

// The pictures the panel draws for itself: no image files ship with it.
QIcon arrow_icon(ArrowDirection direction);
QIcon window_icon();

} // namespace quvex::app
