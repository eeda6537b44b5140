#pragma once

#include <QString>
#include <optional>

class QApplication;
class QMimeData;

namespace reelhound {

// The name the desktop knows the application by: the launcher entry, the icon
// and the software-centre description are all filed under it.
inline constexpr char kDesktopId[] = REELHOUND_DESKTOP_ID; // set by the build

// Ties the running application to its launcher entry and icon, and loads the
// translations for the user's language, Qt's own and ours. Call once, after
// the QApplication is made.
void integrateWithDesktop(QApplication& application);

// The web address that a drag carries: the first web link of a link drag, or
// else the first line of dragged text. Nothing for files or blank text.
std::optional<QString> droppedWebAddress(const QMimeData& data);

} // namespace reelhound
