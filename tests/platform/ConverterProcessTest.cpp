#include "platform/ConverterProcess.h"
#include "platform/ConverterExecutable.h"

#include "core/ConverterCommandLine.h"
#include "platform/Strings.h"
#include "support/EventLoop.h"
#include "support/ProcessStatus.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include <sys/stat.h>

using namespace reelhound;
using reelhound::testing::runEventLoopFor;

namespace {

const QString kScriptedConverter = QStringLiteral(REELHOUND_SCRIPTED_CONVERTER);
const QString kReplacement = QString(QChar::ReplacementCharacter);

// Does what the controller's relay does: on each notification from the handle
// it holds, read what is there, keep it, and arm again until the output ends.
class Relay {
public:
    explicit Relay(ConverterProcess& handle, bool keepText = true)
        : handle_(handle), keepText_(keepText) {
        QObject::connect(&handle, &ConverterProcess::errorDataAvailable, &context_,
                         [this](ConverterProcess* source) { dataAvailable(source); });
        handle.armDataNotification();
    }

    QStringList chunks;
    qint64 bytes = 0;
    int notifications = 0;
    int emptyReads = 0;
    std::function<void()> onChunk;

private:
    void dataAvailable(ConverterProcess* source) {
        if (source != &handle_)
            return;
        ++notifications;
        const QByteArray chunk = handle_.readAvailableErrorOutput();
        if (chunk.isEmpty()) {
            ++emptyReads; // the end of the output: arming again would spin
            return;
        }
        bytes += chunk.size();
        if (keepText_)
            chunks.push_back(decodeConverterOutput(chunk));
        if (onChunk)
            onChunk();
        handle_.armDataNotification();
    }

    ConverterProcess& handle_;
    bool keepText_;
    QObject context_;
};

// Starts and waits like the convert action, but kills a child that hangs so a
// fault fails the test instead of stalling the suite.
bool runToExit(ConverterProcess& process, const QString& program, const QStringList& arguments,
               int timeoutMs = 10000) {
    bool hung = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        hung = true;
        if (process.processId() > 0)
            ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    });
    watchdog.start(timeoutMs);
    process.start(program, arguments);
    process.waitUntilExit();
    return !hung;
}

QStringList script(std::initializer_list<const char*> steps) {
    QStringList arguments{QStringLiteral("--script")};
    for (const char* step : steps)
        arguments.push_back(QString::fromUtf8(step));
    return arguments;
}

bool childIsGone(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

} // namespace

TEST(ConverterProcess, chunksWrittenWithPauses_reachTheRelayWhileItWaits) {
    ConverterProcess process;
    Relay relay(process);
    ASSERT_TRUE(runToExit(process, kScriptedConverter,
                          script({"err=Input #0\\n", "sleep=150", "err=frame=  1\\r", "sleep=150",
                                  "err=frame=  2\\r", "sleep=150"})));
    EXPECT_EQ(relay.chunks, (QStringList{"Input #0\n", "frame=  1\r", "frame=  2\r"}));
    EXPECT_TRUE(process.succeeded());
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.failureReason(), "");
    EXPECT_EQ(process.failureDetail(), "");
    EXPECT_EQ(process.lastErrorLine(), "frame=  2");
}

TEST(ConverterProcess, invalidUtf8_isShownLossilyChunkByChunk) {
    ConverterProcess process;
    Relay relay(process);
    ASSERT_TRUE(runToExit(process, kScriptedConverter,
                          script({"err=caf\\xC3", "sleep=150", "err=\\xA9 ok\\n", "sleep=150",
                                  "err=\\xFF\\xFE\\n", "sleep=150"})));
    EXPECT_EQ(relay.chunks, (QStringList{"caf" + kReplacement, kReplacement + " ok\n",
                                         kReplacement + kReplacement + "\n"}));
    EXPECT_EQ(process.lastErrorLine(), kReplacement + kReplacement);
}

TEST(ConverterProcess, endOfOutput_isReportedOnceAnArmedReaderAsks) {
    ConverterProcess process;
    Relay relay(process);
    ASSERT_TRUE(runToExit(process, kScriptedConverter, script({"err=only\\n", "sleep=100"})));
    runEventLoopFor(50);
    EXPECT_EQ(relay.chunks, QStringList{"only\n"});
    EXPECT_EQ(relay.emptyReads, 1);
    EXPECT_TRUE(process.atEndOfErrorOutput());

    // Arming at the end is answered at once, once per arming, never re-entrantly.
    bool inside = false;
    int late = 0;
    QObject::connect(&process, &ConverterProcess::errorDataAvailable, [&] {
        EXPECT_FALSE(inside);
        ++late;
    });
    inside = true;
    process.armDataNotification();
    process.armDataNotification();
    inside = false;
    runEventLoopFor(50);
    EXPECT_EQ(late, 1);
}

TEST(ConverterProcess, standardOutput_neverReachesTheRelay) {
    ConverterProcess process;
    Relay relay(process);
    ASSERT_TRUE(runToExit(
        process, kScriptedConverter,
        script({"out=[scripted converter standard output]\\n", "err=to error\\n", "sleep=100"})));
    EXPECT_EQ(relay.chunks, QStringList{"to error\n"});
    EXPECT_TRUE(process.succeeded());
}

TEST(ConverterProcess, childGetsNoEnvironment) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"));
    ConverterProcess process;
    Relay relay(process);
    ASSERT_TRUE(runToExit(process, kScriptedConverter, script({"env", "sleep=100"})));
    EXPECT_EQ(relay.chunks, QStringList{"environment: 0 variables\n"});
}

TEST(ConverterProcess, readerOfStandardInput_seesEndOfFileAtOnce) {
    ConverterProcess process;
    Relay relay(process);
    ASSERT_TRUE(runToExit(process, kScriptedConverter, script({"read-stdin", "sleep=100"}), 5000))
        << "the converter waited for standard input";
    EXPECT_EQ(relay.chunks, QStringList{"stdin: 0 bytes, end of file\n"});
    EXPECT_TRUE(process.succeeded());
}

TEST(ConverterProcess, builtArguments_reachTheConverterOneByOne) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    ASSERT_TRUE(QDir(directory.path()).mkdir("my clips.old"));
    const QString source = directory.filePath("my clips.old/it's $HOME `x`.flv");
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("args\nsleep=100\n");
    }

    ConversionSettings settings;
    settings.sourcePath = toStd(source);
    settings.videoSize = "320x240";
    settings.videoBitrate = "500 k";
    settings.videoFrameRate = -1;
    settings.audioFrequency = "\"44100\"";
    settings.audioBitrate = "";
    settings.audioChannels = 2;
    settings.formatTag = kFormatTagRM;
    const auto arguments = buildConverterArguments(settings);

    ConverterProcess process;
    Relay relay(process);
    ASSERT_TRUE(runToExit(process, kScriptedConverter, toQt(arguments)));
    QString expected;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        expected += QString("arg %1: %2\n").arg(i + 1).arg(toQt(arguments[i]));
    EXPECT_EQ(relay.chunks.join(""), expected);
    EXPECT_TRUE(expected.endsWith("/my clips.old/it's $HOME `x`.rm\n"));
}

TEST(ConverterProcess, failingConverter_isReportedWithItsLastLine) {
    {
        ConverterProcess process;
        ASSERT_TRUE(runToExit(
            process, kScriptedConverter,
            script({"err=Stream mapping:\\n", "err=clip.flv: Invalid data\\n\\n", "exit=3"})));
        EXPECT_FALSE(process.succeeded());
        EXPECT_EQ(process.outcome(), ConverterOutcome::ExitedWithFailure);
        EXPECT_EQ(process.exitCode(), 3);
        EXPECT_EQ(process.failureReason(), "The converter exited with status 3.");
        EXPECT_EQ(process.failureDetail(), "clip.flv: Invalid data");
    }
    {
        ConverterProcess process;
        ASSERT_TRUE(runToExit(process, kScriptedConverter, script({"exit=1"})));
        EXPECT_EQ(process.lastErrorLine(), "");
        EXPECT_EQ(process.failureDetail(), "The converter exited with status 1.");
    }
}

TEST(ConverterProcess, reportedWriteFailure_isAFailureWhateverTheStatus) {
    const struct {
        QStringList steps;
        ConverterOutcome outcome;
        QString detail;
    } cases[] = {
        {{"err=Error closing file x.avi: No space left on device\\n", "exit=0"},
         ConverterOutcome::OutputNotWritten, "The disk is full."},
        {{"err=av_interleaved_write_frame(): Input/output error\\n", "exit=1"},
         ConverterOutcome::OutputNotWritten, "av_interleaved_write_frame(): Input/output error"},
        {{"err=ffmpeg version 5.1\\n  libavutil      57. 28.100 / 57. 28.100\\n", "exit=1"},
         ConverterOutcome::ExitedWithFailure, "The converter exited with status 1."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps.join(' ').toStdString());
        ConverterProcess process;
        ASSERT_TRUE(runToExit(process, kScriptedConverter, QStringList{"--script"} + c.steps));
        EXPECT_FALSE(process.succeeded());
        EXPECT_EQ(process.outcome(), c.outcome);
        EXPECT_EQ(process.failureDetail(), c.detail);
    }
}

TEST(ConverterProcess, crashingConverter_isAFailure) {
    ConverterProcess process;
    ASSERT_TRUE(runToExit(process, kScriptedConverter, script({"err=Aborting now\\r", "abort"})));
    EXPECT_FALSE(process.succeeded());
    EXPECT_EQ(process.outcome(), ConverterOutcome::Crashed);
    EXPECT_EQ(process.exitCode(), SIGABRT);
    // What it said last was cut off by the signal; the signal is what happened.
    EXPECT_EQ(process.failureReason(), "The converter was stopped by signal 6.");
    EXPECT_EQ(process.failureDetail(), "The converter was stopped by signal 6.");
    EXPECT_EQ(process.lastErrorLine(), "Aborting now");
}

TEST(ConverterProcess, converterThatCannotStart_namesThePlaceAndTheCause) {
    QTemporaryDir directory;
    const QString notExecutable = directory.filePath("ffmpeg");
    {
        QFile file(notExecutable);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const std::pair<QString, QString> cases[] = {
        {"/nonexistent/reelhound/ffmpeg",
         "The converter could not be started: /nonexistent/reelhound/ffmpeg: No such file or "
         "directory"},
        {notExecutable,
         "The converter could not be started: " + notExecutable + ": Permission denied"},
        {QString(), "The converter could not be started: " + converterSearchPath() +
                        ": No such file or directory"},
    };
    for (const auto& [program, reason] : cases) {
        SCOPED_TRACE(program.toStdString());
        ConverterProcess process;
        Relay relay(process);
        bool endedSignalled = false;
        QObject::connect(&process, &ConverterProcess::ended, [&] { endedSignalled = true; });
        ASSERT_TRUE(runToExit(process, program, script({"exit=0"})));
        runEventLoopFor(20);
        EXPECT_TRUE(endedSignalled);
        EXPECT_EQ(process.outcome(), ConverterOutcome::FailedToStart);
        EXPECT_EQ(process.failureReason(), reason);
        EXPECT_EQ(process.failureDetail(), reason);
        EXPECT_EQ(relay.emptyReads, 1) << "a waiting reader learns that no output will come";
    }
}

TEST(ConverterProcess, failedRun_removesTheFileItStarted_butNeverOneThatWasThere) {
    QTemporaryDir directory;
    const QString output = directory.filePath("clip.mov");
    const QByteArray outputStep = ("output=" + output).toUtf8();
    {
        ConverterProcess process;
        process.setOutputPath(output);
        ASSERT_TRUE(runToExit(process, kScriptedConverter,
                              script({outputStep.constData(), "write-output=5000", "exit=1"})));
        EXPECT_FALSE(process.succeeded());
        EXPECT_FALSE(QFileInfo::exists(output)) << "the partial output was left behind";
    }
    {
        ConverterProcess process;
        process.setOutputPath(output);
        ASSERT_TRUE(runToExit(process, kScriptedConverter,
                              script({outputStep.constData(), "write-output=5000"})));
        EXPECT_TRUE(process.succeeded());
        EXPECT_EQ(QFileInfo(output).size(), 5000);
    }
    {
        ConverterProcess process;
        process.setOutputPath(output);
        ASSERT_TRUE(runToExit(process, kScriptedConverter, script({"exit=1"})));
        EXPECT_EQ(QFileInfo(output).size(), 5000) << "an earlier file was removed";
    }
}

TEST(ConverterProcess, endlessOutput_keepsMemoryFlatAndFinishes) {
    constexpr qint64 kOutputBytes = 100LL * 1024 * 1024;
    const long residentBefore = reelhound::testing::processStatusKiB("VmRSS:");
    long residentPeak = residentBefore;

    ConverterProcess process;
    Relay relay(process, /*keepText=*/false);
    int chunksSeen = 0;
    relay.onChunk = [&] {
        if (++chunksSeen % 64 == 0)
            residentPeak = std::max(residentPeak, reelhound::testing::processStatusKiB("VmRSS:"));
    };
    ASSERT_TRUE(runToExit(process, kScriptedConverter,
                          script({"flood=104857600", "err=\\nlast words\\n"}), 60000));
    EXPECT_TRUE(process.succeeded());
    EXPECT_EQ(process.lastErrorLine(), "last words");
    EXPECT_GT(relay.notifications, 100);
    EXPECT_LE(relay.bytes, kOutputBytes + 12);
#if !defined(__SANITIZE_ADDRESS__) // its quarantine keeps freed memory resident
    EXPECT_LT(residentPeak - residentBefore, 32 * 1024)
        << "resident memory grew from " << residentBefore << " KiB to " << residentPeak << " KiB";
#endif
}

TEST(ConverterProcess, progress_followsEveryByteEvenWhenTheRelayDropsSome) {
    // The length comes once, early; more than the relay keeps follows at once
    // (a fast converter's stream listing), so only the whole output tells it.
    struct Case {
        const char* ending;
        double percent;
    };
    for (const Case& c : {Case{"exit=1", 25.0}, Case{"exit=0", 100.0}}) {
        ConverterProcess process;
        Relay relay(process, /*keepText=*/false);
        ASSERT_TRUE(runToExit(process, kScriptedConverter,
                              script({"err=  Duration: 00:00:04.00, start: 0.000000\n",
                                      "flood=8192", "sleep=100", c.ending})));
        ASSERT_TRUE(process.progress().percent().has_value()) << c.ending;
        EXPECT_DOUBLE_EQ(*process.progress().percent(), c.percent) << c.ending;
    }
}

TEST(ConverterProcess, stoppedNotifications_dropLateOutput) {
    ConverterProcess process;
    Relay relay(process);
    process.start(kScriptedConverter, script({"sleep=200", "err=late\\n"}));
    process.stopNotifications();
    process.waitUntilExit();
    runEventLoopFor(50);
    EXPECT_EQ(relay.notifications, 0);
    EXPECT_TRUE(process.readAvailableErrorOutput().isEmpty());
    EXPECT_EQ(process.lastErrorLine(), "late") << "the last line is still followed";
}

TEST(ConverterProcess, destroyingTheHandle_killsTheChildAndItsPartialOutput) {
    QTemporaryDir directory;
    const QString output = directory.filePath("clip.avi");
    const QByteArray outputStep = ("output=" + output).toUtf8();
    qint64 pid = 0;
    {
        ConverterProcess process;
        process.setOutputPath(output);
        process.start(kScriptedConverter, script({outputStep.constData(), "write-output=10",
                                                  "err=ready\\n", "sleep=30000"}));
        reelhound::testing::runEventLoopUntil([&] { return process.lastErrorLine() == "ready"; },
                                              5000);
        pid = process.processId();
        ASSERT_GT(pid, 0);
    }
    EXPECT_TRUE(childIsGone(pid));
    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST(ConverterProcess, quittingTheApplication_endsTheWaitAndTheChild) {
    ConverterProcess process;
    process.start(kScriptedConverter, script({"sleep=30000"}));
    bool waitReturned = false;
    qint64 pid = 0;
    QTimer::singleShot(0, [&] {
        pid = process.processId();
        process.waitUntilExit();
        waitReturned = true;
    });
    QTimer::singleShot(150, qApp, &QCoreApplication::quit);
    QElapsedTimer timer;
    timer.start();
    QCoreApplication::exec();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(waitReturned);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(childIsGone(pid));
    EXPECT_EQ(process.outcome(), ConverterOutcome::StoppedAtQuit);
    EXPECT_FALSE(process.failureReason().isEmpty());
}

// The real converter, as the application finds it.

TEST(ConverterExecutable, buildTreeCarriesTheConverterInItsResourceDirectory) {
    const QString path = converterExecutablePath();
    ASSERT_FALSE(path.isNull()) << "nothing at " << converterSearchPath().toStdString();
    EXPECT_EQ(path, converterSearchPath());
    EXPECT_TRUE(path.endsWith("/share/reelhound/ffmpeg")) << path.toStdString();
    EXPECT_TRUE(QFileInfo(path).isExecutable());
}

namespace {

struct FormatCase {
    std::int32_t tag;
    const char* extension;
    const char* container;
    const char* majorBrand; // tells .mov from .mp4; empty when there is none
};

void PrintTo(const FormatCase& format, std::ostream* out) {
    *out << format.extension;
}

class RealConverter : public ::testing::TestWithParam<FormatCase> {
protected:
    static void SetUpTestSuite() {
        directory_ = new QTemporaryDir(QDir::tempPath() + "/reelhound real converter-XXXXXX");
        source_ = directory_->filePath("clip.flv");
        QProcess maker;
        maker.setProcessChannelMode(QProcess::ForwardedChannels);
        maker.start(converterExecutablePath(),
                    {"-nostdin", "-v", "error", "-f", "lavfi", "-i",
                     "testsrc=size=320x240:rate=25:duration=0.4", "-f", "lavfi", "-i",
                     "sine=frequency=440:sample_rate=44100:duration=0.4", "-c:v", "flv", "-c:a",
                     "aac", source_});
        maker.waitForFinished(20000);
    }
    static void TearDownTestSuite() {
        delete directory_;
        directory_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(source_).size() > 0) << "could not make a source video";
        ASSERT_FALSE(converterExecutablePath().isNull());
    }

    static ConversionSettings settingsFor(const QString& source, std::int32_t tag) {
        ConversionSettings settings;
        settings.sourcePath = toStd(source);
        settings.videoSize = "320x240"; // multiples of 16, as the .rm video codec needs
        settings.videoBitrate = "500k";
        settings.videoFrameRate = 25;
        settings.audioFrequency = "44100";
        settings.audioBitrate = "128k";
        settings.audioChannels = 2;
        settings.formatTag = tag;
        return settings;
    }

    static QJsonObject probe(const QString& path) {
        QProcess ffprobe;
        ffprobe.start(QStringLiteral(REELHOUND_FFPROBE),
                      {"-v", "error", "-of", "json", "-show_entries",
                       "format=format_name:format_tags=major_brand:stream=codec_type,codec_name",
                       path});
        ffprobe.waitForFinished(20000);
        return QJsonDocument::fromJson(ffprobe.readAllStandardOutput()).object();
    }

    static inline QTemporaryDir* directory_ = nullptr;
    static inline QString source_;
};

} // namespace

TEST_P(RealConverter, convertsNextToTheSource_withAacAudio) {
    const FormatCase format = GetParam();
    const auto arguments = buildConverterArguments(settingsFor(source_, format.tag));
    ASSERT_EQ(arguments.size(), 17u);
    const QString output = toQt(arguments.back());
    EXPECT_EQ(output, directory_->filePath(QString("clip.") + format.extension));

    ConverterProcess process;
    process.setOutputPath(output);
    Relay relay(process);
    ASSERT_TRUE(runToExit(process, converterExecutablePath(), toQt(arguments), 20000));
    EXPECT_TRUE(process.succeeded()) << process.failureDetail().toStdString();
    EXPECT_FALSE(relay.chunks.isEmpty()) << "no output was relayed during the run";

    const QJsonObject info = probe(output);
    const QJsonObject container = info["format"].toObject();
    EXPECT_EQ(container["format_name"].toString(), format.container);
    if (*format.majorBrand) {
        EXPECT_EQ(container["tags"].toObject()["major_brand"].toString().trimmed(),
                  format.majorBrand);
    }
    bool hasAacAudio = false;
    bool hasVideo = false;
    for (const auto& stream : info["streams"].toArray()) {
        const QJsonObject entry = stream.toObject();
        hasAacAudio |= entry["codec_type"] == "audio" && entry["codec_name"] == "aac";
        hasVideo |= entry["codec_type"] == "video";
    }
    EXPECT_TRUE(hasAacAudio) << QJsonDocument(info).toJson().toStdString();
    EXPECT_TRUE(hasVideo);
}

INSTANTIATE_TEST_SUITE_P(
    EachFormat, RealConverter,
    ::testing::Values(FormatCase{kFormatTagMOV, "mov", "mov,mp4,m4a,3gp,3g2,mj2", "qt"},
                      FormatCase{kFormatTagMP4, "mp4", "mov,mp4,m4a,3gp,3g2,mj2", "isom"},
                      FormatCase{kFormatTagAVI, "avi", "avi", ""},
                      FormatCase{kFormatTagRM, "rm", "rm", ""},
                      FormatCase{kFormatTagWMV, "wmv", "asf", ""}),
    [](const auto& info) { return std::string(info.param.extension); });

TEST_F(RealConverter, existingOutput_isRefusedWithoutWaitingAndLeftUntouched) {
    QDir(directory_->path()).mkdir("again");
    const QString source = directory_->filePath("again/clip.flv");
    ASSERT_TRUE(QFile::copy(source_, source));
    const auto arguments = buildConverterArguments(settingsFor(source, kFormatTagMP4));
    const QString output = toQt(arguments.back());
    {
        ConverterProcess first;
        ASSERT_TRUE(runToExit(first, converterExecutablePath(), toQt(arguments), 20000));
        ASSERT_TRUE(first.succeeded()) << first.failureDetail().toStdString();
    }
    QFile file(output);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    file.close();
    const QDateTime modifiedBefore = QFileInfo(output).lastModified();

    ConverterProcess second;
    second.setOutputPath(output);
    ASSERT_TRUE(runToExit(second, converterExecutablePath(), toQt(arguments), 10000))
        << "the converter waited for an answer";
    EXPECT_EQ(second.outcome(), ConverterOutcome::ExitedWithFailure);
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(second.failureDetail().contains("already exists"))
        << second.failureDetail().toStdString();

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256), before);
    EXPECT_EQ(QFileInfo(output).lastModified(), modifiedBefore);
}
