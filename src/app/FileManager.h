#pragma once

#include <QString>

namespace reelhound {

// Shows the file selected in the desktop's file manager (the freedesktop
// FileManager1 service on the session bus); where there is none, opens the
// folder that holds it. Returns at once.
void showInFileManager(const QString& path);

} // namespace reelhound
