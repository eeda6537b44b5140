#include "platform/Download.h"
#include "platform/PartialData.h"
#include "platform/ProxyCredentials.h"

#include "stub-site/StubSite.h"
#include "support/AuthenticatingProxy.h"
#include "support/EventLoop.h"
#include "support/Files.h"
#include "support/StubSiteFixture.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace reelhound;
using reelhound::testing::AuthenticatingProxy;
using reelhound::testing::contentsOf;
using reelhound::testing::runEventLoopUntil;

namespace {

constexpr qint64 kMiB = 1024 * 1024;
constexpr qint64 kThrottledSize = 4 * kMiB; // the stand-in's throttled file

// Counts what a download says; the bytes since its last response must add up
// to the file.
class CountingDelegate final : public DownloadDelegate {
public:
    qint64 bytes = 0;
    bool finished = false;
    bool failed = false;

    void downloadDidBegin(Download&) override {}
    void downloadDidReceiveResponse(Download&, const DownloadResponse&) override { bytes = 0; }
    void downloadDecideDestinationWithSuggestedFilename(Download&, const QString&) override {}
    void downloadDidCreateDestination(Download&, const QString&) override {}
    bool downloadShouldDecodeSourceDataOfMIMEType(Download&, const QString&) override {
        return false;
    }
    void downloadDidReceiveDataOfLength(Download&, std::uint32_t length) override {
        bytes += length;
    }
    void downloadWillStartOver(Download&, const QString&) override { bytes = 0; }
    void downloadDidFinish(Download&) override { finished = true; }
    void downloadDidFailWithError(Download&, const DownloadError&) override { failed = true; }
};

class DownloadConnectionsTest : public reelhound::testing::StubSiteFixture<> {
protected:
    void TearDown() override {
        for (const auto& download : started)
            if (download)
                download->cancel();
        StubSiteFixture::TearDown();
    }

    Download* start(const QString& videoId, CountingDelegate& to, bool keep = false) {
        DownloadOptions options;
        options.mostConnections = kMostConnections;
        options.retryPauseUnit = std::chrono::milliseconds(10);
        Download* download = Download::create(StubSite::directVideoURL(videoId), to, options);
        download->setDestination(destination, true);
        if (keep)
            download->keepPartialDataFor(videoId);
        started.append(download);
        return download;
    }

    bool waitForEnd(const CountingDelegate& of) {
        return runEventLoopUntil([&] { return of.finished || of.failed; }, 20000);
    }

    QTemporaryDir folder;
    QString destination = folder.filePath(QStringLiteral("video.flv"));
    QList<QPointer<Download>> started;
};

std::string digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

struct ServerCase {
    const char* videoId;
    QByteArray (*served)(StubSite&);
    int fewestConnections; // at once, at their most
    int mostConnections;
    qint64 extraWireBytes; // over the wire beyond the file, at most
};

void PrintTo(const ServerCase& row, std::ostream* out) {
    *out << row.videoId;
}

QByteArray testPattern(StubSite& site) {
    return site.videoFileContents();
}
QByteArray throttledFile(StubSite&) {
    return StubSite::generatedBytes(0, kThrottledSize);
}
QByteArray secondVersion(StubSite&) {
    return StubSite::generatedBytes(1, kThrottledSize);
}
QByteArray eightMiB(StubSite&) {
    return StubSite::generatedBytes(0, 8 * kMiB);
}

class ServerKinds : public DownloadConnectionsTest,
                    public ::testing::WithParamInterface<ServerCase> {};

TEST_P(ServerKinds, usesWhatTheServerAllowsAndEndsWithTheServedFile) {
    const ServerCase& row = GetParam();
    const QByteArray served = row.served(site);
    CountingDelegate delegate;
    start(QString::fromLatin1(row.videoId), delegate);
    ASSERT_TRUE(waitForEnd(delegate));

    ASSERT_TRUE(delegate.finished);
    EXPECT_EQ(digest(contentsOf(destination)), digest(served));
    EXPECT_EQ(delegate.bytes, served.size()); // every byte counted once
    EXPECT_GE(site.mostVideoConnectionsAtOnce(), row.fewestConnections);
    EXPECT_LE(site.mostVideoConnectionsAtOnce(), row.mostConnections);
    EXPECT_LE(site.bodyBytesSent(), served.size() + row.extraWireBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Connections, ServerKinds,
    ::testing::Values(
        // Too small to share.
        ServerCase{"open", testPattern, 1, 1, 0},
        // Ranges under 2 MiB are not split: this file is shared by 2 or 3.
        ServerCase{"throttled-1048576", throttledFile, 2, kMostConnections, 2 * kMiB},
        ServerCase{"connections-2", throttledFile, 2, 2, 2 * kMiB},
        // A range answered with the whole file is dropped; the file is
        // fetched twice only because its first connection drops at half.
        ServerCase{"no-ranges", testPattern, 1, 2, 3 * 200 * 1024},
        ServerCase{"no-validator", throttledFile, 1, 1, 0},
        // Fetched again from the start, never spliced.
        ServerCase{"validator-changes-1", secondVersion, 2, kMostConnections,
                   kThrottledSize + 2 * kMiB},
        ServerCase{"size-dropped-8388608", eightMiB, 1, kMostConnections, 4 * kMiB},
        // The others go on; its range goes to the next connection.
        ServerCase{"connection-drops", throttledFile, 2, kMostConnections, 2 * kMiB}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.videoId);
        return name.remove(u'-').toStdString();
    });

// Stopped while several connections run, the kept file has holes; the next
// run fetches only them.
TEST_F(DownloadConnectionsTest, stoppedWithHoles_nextRunFetchesOnlyTheMissingBytes) {
    const QString videoId = QStringLiteral("throttled-1048576");
    CountingDelegate first;
    Download* stopped = start(videoId, first, true);
    ASSERT_TRUE(runEventLoopUntil(
        [&] { return site.openVideoConnectionsFor(videoId) >= 2 && first.bytes >= kMiB; }, 10000));
    stopped->stopForLater();
    const std::optional<PartialRecord> record = readPartialRecord(destination);
    ASSERT_TRUE(record);
    const ByteRanges kept =
        continuableRanges(*record, QFileInfo(partialDataPath(destination)).size(), currentBootId());
    EXPECT_GT(kept.held().size(), 1U) << "no holes";
    const qint64 missing = kThrottledSize - kept.heldBytes();

    // What the stand-in still sent to the stopped connections is theirs.
    ASSERT_TRUE(runEventLoopUntil([&] { return site.openVideoConnectionsFor(videoId) == 0; }));
    const qint64 sentBefore = site.bodyBytesSent();
    CountingDelegate second;
    start(videoId, second, true);
    ASSERT_TRUE(waitForEnd(second));
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(digest(contentsOf(destination)), digest(throttledFile(site)));
    EXPECT_EQ(second.bytes, kThrottledSize);
    EXPECT_LE(site.bodyBytesSent() - sentBefore, missing + kMiB);
}

// Bytes an earlier run of this system run wrote are continued from, but the
// record never calls them synced before they are: a power cut may lose them.
TEST_F(DownloadConnectionsTest, keptBytesNotYetOnTheDisk_areNotRecordedAsSynced) {
    const QString videoId = QStringLiteral("throttled-1048576");
    const QByteArray file = throttledFile(site);
    QByteArray kept = file.left(3 * kMiB);
    kept.replace(kMiB, kMiB, QByteArray(kMiB, '\0')); // the first and the third MiB
    reelhound::testing::writeFile(partialDataPath(destination), kept);
    ByteRanges written(kThrottledSize);
    written.add({0, kMiB});
    written.add({2 * kMiB, 3 * kMiB});
    ASSERT_TRUE(writePartialRecord(
        destination, rangedPartialRecord(videoId.toStdString(), {kThrottledSize, "\"v1\""},
                                         currentBootId(), ByteRanges(kThrottledSize), written)));

    CountingDelegate delegate;
    start(videoId, delegate, true);
    // The kept bytes count at once; the record is rewritten before more arrive.
    ASSERT_TRUE(runEventLoopUntil([&] { return delegate.bytes > 2 * kMiB; }, 10000));
    const std::optional<PartialRecord> record = readPartialRecord(destination);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->syncedBytes, 0);
    EXPECT_TRUE(record->syncedRanges.empty());
    ASSERT_TRUE(waitForEnd(delegate));
    ASSERT_TRUE(delegate.finished);
    EXPECT_EQ(digest(contentsOf(destination)), digest(file));
}

// Through a proxy that wants a user name and password, with the person's
// answer remembered for the session: every connection offers it.
class ThroughAuthenticatingProxy : public DownloadConnectionsTest {
protected:
    void SetUp() override {
        if (AuthenticatingProxy::executable().isEmpty())
            GTEST_SKIP() << "tinyproxy is not installed (scripts/install-deps installs it)";
        DownloadConnectionsTest::SetUp();
        ASSERT_TRUE(proxy.start(site.port(), kAlice.user, kAlice.password))
            << proxy.errorString().toStdString();
        QNetworkProxy::setApplicationProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), proxy.port()));
        ProxyCredentials::session().forgetAll();
        ProxyCredentials::session().setAsker(
            [this](const ProxyCredentialsQuestion&, ProxyCredentialsCompletion completion) {
                ++questions;
                QTimer::singleShot(0, [completion] {
                    completion(ProxyCredentialsAnswer{kAlice, true});
                });
            });
    }
    void TearDown() override {
        ProxyCredentials::session().setAsker({});
        ProxyCredentials::session().forgetAll();
        DownloadConnectionsTest::TearDown();
    }

    static inline const ProxyCredential kAlice{QStringLiteral("alice"), QStringLiteral("s3cret")};
    AuthenticatingProxy proxy;
    int questions = 0;
};

TEST_F(ThroughAuthenticatingProxy, rememberedAnswer_servesEveryConnection) {
    CountingDelegate delegate;
    start(QStringLiteral("throttled-1048576"), delegate);
    ASSERT_TRUE(waitForEnd(delegate));

    ASSERT_TRUE(delegate.finished);
    EXPECT_EQ(digest(contentsOf(destination)), digest(throttledFile(site)));
    EXPECT_GE(site.mostVideoConnectionsAtOnce(), 2);
    EXPECT_EQ(questions, 1); // the proxy did ask, and the person only once
}

} // namespace
