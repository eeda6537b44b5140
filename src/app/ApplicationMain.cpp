#include "app/ApplicationMain.h"

#include "app/ApplicationController.h"
#include "app/DesktopIntegration.h"
#include "app/MainWindow.h"
#include "app/ProxyCredentialsPrompt.h"
#include "platform/Strings.h"
#include "platform/Preferences.h"
#include "platform/QuitOnSignals.h"
#include "app/QtDesktopServices.h"

#include <QApplication>
#include <QDialog>
#include <QWebEngineView>
#include <QNetworkProxyFactory>
#include <unistd.h>

namespace reelhound {

void prepareWebEngine() {
    // The web engine's sandbox refuses to run as root; everyone else keeps it.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

LaunchedApplication launchApplication(DesktopServices& desktop, Preferences& preferences) {
    ApplicationController::initialize();
    LaunchedApplication launched;
    launched.controller = std::make_unique<ApplicationController>(desktop, preferences);
    launched.window = loadMainWindow(*launched.controller);
    new ProxyCredentialsPrompt(desktop, *launched.window, *launched.controller->RLHDWebView());
    launched.controller->applicationWillFinishLaunching();
    launched.controller->applicationDidFinishLaunching();
    return launched;
}

namespace {

// A dialog open when the session ends would keep its own loop running.
void closeModalDialogs() {
    for (int open = 0; open < 16; ++open) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

} // namespace

int applicationMain(int argc, char** argv) {
    prepareWebEngine();
    QApplication application(argc, argv);
    const QString name = applicationName();
    QApplication::setApplicationName(name);
    QApplication::setOrganizationName(name);
    QApplication::setApplicationDisplayName(name);
    integrateWithDesktop(application);
    quitOnTerminationSignals(closeModalDialogs);
    QNetworkProxyFactory::setUseSystemConfiguration(true);

    QtDesktopServices desktop;
    Preferences preferences;
    const LaunchedApplication launched = launchApplication(desktop, preferences);
    if (terminationSignalReceived())
        return 0; // asked to quit while the launch was still going on
    return QApplication::exec();
}

} // namespace reelhound
