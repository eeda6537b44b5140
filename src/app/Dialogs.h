#pragma once

#include "app/DesktopServices.h"

#include <QString>

namespace reelhound {

// What the download and the conversion ask of the person alike: alerts under
// the application's name, whether a file may be replaced, and .flv panels.
void showAlert(DesktopServices& desktop, const QString& message);
bool askToReplace(DesktopServices& desktop, const QString& path);
// Both file panels show .flv files only and start in the home folder.
FilePanelOptions flvFilePanelOptions(const QString& title);

} // namespace reelhound
