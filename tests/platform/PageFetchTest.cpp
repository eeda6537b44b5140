#include "platform/PageFetch.h"

#include "core/DirectLink.h"
#include "platform/Strings.h"
#include "stub-site/StubSite.h"
#include "support/QtPrinters.h"
#include "support/StubSiteFixture.h"

#include <QElapsedTimer>
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

} // namespace
