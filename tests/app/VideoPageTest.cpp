#include "app/ApplicationFixture.h"

#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace reelhound;
using reelhound::testing::ApplicationFixture;

using VideoPage = ApplicationFixture;

namespace {

const QString kRefusal =
    QStringLiteral("Could not resolve the address for the Vistaro page entered!");
const QString kDomain = QStringLiteral("vistaro.com");

struct Row {
    QString entered;
    QString shortURL;
    QString playerURL; // empty: refused
    QString videoId;
};

QList<Row> workedExamples() {
    const QString id = QStringLiteral("Ab3dE5gH9jK");
    const QString player = "http://www." + kDomain + "/v/" + id;
    const QString path = kDomain + "/watch?v=" + id;
    return {
        {"http://www." + path, "www." + path, player, id},
        {"www." + path, "www." + path, player, id},
        {"http://" + path, path, player, id},
        {path, path, player, id},
        {"http://www." + path + "&x=1", "www." + path + "&x=1", player + "&x=1", id + "&x=1"},
        {"http://www." + kDomain + "/watch?v=", "www." + kDomain + "/watch?v=",
         "http://www." + kDomain + "/v/", ""},
        {"http://www." + kDomain + "/watch?x=1&v=" + id, {}, {}, {}},
        {"https://www." + path, {}, {}, {}},
        {"HTTP://WWW." + path, {}, {}, {}},
        {"http://http://www." + path, {}, {}, {}},
        {"", {}, {}, {}},
        // A pasted line's break is dropped; any other control character refuses.
        {"www." + path + "\n", "www." + path, player, id},
        {"www." + path + "\r\n", "www." + path, player, id},
        {"www." + path + "\n\n", {}, {}, {}},
        {"www." + path + "\t", {}, {}, {}},
        {"www." + kDomain + "/watch?v=Ab3\ndE5", {}, {}, {}},
    };
}

} // namespace

TEST_F(VideoPage, workedExamples_throughTheGetButton) {
    launch();
    for (const Row& row : workedExamples()) {
        SCOPED_TRACE(row.entered.toStdString());
        const auto alertsBefore = desktop.alerts.size();
        const auto listBefore = controller->recentURLArray();
        const auto idBefore = controller->video_id();
        const QUrl pageBefore = controller->RLHDWebView()->page()->requestedUrl();

        enterAddressAndGet(row.entered);

        // The field is never rewritten but for a pasted line break at its end.
        QString kept = row.entered;
        kept.chop(kept.endsWith(u"\r\n") ? 2 : kept.endsWith(u'\n') ? 1 : 0);
        EXPECT_EQ(ui().URLEntryTextField->text(), kept);
        if (row.playerURL.isEmpty()) {
            ASSERT_EQ(desktop.alerts.size(), alertsBefore + 1);
            EXPECT_EQ(desktop.alerts.back().title, QStringLiteral("Reelhound"));
            EXPECT_EQ(desktop.alerts.back().message, kRefusal);
            EXPECT_EQ(desktop.alerts.back().buttonTitle, QStringLiteral("OK"));
            EXPECT_EQ(controller->recentURLArray(), listBefore);
            EXPECT_EQ(controller->video_id(), idBefore);
            EXPECT_EQ(controller->RLHDWebView()->page()->requestedUrl(), pageBefore);
            continue;
        }
        EXPECT_EQ(desktop.alerts.size(), alertsBefore);
        EXPECT_EQ(controller->recentURLArray().first(), row.shortURL);
        EXPECT_EQ(controller->video_id(), std::optional<QString>(row.videoId));
        EXPECT_EQ(controller->RLHDWebView()->page()->requestedUrl(), QUrl(row.playerURL));
        EXPECT_EQ(desktop.logLines.back(), "video_id = " + row.videoId + "\n");
    }
}

TEST_F(VideoPage, acceptedAddress_unlocksDownloadAndResetsTheRequestType) {
    launch();
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=abc"));
    EXPECT_TRUE(ui().downloadDestinationSelectButton->isEnabled());
    EXPECT_TRUE(ui().FLVGetFLVButton->isEnabled());
    EXPECT_EQ(controller->downloadRequestType(), kRequestTypePage);
    EXPECT_FALSE(ui().convertFLVButton->isEnabled()); // nothing else unlocked
}

TEST_F(VideoPage, refusalAfterAnAcceptedAddress_leavesEverythingAsItWas) {
    launch();
    enterAddressAndGet(QStringLiteral("http://www.vistaro.com/watch?v=first"));
    const auto list = controller->recentURLArray();
    const auto logSize = desktop.logLines.size();
    QSettings stored(settingsPath(), QSettings::IniFormat);
    const QVariant storedList = stored.value(QStringLiteral("RHDRecentURLs"));

    enterAddressAndGet(QStringLiteral("http://www.elsewhere.org/watch?v=second"));

    EXPECT_EQ(controller->video_id(), std::optional<QString>(QStringLiteral("first")));
    EXPECT_EQ(controller->RLHDWebView()->page()->requestedUrl(),
              QUrl(QStringLiteral("http://www.vistaro.com/v/first")));
    EXPECT_TRUE(ui().FLVGetFLVButton->isEnabled());
    EXPECT_TRUE(ui().downloadDestinationSelectButton->isEnabled());
    EXPECT_EQ(controller->recentURLArray(), list);
    EXPECT_EQ(desktop.logLines.size(), logSize);
    stored.sync();
    EXPECT_EQ(stored.value(QStringLiteral("RHDRecentURLs")), storedList);
}

TEST_F(VideoPage, enterInTheAddressField_actsAsGet) {
    launch();
    ui().URLEntryTextField->setText(QStringLiteral("vistaro.com/watch?v=byEnter"));
    QTest::keyClick(ui().URLEntryTextField, Qt::Key_Return);
    EXPECT_EQ(controller->video_id(), std::optional<QString>(QStringLiteral("byEnter")));
}

TEST_F(VideoPage, anyEnteredText_isAcceptedOrRefusedWithoutHarm) {
    launch();
    const QString prefix = QStringLiteral("www.vistaro.com/watch?v=");
    const QString texts[] = {
        QString(100000, QLatin1Char('x')),
        prefix + QString(50000, QLatin1Char('y')),
        QStringLiteral("ビデオ"),
        prefix + QStringLiteral("é😀 id with spaces"),
        prefix + QStringLiteral("\x01\x02\t\r\n") + QChar(0x7f),
        QStringLiteral("\x01\x02\t\r\n"),
        prefix + QStringLiteral("100%25 %s %n %d"),
    };
    for (const auto& text : texts) {
        const auto alertsBefore = desktop.alerts.size();
        const auto listBefore = controller->recentURLArray();
        enterAddressAndGet(text);
        const QString entered = ui().URLEntryTextField->text(); // the field may cut very long text
        if (desktop.alerts.size() > alertsBefore) {
            EXPECT_EQ(controller->recentURLArray(), listBefore);
        } else {
            ASSERT_TRUE(entered.startsWith(prefix));
            EXPECT_EQ(controller->video_id(), std::optional<QString>(entered.mid(prefix.size())));
            EXPECT_EQ(desktop.logLines.back(), "video_id = " + entered.mid(prefix.size()) + "\n");
        }
    }
}

// The controller's own accessors and its XML pass-throughs, in one table: a
// stored identifier survives storing itself and every page, and the lookups
// answer as the rules do.
TEST_F(VideoPage, passThroughs_answerAsTheirRules) {
    launch();
    controller->set_flv_id(QStringLiteral("flv"));
    controller->set_flv_id(controller->flv_id()); // storing the value already held is safe
    const auto flvAfterStoringItself = controller->flv_id();
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=same"));
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=same"));
    const auto parsed = parseXmlTree("<r><a>1</a><b><c>2</c><d/></b></r>");
    ASSERT_TRUE(parsed.document);
    const pugi::xml_node root = parsed.document->child("r");
    const XmlDictionary dict = controller->buildDictFromTree(root);
    const struct {
        const char* what;
        bool holds;
    } rows[] = {
        {"flv_id after storing itself",
         flvAfterStoringItself == std::optional<QString>(QStringLiteral("flv"))},
        {"video_id after the same page twice",
         controller->video_id() == std::optional<QString>(QStringLiteral("same"))},
        {"flv_id after pages", controller->flv_id() == std::optional<QString>(QStringLiteral("flv"))},
        {"diveIntoTree finds a child",
         controller->diveIntoTree(root, QStringLiteral("b")) == root.child("b")},
        {"diveIntoTree skips a grandchild", !controller->diveIntoTree(root, QStringLiteral("c"))},
        {"buildDictFromTree keeps a text", std::get<std::string>(dict.at("a")) == "1"},
        {"buildDictFromTree nests", std::get<XmlDictionary>(dict.at("b")).size() == 2u},
    };
    for (const auto& row : rows)
        EXPECT_TRUE(row.holds) << row.what;
}
