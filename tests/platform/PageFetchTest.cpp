#include "platform/PageFetch.h"

#include "core/DirectLink.h"
#include "platform/Strings.h"
#include "stub-site/StubSite.h"
#include "support/QtPrinters.h"
#include "support/StubSiteFixture.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace reelhound;
using namespace std::chrono_literals;

namespace {

class PageFetchTest : public reelhound::testing::StubSiteFixture<> {
protected:
    static QUrl serviceQuery(const char* videoId) { return QUrl(toQt(serviceQueryURL(videoId))); }
    static QUrl video(const QString& videoId) { return QUrl(StubSite::directVideoURL(videoId)); }
};

TEST_F(PageFetchTest, servicePage_arrivesWholeAsText) {
    const PageFetchResult result = fetchPageText(serviceQuery("abc"));
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.HTTPStatus, 200);
    EXPECT_TRUE(result.text.contains(toQt(directLinkPrefix()) + "abc&amp;t="));
    EXPECT_TRUE(result.text.endsWith(QStringLiteral("</html>\n")));
    EXPECT_TRUE(result.error.isEmpty());
}

TEST_F(PageFetchTest, httpError_isAFailureInPlainWords) {
    const PageFetchResult result = fetchPageText(serviceQuery("service-error"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.HTTPStatus, 500);
    EXPECT_EQ(result.error, "The server answered 500 Internal Server Error.");
    EXPECT_TRUE(result.text.isEmpty());
}

TEST_F(PageFetchTest, silentServer_givesUpAfterTheTimeoutWhileTheLoopRuns) {
    bool timerRan = false;
    QTimer::singleShot(20, [&] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    const PageFetchResult result = fetchPageText(serviceQuery("no-answer"), 300ms);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error,
              "The server linkservice.reelhound.net did not answer within 0.3 seconds.");
    EXPECT_GE(clock.elapsed(), 250); // Qt's timers may fire up to 5% early
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(timerRan) << "the nested loop did not deliver other events";
}

TEST_F(PageFetchTest, refusedConnection_isReported) {
    useClosedProxy();
    const PageFetchResult result = fetchPageText(serviceQuery("abc"), 5s);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(u"refused the connection")) << result.error.toStdString();
}

TEST_F(PageFetchTest, unsuitableBodies_areRefused) {
    QElapsedTimer clock;
    clock.start();
    PageFetchResult result = fetchPageText(video(QStringLiteral("size-17000000")));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(u"The page is larger than")) << result.error.toStdString();
    EXPECT_TRUE(result.text.isEmpty());
    EXPECT_LT(clock.elapsed(), 3000);

    result = fetchPageText(video(QStringLiteral("size-1000"))); // random bytes
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "The page from www.vistaro.com is not UTF-8 text.");
}

TEST_F(PageFetchTest, redirects_areFollowedToWebAddressesOnly) {
    PageFetchResult result = fetchPageText(video(QStringLiteral("redirect-file")));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(u"file:///etc/passwd, which is not a web address"))
        << result.error.toStdString();

    // Followed: the redirected video arrives (and is refused only for not being text).
    result = fetchPageText(video(QStringLiteral("redirect")));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "The page from www.vistaro.com is not UTF-8 text.");
    EXPECT_TRUE(site.requestedURLs().contains(StubSite::directVideoURL("redirected")));

    result = fetchPageText(QUrl(QStringLiteral("file:///etc/passwd")));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "file:///etc/passwd is not a web address.");
}

// A server on loopback that answers the way slow services do: not at all, with
// its headers and then nothing, or one byte at a time.
class TricklingServer : public QObject {
public:
    TricklingServer(bool sendHeaders, int byteEveryMs) {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, this, [=, this] {
            QTcpSocket* socket = server.nextPendingConnection();
            if (sendHeaders)
                socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
            if (byteEveryMs > 0) {
                auto* timer = new QTimer(socket);
                QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->write("a"); });
                timer->start(byteEveryMs);
            }
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort())); }
    QTcpServer server;
};

TEST(PageFetchLimits, silenceAndTheOverallCapEachSayWhichStruck) {
    struct Case {
        const char* name;
        bool sendHeaders;
        int byteEveryMs;
        const char* expected;
    };
    for (const Case& c : {
             Case{"silent", false, 0, "did not answer within 0.3 seconds."},
             Case{"headersThenNothing", true, 0, "sent nothing more for 0.3 seconds."},
             Case{"oneByteAtATime", true, 100, "did not send the whole page within 1 second."},
         }) {
        SCOPED_TRACE(c.name);
        TricklingServer server(c.sendHeaders, c.byteEveryMs);
        PageFetchLimits limits;
        limits.silence = 300ms;
        limits.overall = 1000ms;
        QElapsedTimer clock;
        clock.start();
        const PageFetchResult result = fetchPageText(server.url(), limits);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.error.endsWith(QLatin1String(c.expected))) << result.error.toStdString();
        EXPECT_LT(clock.elapsed(), 3000);
    }
}

TEST(PageFetchLimits, anAbortedRequestReportsNothing) {
    TricklingServer server(false, 0);
    PageRequest request(server.url(), PageFetchLimits{});
    int reports = 0;
    QObject::connect(&request, &PageRequest::finished, [&] { ++reports; });
    request.start();
    EXPECT_TRUE(request.isRunning());
    request.abort();
    EXPECT_FALSE(request.isRunning());
    QTest::qWait(100);
    EXPECT_EQ(reports, 0);
}

} // namespace
