#pragma once

class QMainWindow;
class QScreen;

namespace reelhound {

// Sizes the window for the screen's available area and centres it there: its
// minimum and its size never exceed that area (the window's content scrolls
// below the layout's minimum), so its title bar and every control stay on
// the screen at any scale.
void placeWindowOnScreen(QMainWindow& window, const QScreen& screen);

} // namespace reelhound
