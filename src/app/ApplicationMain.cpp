#include "app/ApplicationMain.h"

#include "ApplicationController.h"
#include "app/MainWindow.h"
#include "core/Configuration.h"
#include "platform/Preferences.h"
#include "platform/QtDesktopServices.h"

#include <QApplication>
#include <QNetworkProxyFactory>
#include <unistd.h>

namespace reelhound {

int applicationMain(int argc, char** argv) {
    // The web engine's sandbox refuses to run as root; everyone else keeps it.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    QApplication application(argc, argv);
    const QString name = QString::fromLatin1(config::kApplicationName.data(),
                                             static_cast<qsizetype>(config::kApplicationName.size()));
    QApplication::setApplicationName(name);
    QApplication::setOrganizationName(name);
    QApplication::setApplicationDisplayName(name);
    QNetworkProxyFactory::setUseSystemConfiguration(true);

    ApplicationController::initialize();
    QtDesktopServices desktop;
    Preferences preferences;
    ApplicationController controller(desktop, preferences);
    const auto window = loadMainWindow(controller);
    controller.applicationWillFinishLaunching();
    controller.applicationDidFinishLaunching();
    return QApplication::exec();
}

} // namespace reelhound
