#include "platform/Download.h"
#include "platform/PartialData.h"

#include "stub-site/StubSite.h"
#include "support/EventLoop.h"
#include "support/Files.h"
#include "support/QtPrinters.h"
#include "support/StubSiteFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QNetworkProxy>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

using namespace reelhound;
using reelhound::testing::runEventLoopUntil;
using namespace std::chrono_literals;
using reelhound::testing::contentsOf;
using reelhound::testing::writeFile;

namespace {

// Keeps every callback in order; runs of data callbacks show as one "data".
class RecordingDelegate final : public DownloadDelegate {
public:
    QStringList events;
    std::vector<DownloadResponse> responses;
    std::optional<DownloadError> error;
    QString createdPath;
    qint64 bytesSinceResponse = 0;
    qint64 totalBytes = 0;
    int endings = 0;
    std::function<void(Download&)> onData;
    std::function<void(Download&)> onDecide;

    void downloadDidBegin(Download&) override { events << QStringLiteral("begin"); }
    void downloadDidReceiveResponse(Download&, const DownloadResponse& response) override {
        events << QStringLiteral("response %1").arg(response.HTTPStatus);
        responses.push_back(response);
        bytesSinceResponse = 0;
    }
    void downloadDecideDestinationWithSuggestedFilename(Download& download,
                                                        const QString& filename) override {
        events << QStringLiteral("decide ") + filename;
        if (onDecide)
            onDecide(download);
    }
    void downloadDidCreateDestination(Download&, const QString& path) override {
        events << QStringLiteral("create");
        createdPath = path;
    }
    bool downloadShouldDecodeSourceDataOfMIMEType(Download&, const QString& type) override {
        events << QStringLiteral("decode ") + type;
        return false;
    }
    void downloadDidReceiveDataOfLength(Download& download, std::uint32_t length) override {
        if (events.isEmpty() || events.last() != u"data")
            events << QStringLiteral("data");
        bytesSinceResponse += length;
        totalBytes += length;
        if (onData)
            onData(download);
    }
    void downloadWillRetry(Download&, const DownloadRetry& retry) override {
        events << QStringLiteral("retry %1 of %2 after %3 s")
                      .arg(retry.retry)
                      .arg(retry.retries)
                      .arg(retry.pauseSeconds);
    }
    void downloadWillStartOver(Download&, const QString&) override {
        events << QStringLiteral("start over");
    }
    void downloadWillContinueKeptData(Download&, std::int64_t bytes) override {
        events << QStringLiteral("continue %1").arg(bytes);
    }
    void downloadDidFinish(Download&) override {
        events << QStringLiteral("finish");
        ++endings;
    }
    void downloadDidFailWithError(Download&, const DownloadError& failure) override {
        events << QStringLiteral("fail");
        error = failure;
        ++endings;
    }
};

class DownloadTest : public reelhound::testing::StubSiteFixture<> {
protected:
    void SetUp() override {
        StubSiteFixture::SetUp();
        ASSERT_TRUE(folder.isValid());
        destination = folder.filePath(QStringLiteral("Vistaro Video.flv"));
    }

    void TearDown() override {
        // A test that stopped early must not leave a transfer calling a dead delegate.
        for (const auto& download : started)
            if (download)
                download->cancel();
        StubSiteFixture::TearDown();
    }

    Download* start(const QString& videoId, RecordingDelegate& to, const QString& path,
                    const DownloadOptions& options = {}) {
        Download* download = Download::create(StubSite::directVideoURL(videoId), to, options);
        if (download != nullptr) {
            if (!path.isEmpty())
                download->setDestination(path, true);
            started.append(download);
        }
        return download;
    }
    Download* start(const QString& videoId, const DownloadOptions& options = {}) {
        return start(videoId, delegate, destination, options);
    }

    bool waitForEnd(RecordingDelegate& of, int milliseconds = 5000) {
        return runEventLoopUntil([&] { return of.endings > 0; }, milliseconds);
    }
    bool waitForEnd() { return waitForEnd(delegate); }

    QStringList folderEntries() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
    QString destination;
    RecordingDelegate delegate;
    QList<QPointer<Download>> started;
};

TEST_F(DownloadTest, plainVideo_writesServedBytesWithCallbacksInOrder) {
    const QByteArray served = site.videoFileContents();
    ASSERT_FALSE(served.isEmpty()) << "ffmpeg could not make the test video";

    QPointer<Download> download = start(QStringLiteral("abc-_1"));
    ASSERT_TRUE(download);
    EXPECT_EQ(download->requestURL().toString(), StubSite::directVideoURL("abc-_1"));
    ASSERT_TRUE(waitForEnd());

    EXPECT_EQ(delegate.events, (QStringList{"begin", "response 200", "decide get_video.flv",
                                            "create", "data", "finish"}));
    ASSERT_EQ(delegate.responses.size(), 1u);
    EXPECT_EQ(delegate.responses[0].expectedContentLength, served.size());
    EXPECT_EQ(delegate.responses[0].MIMEType, "video/x-flv");
    EXPECT_EQ(delegate.createdPath, destination);
    EXPECT_EQ(delegate.totalBytes, served.size());
    EXPECT_TRUE(contentsOf(destination) == served);
    EXPECT_EQ(folderEntries(), QStringList{"Vistaro Video.flv"});
    // Compressed answers would lose the length.
    ASSERT_EQ(site.requests().size(), 1);
    EXPECT_EQ(site.requests()[0].header("Accept-Encoding"), "identity");

    EXPECT_TRUE(runEventLoopUntil([&] { return download.isNull(); }, 1000)) << "not deleted";
}

TEST_F(DownloadTest, existingDestination_isReplacedOnlyWhenFinished) {
    writeFile(destination, "earlier file");
    QByteArray seenWhileRunning;
    delegate.onData = [&](Download&) {
        if (seenWhileRunning.isEmpty())
            seenWhileRunning = contentsOf(destination);
    };
    ASSERT_TRUE(start(QStringLiteral("abc")));
    ASSERT_TRUE(waitForEnd());

    EXPECT_EQ(delegate.events.last(), "finish");
    EXPECT_EQ(seenWhileRunning, "earlier file"); // after the first chunk was written
    EXPECT_TRUE(contentsOf(destination) == site.videoFileContents());
    EXPECT_EQ(folderEntries(), QStringList{"Vistaro Video.flv"});
}

struct FaultCase {
    const char* videoId;
    const char* description; // part of the failure's description
    std::chrono::milliseconds stallTimeout = 60s;
};

void PrintTo(const FaultCase& fault, std::ostream* out) {
    *out << fault.videoId;
}

class DownloadFaultTest : public DownloadTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(DownloadFaultTest, failsOnceAndLeavesEarlierFileAlone) {
    const FaultCase& fault = GetParam();
    writeFile(destination, "earlier file");
    DownloadOptions options;
    options.stallTimeout = fault.stallTimeout;
    options.retryPauseUnit = 1ms;
    options.maximumRetries = 2; // each retry waits for the stall limit
    ASSERT_TRUE(start(QString::fromLatin1(fault.videoId), options));
    ASSERT_TRUE(waitForEnd());
    QTest::qWait(50); // nothing may follow the failure

    EXPECT_EQ(delegate.endings, 1);
    EXPECT_EQ(delegate.events.first(), "begin");
    EXPECT_EQ(delegate.events.last(), "fail");
    ASSERT_TRUE(delegate.error);
    EXPECT_TRUE(delegate.error->localizedDescription.contains(QLatin1String(fault.description)))
        << delegate.error->localizedDescription.toStdString();
    EXPECT_FALSE(delegate.error->failingURLString.isEmpty());
    EXPECT_EQ(contentsOf(destination), "earlier file");
    EXPECT_EQ(folderEntries(), QStringList{"Vistaro Video.flv"});
}

INSTANTIATE_TEST_SUITE_P(
    StubSiteFaults, DownloadFaultTest,
    // The faults the window also meets are checked through it
    // (tests/app/DownloadTest.cpp, FailedTransfer); a silent video server is
    // met only here, as the link service is asked first there.
    ::testing::Values(FaultCase{"no-answer", "No data arrived for 0.3 seconds", 300ms}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.videoId);
        return name.remove(u'-').toStdString();
    });

struct RetryCase {
    const char* videoId;
    QStringList eventsAfterCreate;
};

void PrintTo(const RetryCase& retry, std::ostream* out) {
    *out << retry.videoId;
}

// Every retry answered and dropped before its body, until the retries end.
QStringList eachRetryFailingThenAFailure() {
    QStringList events;
    for (int retry = 1; retry <= kMaximumRetries; ++retry)
        events << QStringLiteral("retry %1 of %2 after %3 s")
                      .arg(retry)
                      .arg(kMaximumRetries)
                      .arg(retryPauseSeconds(retry, std::nullopt))
               << QStringLiteral("response 200");
    return events << QStringLiteral("fail");
}

class RetriedDownload : public DownloadTest, public ::testing::WithParamInterface<RetryCase> {};

// A continuation is not announced as a response: the count goes on. Starting
// over is, and the count starts again with it.
TEST_P(RetriedDownload, tellsTheDelegateEachStepAndCountsTheFileOnce) {
    const RetryCase& retry = GetParam();
    DownloadOptions options;
    options.retryPauseUnit = 1ms;
    ASSERT_TRUE(start(QString::fromLatin1(retry.videoId), options));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(delegate.events.mid(0, 4), (QStringList{"begin", "response 200",
                                                      "decide get_video.flv", "create"}));
    EXPECT_EQ(delegate.events.mid(4), retry.eventsAfterCreate);
    if (delegate.events.last() == u"finish") {
        EXPECT_EQ(delegate.bytesSinceResponse, QFileInfo(destination).size());
        EXPECT_EQ(delegate.bytesSinceResponse, delegate.responses.back().expectedContentLength);
    } else {
        EXPECT_EQ(delegate.error->failingURLString,
                  StubSite::directVideoURL(QString::fromLatin1(retry.videoId)));
        EXPECT_FALSE(QFile::exists(destination));
    }
    EXPECT_EQ(folderEntries().size(), delegate.events.last() == u"finish" ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    StubSiteFaults, RetriedDownload,
    ::testing::Values(
        RetryCase{"dropped", {"data", "retry 1 of 41 after 1 s", "data", "finish"}},
        RetryCase{"no-ranges",
                  {"data", "retry 1 of 41 after 1 s", "start over", "response 200", "data",
                   "finish"}},
        RetryCase{"changed",
                  {"data", "retry 1 of 41 after 1 s", "start over", "response 200", "data",
                   "finish"}},
        RetryCase{"dropped-0", eachRetryFailingThenAFailure()}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.videoId);
        return name.remove(u'-').toStdString();
    });

TEST_F(DownloadTest, chunkedBody_hasUnknownLengthAndFinishes) {
    ASSERT_TRUE(start(QStringLiteral("chunked")));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(delegate.events.last(), "finish");
    ASSERT_EQ(delegate.responses.size(), 1u);
    EXPECT_EQ(delegate.responses[0].expectedContentLength, -1);
    EXPECT_TRUE(contentsOf(destination) == site.videoFileContents());
}

TEST_F(DownloadTest, redirect_givesNewResponseThatRestartsTheCount) {
    ASSERT_TRUE(start(QStringLiteral("redirect")));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(delegate.events, (QStringList{"begin", "response 302", "response 200",
                                            "decide get_video.flv", "create", "data", "finish"}));
    ASSERT_EQ(delegate.responses.size(), 2u);
    EXPECT_EQ(delegate.responses[1].URL.toString(), StubSite::directVideoURL("redirected"));
    const QByteArray served = site.videoFileContents();
    EXPECT_EQ(delegate.bytesSinceResponse, served.size());
    EXPECT_TRUE(contentsOf(destination) == served);
}

TEST_F(DownloadTest, cancelInDataCallback_endsEverything) {
    writeFile(destination, "earlier file");
    delegate.onData = [](Download& download) { download.cancel(); };
    QPointer<Download> download = start(QStringLiteral("slow"));
    ASSERT_TRUE(download);
    ASSERT_TRUE(runEventLoopUntil([&] { return delegate.totalBytes > 0; }, 5000));
    QTest::qWait(300); // several more pieces would have arrived by now

    EXPECT_EQ(delegate.events,
              (QStringList{"begin", "response 200", "decide get_video.flv", "create", "data"}));
    EXPECT_EQ(delegate.endings, 0);
    EXPECT_TRUE(download.isNull());
    EXPECT_EQ(contentsOf(destination), "earlier file");
    EXPECT_EQ(folderEntries(), QStringList{"Vistaro Video.flv"});
}

TEST_F(DownloadTest, cancelWhileTheBodyWaitsForADestination_endsAtOnce) {
    // The body is arriving and has nowhere to go yet; the transfer must stop
    // without writing or reporting anything.
    delegate.onDecide = [](Download& download) { download.cancel(); };
    QPointer<Download> download = start(QStringLiteral("size-100000000"));
    ASSERT_TRUE(runEventLoopUntil([&] { return download.isNull(); }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(delegate.events, (QStringList{"begin", "response 200", "decide get_video.flv"}));
    EXPECT_EQ(delegate.totalBytes, 0);
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(DownloadTest, cancelBeforeTheFirstTurn_sendsNothing) {
    Download* download = start(QStringLiteral("abc"));
    ASSERT_TRUE(download);
    download->cancel();
    QTest::qWait(200);
    EXPECT_TRUE(delegate.events.isEmpty());
    EXPECT_TRUE(site.requests().isEmpty());
}

TEST_F(DownloadTest, factory_refusesWhatIsNotAWebAddress) {
    for (const QString& address :
         {QString(), QStringLiteral("not an address"), QStringLiteral("ftp://www.vistaro.com/a"),
          QStringLiteral("file:///etc/passwd"), QStringLiteral("http:///get_video"),
          QStringLiteral("http://www.vistaro.com/get_video?video_id=a b")})
        EXPECT_EQ(Download::create(address, delegate), nullptr) << address.toStdString();

    // Character references of the service page are not decoded, and still make an address.
    Download* download =
        Download::create(StubSite::directVideoURL("abc") + QStringLiteral("&amp;t=x"), delegate);
    ASSERT_NE(download, nullptr);
    download->cancel();
}

TEST_F(DownloadTest, announcedSizeBeyondFreeSpace_failsAtOnce) {
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(start(QStringLiteral("size-4611686018427387904"))); // 4 EiB
    ASSERT_TRUE(waitForEnd());
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(delegate.totalBytes, 0);
    ASSERT_TRUE(delegate.error);
    EXPECT_TRUE(delegate.error->localizedDescription.contains(u"free"))
        << delegate.error->localizedDescription.toStdString();
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(DownloadTest, concurrentTransfers_eachWriteTheirOwnBytes) {
    constexpr qint64 kSize = 6'000'007;
    RecordingDelegate other;
    const QString otherPath = folder.filePath(QStringLiteral("other.flv"));
    ASSERT_TRUE(start(QStringLiteral("size-%1").arg(kSize)));
    ASSERT_TRUE(start(QStringLiteral("chunked"), other, otherPath));
    ASSERT_TRUE(waitForEnd(delegate, 10000));
    ASSERT_TRUE(waitForEnd(other, 10000));

    EXPECT_EQ(delegate.events.last(), "finish");
    EXPECT_EQ(delegate.totalBytes, kSize);
    EXPECT_TRUE(contentsOf(destination) == StubSite::generatedBytes(0, kSize));
    EXPECT_EQ(other.events.last(), "finish");
    EXPECT_TRUE(contentsOf(otherPath) == site.videoFileContents());
}

TEST_F(DownloadTest, destination_problemsAreFailures) {
    // No destination until the delegate is asked: it may still choose one.
    Download* download = start(QStringLiteral("abc"), delegate, QString());
    ASSERT_TRUE(download);
    const QString chosen = folder.filePath(QStringLiteral("chosen.flv"));
    delegate.onDecide = [&](Download& asked) { asked.setDestination(chosen, true); };
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(delegate.events.last(), "finish");
    EXPECT_TRUE(contentsOf(chosen) == site.videoFileContents());

    // Nobody chooses one.
    RecordingDelegate nowhere;
    ASSERT_TRUE(start(QStringLiteral("abc"), nowhere, QString()));
    ASSERT_TRUE(waitForEnd(nowhere));
    ASSERT_TRUE(nowhere.error);
    EXPECT_EQ(nowhere.error->localizedDescription, "No file was chosen to save the download in.");

    // A folder that does not exist.
    RecordingDelegate missingFolder;
    const QString unreachable = folder.filePath(QStringLiteral("no such folder/video.flv"));
    ASSERT_TRUE(start(QStringLiteral("abc"), missingFolder, unreachable));
    ASSERT_TRUE(waitForEnd(missingFolder));
    ASSERT_TRUE(missingFolder.error);
    EXPECT_TRUE(missingFolder.error->localizedDescription.startsWith(
        QStringLiteral("The file %1 could not be created").arg(unreachable)))
        << missingFolder.error->localizedDescription.toStdString();
}

// A proxy that is gone may be restarting: it is tried again, then named.
TEST_F(DownloadTest, proxyNamedByQtSettings_carriesTheTransfer) {
    useClosedProxy();
    DownloadOptions options;
    options.retryPauseUnit = 1ms;
    ASSERT_TRUE(start(QStringLiteral("abc"), options));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(delegate.events.filter("retry").size(), kMaximumRetries);
    ASSERT_TRUE(delegate.error);
    EXPECT_EQ(delegate.error->localizedDescription, "The proxy server refused the connection.");
    EXPECT_TRUE(site.requests().isEmpty());
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(DownloadTest, withoutOverwrite_keepsExistingFileAndFails) {
    writeFile(destination, "earlier file");
    Download* download = Download::create(StubSite::directVideoURL("abc"), delegate);
    ASSERT_TRUE(download);
    started.append(download);
    download->setDestination(destination, false);
    ASSERT_TRUE(waitForEnd());

    ASSERT_TRUE(delegate.error);
    EXPECT_EQ(delegate.error->localizedDescription,
              QStringLiteral("The file %1 already exists.").arg(destination));
    EXPECT_TRUE(delegate.createdPath.isEmpty());
    EXPECT_EQ(contentsOf(destination), "earlier file");
    EXPECT_EQ(folderEntries(), QStringList{QFileInfo(destination).fileName()});
}

} // namespace

namespace {

// Data an earlier run kept for "abc" (the served file's first half unless
// the row says otherwise), and what this run does with it.
struct KeptCase {
    const char* name;
    const char* key;
    const char* validator;
    double totalShare;    // the record's length as a share of the served one
    const char* boot;     // "" for this system run
    double syncedShare;   // of the served file
    double keptShare;     // bytes in the kept file, of the served file
    double continuedShare; // where it continues, of the served file; -1: afresh
};

void PrintTo(const KeptCase& row, std::ostream* out) {
    *out << row.name;
}

class KeptDataDownload : public DownloadTest, public ::testing::WithParamInterface<KeptCase> {};

TEST_P(KeptDataDownload, continuesOnlyDataThatFitsAndEndsWithTheServedFile) {
    const KeptCase& row = GetParam();
    const QByteArray served = site.videoFileContents();
    ASSERT_FALSE(served.isEmpty()) << "ffmpeg could not make the test video";
    const auto share = [&](double part) { return static_cast<qint64>(part * served.size()); };
    writeFile(partialDataPath(destination), served.left(share(row.keptShare)));
    ASSERT_TRUE(writePartialRecord(
        destination, {row.key, {share(row.totalShare), row.validator},
                      *row.boot ? std::string(row.boot) : currentBootId(), share(row.syncedShare)}));

    Download* download = start(QStringLiteral("abc"));
    ASSERT_NE(download, nullptr);
    download->keepPartialDataFor(QStringLiteral("abc"));
    ASSERT_TRUE(waitForEnd());

    ASSERT_EQ(delegate.events.last(), "finish") << delegate.events.join(", ").toStdString();
    EXPECT_TRUE(contentsOf(destination) == served);
    EXPECT_EQ(folderEntries(), QStringList{"Vistaro Video.flv"});
    // A whole file kept gives back its last byte: the server still confirms it.
    const qint64 from = std::min(share(row.continuedShare), qint64(served.size()) - 1);
    if (row.continuedShare >= 0) {
        EXPECT_EQ(delegate.events, (QStringList{"begin", "response 206", "decide get_video.flv",
                                                "create", QStringLiteral("continue %1").arg(from),
                                                "data", "finish"}));
        EXPECT_EQ(site.bodyBytesSent(), served.size() - from);
    } else {
        EXPECT_FALSE(delegate.events.join(' ').contains("continue"));
        // A continuation refused at its head may have had some of its body on the way.
        EXPECT_GE(site.bodyBytesSent(), served.size());
        EXPECT_LE(site.bodyBytesSent(), 2 * served.size() - share(row.keptShare));
    }
    // Every byte counted once, the kept ones included.
    EXPECT_EQ(delegate.bytesSinceResponse, served.size());
    EXPECT_EQ(delegate.responses.back().expectedContentLength, served.size());
}

INSTANTIATE_TEST_SUITE_P(
    Resume, KeptDataDownload,
    ::testing::Values(
        KeptCase{"sameVideo", "abc", "\"test-pattern-1\"", 1, "", 0, 0.5, 0.5},
        KeptCase{"otherVideo", "xyz", "\"test-pattern-1\"", 1, "", 0, 0.5, -1},
        KeptCase{"changedValidator", "abc", "\"test-pattern-0\"", 1, "", 0, 0.5, -1},
        KeptCase{"changedLength", "abc", "\"test-pattern-1\"", 2, "", 0, 0.5, -1},
        KeptCase{"afterARestartOnlyTheSyncedPart", "abc", "\"test-pattern-1\"", 1, "earlier-boot",
                 0.25, 0.5, 0.25},
        KeptCase{"afterARestartNothingSynced", "abc", "\"test-pattern-1\"", 1, "earlier-boot", 0,
                 0.5, -1},
        KeptCase{"wholeFileKept", "abc", "\"test-pattern-1\"", 1, "", 0, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// While bytes arrive the record follows what is on the disk, so that a power
// cut costs no more than one sync interval.
TEST_F(DownloadTest, keptData_recordFollowsWhatIsSyncedWhileBytesArrive) {
    DownloadOptions options;
    options.keptDataSyncInterval = 4096;
    Download* download = start(QStringLiteral("stall"), options);
    ASSERT_NE(download, nullptr);
    download->keepPartialDataFor(QStringLiteral("stall"));
    // The stall comes after 16 KiB, and nothing ends the download meanwhile.
    ASSERT_TRUE(runEventLoopUntil([&] {
        const auto record = readPartialRecord(destination);
        return record && record->syncedBytes >= 12 * 1024;
    }));
    const auto record = readPartialRecord(destination);
    EXPECT_EQ(record->key, "stall");
    EXPECT_EQ(record->bootId, currentBootId());
    EXPECT_LE(record->syncedBytes, QFileInfo(partialDataPath(destination)).size());
    download->cancel();
    EXPECT_EQ(folderEntries(), QStringList{});
}

// A name that leaves no room for ".part": the download goes on without kept data.
TEST_F(DownloadTest, keptData_nameTooLongForTheHiddenFile_downloadsAsBefore) {
    const QString longName = folder.filePath(QString(246, u'v') + QStringLiteral(".flv"));
    Download* download = start(QStringLiteral("abc"), delegate, longName);
    ASSERT_NE(download, nullptr);
    download->keepPartialDataFor(QStringLiteral("abc"));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(delegate.events.last(), "finish");
    EXPECT_TRUE(contentsOf(longName) == site.videoFileContents());
    EXPECT_EQ(folderEntries(), QStringList{QFileInfo(longName).fileName()});
}

} // namespace
