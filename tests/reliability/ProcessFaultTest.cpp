// Faults that need the application in a process of its own: killed during a
// transfer, a file-size limit reached, a converter that is missing, broken or
// hostile (looked up beside a copied executable), and quitting mid-conversion.
#include "reliability/DriverProcess.h"
#include "stub-site/StubSite.h"
#include "support/Files.h"
#include "support/QtPrinters.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

using namespace reelhound::testing;

namespace {

const QByteArray kEarlierContents = "an earlier download that must survive";

class DownloadInAProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QFile file(destination());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kEarlierContents);
    }

    QString destination() const { return folder.filePath(QStringLiteral("video.flv")); }

    void expectEarlierFileAlone() {
        QFile file(destination());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), kEarlierContents);
        EXPECT_EQ(
            QDir(folder.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{"video.flv"});
    }

    QTemporaryDir folder;
};

// SIGKILL at about half way, then the same download again in a new process:
// the earlier file stays whole until the new one is, and only the rest is fetched.
TEST_F(DownloadInAProcess, killedMidTransfer_keepsTheEarlierFileAndContinuesNextTime) {
    QProcess driver;
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    driver.start(kDriver, {"download", "slow", destination()});
    ASSERT_TRUE(driver.waitForStarted());
    QByteArray output;
    QDeadlineTimer deadline(30000);
    while (!output.contains("received: ") && !deadline.hasExpired() &&
           driver.state() == QProcess::Running) {
        driver.waitForReadyRead(100);
        output += driver.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains("received: ")) << output.toStdString();
    ::kill(static_cast<pid_t>(driver.processId()), SIGKILL);
    ASSERT_TRUE(driver.waitForFinished(10000));
    EXPECT_EQ(driver.exitStatus(), QProcess::CrashExit);
    {
        QFile file(destination());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), kEarlierContents);
    }
    const qint64 kept = QFileInfo(folder.filePath(".video.flv.part")).size();
    EXPECT_GT(kept, 0);
    EXPECT_TRUE(QFileInfo(folder.filePath(".video.flv.part.record")).isFile());

    const DriverOutput again = runDriver(kDriver, {"download", "slow", destination()});
    ASSERT_EQ(again.exitCode, 0) << again.raw.toStdString();
    EXPECT_EQ(again.value("status"), "Download finished: " + destination());
    QFile file(destination());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray finished = file.readAll();
    EXPECT_EQ(QCryptographicHash::hash(finished, QCryptographicHash::Sha256).toHex(),
              again.value("served-sha256").toLatin1());
    EXPECT_TRUE(again.values("log").contains(
        QStringLiteral("Download continues the data kept from an earlier run at byte %1").arg(kept)))
        << again.raw.toStdString();
    // Only the rest of the file, and the pages around it.
    const qint64 bodyBytes = again.value("body-bytes").toLongLong();
    EXPECT_GE(bodyBytes, finished.size() - kept);
    EXPECT_LE(bodyBytes, finished.size() - kept + 64 * 1024);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"video.flv"});
}

// A write that fails keeps what was written, for when there is room again.
TEST_F(DownloadInAProcess, fileSizeLimitReached_failsTheWriteAndKeepsTheEarlierFile) {
    const DriverOutput run = runDriver(
        kDriver, {"download", "size-4194304", destination(), "--file-size-limit", "1048576"});
    ASSERT_EQ(run.exitCode, 0) << run.raw.toStdString();
    EXPECT_EQ(run.value("status"),
              QStringLiteral("Download failed: The file %1 could not be written: File too large. "
                             "Download again to resume.")
                  .arg(destination()));
    EXPECT_EQ(run.value("download-button"), "&Download FLV");
    EXPECT_TRUE(run.values("log").contains("Download failed! Error - The file " + destination() +
                                           " could not be written: File too large. "
                                           "http://www.vistaro.com/get_video?video_id=size-"
                                           "4194304&amp;t=OEgsToPDskJ"))
        << run.raw.toStdString();
    QFile earlier(destination());
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), kEarlierContents);
    EXPECT_EQ(QFileInfo(folder.filePath(".video.flv.part")).size(), 1048576);
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(".video.flv.part.record")));

    // With room again, the next Download fetches only the rest.
    const DriverOutput again = runDriver(kDriver, {"download", "size-4194304", destination()});
    ASSERT_EQ(again.exitCode, 0) << again.raw.toStdString();
    EXPECT_EQ(again.value("status"), "Download finished: " + destination());
    EXPECT_EQ(QFileInfo(destination()).size(), 4194304);
    EXPECT_LE(again.value("body-bytes").toLongLong(), 4194304 - 1048576 + 64 * 1024);
}

enum class Converter { Missing, NotExecutable, Scripted };

struct ConverterFault {
    const char* name;
    Converter converter;
    const char* script; // the source file, which the scripted converter runs
    const char* shown;  // the conversion text after the run begins with this; empty: success
    qint64 outputSize;  // -1: no output file
};

void PrintTo(const ConverterFault& fault, std::ostream* out) {
    *out << fault.name;
}

class ConverterFaults : public ::testing::TestWithParam<ConverterFault> {};

TEST_P(ConverterFaults, endTheRunReleaseTheControlsAndLeaveNoPartialFile) {
    const ConverterFault& fault = GetParam();
    DriverTree tree;
    ASSERT_TRUE(tree.create());
    if (fault.converter == Converter::Scripted) {
        ASSERT_TRUE(tree.useScriptedConverter());
    } else if (fault.converter == Converter::NotExecutable) {
        ASSERT_TRUE(tree.putConverterFile("#!/bin/sh\nexit 0\n",
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    }
    const QString source = tree.filePath(QStringLiteral("clip.flv"));
    const QString output = tree.filePath(QStringLiteral("clip.mov"));
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(fault.script);
    }

    const DriverOutput run = runDriver(tree.executable(), {"convert", source, "10"}, 120000);
    ASSERT_EQ(run.exitCode, 0) << run.raw.toStdString();
    const QString shown =
        QString::fromUtf8(fault.shown).replace(QStringLiteral("CONVERTER"), tree.converterPath());
    if (shown.isEmpty()) {
        EXPECT_EQ(run.value("status"), "Converted: " + output);
        EXPECT_EQ(run.value("conversion-text"), "");
        EXPECT_EQ(run.value("beeps"), "0");
    } else {
        EXPECT_TRUE(run.value("status").startsWith(shown)) << run.raw.toStdString();
        EXPECT_TRUE(run.value("conversion-text").startsWith(shown)) << run.raw.toStdString();
        EXPECT_EQ(run.value("beeps"), "1");
    }
    EXPECT_EQ(run.value("disabled"), "") << "every control is released after the run";
    EXPECT_EQ(QFileInfo(output).exists() ? QFileInfo(output).size() : -1, fault.outputSize);
    const QString converter = run.value("converter-pid");
    for (const QString& child : run.values("child"))
        EXPECT_FALSE(!converter.isEmpty() && child.startsWith(converter + ' ')) << "left running";
}

INSTANTIATE_TEST_SUITE_P(
    Reliability, ConverterFaults,
    ::testing::Values(
        ConverterFault{"missing", Converter::Missing, "",
                       "Conversion failed: The converter could not be started: CONVERTER: No such "
                       "file or directory",
                       -1},
        ConverterFault{"notExecutable", Converter::NotExecutable, "",
                       "Conversion failed: The converter could not be started: CONVERTER: "
                       "Permission denied",
                       -1},
        ConverterFault{"crashing", Converter::Scripted,
                       "err=Aborting now\\r\nwrite-output=100\nabort\n",
                       "Conversion failed: The converter was stopped by signal 6.", -1},
        ConverterFault{"binaryJunk", Converter::Scripted,
                       "err=\\x01\\xff\\xfe\\x1b[2J junk\\x00\\x7f\\n\nexit=1\n",
                       "Conversion failed: \\x01\xef\xbf\xbd\xef\xbf\xbd\\x1b[2J junk\\x00\\x7f",
                       -1},
        ConverterFault{"hundredMiBOfOutput", Converter::Scripted,
                       "flood=104857600\nerr=\\nlast words\\n\nwrite-output=1000\n", "", 1000},
        ConverterFault{"readingStandardInput", Converter::Scripted, "read-stdin\nwrite-output=10\n",
                       "", 10},
        ConverterFault{"partialOutput", Converter::Scripted, "write-output=5000\nexit=1\n",
                       "Conversion failed: The converter exited with status 1.", -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QuitDuringAConversion, killsTheConverterAndRemovesItsPartialOutput) {
    DriverTree tree;
    ASSERT_TRUE(tree.create());
    ASSERT_TRUE(tree.useScriptedConverter());
    const QString source = tree.filePath(QStringLiteral("clip.flv"));
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("err=ready\\n\nwrite-output=10\nsleep=60000\n");
    }
    QElapsedTimer clock;
    clock.start();
    const DriverOutput run =
        runDriver(tree.executable(), {"convert", source, "10", "--quit-after", "1500"});
    EXPECT_LT(clock.elapsed(), 30000);
    ASSERT_EQ(run.exitCode, 0) << run.raw.toStdString();
    const qint64 converter = run.value("converter-pid").toLongLong();
    ASSERT_GT(converter, 0) << run.raw.toStdString();
    EXPECT_FALSE(processExists(converter));
    for (const QString& child : run.values("child"))
        EXPECT_FALSE(child.startsWith(QString::number(converter) + ' ')) << child.toStdString();
    EXPECT_FALSE(QFileInfo::exists(tree.filePath(QStringLiteral("clip.mov"))));
    EXPECT_TRUE(QDir(tree.filePath(QString()))
                    .entryList({".reelhound-*"}, QDir::Hidden | QDir::AllEntries)
                    .isEmpty())
        << "the converter's private folder goes too";
    EXPECT_EQ(run.value("beeps"), "0"); // quitting is not a failure to report
}

// Every way the application ends while something runs (a signal from the
// desktop session or a terminal, the Quit command, the window's close button)
// ends it at once and leaves no converter, no partial output and no
// temporary file behind; a transfer keeps what arrived, for the next run.
struct Ending {
    const char* name;
    const char* activity; // lookup, transfer or conversion
    int signal;           // 0: the driver ends itself as endBy says
    const char* endBy;
};

void PrintTo(const Ending& ending, std::ostream* out) {
    *out << ending.name;
}

class EndingWhileBusy : public ::testing::TestWithParam<Ending> {};

TEST_P(EndingWhileBusy, quitsAtOnceAndLeavesOnlyWhatCanBeContinued) {
    const Ending& ending = GetParam();
    DriverTree tree;
    ASSERT_TRUE(tree.create());
    ASSERT_TRUE(tree.useScriptedConverter());
    const QString destination = tree.filePath(QStringLiteral("video.flv"));
    const QString source = tree.filePath(QStringLiteral("clip.flv"));
    for (const auto& [path, contents] :
         {std::pair{destination, kEarlierContents},
          std::pair{source, QByteArray("err=ready\\n\nwrite-output=10\nsleep=60000\n")}})
        writeFile(path, contents);
    const bool converting = QByteArray(ending.activity) == "conversion";
    QStringList arguments{"hold", ending.activity,
                          converting ? source : QString(ending.activity == QByteArray("lookup")
                                                            ? "no-answer"
                                                            : "stall"),
                          destination};
    if (ending.endBy != nullptr)
        arguments << "--end-by" << ending.endBy;

    QProcess driver;
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    driver.start(tree.executable(), arguments);
    ASSERT_TRUE(driver.waitForStarted());
    QByteArray output;
    QDeadlineTimer deadline(30000);
    while (!output.contains("holding: ready") && !deadline.hasExpired() &&
           driver.state() == QProcess::Running) {
        driver.waitForReadyRead(100);
        output += driver.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains("holding: ready")) << output.toStdString();
    QElapsedTimer clock;
    clock.start();
    if (ending.signal != 0)
        ::kill(static_cast<pid_t>(driver.processId()), ending.signal);
    ASSERT_TRUE(driver.waitForFinished(10000));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(driver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(driver.exitCode(), 0);

    DriverOutput run;
    run.raw = output + driver.readAllStandardOutput();
    parseDriverOutput(run);
    if (converting) {
        const qint64 converter = run.value("converter-pid").toLongLong();
        ASSERT_GT(converter, 0) << run.raw.toStdString();
        EXPECT_FALSE(processExists(converter));
        EXPECT_EQ(run.value("beeps"), "0"); // quitting is not a failure to report
    }
    QFile earlier(destination);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), kEarlierContents);
    QStringList left =
        QDir(tree.filePath(".")).entryList(QDir::Files | QDir::Hidden | QDir::System);
    left.sort();
    if (QByteArray(ending.activity) == "transfer") {
        EXPECT_EQ(left, (QStringList{".video.flv.part", ".video.flv.part.record", "clip.flv",
                                     "video.flv"}));
        EXPECT_GT(QFileInfo(tree.filePath(".video.flv.part")).size(), 0);
    } else {
        EXPECT_EQ(left, (QStringList{"clip.flv", "video.flv"})); // no output, no temporary
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reliability, EndingWhileBusy,
    ::testing::Values(Ending{"conversionTerminated", "conversion", SIGTERM, nullptr},
                      Ending{"conversionInterrupted", "conversion", SIGINT, nullptr},
                      Ending{"conversionHungUp", "conversion", SIGHUP, nullptr},
                      Ending{"conversionQuit", "conversion", 0, "quit"},
                      Ending{"conversionClosed", "conversion", 0, "close"},
                      Ending{"transferTerminated", "transfer", SIGTERM, nullptr},
                      Ending{"transferClosed", "transfer", 0, "close"},
                      Ending{"lookupTerminated", "lookup", SIGTERM, nullptr},
                      Ending{"lookupQuit", "lookup", 0, "quit"},
                      Ending{"lookupClosed", "lookup", 0, "close"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// Starts the driver with arguments and waits until it prints `until`.
bool startDriverUntil(QProcess& driver, const QString& executable, const QStringList& arguments,
                      const QByteArray& until, QByteArray& output) {
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    driver.start(executable, arguments);
    if (!driver.waitForStarted())
        return false;
    QDeadlineTimer deadline(30000);
    while (!output.contains(until) && !deadline.hasExpired() &&
           driver.state() == QProcess::Running) {
        driver.waitForReadyRead(100);
        output += driver.readAllStandardOutput();
    }
    return output.contains(until);
}

// A second window meets a destination that the first one is downloading to:
// whatever the second does, the first ends with the served file, and the
// second changes nothing on the disk.
struct SecondWindow {
    const char* name;
    bool killedAtOnce; // or left to end by itself
};

void PrintTo(const SecondWindow& row, std::ostream* out) {
    *out << row.name;
}

class TwoWindows : public DownloadInAProcess, public ::testing::WithParamInterface<SecondWindow> {};

TEST_P(TwoWindows, neverShareADestination) {
    const SecondWindow& row = GetParam();
    QProcess first;
    QByteArray firstOutput;
    // Long enough (4 MiB at 512 KiB/s) that the second window, slow to start
    // under a sanitizer, meets the first one still at it.
    ASSERT_TRUE(startDriverUntil(first, kDriver, {"download", "throttled-524288", destination()},
                                 "received: ", firstOutput))
        << firstOutput.toStdString();
    const QString kept = folder.filePath(".video.flv.part");
    const QByteArray keptBefore = contentsOf(kept);

    if (row.killedAtOnce) {
        QProcess second;
        QByteArray secondOutput;
        startDriverUntil(second, kDriver, {"download", "slow", destination()}, "status: ",
                         secondOutput);
        ::kill(static_cast<pid_t>(second.processId()), SIGKILL);
        second.waitForFinished(10000);
    } else {
        const DriverOutput second = runDriver(kDriver, {"download", "slow", destination()});
        ASSERT_EQ(second.exitCode, 0) << second.raw.toStdString();
        EXPECT_EQ(second.value("status"),
                  QStringLiteral("Download failed: Another Reelhound window is downloading to %1. "
                                 "Wait until it has finished, or choose another file.")
                      .arg(destination()));
        EXPECT_TRUE(second.values("log").filter("Link service").isEmpty());
        QFile file(kept);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().startsWith(keptBefore)) << "the second window wrote there";
    }

    ASSERT_TRUE(first.waitForFinished(30000));
    DriverOutput run;
    run.raw = firstOutput + first.readAllStandardOutput();
    parseDriverOutput(run);
    EXPECT_EQ(run.value("status"), "Download finished: " + destination());
    QFile file(destination());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), reelhound::StubSite::generatedBytes(0, 4 * 1024 * 1024)); // as served
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"video.flv"});
}

INSTANTIATE_TEST_SUITE_P(Reliability, TwoWindows,
                         ::testing::Values(SecondWindow{"secondStartsToo", false},
                                           SecondWindow{"secondIsKilled", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Killed with SIGKILL during a conversion, the application cannot clean up:
// the converter dies with it, and the private folder it wrote in goes with
// the next conversion there.
TEST(ConversionKilledWithItsProcess, leavesNoConverterAndItsFolderGoesNextTime) {
    DriverTree tree;
    ASSERT_TRUE(tree.create());
    ASSERT_TRUE(tree.useScriptedConverter());
    const QString source = tree.filePath(QStringLiteral("clip.flv"));
    const QString other = tree.filePath(QStringLiteral("other.flv"));
    for (const auto& [path, contents] :
         {std::pair{source, QByteArray("err=ready\\n\nwrite-output=10\nsleep=60000\n")},
          std::pair{other, QByteArray("write-output=10\n")}})
        writeFile(path, contents);
    QProcess driver;
    QByteArray output;
    ASSERT_TRUE(startDriverUntil(driver, tree.executable(),
                                 {"hold", "conversion", source, tree.filePath("video.flv")},
                                 "holding: ready", output))
        << output.toStdString();
    DriverOutput held;
    held.raw = output;
    parseDriverOutput(held);
    const qint64 converter = held.value("converter-pid").toLongLong();
    ASSERT_GT(converter, 0);
    ::kill(static_cast<pid_t>(driver.processId()), SIGKILL);
    ASSERT_TRUE(driver.waitForFinished(10000));

    QDeadlineTimer deadline(5000);
    while (processExists(converter) && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_FALSE(processExists(converter)) << "the converter outlived the application";
    const QDir folder(tree.filePath(QString()));
    EXPECT_EQ(folder.entryList({".reelhound-*"}, QDir::Hidden | QDir::AllEntries).size(), 1);

    const DriverOutput next = runDriver(tree.executable(), {"convert", other, "10"});
    ASSERT_EQ(next.exitCode, 0) << next.raw.toStdString();
    EXPECT_TRUE(folder.entryList({".reelhound-*"}, QDir::Hidden | QDir::AllEntries).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(tree.filePath(QStringLiteral("other.mov"))));
}

} // namespace
