// What a download keeps when the world around it fails, through the real
// window and controller: an outage short enough is ridden out, anything
// else keeps what arrived for the next Download, which asks only for the rest.
#include "app/NetworkFixture.h"

#include <QCryptographicHash>
#include <QFileInfo>

using namespace reelhound;
using reelhound::testing::NetworkFixture;
using reelhound::testing::runEventLoopUntil;
using reelhound::testing::contentsOf;

namespace {

struct Failure {
    const char* name;
    const char* videoId;
    const char* firstStatus; // the status line after the first Download
    bool kept;               // what arrived waits beside the destination
};

void PrintTo(const Failure& row, std::ostream* out) {
    *out << row.name;
}

QByteArray digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

class FailureAroundADownload : public NetworkFixture,
                               public ::testing::WithParamInterface<Failure> {
protected:
    // The Range asked for by the video requests from the index-th on.
    QStringList rangesAskedFrom(qsizetype first) const {
        QStringList ranges;
        qsizetype seen = 0;
        for (const StubSite::Request& request : site.requests()) {
            if (!request.url.contains(QLatin1String("get_video")))
                continue;
            if (seen++ >= first)
                ranges << QString::fromLatin1(request.header("Range"));
        }
        return ranges;
    }
};

TEST_P(FailureAroundADownload, keepsWhatArrivedUnlessItIsProvenUseless) {
    const Failure& row = GetParam();
    launchWithShortLimits();
    const QByteArray served = site.videoFileContents();
    ASSERT_FALSE(served.isEmpty()) << "ffmpeg could not make the test video";
    chooseDestination(destination());
    downloadVideo(QString::fromLatin1(row.videoId));

    const QString status = statusMessage();
    EXPECT_TRUE(status.startsWith(QLatin1String(row.firstStatus))) << status.toStdString();
    EXPECT_EQ(ui().FLVGetFLVButton->text(), "&Download FLV");
    if (!row.kept) {
        EXPECT_EQ(digest(contentsOf(destination())), digest(served));
        EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});
        EXPECT_LE(site.bodyBytesSent(), served.size() + 64 * 1024);
        return;
    }
    EXPECT_TRUE(status.endsWith(QLatin1String(" Download again to resume.")))
        << status.toStdString();
    EXPECT_EQ(filesInDownloads(), (QStringList{".video.flv.part", ".video.flv.part.record"}));
    const qint64 kept = QFileInfo(destination(".video.flv.part")).size();
    EXPECT_GT(kept, 0);

    // The next Download, once the site is back, fetches only the rest.
    ASSERT_TRUE(runEventLoopUntil([&] { return site.isReachable(); }, 10000));
    const qsizetype earlierRequests = rangesAskedFrom(0).size();
    const qint64 sentBefore = site.bodyBytesSent();
    window->statusBar()->clearMessage();
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(waitForTransferOutcome());
    EXPECT_EQ(statusMessage(), "Download finished: " + destination());
    EXPECT_EQ(rangesAskedFrom(earlierRequests).value(0), QStringLiteral("bytes=%1-").arg(kept));
    EXPECT_EQ(digest(contentsOf(destination())), digest(served));
    EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});
    EXPECT_LE(site.bodyBytesSent() - sentBefore, served.size() - kept + 64 * 1024);
}

// Outages in retry seconds of the tests (20 ms): the retries wait 121 of
// them in all, so "100" passes and "4000" outlasts them.
INSTANTIATE_TEST_SUITE_P(
    Reliability, FailureAroundADownload,
    ::testing::Values(
        Failure{"serverDropsTheConnection", "dropped-50", "Download finished: ", false},
        Failure{"proxyGoneForFiveSeconds", "outage-100", "Download finished: ", false},
        Failure{"proxyGoneForLongerThanTheRetries", "outage-4000",
                "Download failed: The proxy server refused the connection.", true},
        Failure{"linkExpiredForbidden", "expired-403",
                "Download failed: The server answered 403 Expired.", true},
        Failure{"linkExpiredGone", "expired-410",
                "Download failed: The server answered 410 Expired.", true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
