#pragma once

#include <QColor>

namespace quvex::app {

// The light grey face of the window, its frames, labels, buttons and list.
inline QColor face_grey()
{
    return {192, 192, 192};
}

} // namespace quvex::app
