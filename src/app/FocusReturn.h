#pragma once

class QDialog;
class QWidget;

namespace reelhound {

// When the dialog closes, however it closes, the window it belongs to becomes
// the active one again and the control that had the focus when it opened
// takes it back. Done once the dialog is off the screen: a window manager
// ignores a request to activate a window whose modal child is still mapped,
// and leaves the keyboard nowhere.
void returnFocusWhenClosed(QDialog& dialog, QWidget* parent);

} // namespace reelhound
