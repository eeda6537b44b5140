#include "app/NetworkFixture.h"
#include "app/ProxyCredentialsDialog.h"
#include "support/AuthenticatingProxy.h"

#include <memory>

#include <QDirIterator>
#include <QLabel>
#include <QTest>
#include <QNetworkProxyFactory>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cctype>
#include <ostream>

using namespace reelhound;
using reelhound::testing::AuthenticatingProxy;
using reelhound::testing::NetworkFixture;
using reelhound::testing::runEventLoopUntil;
using reelhound::testing::contentsOf;

namespace {

const QString kUser = QStringLiteral("alice");
const QString kPassword = QStringLiteral("s3cret");
const QString kWrongPassword = QStringLiteral("guess1");

std::optional<ProxyCredentialsAnswer> typedIn(const QString& password, bool remember = true) {
    return ProxyCredentialsAnswer{{kUser, password}, remember};
}

// The player page, the link lookup and the download through a real proxy that
// asks for a user name and password (tinyproxy), in front of the stand-in site.
class ProxyCredentialsFixture : public NetworkFixture {
protected:
    void SetUp() override {
        if (AuthenticatingProxy::executable().isEmpty())
            GTEST_SKIP() << "tinyproxy is not installed (scripts/install-deps installs it)";
        NetworkFixture::SetUp();
        ProxyCredentials::session().forgetAll();
        ASSERT_TRUE(proxy.start(site.port(), kUser, kPassword))
            << proxy.errorString().toStdString();
    }
    void TearDown() override {
        ProxyCredentials::session().forgetAll();
        qunsetenv("http_proxy");
        NetworkFixture::TearDown();
    }

    // As people set it: `http_proxy`, read through the system's proxy settings,
    // so that the web engine asks for what the address carries, as it does
    // outside the tests. A desktop session's own proxy settings would come
    // first, so the process is told of none.
    static void useProxy(const AuthenticatingProxy& proxy, const ProxyCredential& inAddress) {
        QUrl address(QStringLiteral("http://127.0.0.1"));
        address.setPort(proxy.port());
        address.setUserName(inAddress.user);
        address.setPassword(inAddress.password);
        qputenv("http_proxy", address.toEncoded());
        for (const char* name : {"no_proxy", "NO_PROXY", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "KDE_FULL_SESSION"})
            qunsetenv(name);
        QNetworkProxyFactory::setUseSystemConfiguration(true);
    }

    bool playerPageShown() {
        return runEventLoopUntil(
            [&] {
                return controller->RLHDWebView()->title() ==
                       QStringLiteral("Vistaro player - demo");
            },
            30000);
    }

    // Every file under the settings folder, as text.
    QString settingsText() const {
        QString text;
        QDirIterator files(settingsDir.path(), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            text += QString::fromUtf8(contentsOf(files.next()));
        return text;
    }

    std::vector<bool> questionsRefused() const {
        std::vector<bool> refused;
        for (const ProxyCredentialsQuestion& question : desktop.proxyQuestions) {
            refused.push_back(question.refused);
            // The same proxy for the page, the lookup and the download, named with its port.
            EXPECT_EQ(question.proxyHost, QStringLiteral("127.0.0.1:%1").arg(proxy.port()));
        }
        return refused;
    }

    void expectNoPasswordKept() const {
        for (const QString& secret : {kPassword, kWrongPassword}) {
            EXPECT_FALSE(desktop.logContains(secret));
            EXPECT_FALSE(settingsText().contains(secret));
        }
    }

    AuthenticatingProxy proxy;
};

} // namespace

struct ProxyCredentialsRow {
    const char* name;
    ProxyCredential inAddress;
    std::deque<std::optional<ProxyCredentialsAnswer>> answers;
    std::vector<bool> questionsRefused; // one entry a question put to the person
};

void PrintTo(const ProxyCredentialsRow& row, std::ostream* out) {
    *out << row.name;
}

// One row a test, so that ctest runs each in a process of its own: the web
// engine takes its proxy once per process and keeps what the proxy accepted.
class EveryPathThroughTheProxy : public ProxyCredentialsFixture,
                                 public ::testing::WithParamInterface<ProxyCredentialsRow> {};

TEST_P(EveryPathThroughTheProxy, getsThroughWithTheCredentialsItIsGivenOrAsksFor) {
    const ProxyCredentialsRow& row = GetParam();
    useProxy(proxy, row.inAddress);
    launch();
    chooseDestination(destination());
    desktop.proxyAnswers = row.answers;

    enterAddressAndGet(QStringLiteral("http://www.vistaro.com/watch?v=demo"));
    EXPECT_TRUE(playerPageShown()) << controller->RLHDWebView()->title().toStdString()
                                   << " questions " << desktop.proxyQuestions.size();
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(waitForTransferOutcome()) << statusMessage().toStdString() << " questions "
                                          << desktop.proxyQuestions.size();
    EXPECT_TRUE(statusMessage().startsWith("Download finished")) << statusMessage().toStdString();
    EXPECT_EQ(contentsOf(destination()), site.videoFileContents());
    EXPECT_TRUE(desktop.alerts.empty());

    EXPECT_EQ(questionsRefused(), row.questionsRefused);
    expectNoPasswordKept();
}

std::string rowName(const ::testing::TestParamInfo<ProxyCredentialsRow>& info) {
    std::string name;
    for (const char* c = info.param.name; *c != 0; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    ProxyCredentials, EveryPathThroughTheProxy,
    ::testing::Values(
        ProxyCredentialsRow{"credentials in the address", {kUser, kPassword}, {}, {}},
        ProxyCredentialsRow{"typed in once for every path", {}, {typedIn(kPassword)}, {false}},
        ProxyCredentialsRow{
            "not remembered, so each path asks",
            {},
            {typedIn(kPassword, false), typedIn(kPassword, false), typedIn(kPassword, false)},
            {false, false, false}}),
    rowName);

// The proxy turns wrong credentials down (tinyproxy with 401, not 407): the
// person is asked once, told that they were refused, for each path that was
// refused.
INSTANTIATE_TEST_SUITE_P(
    RefusedFirst, EveryPathThroughTheProxy,
    ::testing::Values(ProxyCredentialsRow{"wrong in the address, then typed in",
                                          {kUser, kWrongPassword},
                                          {typedIn(kPassword)},
                                          {true}},
                      ProxyCredentialsRow{"wrong, then right",
                                          {},
                                          {typedIn(kWrongPassword), typedIn(kPassword)},
                                          {false, true}},
                      ProxyCredentialsRow{"wrong in the address, right for one request at a time",
                                          {kUser, kWrongPassword},
                                          {typedIn(kPassword, false), typedIn(kPassword, false),
                                           typedIn(kPassword, false)},
                                          {true, true, true}}),
    rowName);

// Cancel ends the request with the proxy's wording; nothing is retried behind
// the person's back, and the next action asks again. Credentials the proxy
// refused are asked for once, saying so, and Cancel ends that too.
class CancelThroughTheProxy : public ProxyCredentialsFixture,
                              public ::testing::WithParamInterface<ProxyCredentialsRow> {};

TEST_P(CancelThroughTheProxy, failsTheRequestWithTheProxysWording) {
    const ProxyCredentialsRow& row = GetParam();
    useProxy(proxy, row.inAddress);
    launchWithShortLimits();
    chooseDestination(destination());

    enterAddressAndGet(QStringLiteral("http://www.vistaro.com/watch?v=demo"));
    ASSERT_TRUE(runEventLoopUntil([&] { return !desktop.proxyQuestions.empty(); }, 30000));
    ASSERT_TRUE(runEventLoopUntil([&] {
        return statusMessage() == "The proxy server asks for a user name and password.";
    })) << statusMessage().toStdString();
    if (!row.inAddress.isEmpty()) {
        // Refused: the page says so in the person's words, not the web engine's.
        // The text comes back later, perhaps after this test: it goes to a
        // string that lives as long as the last answer.
        const auto shown = std::make_shared<QString>();
        EXPECT_TRUE(runEventLoopUntil([&] {
            controller->RLHDWebView()->page()->toPlainText(
                [shown](const QString& text) { *shown = text; });
            return shown->contains("The proxy server asks for a user name and password.");
        })) << shown->toStdString();
        EXPECT_FALSE(shown->contains("ERR_")) << shown->toStdString();
    }

    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(runEventLoopUntil([&] { return !desktop.alerts.empty(); }));
    EXPECT_EQ(desktop.alerts.back().message,
              "The link service could not be asked for the video file. The proxy server asks "
              "for a user name and password.");
    EXPECT_EQ(questionsRefused(), row.questionsRefused);
    EXPECT_TRUE(filesInDownloads().isEmpty());
    EXPECT_TRUE(downloadControlsIdle());
    expectNoPasswordKept();
}

INSTANTIATE_TEST_SUITE_P(
    ProxyCredentials, CancelThroughTheProxy,
    ::testing::Values(ProxyCredentialsRow{"nothing in the address", {}, {}, {false, false}},
                      ProxyCredentialsRow{
                          "refused in the address", {kUser, kWrongPassword}, {}, {true, true}}),
    rowName);

// The question shows whole: its text unwrapped into no narrow column and
// nothing below it cut off, for a short and a long proxy name.
TEST(ProxyCredentialsDialogShape, showsItsWholeText) {
    const struct {
        const char* host;
        bool refused;
    } rows[] = {{"127.0.0.1:3128", false},
                {"proxy.departement-informatique.example.org:8080", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.host);
        ProxyCredentialsQuestion question;
        question.proxyHost = QString::fromLatin1(row.host);
        question.refused = row.refused;
        ProxyCredentialsDialog::begin(nullptr, question, [](auto) {});
        QDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "proxyCredentialsDialog" && w->isVisible())
                dialog = qobject_cast<QDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->wordWrap()) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width()));
                EXPECT_GE(label->width(), label->fontMetrics().averageCharWidth() * 40);
            }
        }
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            if (w->isVisibleTo(dialog) && w->parentWidget() == dialog) {
                EXPECT_TRUE(dialog->rect().contains(w->geometry())) << w->metaObject()->className();
            }
        }
        dialog->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
