#include "stub-site/FaultModes.h"
#include "stub-site/StubSite.h"

#include "core/DirectLink.h"
#include "platform/PageFetch.h"
#include "platform/Strings.h"
#include "support/QtPrinters.h"
#include "support/StubSiteFixture.h"

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
