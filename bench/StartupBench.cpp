// Start-up as the application does it, timed from the moment the script
// started this process (REELHOUND_BENCH_START_NS, CLOCK_REALTIME) to the main
// window's first expose, and on to the first player page loaded from the
// local stand-in of the site.
#include "app/ApplicationController.h"
#include "app/ApplicationMain.h"
#include "app/MainWindow.h"
#include "platform/Preferences.h"
#include "app/QtDesktopServices.h"
#include "stub-site/StubSite.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QNetworkProxy>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <cstdio>
#include <time.h>

namespace {

using namespace reelhound;

double millisecondsSinceStart() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const double start = qEnvironmentVariable("REELHOUND_BENCH_START_NS").toDouble();
    return (now.tv_sec * 1e9 + now.tv_nsec - start) / 1e6;
}

// The real desktop, except that an alert is noted instead of waiting for a click.
class UnattendedDesktop final : public DesktopServices {
public:
    void runAlert(const QString&, const QString& message, const QString&) override {
        std::fprintf(stderr, "alert: %s\n", message.toUtf8().constData());
    }
    bool runConfirmation(const QString&, const QString& message, const QString&,
                         const QString&) override {
        std::fprintf(stderr, "question: %s\n", message.toUtf8().constData());
        return false;
    }
    void beep() override {}
    void log(const QString&) override {}
    bool checkReachabilityByName(const char* host, std::uint32_t* flags) override {
        return real_.checkReachabilityByName(host, flags);
    }
    void beginSavePanel(QWidget*, const FilePanelOptions&, FilePanelCompletion) override {}
    void beginOpenPanel(QWidget*, const FilePanelOptions&, FilePanelCompletion) override {}
    void showAbout(QWidget*, const QString&, const QString&) override {}
    void showInFolder(const QString&) override {}
    void beginProxyCredentialsPanel(QWidget*, const ProxyCredentialsQuestion&,
                                    ProxyCredentialsCompletion completion) override {
        completion(std::nullopt);
    }

private:
    QtDesktopServices real_;
};

class FirstExpose final : public QObject {
public:
    double milliseconds = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (milliseconds < 0 && event->type() == QEvent::Expose && watched->isWindowType())
            milliseconds = millisecondsSinceStart();
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    prepareWebEngine();
    QApplication app(argc, argv);
    FirstExpose expose;
    app.installEventFilter(&expose);

    StubSite site;
    QTemporaryDir settings;
    if (!site.listen() || !settings.isValid())
        return 1;
    QNetworkProxy::setApplicationProxy(site.proxy());

    UnattendedDesktop desktop;
    Preferences preferences(settings.filePath("Reelhound.conf"));
    const LaunchedApplication launched = launchApplication(desktop, preferences);
    while (expose.milliseconds < 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);

    Ui::MainWindow& ui = launched.window->ui();
    bool loaded = false;
    QObject::connect(ui.RLHDWebView, &QWebEngineView::loadFinished, [&] { loaded = true; });
    ui.URLEntryTextField->setText("www.vistaro.com/watch?v=demo");
    ui.URLGetURLButton->click();
    while (!loaded)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("window_exposed_ms=%.1f player_page_loaded_ms=%.1f\n", expose.milliseconds,
                millisecondsSinceStart());
    return 0;
}
