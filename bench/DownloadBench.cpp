// One download through the real window and controller: the link-service query,
// the link extraction, the transfer with its per-chunk progress, the finish.
//   reelhound-bench-download --size N DEST      from a stand-in site in this process
//   reelhound-bench-download --id ID DEST       through the proxy in http_proxy
//   reelhound-bench-download --stub-id ID DEST  video ID of a stand-in site in this process
// Prints one line: bytes, wall and CPU seconds of the transfer, idle and peak RSS,
// and with a stand-in site the body bytes it sent.
#include "app/ApplicationController.h"
#include "app/ApplicationMain.h"
#include "app/MainWindow.h"
#include "bench/BenchSupport.h"
#include "platform/Preferences.h"
#include "support/ProcessStatus.h"
#include "support/RecordingDesktopServices.h"
#include "support/StubbedApplication.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QNetworkProxyFactory>
#include <QStatusBar>
#include <QTemporaryDir>
#include <memory>

int main(int argc, char** argv) {
    using namespace reelhound;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareWebEngine();
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 4 ||
        (arguments[1] != "--size" && arguments[1] != "--id" && arguments[1] != "--stub-id")) {
        std::fprintf(stderr, "usage: %s --size N DEST | --id ID DEST | --stub-id ID DEST\n",
                     argv[0]);
        return 2;
    }
    const QString destination = arguments[3];

    // Either a stand-in site in this process, or whatever http_proxy names.
    testing::StubbedApplication stubbed;
    QTemporaryDir settings;
    testing::RecordingDesktopServices desktop;
    std::unique_ptr<Preferences> preferences;
    LaunchedApplication own;
    QString videoId = arguments[2];
    if (arguments[1] != "--id") {
        if (!stubbed.start())
            return 1;
        if (arguments[1] == "--size")
            videoId = "size-" + arguments[2];
    } else {
        QNetworkProxyFactory::setUseSystemConfiguration(true);
        preferences = std::make_unique<Preferences>(settings.filePath("Reelhound.conf"));
        own = launchApplication(desktop, *preferences);
    }
    ApplicationController& controller = own.controller ? *own.controller : stubbed.controller();
    MainWindow& window = own.window ? *own.window : stubbed.window();
    const testing::RecordingDesktopServices& alerts = own.controller ? desktop : stubbed.desktop;

    controller.saveDestinationFilenameDidEnd(1, destination);
    window.ui().URLEntryTextField->setText("www.vistaro.com/watch?v=" + videoId);
    window.ui().URLGetURLButton->click();
    testing::runEventLoopFor(300); // let the window settle
    const long idle = testing::processStatusKiB("VmRSS:");

    const double wall = bench::wallSeconds();
    const double cpu = bench::cpuSeconds();
    const double mainThreadCpu = bench::threadCpuSeconds();
    window.ui().FLVGetFLVButton->click();
    const bool ended = testing::runEventLoopUntil(
        [&] {
            const QString message = window.statusBar()->currentMessage();
            return message.startsWith("Download finished") ||
                   message.startsWith("Download failed") || !alerts.alerts.empty();
        },
        600000, 5);
    const double wallUsed = bench::wallSeconds() - wall;
    const double cpuUsed = bench::cpuSeconds() - cpu;
    const double mainThreadCpuUsed = bench::threadCpuSeconds() - mainThreadCpu;

    for (const auto& alert : alerts.alerts)
        std::fprintf(stderr, "alert: %s\n", alert.message.toUtf8().constData());
    const qint64 written = QFileInfo(destination).size();
    // A generated file is checked byte for byte against what the site serves.
    bool patternOk = false;
    if (!own.controller && videoId.startsWith("size-")) {
        QFile file(destination);
        patternOk = file.open(QIODevice::ReadOnly);
        constexpr qint64 kPiece = 8 * 1024 * 1024;
        for (qint64 offset = 0; patternOk && offset < written; offset += kPiece) {
            const QByteArray piece = file.read(kPiece);
            patternOk = piece == StubSite::generatedBytes(offset, piece.size());
        }
    }
    std::printf("bytes=%lld wall_s=%.3f cpu_s=%.3f main_thread_cpu_s=%.3f idle_rss_mib=%.1f "
                "peak_rss_mib=%.1f wire_bytes=%lld pattern_ok=%s outcome=\"%s\"\n",
                static_cast<long long>(written), wallUsed, cpuUsed, mainThreadCpuUsed, idle / 1024.0,
                testing::processStatusKiB("VmHWM:") / 1024.0,
                static_cast<long long>(own.controller ? -1 : stubbed.site.bodyBytesSent()),
                patternOk ? "yes" : "no",
                window.statusBar()->currentMessage().toUtf8().constData());
    return ended && window.statusBar()->currentMessage().startsWith("Download finished") ? 0 : 1;
}
