#include "app/Dialogs.h"

#include "platform/Strings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace reelhound {

void showAlert(DesktopServices& desktop, const QString& message) {
    desktop.runAlert(applicationName(), message, QCoreApplication::translate("Dialogs", "OK"));
}

bool askToReplace(DesktopServices& desktop, const QString& path) {
    const QFileInfo file(path);
    return desktop.runConfirmation(
        applicationName(),
        QCoreApplication::translate("Dialogs", "A file named %1 already exists in %2. Replace it?")
            .arg(file.fileName(), file.absolutePath()),
        QCoreApplication::translate("Dialogs", "&Replace"),
        QCoreApplication::translate("Dialogs", "&Cancel"));
}

FilePanelOptions flvFilePanelOptions(const QString& title) {
    FilePanelOptions options;
    options.title = title;
    options.allowsOtherFileTypes = false;
    options.requiredFileType = QStringLiteral("flv");
    options.directory = QDir::homePath();
    return options;
}

} // namespace reelhound
