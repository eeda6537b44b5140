// Walks the real window through a download and a conversion against the local
// stand-in of the site and saves a picture of each state, for the README.
//   xvfb-run -a -s "-screen 0 1000x860x24" build/bin/reelhound-screenshots docs/screenshots
#include "support/StubbedApplication.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QNetworkProxy>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

bool waitUntil(const std::function<bool()>& condition, int milliseconds = 30000) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

void settle(int milliseconds) {
    waitUntil([] { return false; }, milliseconds);
}

} // namespace

int main(int argc, char** argv) {
    reelhound::prepareWebEngine();
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));

    using namespace reelhound;
    testing::StubbedApplication application;
    if (!application.start())
        return 1;
    ApplicationController& controller = application.controller();
    MainWindow* window = &application.window();
    const QTemporaryDir& folder = application.folder;
    Ui::MainWindow& ui = window->ui();

    const auto shoot = [&](const char* name) {
        settle(400);
        const QPixmap picture = window->grab();
        const QString path = out.filePath(QString::fromLatin1(name) + ".png");
        std::printf("%s %s\n", picture.save(path) ? "saved" : "could not save",
                    path.toUtf8().constData());
    };

    controller.saveDestinationFilenameDidEnd(1, folder.filePath("Vistaro Video.flv"));
    ui.URLEntryTextField->setText("http://www.vistaro.com/watch?v=slow");
    ui.URLGetURLButton->click();
    waitUntil([&] { return ui.RLHDWebView->title().contains("player"); });
    shoot("video-page");

    ui.FLVGetFLVButton->click();
    waitUntil([&] { return controller.bytesReceived() > 60000; });
    shoot("download-running");
    waitUntil([&] { return window->statusBar()->currentMessage().startsWith("Download f"); });
    shoot("download-finished");

    ui.convertToDifferentFormatButton->setCurrentIndex(1);
    bool shotDuringRun = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (!shotDuringRun && ui.convertFLVProgressTextField->text().contains("frame=")) {
            shotDuringRun = true;
            const QPixmap picture = window->grab();
            picture.save(out.filePath("converting.png"));
            std::printf("saved %s\n", out.filePath("converting.png").toUtf8().constData());
        }
    });
    during.start(10);
    ui.convertFLVButton->click();
    during.stop();
    shoot("converted");
    return 0;
}
