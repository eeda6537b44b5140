// The conversion path of the application (controller, converter process,
// relay, control switching) against bare ffmpeg with the identical argument
// list, on a 60-second 640x480 clip made here once.
//   reelhound-bench-conversion [runs [seconds]]   (default 5 runs, after one
//                                                 warm-up each, of 60 s)
// Exits with 1 when a conversion, bare or through the application, fails.
#include "app/ApplicationController.h"
#include "bench/BenchSupport.h"
#include "core/ConverterCommandLine.h"
#include "platform/ConverterExecutable.h"
#include "platform/Strings.h"
#include "support/ActivityWaits.h"
#include "support/RunProgram.h"
#include "support/StubbedApplication.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

using namespace reelhound;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct BareRun {
    double seconds = 0;
    qsizetype progressLines = 0;
    bool succeeded = false;
};

BareRun runBare(const QStringList& arguments) {
    QProcess ffmpeg;
    ffmpeg.setProcessEnvironment(QProcessEnvironment());
    const double start = bench::wallSeconds();
    ffmpeg.start(converterExecutablePath(), arguments);
    ffmpeg.closeWriteChannel();
    ffmpeg.waitForFinished(-1);
    return {bench::wallSeconds() - start, ffmpeg.readAllStandardError().count("frame="),
            ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0};
}

struct AppRun {
    double seconds = 0;
    double mainThreadCpuSeconds = 0; // what the window and controller took meanwhile
    int chunksShown = 0;
    qsizetype progressLinesShown = 0;
};

AppRun runThroughTheApplication(ApplicationController& controller, Ui::MainWindow& ui) {
    AppRun run;
    // Once the run has begun, note every chunk the status line is given.
    QTimer::singleShot(0, [&] {
        QObject::connect(controller.conversionFileHandle(), &ConverterProcess::errorDataAvailable,
                         [&] {
                             ++run.chunksShown;
                             run.progressLinesShown +=
                                 ui.convertFLVProgressTextField->text().count("frame=");
                         });
    });
    const double start = bench::wallSeconds();
    const double cpu = bench::threadCpuSeconds();
    ui.convertFLVButton->click();
    testing::waitForConversion(controller);
    run.seconds = bench::wallSeconds() - start;
    run.mainThreadCpuSeconds = bench::threadCpuSeconds() - cpu;
    return run;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareWebEngine();
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    const int clipSeconds = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : 60;

    testing::StubbedApplication application;
    if (!application.start())
        return 1;
    ApplicationController& controller = application.controller();
    Ui::MainWindow& ui = application.window().ui();

    const QString source =
        QDir::temp().filePath(QStringLiteral("reelhound-bench-%1s-640x480.flv").arg(clipSeconds));
    if (!QFile::exists(source) &&
        testing::runProgram("ffmpeg",
                            {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=640x480:rate=25",
                             "-f", "lavfi", "-i", "sine=frequency=440", "-t", QString::number(clipSeconds), "-c:v",
                             "flv1", "-c:a", "libmp3lame", "-y", source},
                            600000)
                .exitCode != 0)
        return 1;
    controller.selectConvertFLVFilenameDidEnd(1, source);

    for (const int tag : {kFormatTagMP4, kFormatTagAVI}) {
        QComboBox* formats = ui.convertToDifferentFormatButton;
        formats->setCurrentIndex(formats->findData(tag));
        const ConversionSettings settings = controller.conversionSettingsFromControls();
        const QString output = toQt(*converterOutputPath(settings.sourcePath, tag));
        QStringList arguments;
        for (const auto& argument : buildConverterArguments(settings))
            arguments << toQt(argument);

        std::vector<double> bare;
        std::vector<double> viaApp;
        std::vector<double> mainThreadCpu;
        AppRun last;
        BareRun lastBare;
        for (int i = 0; i <= runs; ++i) { // the first round warms up
            QFile::remove(output);
            lastBare = runBare(arguments);
            QFile::remove(output);
            last = runThroughTheApplication(controller, ui);
            if (!lastBare.succeeded || !QFile::exists(output)) {
                std::fprintf(stderr, "conversion to %s failed (%s)\n",
                             output.toUtf8().constData(), lastBare.succeeded ? "app" : "bare");
                return 1;
            }
            if (i > 0) {
                bare.push_back(lastBare.seconds);
                viaApp.push_back(last.seconds);
                mainThreadCpu.push_back(last.mainThreadCpuSeconds);
            }
        }
        QFile::remove(output);
        std::printf("format=%s runs=%d bare_median_s=%.3f app_median_s=%.3f ratio=%.3f "
                    "app_main_thread_cpu_s=%.3f chunks_shown=%d progress_lines_shown=%lld "
                    "bare_progress_lines=%lld\n",
                    output.section('.', -1).toUtf8().constData(), runs, median(bare),
                    median(viaApp), median(viaApp) / median(bare), median(mainThreadCpu),
                    last.chunksShown,
                    static_cast<long long>(last.progressLinesShown),
                    static_cast<long long>(lastBare.progressLines));
    }
    return 0;
}
