#include "app/ApplicationFixture.h"
#include "core/Configuration.h"
#include "core/Reachability.h"

#include <QDir>
#include <QNetworkProxy>
#include <QProcess>
#include <QTemporaryDir>
#include <QScreen>
#include <QWebEngineView>

using namespace reelhound;
using reelhound::testing::ApplicationFixture;

using Launch = ApplicationFixture;
using ControlGroups = ApplicationFixture;

namespace {

const QString kNoNetworkMessage =
    QStringLiteral("You must be connected to the internet to use Reelhound.");

} // namespace

TEST_F(Launch, launch_putsEveryControlIntoItsLaunchState) {
    launch();
    // Locked until an address or a source is taken.
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui().audioFrequencyButton, ui().audioBitrateButton, ui().audioChannelsButton,
             ui().videoSizeButton, ui().videoBitrateButton, ui().videoFrameRateButton,
             ui().convertToDifferentFormatButton, ui().convertFLVButton, ui().FLVGetFLVButton,
             ui().downloadDestinationSelectButton})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // Usable from the start.
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui().URLEntryTextField, ui().URLGetURLButton,
                                         ui().recentURLPopUpButton, ui().selectFLVtoConvertButton})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();

    EXPECT_TRUE(ui().downloadProgressTextField->isHidden());
    EXPECT_TRUE(ui().convertFLVProgressIndicator->isHidden());
    EXPECT_EQ(ui().FLVGetFLVButton->text(), QStringLiteral("&Download FLV"));
    EXPECT_EQ(ui().downloadDestinationTextField->text(),
              QDir::homePath() + QStringLiteral("/Desktop/Vistaro Video.flv"));
    EXPECT_EQ(controller->downloadRequestType(), kRequestTypePage);
    EXPECT_EQ(controller->shouldCancelDownload(), 0);
    EXPECT_FALSE(controller->video_id().has_value());
    EXPECT_FALSE(controller->flv_id().has_value());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Launch, launch_centresTheWindowOnItsScreen) {
    launch();
    const QRect screen = window->screen()->availableGeometry();
    const QPoint offset = window->frameGeometry().center() - screen.center();
    EXPECT_LE(std::abs(offset.x()), 2);
    EXPECT_LE(std::abs(offset.y()), 2);
}

TEST_F(Launch, reachableNetwork_launchesWithoutWarning) {
    desktop.reachabilityFlags = kReachabilityFlagReachable;
    launch();
    EXPECT_EQ(desktop.probedHosts,
              QStringList{QString::fromLatin1(config::kReachabilityProbeHost.data())});
    EXPECT_TRUE(desktop.alerts.empty());
    EXPECT_EQ(desktop.beeps, 0);
}

// Behind a proxy, the proxy is what must be reachable: the probe host itself
// may not even resolve there.
TEST_F(Launch, probe_asksForTheHostTheNetworkIsReachedThrough) {
    const QString probeHost = QString::fromLatin1(config::kReachabilityProbeHost.data());
    const struct {
        const char* name;
        QNetworkProxy proxy;
        QString probed;
    } rows[] = {
        {"no proxy", QNetworkProxy(QNetworkProxy::NoProxy), probeHost},
        {"HTTP proxy", QNetworkProxy(QNetworkProxy::HttpProxy, "proxy.example", 3128),
         "proxy.example"},
        {"SOCKS proxy", QNetworkProxy(QNetworkProxy::Socks5Proxy, "10.1.2.3", 1080), "10.1.2.3"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QNetworkProxy::setApplicationProxy(row.proxy);
        desktop = reelhound::testing::RecordingDesktopServices{};
        launch();
        EXPECT_EQ(desktop.probedHosts, QStringList{row.probed});
    }
    QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::NoProxy));
}

TEST_F(Launch, transientConnection_countsAsReachable) {
    desktop.reachabilityFlags = kReachabilityFlagTransientConnection;
    launch();
    EXPECT_TRUE(desktop.alerts.empty());
}

TEST_F(Launch, unreachableNetwork_beepsWarnsAndLaunchesAnyway) {
    for (const auto& [decided, flags] :
         {std::pair{true, 0u}, std::pair{true, kReachabilityFlagConnectionRequired},
          std::pair{false, kReachabilityFlagReachable}}) {
        desktop.reachabilityDecided = decided;
        desktop.reachabilityFlags = flags;
        launch();
        ASSERT_EQ(desktop.alerts.size(), 1u);
        EXPECT_EQ(desktop.alerts[0].title, QStringLiteral("Reelhound"));
        EXPECT_EQ(desktop.alerts[0].message, kNoNetworkMessage);
        EXPECT_EQ(desktop.alerts[0].buttonTitle, QStringLiteral("OK"));
        EXPECT_EQ(desktop.beeps, 1);
        // Nothing was locked because of it.
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(ui().URLGetURLButton->isEnabled());
        EXPECT_FALSE(ui().FLVGetFLVButton->isEnabled());
        desktop = reelhound::testing::RecordingDesktopServices{};
    }
}

TEST_F(ControlGroups, restoreDownloadControls_isIdempotentAndLeavesTheRestAlone) {
    launch();
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=abc")); // as after a transfer
    controller->restoreDownloadControls();
    const bool downloadEnabled = ui().FLVGetFLVButton->isEnabled();
    const QString progressText = ui().downloadProgressTextField->text();
    controller->restoreDownloadControls();
    EXPECT_TRUE(ui().recentURLPopUpButton->isEnabled());
    EXPECT_TRUE(ui().URLGetURLButton->isEnabled());
    EXPECT_TRUE(ui().downloadDestinationSelectButton->isEnabled());
    EXPECT_TRUE(ui().downloadFLVProgressIndicator->isHidden());
    EXPECT_TRUE(ui().downloadProgressTextField->isHidden());
    EXPECT_EQ(ui().downloadFLVProgressIndicator->doubleValue(), 0.0);
    EXPECT_EQ(ui().FLVGetFLVButton->text(), QStringLiteral("&Download FLV"));
    EXPECT_EQ(ui().FLVGetFLVButton->isEnabled(), downloadEnabled);
    EXPECT_EQ(ui().downloadProgressTextField->text(), progressText);
    EXPECT_FALSE(ui().convertFLVButton->isEnabled());
}

TEST_F(ControlGroups, settingsGroup_switchesTheSevenPopUpsOnly) {
    launch();
    controller->setConversionSettingsEnabled(true);
    for (QComboBox* popUp :
         {ui().audioFrequencyButton, ui().audioBitrateButton, ui().audioChannelsButton,
          ui().videoSizeButton, ui().videoBitrateButton, ui().videoFrameRateButton,
          ui().convertToDifferentFormatButton}) {
        EXPECT_TRUE(popUp->isEnabled());
        EXPECT_GT(popUp->count(), 0);
        EXPECT_GE(popUp->currentIndex(), 0);
    }
    EXPECT_FALSE(ui().convertFLVButton->isEnabled());
    EXPECT_TRUE(ui().selectFLVtoConvertButton->isEnabled());
}

TEST_F(ControlGroups, taggedPopUps_carryAWholeNumberTagOnEveryItem) {
    launch();
    QList<int> formatTags;
    for (QComboBox* popUp : {ui().audioChannelsButton, ui().videoFrameRateButton,
                             ui().convertToDifferentFormatButton}) {
        for (int i = 0; i < popUp->count(); ++i) {
            bool ok = false;
            const int tag = popUp->itemData(i).toInt(&ok);
            EXPECT_TRUE(ok && tag > 0) << popUp->itemText(i).toStdString();
            if (popUp == ui().convertToDifferentFormatButton)
                formatTags << tag;
        }
    }
    EXPECT_EQ(formatTags, (QList<int>{10, 20, 30, 40, 50}));
}

// The application as the desktop session starts and ends it. SIGTERM ends it
// at any point, the launch-time warning included (it is shown where the
// internet cannot be reached), with a clean exit.
TEST(ApplicationProcess, terminationSignal_endsItAlsoDuringTheLaunchWarning) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess application;
    application.setProcessEnvironment(environment);
    application.setProcessChannelMode(QProcess::ForwardedChannels);
    application.start(QStringLiteral(REELHOUND_TEST_BINARY_DIR "/bin/reelhound"), {});
    ASSERT_TRUE(application.waitForStarted());
    // Well into the launch: the warning stays until the signal comes, and a
    // sanitized build on a busy machine needs seconds to get there.
    application.waitForFinished(4000);
    ASSERT_EQ(application.state(), QProcess::Running);
    application.terminate();
    // The reachability probe may still be resolving its host; the signal is
    // handled as soon as it returns.
    ASSERT_TRUE(application.waitForFinished(30000));
    EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(application.exitCode(), 0);
}
