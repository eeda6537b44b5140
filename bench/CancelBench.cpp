// How quickly the window comes back to rest when the person interrupts work:
// Cancel during a transfer with data flowing, a stalled transfer and the link
// lookup, and Stop during a conversion (until the converter is gone too).
//   reelhound-bench-cancel RUNS
// Prints one line per case with the median and the slowest run in milliseconds.
#include "app/ApplicationController.h"
#include "app/MainWindow.h"
#include "bench/BenchSupport.h"
#include "support/EventLoop.h"
#include "support/StubbedApplication.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <functional>
#include <vector>

#include <sys/stat.h>

namespace {

using namespace reelhound;

struct Case {
    const char* name;
    std::function<bool()> start;     // brings the activity to the point of interruption
    std::function<void()> interrupt; // the person's click
    std::function<bool()> atRest;    // the controls (and the converter) are back
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareWebEngine();
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    testing::StubbedApplication stubbed;
    if (!stubbed.start())
        return 1;
    ApplicationController& controller = stubbed.controller();
    Ui::MainWindow& ui = stubbed.window().ui();
    ApplicationController::TransferLimits limits;
    limits.download.stallTimeout = std::chrono::seconds(60);
    controller.setTransferLimits(limits);
    const QString destination = stubbed.folder.filePath("video.flv");
    const QString fifo = stubbed.folder.filePath("clip.flv");
    mkfifo(fifo.toLocal8Bit().constData(), 0600);

    const auto downloadIdle = [&] {
        return !controller.activities().downloading() &&
               ui.FLVGetFLVButton->text() == "&Download FLV" && ui.URLGetURLButton->isEnabled();
    };
    const auto startDownload = [&](const char* videoId, bool waitForData) {
        ui.URLEntryTextField->setText(QStringLiteral("www.vistaro.com/watch?v=") + videoId);
        ui.URLGetURLButton->click();
        controller.saveDestinationFilenameDidEnd(1, destination);
        controller.setDownloadResponse(DownloadResponse{});
        ui.FLVGetFLVButton->click();
        if (!waitForData) {
            testing::runEventLoopFor(50);
            return true;
        }
        return testing::runEventLoopUntil(
            [&] {
                return controller.downloadResponse()->HTTPStatus == 200 &&
                       controller.bytesReceived() > 0;
            },
            20000);
    };
    qint64 converter = 0;
    const std::vector<Case> cases = {
        {"transfer with data flowing", [&] { return startDownload("slow", true); },
         [&] { ui.FLVGetFLVButton->click(); }, downloadIdle},
        {"stalled transfer", [&] { return startDownload("stall", true); },
         [&] { ui.FLVGetFLVButton->click(); }, downloadIdle},
        {"link lookup", [&] { startDownload("no-answer", false); return controller.activities().lookupRunning; },
         [&] { ui.FLVGetFLVButton->click(); }, downloadIdle},
        {"conversion (Stop, converter gone)",
         [&] {
             controller.selectConvertFLVFilenameDidEnd(1, fifo);
             ui.convertFLVButton->click();
             testing::runEventLoopUntil(
                 [&] {
                     return controller.conversionFileHandle() &&
                            controller.conversionFileHandle()->processId() > 0;
                 },
                 10000);
             converter = controller.conversionFileHandle()->processId();
             return converter > 0;
         },
         [&] { ui.convertFLVButton->click(); },
         [&] {
             return !controller.activities().converting && ui.convertFLVButton->text() == "&Convert" &&
                    !QFile::exists(QStringLiteral("/proc/%1").arg(converter));
         }},
    };

    for (const Case& c : cases) {
        std::vector<double> milliseconds;
        for (int run = 0; run <= runs; ++run) {
            if (!c.start()) {
                std::fprintf(stderr, "%s: could not start\n", c.name);
                return 1;
            }
            const double start = bench::wallSeconds();
            c.interrupt();
            if (!testing::runEventLoopUntil(c.atRest, 10000)) {
                std::fprintf(stderr, "%s: not at rest after 10 s\n", c.name);
                return 1;
            }
            if (run > 0) // the first is a warm-up
                milliseconds.push_back((bench::wallSeconds() - start) * 1000.0);
        }
        std::sort(milliseconds.begin(), milliseconds.end());
        std::printf("cancel %s: median %.1f ms, slowest %.1f ms (%d runs; goal <= 100 ms)\n", c.name,
                    milliseconds[milliseconds.size() / 2], milliseconds.back(), runs);
    }
    QFile::remove(fifo);
    return 0;
}
