#pragma once

class QMainWindow;

namespace quvex::app {

// Sizes the window to the described layout as it is where the screen has room for it, else puts
// the layout in a scrolling area that fits the screen.
void fit_to_screen(QMainWindow &window);

} // namespace quvex::app
