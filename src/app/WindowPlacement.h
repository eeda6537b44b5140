#pragma once

class QMainWindow;
class QScreen;

namespace reelhound {

// Sizes the window for the screen's available area and centres it there: its
// minimum and its size never exceed that area (the window's content scrolls
// below the layout's minimum), so its title bar and every control stay on
// the screen at any scale.
void placeWindowOnScreen(QMainWindow& window, const QScreen& screen);

// Places the window on the screen it will appear on, shows it and brings it
// to the front with the keyboard.
void showPlacedWindow(QMainWindow& window);

} // namespace reelhound
