// The download and conversion flows on their own: real widgets, the real
// network stack against the stand-in site and the real converter, but no
// window of the application and no web engine.
#include "app/ConversionFlow.h"
#include "app/DownloadDestination.h"
#include "app/DownloadFlow.h"
#include "app/DownloadProgressDisplay.h"
#include "app/FocusKeeper.h"
#include "app/StatusReports.h"
#include "app/widgets/ProgressIndicator.h"
#include "platform/PartialDataClaim.h"
#include "platform/Preferences.h"
#include "support/EventLoop.h"
#include "support/Files.h"
#include "support/RecordingDesktopServices.h"
#include "support/StubSiteFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace reelhound;
using reelhound::testing::contentsOf;
using reelhound::testing::RecordingDesktopServices;
using reelhound::testing::runEventLoopUntil;
using reelhound::testing::makeClip;

namespace {

// The controls and services both flows report to.
struct FlowWorld {
    QTemporaryDir folder;
    RecordingDesktopServices desktop;
    Preferences preferences{folder.filePath("Reelhound.conf")};
    QMainWindow window;
    QLineEdit holder{&window};
    QToolButton showInFolder{&window};
    FocusKeeper focus{window, holder, [this] { return &holder; }};
    StatusReports reports{window, showInFolder, desktop, focus};
    QString status() const { return window.statusBar()->currentMessage(); }
};

using Stage = DownloadFlow::Stage;

struct DownloadRow {
    const char* name;
    const char* videoId;
    bool destinationHeldElsewhere;
    bool cancelWhileTransferring;
    std::vector<Stage> stages;
    bool finished;
    const char* statusStart;
    bool alert;
    const char* saidOnTheWay = ""; // a status line shown while the file arrives
};

QByteArray servedFile(StubSite& site, const DownloadRow& row) {
    return QByteArray(row.videoId).startsWith("throttled")
               ? StubSite::generatedBytes(0, 4 * 1024 * 1024) // the throttled file
               : site.videoFileContents();
}

class DownloadFlowTest : public reelhound::testing::StubSiteFixture<>,
                         public ::testing::WithParamInterface<DownloadRow> {};

TEST_P(DownloadFlowTest, reportsEachStageAndOneOutcome) {
    const DownloadRow& row = GetParam();
    FlowWorld world;
    QLineEdit field;
    ProgressIndicator bar;
    QLabel line;
    QPushButton opener;
    const QString path = world.folder.filePath("video.flv");
    field.setText(path);
    DownloadDestination destination(field, world.window, world.desktop, world.reports);
    DownloadProgressDisplay progress(bar, line, world.reports);
    DownloadFlow flow(destination, progress, world.reports, world.desktop, world.preferences);
    DownloadFlow::TransferLimits limits;
    limits.download.retryPauseUnit = std::chrono::milliseconds(20);
    flow.setTransferLimits(limits);

    std::vector<Stage> stages;
    std::optional<QString> finished;
    QObject::connect(&flow, &DownloadFlow::stageChanged, [&] {
        stages.push_back(flow.stage());
        if (row.cancelWhileTransferring && flow.stage() == Stage::Transferring)
            QMetaObject::invokeMethod(&flow, &DownloadFlow::cancel, Qt::QueuedConnection);
    });
    QObject::connect(&flow, &DownloadFlow::finished, [&](const QString& made) { finished = made; });
    QStringList said;
    QObject::connect(world.window.statusBar(), &QStatusBar::messageChanged,
                     [&](const QString& message) { said.append(message); });
    std::unique_ptr<PartialDataClaim> elsewhere;
    if (row.destinationHeldElsewhere)
        elsewhere = PartialDataClaim::take(path).claim;

    flow.start(QString::fromLatin1(row.videoId), opener);
    runEventLoopUntil([&] { return flow.stage() == Stage::Idle; }, 30000);

    EXPECT_EQ(stages, row.stages);
    EXPECT_EQ(flow.stage(), Stage::Idle);
    EXPECT_TRUE(world.status().startsWith(QString::fromLatin1(row.statusStart)) ||
                (*row.statusStart == '\0' && world.status().isEmpty()))
        << world.status().toStdString();
    EXPECT_EQ(world.desktop.alerts.size(), row.alert ? 1U : 0U);
    EXPECT_EQ(finished.has_value(), row.finished);
    EXPECT_TRUE(bar.isHidden() && line.isHidden()); // the progress row goes with the download
    if (*row.saidOnTheWay != '\0') {
        EXPECT_FALSE(said.filter(QString::fromLatin1(row.saidOnTheWay)).isEmpty())
            << said.join(u'|').toStdString();
    }
    if (row.finished) {
        EXPECT_EQ(*finished, path);
        EXPECT_EQ(contentsOf(path), servedFile(site, row));
        EXPECT_EQ(flow.bytesReceived(), servedFile(site, row).size());
    } else {
        // Nothing of a refused or cancelled download stays behind.
        EXPECT_FALSE(
            QDir(world.folder.path()).entryList(QDir::Files | QDir::Hidden).contains("video.flv"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, DownloadFlowTest,
    ::testing::Values(DownloadRow{"served",
                                  "demo",
                                  false,
                                  false,
                                  {Stage::LookingUp, Stage::Idle, Stage::Transferring, Stage::Idle},
                                  true,
                                  "Download finished: ",
                                  false},
                      // Each connection held back: the status line says how many run.
                      DownloadRow{"severalConnections",
                                  "throttled-1048576",
                                  false,
                                  false,
                                  {Stage::LookingUp, Stage::Idle, Stage::Transferring, Stage::Idle},
                                  true,
                                  "Download finished: ",
                                  false,
                                  " connections)"},
                      DownloadRow{"noVideoInTheAnswer",
                                  "no-prefix",
                                  false,
                                  false,
                                  {Stage::LookingUp, Stage::Idle},
                                  false,
                                  "",
                                  true},
                      DownloadRow{"cancelled",
                                  "slow",
                                  false,
                                  true,
                                  {Stage::LookingUp, Stage::Idle, Stage::Transferring,
                                   Stage::Stopping, Stage::Idle},
                                  false,
                                  "Download cancelled.",
                                  false},
                      DownloadRow{"destinationHeldByAnotherWindow",
                                  "demo",
                                  true,
                                  false,
                                  {},
                                  false,
                                  "Download failed: Another Reelhound window",
                                  false}),
    [](const auto& info) { return std::string(info.param.name); });

struct ConversionRow {
    const char* name;
    bool sourceExists;
    bool stopAtOnce;
    const char* status;
    bool outputMade;
};

class ConversionFlowTest : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(ConversionFlowTest, beginsEndsOnceAndLeavesOnlyAWholeFile) {
    const ConversionRow& row = GetParam();
    FlowWorld world;
    ProgressIndicator bar;
    QLabel output;
    ConversionFlow flow(bar, output, world.reports, world.desktop, world.preferences);
    const QString source = world.folder.filePath("clip.flv");
    if (row.sourceExists) {
        ASSERT_TRUE(makeClip(source));
    }
    int began = 0;
    int ended = 0;
    QObject::connect(&flow, &ConversionFlow::began, [&] {
        ++began;
        if (row.stopAtOnce)
            QMetaObject::invokeMethod(&flow, &ConversionFlow::stop, Qt::QueuedConnection);
    });
    QObject::connect(&flow, &ConversionFlow::ended, [&] {
        ++ended;
        EXPECT_FALSE(flow.running()); // the window may start the next run from here
    });

    ConversionSettings settings;
    settings.sourcePath = source.toStdString();
    settings.videoSize = "320x240";
    settings.videoBitrate = "500k";
    settings.videoFrameRate = 25;
    settings.audioFrequency = "44100";
    settings.audioBitrate = "128k";
    settings.audioChannels = 1;
    settings.formatTag = kFormatTagMP4;
    flow.start(settings);
    runEventLoopUntil([&] { return ended > 0; }, 60000);

    EXPECT_EQ(began, 1);
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(world.status().startsWith(QString::fromLatin1(row.status)))
        << world.status().toStdString();
    EXPECT_EQ(QFile::exists(world.folder.filePath("clip.mp4")), row.outputMade);
    EXPECT_TRUE(bar.isHidden());
    // No private folder of the run is left beside the output.
    EXPECT_TRUE(
        QDir(world.folder.path()).entryList({".reelhound-*"}, QDir::Dirs | QDir::Hidden).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ConversionFlowTest,
    ::testing::Values(ConversionRow{"converted", true, false, "Converted: ", true},
                      ConversionRow{"stopped", true, true, "Conversion stopped.", false},
                      ConversionRow{"sourceGone", false, false, "Conversion failed: ", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
