// The real window and controller against the local stand-in of the site, in a
// process of its own: for what a test cannot do to itself (a SIGKILL in the
// middle of a transfer, a file-size limit, a converter looked up beside a copied
// executable, quitting the application, hundreds of runs measured from outside).
// It prints what the person would see as "key: value" lines on standard output,
// each value folded to one line the way the log folds it.
//
//   reelhound_reliability_driver download VIDEO_ID DESTINATION [--file-size-limit BYTES]
//       prints "received: N" while bytes arrive, then the outcome
//   reelhound_reliability_driver convert SOURCE FORMAT_TAG [--quit-after MS]
//           [--kill-converter-after MS] [--file-size-limit BYTES] [--answer replace|cancel]
//       converts with the converter of <executable's folder>/../share/reelhound;
//       a question whether to replace a file gets the answer given (else replace)
//   reelhound_reliability_driver soak DOWNLOADS CONVERSIONS FOLDER
//       download-and-cancel cycles, then conversions of a scripted source in
//       FOLDER, with open files, child processes and resident memory before and after
//   reelhound_reliability_driver hold lookup|transfer|conversion VIDEO_ID|SOURCE DESTINATION
//                                [--end-by quit|close]
//       starts the activity and runs the application until it is ended
#include "app/ApplicationController.h"
#include "app/ApplicationMain.h"
#include "core/LogText.h"
#include "platform/QuitOnSignals.h"
#include "platform/Strings.h"
#include "support/ActivityWaits.h"
#include "support/EventLoop.h"
#include "support/ProcessStatus.h"
#include "support/StubbedApplication.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QWebEngineView>

#include <csignal>
#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <unistd.h>

using namespace reelhound;
using reelhound::testing::childProcesses;
using reelhound::testing::waitForConversion;
using reelhound::testing::runEventLoopFor;
using reelhound::testing::runEventLoopUntil;

namespace {

void say(const char* key, const QString& value) {
    std::printf("%s: %s\n", key, singleLineLogText(toStd(value)).c_str());
    std::fflush(stdout);
}

void say(const char* key, long long value) {
    say(key, QString::number(value));
}

int openFileCount() {
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System).size());
}

class Driver {
public:
    explicit Driver(reelhound::testing::StubbedApplication& app)
        : app_(app), ui_(app.window().ui()), controller_(app.controller()) {}

    int download(const QString& videoId, const QString& destination, long long fileSizeLimit) {
        getVideoPage(videoId);
        controller_.saveDestinationFilenameDidEnd(1, destination);
        if (!limitFileSize(fileSizeLimit))
            return 2;
        std::int64_t reported = 0;
        QTimer progress;
        QObject::connect(&progress, &QTimer::timeout, [&] {
            if (controller_.bytesReceived() != reported) {
                reported = controller_.bytesReceived();
                say("received", reported);
            }
        });
        progress.start(5);
        ui_.FLVGetFLVButton->click(); // an alert instead means no transfer started
        if (!runEventLoopUntil([&] { return transferEnded() || !app_.desktop.alerts.empty(); }, 60000)) {
            say("error", QStringLiteral("the transfer did not end"));
            return 3;
        }
        progress.stop();
        report();
        return 0;
    }

    int convert(const QString& source, int formatTag, int quitAfter, int killAfter,
                long long fileSizeLimit) {
        chooseSource(source, formatTag);
        // The converter inherits the limit, and SIGXFSZ ignored.
        if (!limitFileSize(fileSizeLimit))
            return 2;
        qint64 converterId = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const ConverterProcess* run = controller_.conversionFileHandle();
            if (converterId == 0 && run != nullptr && run->processId() > 0) {
                converterId = run->processId();
                say("converter-pid", converterId);
                if (killAfter >= 0) // from outside, as another program would
                    QTimer::singleShot(killAfter, [converterId] {
                        ::kill(static_cast<pid_t>(converterId), SIGKILL);
                    });
            }
        });
        watch.start(5);
        if (quitAfter >= 0) {
            // The way a person quits: the event loop of the application ends
            // while the convert action still waits for its converter.
            QTimer::singleShot(0, ui_.convertFLVButton, &QPushButton::click);
            QTimer::singleShot(quitAfter, qApp, &QCoreApplication::quit);
            QApplication::exec();
        } else {
            ui_.convertFLVButton->click();
            waitForConversion(controller_);
        }
        watch.stop();
        report();
        for (const QString& child : childProcesses())
            say("child", child);
        return 0;
    }

    // Starts the activity, says "holding: ready" once it runs, and then runs
    // the application until something ends it: a signal from the test, or the
    // way a person would (`endBy`: "quit" for the Quit command, "close" for
    // the window's close button).
    int hold(const QString& activity, const QString& argument, const QString& destination,
             const QString& endBy) {
        bool running = false;
        if (activity == u"conversion") {
            chooseSource(argument, 10);
            ui_.convertFLVButton->click();
            running = runEventLoopUntil(
                [&] {
                    return controller_.conversionFileHandle() &&
                           controller_.conversionFileHandle()->processId() > 0;
                },
                30000);
            if (running)
                say("converter-pid", controller_.conversionFileHandle()->processId());
        } else {
            getVideoPage(argument);
            controller_.saveDestinationFilenameDidEnd(1, destination);
            ui_.FLVGetFLVButton->click();
            running = activity == u"lookup"
                          ? controller_.activities().lookupRunning
                          : runEventLoopUntil([&] { return controller_.bytesReceived() > 0; },
                                              30000);
        }
        if (!running) {
            say("error", QStringLiteral("the activity did not start"));
            return 3;
        }
        say("holding", QStringLiteral("ready"));
        if (endBy == u"quit")
            QTimer::singleShot(200, ui_.quitAction, &QAction::trigger);
        else if (endBy == u"close")
            QTimer::singleShot(200, &app_.window(), &QWidget::close);
        QApplication::exec();
        report();
        for (const QString& child : childProcesses())
            say("child", child);
        return 0;
    }

    int soak(int downloads, int conversions, const QString& folder) {
        const QString source = QDir(folder).filePath(QStringLiteral("soak.flv"));
        QFile script(source);
        if (!script.open(QIODevice::WriteOnly) ||
            script.write("err=frame=    1 fps=25 size=       4kB\\r\nwrite-output=4096\n") < 0) {
            say("error", QStringLiteral("cannot write ") + source);
            return 2;
        }
        script.close();

        // The page, the web engine's processes and every lazily made object
        // exist before the first figures are taken.
        bool pageLoaded = false;
        QObject::connect(controller_.RLHDWebView(), &QWebEngineView::loadFinished,
                         [&] { pageLoaded = true; });
        getVideoPage(QStringLiteral("size-1073741824"));
        controller_.saveDestinationFilenameDidEnd(1, QDir(folder).filePath("soak-download.flv"));
        runEventLoopUntil([&] { return pageLoaded; }, 20000);
        int failures = 0;
        for (int i = 0; i < 3; ++i) {
            failures += downloadAndCancel() ? 0 : 1;
            failures += convertOnce(source) ? 0 : 1;
        }
        runEventLoopFor(500);

        say("start-fds", openFileCount());
        say("start-children", childProcesses().size());
        say("start-rss-kib", testing::processStatusKiB("VmRSS:"));
        for (int i = 0; i < downloads; ++i)
            failures += downloadAndCancel() ? 0 : 1;
        for (int i = 0; i < conversions; ++i)
            failures += convertOnce(source) ? 0 : 1;
        runEventLoopFor(500); // deferred deletions run
        say("end-fds", openFileCount());
        say("end-children", childProcesses().size());
        say("end-rss-kib", testing::processStatusKiB("VmRSS:"));
        say("failures", failures);
        return 0;
    }

private:
    static bool limitFileSize(long long bytes) {
        if (bytes <= 0)
            return true;
        // Writes past the limit fail with EFBIG instead of killing the writer.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        if (setrlimit(RLIMIT_FSIZE, &limit) == 0)
            return true;
        say("error", QStringLiteral("setrlimit failed"));
        return false;
    }

    void getVideoPage(const QString& videoId) {
        ui_.URLEntryTextField->setText(QStringLiteral("www.vistaro.com/watch?v=") + videoId);
        ui_.URLGetURLButton->click();
    }

    void chooseSource(const QString& source, int formatTag) {
        controller_.selectConvertFLVFilenameDidEnd(1, source);
        QComboBox* formats = ui_.convertToDifferentFormatButton;
        formats->setCurrentIndex(formats->findData(formatTag));
    }

    QString status() const { return app_.window().statusBar()->currentMessage(); }

    bool transferEnded() const {
        const QString message = status();
        return message.startsWith(u"Download finished") || message.startsWith(u"Download failed") ||
               message.startsWith(u"Download cancelled");
    }

    bool downloadAndCancel() {
        app_.window().statusBar()->clearMessage();
        controller_.setDownloadResponse(DownloadResponse{}); // to tell this transfer's answer
        ui_.FLVGetFLVButton->click(); // asks the service, then starts the transfer
        // Cancelled with data flowing, the way a person cancels.
        if (!runEventLoopUntil(
                [&] {
                    return controller_.downloadResponse()->expectedContentLength > 0 &&
                           controller_.bytesReceived() > 0;
                },
                30000))
            return false;
        ui_.FLVGetFLVButton->click(); // carried out at once
        return runEventLoopUntil([&] { return transferEnded(); }, 30000) &&
               status() == u"Download cancelled.";
    }

    bool convertOnce(const QString& source) {
        chooseSource(source, kFormatTagMOV);
        app_.window().statusBar()->clearMessage();
        ui_.convertFLVButton->click();
        return waitForConversion(controller_) && status().startsWith(u"Converted: ");
    }

    void report() {
        say("status", status());
        say("download-button", ui_.FLVGetFLVButton->text());
        say("conversion-text", ui_.convertFLVProgressTextField->text());
        QStringList disabled;
        for (QWidget* control : std::initializer_list<QWidget*>{
                 ui_.recentURLPopUpButton, ui_.URLGetURLButton, ui_.downloadDestinationSelectButton,
                 ui_.FLVGetFLVButton, ui_.convertToDifferentFormatButton,
                 ui_.selectFLVtoConvertButton, ui_.convertFLVButton}) {
            if (!control->isEnabled())
                disabled << control->objectName();
        }
        say("disabled", disabled.join(u' '));
        say("beeps", app_.desktop.beeps);
        say("body-bytes", app_.site.bodyBytesSent());
        say("served-sha256", QCryptographicHash::hash(app_.site.videoFileContents(),
                                                      QCryptographicHash::Sha256)
                                 .toHex());
        for (const auto& alert : app_.desktop.alerts)
            say("alert", alert.message);
        for (const auto& question : app_.desktop.questions)
            say("question", question.message);
        for (const QString& line : app_.desktop.logLines)
            say("log", line);
    }

    reelhound::testing::StubbedApplication& app_;
    Ui::MainWindow& ui_;
    ApplicationController& controller_;
};

int usage() {
    std::fputs("usage: reelhound_reliability_driver download VIDEO_ID DESTINATION "
               "[--file-size-limit BYTES]\n"
               "       reelhound_reliability_driver convert SOURCE FORMAT_TAG [--quit-after MS]\n"
               "           [--kill-converter-after MS] [--file-size-limit BYTES]\n"
               "           [--answer replace|cancel]\n"
               "       reelhound_reliability_driver soak DOWNLOADS CONVERSIONS FOLDER\n"
               "       reelhound_reliability_driver hold lookup|transfer|conversion VIDEO_ID|SOURCE "
               "DESTINATION [--end-by quit|close]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareWebEngine();
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    quitOnTerminationSignals(); // as the application's own main does

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 4)
        return usage();
    const QString& command = arguments[1];
    auto option = [&](const QString& name) -> long long {
        const qsizetype at = arguments.indexOf(name);
        return at > 0 && at + 1 < arguments.size() ? arguments[at + 1].toLongLong() : -1;
    };

    reelhound::testing::StubbedApplication app;
    if (!app.start()) {
        say("error", QStringLiteral("the stand-in site or the application did not start"));
        return 2;
    }
    ApplicationController::TransferLimits limits;
    limits.download.stallTimeout = std::chrono::seconds(10);
    limits.pageFetchTimeout = std::chrono::seconds(10);
    app.controller().setTransferLimits(limits);
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--answer")); at > 0)
        app.desktop.answers.push_back(arguments.value(at + 1) == u"replace");
    Driver driver(app);

    if (command == u"download")
        return driver.download(arguments[2], arguments[3], option("--file-size-limit"));
    if (command == u"convert")
        return driver.convert(
            arguments[2], arguments[3].toInt(), static_cast<int>(option("--quit-after")),
            static_cast<int>(option("--kill-converter-after")), option("--file-size-limit"));
    if (command == u"hold" && arguments.size() >= 5) {
        const qsizetype endBy = arguments.indexOf(QStringLiteral("--end-by"));
        return driver.hold(arguments[2], arguments[3], arguments[4],
                           endBy > 0 && endBy + 1 < arguments.size() ? arguments[endBy + 1]
                                                                      : QString());
    }
    if (command == u"soak" && arguments.size() >= 5)
        return driver.soak(arguments[2].toInt(), arguments[3].toInt(), arguments[4]);
    return usage();
}
