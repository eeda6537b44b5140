// Downloads one generated file of the given size through the real window and
// controller from the local stand-in of the site, and prints the process's
// resident memory before and at its peak. Memory must not grow with the size.
//   reelhound-bench-download-memory [bytes]      (default 1 GiB)
#include "support/StubbedApplication.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkProxy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

long statusFieldKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    reelhound::prepareWebEngine();
    QApplication app(argc, argv);
    const qint64 size = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : (1LL << 30);

    using namespace reelhound;
    testing::StubbedApplication application;
    if (!application.start())
        return 1;
    ApplicationController& controller = application.controller();
    MainWindow* window = &application.window();
    const QTemporaryDir& folder = application.folder;
    QApplication::processEvents();

    const QString destination = folder.filePath("big.flv");
    controller.saveDestinationFilenameDidEnd(1, destination);
    window->ui().URLEntryTextField->setText(
        QStringLiteral("www.vistaro.com/watch?v=size-%1").arg(size));
    window->ui().URLGetURLButton->click();
    QApplication::processEvents();
    const long idle = statusFieldKiB("VmRSS:");

    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (window->statusBar()->currentMessage().startsWith("Download f") ||
            window->statusBar()->currentMessage().startsWith("Download c"))
            QApplication::quit();
    });
    poll.start(20);
    QTimer::singleShot(0, [&] { window->ui().FLVGetFLVButton->click(); });
    QApplication::exec();
    const double seconds = clock.elapsed() / 1000.0;

    const long peak = statusFieldKiB("VmHWM:");
    const qint64 written = QFileInfo(destination).size();
    std::printf(
        "bytes=%lld written=%lld seconds=%.2f MB/s=%.1f idle_rss_MiB=%.1f peak_rss_MiB=%.1f "
        "outcome=\"%s\"\n",
        static_cast<long long>(size), static_cast<long long>(written), seconds,
        size / 1e6 / seconds, idle / 1024.0, peak / 1024.0,
        window->statusBar()->currentMessage().toUtf8().constData());
    return written == size ? 0 : 1;
}
