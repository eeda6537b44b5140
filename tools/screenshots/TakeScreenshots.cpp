// Walks the real window through a download and a conversion against the local
// stand-in of the site and saves a picture of each state, for the README.
//   xvfb-run -a -s "-screen 0 1000x860x24" build/bin/reelhound-screenshots docs/screenshots
// States: idle, video-page, download-running, download-finished, converting,
// converted, download-kept, download-connections, minimum-size. Options:
// --dark (Fusion with a dark palette), --prefix P (P is put before each file
// name), --only NAME,... (save only
// these states). For twice the size, run it with QT_SCALE_FACTOR=2 on a
// screen of 1920x1720; on a small screen, QT_SCALE_FACTOR=2 on 1280x1000 with
// --prefix scale-200-small-screen- --only idle,converting; in another language,
// with LANGUAGE=de (or fr, es) and --prefix de-.
#include "app/DesktopIntegration.h"
#include "support/ActivityWaits.h"
#include "support/EventLoop.h"
#include "support/StubbedApplication.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QNetworkProxy>
#include <QPalette>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

using reelhound::testing::runEventLoopFor;
using reelhound::testing::runEventLoopUntil;

// The usual dark scheme of the Fusion style.
QPalette darkPalette() {
    const QColor window(53, 53, 53);
    const QColor base(36, 36, 36);
    const QColor text(230, 230, 230);
    const QColor disabled(127, 127, 127);
    const QColor accent(42, 130, 218);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabled);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::red);
    palette.setColor(QPalette::Link, accent);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, window.lighter(150));
    palette.setColor(QPalette::Midlight, window.lighter(125));
    palette.setColor(QPalette::Mid, window.darker(130));
    palette.setColor(QPalette::Dark, window.darker(160));
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, window.lighter(130));
    return palette;
}

} // namespace

int main(int argc, char** argv) {
    reelhound::prepareWebEngine();
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addPositionalArgument("folder", "Where the pictures go");
    const QCommandLineOption dark("dark", "Fusion style with a dark palette");
    const QCommandLineOption prefix("prefix", "Put before each file name", "text");
    const QCommandLineOption only("only", "Save only these states", "names");
    options.addOptions({dark, prefix, only});
    options.process(app);
    const QDir out(options.positionalArguments().value(0, QStringLiteral(".")));
    const QString namePrefix = options.value(prefix);
    const QStringList wanted = options.value(only).split(',', Qt::SkipEmptyParts);
    const auto wantedState = [&](const QString& name) {
        return wanted.isEmpty() || wanted.contains(name);
    };
    if (options.isSet(dark)) {
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        QApplication::setPalette(darkPalette());
    }

    using namespace reelhound;
    // The session's language, picked as the application picks it: run with
    // LANGUAGE=de for the German window.
    integrateWithDesktop(app);
    testing::StubbedApplication application;
    if (!application.start())
        return 1;
    ApplicationController& controller = application.controller();
    MainWindow* window = &application.window();
    const QTemporaryDir& folder = application.folder;
    Ui::MainWindow& ui = window->ui();

    const auto save = [&](const QString& name) {
        if (!wantedState(name))
            return;
        const QPixmap picture = window->grab();
        const QString path = out.filePath(namePrefix + name + ".png");
        std::printf("%s %s\n", picture.save(path) ? "saved" : "could not save",
                    path.toUtf8().constData());
    };
    const auto shoot = [&](const char* name) {
        runEventLoopFor(400);
        save(QString::fromLatin1(name));
    };

    shoot("idle");

    controller.saveDestinationFilenameDidEnd(1, folder.filePath("Vistaro Video.flv"));
    ui.URLEntryTextField->setText("http://www.vistaro.com/watch?v=slow");
    ui.URLGetURLButton->click();
    runEventLoopUntil([&] { return ui.RLHDWebView->title().contains("player"); }, 30000);
    shoot("video-page");

    ui.FLVGetFLVButton->click();
    runEventLoopUntil([&] { return controller.bytesReceived() > 60000; }, 30000);
    shoot("download-running");
    runEventLoopUntil([&] { return window->statusBar()->currentMessage().startsWith("Download f"); }, 30000);
    shoot("download-finished");

    ui.convertToDifferentFormatButton->setCurrentIndex(1);
    bool shotDuringRun = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        // Once the converter has told how far it got.
        if (!shotDuringRun &&
            window->statusBar()->currentMessage().contains(QRegularExpression("[1-9][0-9]* %"))) {
            shotDuringRun = true;
            save(QStringLiteral("converting"));
        }
    });
    during.start(10);
    ui.convertFLVButton->click();
    testing::waitForConversion(controller);
    during.stop();
    shoot("converted");

    // A download that gave up half way and kept what arrived.
    ApplicationController::TransferLimits quickRetries;
    quickRetries.download.retryPauseUnit = std::chrono::milliseconds(20);
    controller.setTransferLimits(quickRetries);
    controller.saveDestinationFilenameDidEnd(1, folder.filePath("Kept Video.flv"));
    ui.URLEntryTextField->setText("http://www.vistaro.com/watch?v=gives-up-50");
    ui.URLGetURLButton->click();
    runEventLoopUntil([&] { return ui.FLVGetFLVButton->isEnabled(); }, 30000);
    window->statusBar()->clearMessage();
    ui.FLVGetFLVButton->click();
    runEventLoopUntil([&] { return window->statusBar()->currentMessage().startsWith("Download f"); }, 30000);
    shoot("download-kept");

    // A file from a server that holds each connection back: the status line
    // names the connections.
    controller.saveDestinationFilenameDidEnd(1, folder.filePath("Held Back Video.flv"));
    ui.URLEntryTextField->setText("http://www.vistaro.com/watch?v=throttled-1048576");
    ui.URLGetURLButton->click();
    runEventLoopUntil([&] { return ui.FLVGetFLVButton->isEnabled(); }, 30000);
    ui.FLVGetFLVButton->click();
    runEventLoopUntil([&] { return window->statusBar()->currentMessage().endsWith("connections)"); },
                      30000);
    save(QStringLiteral("download-connections"));
    runEventLoopUntil([&] { return window->statusBar()->currentMessage().startsWith("Download f"); }, 30000);

    // The smallest the window lets itself be made.
    window->resize(window->minimumSizeHint().expandedTo(window->minimumSize()));
    shoot("minimum-size");
    return 0;
}
