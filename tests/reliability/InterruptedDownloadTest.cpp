// Downloads interrupted on the way, through the real window and controller:
// each ends with the served file and no byte fetched twice that could be
// continued, or fails or is cancelled leaving the folder as it was.
#include "app/NetworkFixture.h"
#include "core/DirectLink.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <chrono>

#include <sys/time.h>

using namespace reelhound;
using reelhound::testing::NetworkFixture;
using reelhound::testing::runEventLoopUntil;
using reelhound::testing::contentsOf;

namespace {

enum class Served { TestVideo, ChangedVersion2 };
enum class Ending { Finished, Failed, KeptThenContinued, CancelledDuringRetry };

struct Interruption {
    const char* name;
    const char* videoId;
    Served served;
    Ending ending;
    double wireShare;    // body bytes the site sent, as a share of the file
    double wireSlack;    // what may come on top, as a share of the file
    const char* retryLog; // a retry the log must show, or ""
    bool startsOver;
};

void PrintTo(const Interruption& row, std::ostream* out) {
    *out << row.name;
}

constexpr qint64 kChangedSize = 1024 * 1024;
// The pages around the video: the service page and error pages.
constexpr qint64 kPageBytes = 8 * 1024;

QByteArray digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

class InterruptedDownload : public NetworkFixture,
                            public ::testing::WithParamInterface<Interruption> {};

TEST_P(InterruptedDownload, endsWithTheServedFileOrLeavesNothing) {
    const Interruption& row = GetParam();
    launchWithShortLimits();
    if (row.ending == Ending::CancelledDuringRetry) {
        ApplicationController::TransferLimits limits;
        limits.download.retryPauseUnit = std::chrono::seconds(5); // time to cancel
        controller->setTransferLimits(limits);
    }
    const QByteArray served = row.served == Served::TestVideo
                                  ? site.videoFileContents()
                                  : StubSite::generatedBytes(1, kChangedSize);
    ASSERT_FALSE(served.isEmpty()) << "ffmpeg could not make the test video";
    chooseDestination(destination());

    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=") + row.videoId);
    ui().FLVGetFLVButton->click();
    if (row.ending == Ending::CancelledDuringRetry) {
        ASSERT_TRUE(runEventLoopUntil(
            [&] { return ui().downloadProgressTextField->text().contains("retrying"); }));
        EXPECT_EQ(ui().downloadProgressTextField->text(),
                  "Connection lost; retrying in 1 s (attempt 1 of 41)...");
        ui().FLVGetFLVButton->click(); // in its cancel form
    }
    ASSERT_TRUE(waitForTransferOutcome());

    const QString status = statusMessage();
    const qint64 size = served.size();
    switch (row.ending) {
    case Ending::Finished:
        EXPECT_EQ(status, "Download finished: " + destination());
        EXPECT_EQ(digest(contentsOf(destination())), digest(served));
        // The count went on across the retries: each byte counted once.
        EXPECT_EQ(ui().downloadProgressTextField->text(),
                  QStringLiteral("received %1 bytes / 100.00 percent complete").arg(size));
        EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});
        break;
    case Ending::Failed:
        EXPECT_EQ(status, "Download failed: The connection was closed before the whole file "
                          "arrived.");
        EXPECT_EQ(filesInDownloads(), QStringList{});
        break;
    case Ending::KeptThenContinued: {
        EXPECT_EQ(status, "Download failed: The connection was closed before the whole file "
                          "arrived. Download again to resume.");
        EXPECT_EQ(filesInDownloads(), (QStringList{".video.flv.part", ".video.flv.part.record"}));
        const qint64 kept = QFileInfo(destination(".video.flv.part")).size();
        EXPECT_EQ(kept, size / 2);
        // The next download asks the service again and fetches only the rest.
        const QString query = QString::fromStdString(serviceQueryURL(row.videoId));
        ASSERT_EQ(site.requestedURLs().count(query), 1);
        window->statusBar()->clearMessage();
        ui().FLVGetFLVButton->click();
        ASSERT_TRUE(waitForTransferOutcome());
        EXPECT_EQ(statusMessage(), "Download finished: " + destination());
        EXPECT_EQ(site.requestedURLs().count(query), 2); // a fresh link: tokens change
        EXPECT_EQ(site.videoRequestsFor(row.videoId), 2 + kMaximumRetries);
        EXPECT_EQ(digest(contentsOf(destination())), digest(served));
        EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});
        EXPECT_TRUE(desktop.logContains(
            QStringLiteral("Download continues the data kept from an earlier run at byte %1")
                .arg(kept)));
        EXPECT_EQ(ui().downloadProgressTextField->text(),
                  QStringLiteral("received %1 bytes / 100.00 percent complete").arg(size));
        break;
    }
    case Ending::CancelledDuringRetry:
        EXPECT_EQ(status, "Download cancelled.");
        EXPECT_EQ(filesInDownloads(), QStringList{});
        break;
    }
    const qint64 least = static_cast<qint64>(row.wireShare * static_cast<double>(size));
    EXPECT_GE(site.bodyBytesSent(), least);
    EXPECT_LE(site.bodyBytesSent(),
              least + static_cast<qint64>(row.wireSlack * static_cast<double>(size)) + kPageBytes);
    if (*row.retryLog != '\0') {
        EXPECT_TRUE(desktop.logContains(QString::fromLatin1(row.retryLog)));
    }
    EXPECT_EQ(desktop.logContains(QStringLiteral("Download starts over from byte 0: ")),
              row.startsOver);
}

INSTANTIATE_TEST_SUITE_P(
    Reliability, InterruptedDownload,
    ::testing::Values(
        Interruption{"dropAt10Percent", "dropped-10", Served::TestVideo, Ending::Finished, 1, 0,
                     "Download will retry: Connection lost; retrying in 1 s (attempt 1 of 41)...",
                     false},
        Interruption{"dropAt50Percent", "dropped-50", Served::TestVideo, Ending::Finished, 1, 0,
                     "", false},
        Interruption{"dropAt90Percent", "dropped-90", Served::TestVideo, Ending::Finished, 1, 0,
                     "", false},
        Interruption{"stall", "stall", Served::TestVideo, Ending::Finished, 1, 0,
                     "Download will retry: No data arrived; retrying in 1 s (attempt 1 of 41)...",
                     false},
        Interruption{"threeDrops", "drops-25", Served::TestVideo, Ending::Finished, 1, 0,
                     "Download will retry: Connection lost; retrying in 1 s (attempt 1 of 41)...",
                     false},
        Interruption{"busyWithRetryAfter", "busy", Served::TestVideo, Ending::Finished, 1, 0,
                     "Download will retry: The server is busy; retrying in 3 s (attempt 1 of 41)...",
                     false},
        Interruption{"rangesIgnored", "no-ranges", Served::TestVideo, Ending::Finished, 1.5, 0,
                     "", true},
        // The continuation's body is refused at its head; some of it is on its way by then.
        Interruption{"fileChanged", "changed", Served::ChangedVersion2, Ending::Finished, 1.5,
                     0.5, "", true},
        Interruption{"givesUpKeepingWhatArrived", "gives-up-50", Served::TestVideo,
                     Ending::KeptThenContinued, 1, 0,
                     "Download will retry: Connection lost; retrying in 3 s (attempt 41 of 41)...",
                     false},
        // Nothing arrived, so nothing is kept.
        Interruption{"failuresInARowUntilTheRetriesEnd", "dropped-0", Served::TestVideo, Ending::Failed, 0, 0,
                     "Download will retry: Connection lost; retrying in 3 s (attempt 41 of 41)...",
                     false},
        Interruption{"cancelDuringRetry", "dropped-50", Served::TestVideo,
                     Ending::CancelledDuringRetry, 0.5, 0, "", false}),
    [](const auto& info) { return std::string(info.param.name); });

// Kept data nobody came back for: still there at the next start within two
// weeks, gone at the first start after.
TEST_F(NetworkFixture, keptDataUnwrittenForFourteenDays_isRemovedAtStartUp) {
    launchWithShortLimits();
    chooseDestination(destination());
    downloadVideo(QStringLiteral("gives-up-50"));
    ASSERT_EQ(filesInDownloads(), (QStringList{".video.flv.part", ".video.flv.part.record"}));
    const QByteArray data = QFile::encodeName(destination(".video.flv.part"));

    for (const int daysAgo : {13, 15}) {
        const auto written = std::chrono::system_clock::to_time_t(
            std::chrono::system_clock::now() - std::chrono::hours(24 * daysAgo));
        const timeval times[2] = {{written, 0}, {written, 0}};
        ASSERT_EQ(::utimes(data.constData(), times), 0);
        relaunch();
        EXPECT_EQ(filesInDownloads().size(), daysAgo < 14 ? 2 : 0) << daysAgo << " days";
    }
}

} // namespace
