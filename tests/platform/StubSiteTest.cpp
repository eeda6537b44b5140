#include "stub-site/StubSite.h"
#include "stub-site/FaultModes.h"

#include "core/DirectLink.h"
#include "platform/PageFetch.h"
#include "platform/Strings.h"
#include "support/QtPrinters.h"
#include "support/StubSiteFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QNetworkProxy>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

using namespace reelhound;

namespace {

class StubSiteTest : public reelhound::testing::StubSiteFixture<> {
protected:
    DirectLinkExtraction linkFor(const char* videoId) {
        const PageFetchResult page = fetchPageText(QUrl(toQt(serviceQueryURL(videoId))));
        EXPECT_TRUE(page.ok) << page.error.toStdString();
        return extractDirectLink(toStd(page.text));
    }
};

TEST_F(StubSiteTest, servicePage_namesAnAddressTheSiteServes) {
    // Further parameters of the watch address are the query's own, not the video's.
    const auto link = linkFor("abc-_1&feature=related");
    ASSERT_TRUE(link.address);
    EXPECT_EQ(*link.address, directLinkPrefix() + "abc-_1&amp;t=OEgsToPDskJ");
    EXPECT_EQ(site.requestedURLs(), QStringList{toQt(serviceQueryURL("abc-_1&feature=related"))});

    EXPECT_EQ(linkFor("no-prefix").problem, DirectLinkProblem::NoPrefix);
    EXPECT_EQ(linkFor("no-terminator").problem, DirectLinkProblem::NoTerminator);
}

TEST_F(StubSiteTest, pagesNameTheVideoAndOtherHostsAreRefused) {
    PageFetchResult page = fetchPageText(QUrl("http://www.vistaro.com/watch?v=abc"));
    ASSERT_TRUE(page.ok) << page.error.toStdString();
    EXPECT_TRUE(page.text.contains(u"http://www.vistaro.com/v/abc"));

    page = fetchPageText(QUrl("http://www.vistaro.com/v/abc&feature=related"));
    ASSERT_TRUE(page.ok) << page.error.toStdString();
    EXPECT_TRUE(page.text.contains(u"Video <b>abc&amp;feature=related</b>"));

    page = fetchPageText(QUrl("http://www.vistaro.com/nothing"));
    EXPECT_EQ(page.HTTPStatus, 404);
    page = fetchPageText(QUrl("http://elsewhere.example/"));
    EXPECT_EQ(page.HTTPStatus, 502);
}

TEST_F(StubSiteTest, answersPlainRequestsByHostHeader) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), site.port());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write("HEAD /get_video?video_id=size-123 HTTP/1.1\r\nHost: www.vistaro.com\r\n\r\n");
    QByteArray answer;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            answer += socket.readAll();
            return socket.state() == QAbstractSocket::UnconnectedState;
        },
        2000));
    answer += socket.readAll();
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 200 OK\r\n")) << answer.toStdString();
    EXPECT_TRUE(answer.contains("\r\nContent-Length: 123\r\n"));
    EXPECT_TRUE(answer.endsWith("\r\n\r\n")) << "a HEAD answer has no body";
    EXPECT_EQ(site.requestedURLs(),
              QStringList{"http://www.vistaro.com/get_video?video_id=size-123"});
}

// Sends one request for a video, waits for the whole answer (or for its head
// alone when headOnly), and leaves the socket as it is.
QByteArray askForVideo(QTcpSocket& socket, quint16 port, const QByteArray& method,
                       const QByteArray& videoId, const QByteArray& fields, bool headOnly = false) {
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(method + " http://www.vistaro.com/get_video?video_id=" + videoId +
                 " HTTP/1.1\r\nHost: www.vistaro.com\r\n" + fields + "\r\n");
    QByteArray answer;
    (void)QTest::qWaitFor(
        [&] {
            answer += socket.readAll();
            return (headOnly && answer.contains("\r\n\r\n")) ||
                   socket.state() == QAbstractSocket::UnconnectedState;
        },
        10000);
    return answer + socket.readAll();
}

TEST_F(StubSiteTest, modesForSeveralConnections) {
    struct Row {
        const char* name;
        QByteArray method, videoId, fields;
        int requestsBefore;
        QByteArray status;
        QByteArrayList present, absent;
        qint64 bodyBytes; // checked against the pattern from the range's start
        double atLeastSeconds;
    };
    const Row rows[] = {
        {"a range with an end, at the connection's rate",
         "GET",
         "throttled-262144",
         "Range: bytes=65536-196607\r\nIf-Range: \"v1\"\r\n",
         0,
         "HTTP/1.1 206",
         {"\r\nContent-Range: bytes 65536-196607/4194304\r\n", "\r\nContent-Length: 131072\r\n"},
         {},
         131072,
         0.35},
        {"after the change an old validator gets the whole new file",
         "HEAD",
         "validator-changes-1",
         "Range: bytes=10-19\r\nIf-Range: \"v1\"\r\n",
         1,
         "HTTP/1.1 200",
         {"\r\nETag: \"v2\"\r\n", "\r\nContent-Length: 4194304\r\n"},
         {},
         0,
         0},
        {"no validator, ranges served",
         "HEAD",
         "no-validator",
         "Range: bytes=10-19\r\n",
         0,
         "HTTP/1.1 206",
         {"\r\nContent-Length: 10\r\n"},
         {"ETag:", "Last-Modified:"},
         0,
         0},
        {"the second connection announces the rest and drops at the next 256 KiB of the file",
         "GET",
         "connection-drops",
         "Range: bytes=65536-\r\n",
         1,
         "HTTP/1.1 206",
         {"\r\nContent-Range: bytes 65536-4194303/4194304\r\n", "\r\nContent-Length: 4128768\r\n"},
         {},
         196608,
         0.1},
        // Requests are counted by the whole identifier: "&third" counts apart, same mode.
        {"a third goes on past the points where a second would drop",
         "GET",
         "connection-drops%26third",
         "Range: bytes=65536-589823\r\n",
         2,
         "HTTP/1.1 206",
         {"\r\nContent-Length: 524288\r\n"},
         {},
         524288,
         0.35},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (int i = 0; i < row.requestsBefore; ++i) {
            QTcpSocket earlier;
            askForVideo(earlier, site.port(), "HEAD", row.videoId, {});
        }
        QTcpSocket socket;
        QElapsedTimer clock;
        clock.start();
        const QByteArray answer =
            askForVideo(socket, site.port(), row.method, row.videoId, row.fields);
        const double seconds = clock.elapsed() / 1000.0;
        EXPECT_TRUE(answer.startsWith(row.status)) << answer.left(200).toStdString();
        for (const QByteArray& field : row.present)
            EXPECT_TRUE(answer.contains(field)) << field.toStdString();
        for (const QByteArray& field : row.absent)
            EXPECT_FALSE(answer.contains(field)) << field.toStdString();
        if (row.bodyBytes > 0) {
            EXPECT_EQ(answer.mid(answer.indexOf("\r\n\r\n") + 4),
                      StubSite::generatedBytes(65536, row.bodyBytes));
            EXPECT_GE(seconds, row.atLeastSeconds);
        }
    }

    // One connection at once: a second is told to come back, a later one served.
    QTcpSocket first, second, third;
    const QByteArray head = askForVideo(first, site.port(), "GET", "connections-1", {}, true);
    EXPECT_TRUE(head.startsWith("HTTP/1.1 200")) << head.toStdString();
    const QByteArray refused = askForVideo(second, site.port(), "HEAD", "connections-1", {});
    EXPECT_TRUE(refused.startsWith("HTTP/1.1 503")) << refused.left(200).toStdString();
    EXPECT_TRUE(refused.contains("\r\nRetry-After: 1\r\n"));
    first.abort();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return site.openVideoConnectionsFor("connections-1") == 0; }));
    EXPECT_TRUE(
        askForVideo(third, site.port(), "HEAD", "connections-1", {}).startsWith("HTTP/1.1 200"));
    EXPECT_EQ(site.mostVideoConnectionsAtOnce(), 1);
}

TEST_F(StubSiteTest, generatedBytes_dependOnlyOnTheirOffset) {
    const QByteArray whole = StubSite::generatedBytes(0, 200'000);
    EXPECT_EQ(StubSite::generatedBytes(65'000, 70'000), whole.mid(65'000, 70'000));
    EXPECT_NE(whole.left(1000), whole.mid(1000, 1000));
}

// The README's table of fault modes is the code's table, row for row.
TEST_F(StubSiteTest, readmeListsEveryFaultModeAsTheCodeDoes) {
    QFile readme(QStringLiteral(REELHOUND_SOURCE_DIR "/tools/stub-site/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(readme.readAll());
    const QString section = text.section(QStringLiteral("## Fault modes"), 1);
    static const QRegularExpression row(QStringLiteral("^\\| `([^`]*)` \\| (.*) \\|$"),
                                        QRegularExpression::MultilineOption);
    QStringList documented;
    for (const auto& match : row.globalMatch(section))
        documented << match.captured(1) + u'\t' + match.captured(2);
    QStringList coded;
    for (const FaultModeEntry& entry : kFaultModes)
        coded << QString::fromLatin1(entry.identifier) + u'\t' + QString::fromUtf8(entry.behaviour);
    EXPECT_EQ(documented, coded);
}

// Every example the home page offers picks its own mode, and the home page
// offers them all.
TEST_F(StubSiteTest, homePageListsAnExampleOfEveryFaultMode) {
    const PageFetchResult home = fetchPageText(QUrl("http://www.vistaro.com/"));
    ASSERT_TRUE(home.ok) << home.error.toStdString();
    EXPECT_EQ(faultModeOf(QStringLiteral("demo")).mode, FaultMode::Ordinary);
    for (const FaultModeEntry& entry : kFaultModes) {
        for (const QString& example : QString::fromLatin1(entry.examples).split(u' ')) {
            EXPECT_EQ(faultModeOf(example + QStringLiteral("&feature=related")).mode, entry.mode)
                << example.toStdString();
            EXPECT_TRUE(home.text.contains(QStringLiteral("watch?v=") + example + u'"'))
                << example.toStdString();
        }
    }
    EXPECT_EQ(faultModeOf(QStringLiteral("dropped-101")).mode, FaultMode::Ordinary);
    EXPECT_EQ(faultModeOf(QStringLiteral("redirects-0")).mode, FaultMode::Ordinary);
    EXPECT_EQ(faultModeOf(QStringLiteral("size-12")).number, 12);
}

} // namespace
