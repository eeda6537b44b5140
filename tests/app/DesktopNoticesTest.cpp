#include "app/ApplicationFixture.h"
#include "support/ActivityWaits.h"
#include "support/PrivateSessionBus.h"
#include "support/RunProgram.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QTest>

using namespace reelhound;
using reelhound::testing::ApplicationFixture;
using reelhound::testing::runEventLoopFor;
using reelhound::testing::runEventLoopUntil;

namespace {

// The notification service as a desktop runs it, recording what it is asked.
class RecordingNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice {
        QString application;
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Notice> notices;

public Q_SLOTS:
    uint Notify(const QString& application, uint, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap&, int) {
        notices << Notice{application, summary, body, actions};
        return static_cast<uint>(notices.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
};

class DesktopNoticesTest : public ApplicationFixture {
protected:
    void SetUp() override {
        ApplicationFixture::SetUp();
        ASSERT_TRUE(folder.isValid());
        if (!bus.start())
            GTEST_SKIP() << "dbus-daemon is not installed";
        address = bus.address();
        service = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("notification-service")));
        ASSERT_TRUE(service->isConnected());
        ASSERT_TRUE(service->registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                            &notifications, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(service->registerService(QStringLiteral("org.freedesktop.Notifications")));
    }

    void TearDown() override {
        if (service) {
            service.reset();
            QDBusConnection::disconnectFromBus(QStringLiteral("notification-service"));
            QDBusConnection::disconnectFromBus(QStringLiteral("application"));
        }
    }

    void launchOnThePrivateBus() {
        launch();
        controller->useDesktopBus(
            QDBusConnection::connectToBus(address, QStringLiteral("application")));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void convert(const QString& clip) {
        ui().convertFLVFilenameTextField->setText(clip);
        controller->selectConvertFLVFilenameDidEnd(1, clip);
        ui().convertFLVButton->click();
        ASSERT_TRUE(reelhound::testing::waitForConversion(*controller));
    }

    QTemporaryDir folder;
    reelhound::testing::PrivateSessionBus bus;
    QString address;
    RecordingNotifications notifications;
    std::unique_ptr<QDBusConnection> service;
};

} // namespace

TEST_F(DesktopNoticesTest, finishedConversion_isAnnouncedOnlyWhileTheWindowIsInactive) {
    launchOnThePrivateBus();
    const QString clip = folder.filePath("clip.flv");
    ASSERT_TRUE(reelhound::testing::makeVideoClip(clip, 1));
    const QString output = folder.filePath("clip.mov");

    // Looking at the window: the status line says it, and offers the folder.
    convert(clip);
    runEventLoopFor(300);
    EXPECT_TRUE(notifications.notices.isEmpty());
    auto* link = window->findChild<QAbstractButton*>(QStringLiteral("showInFolderLink"));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->isVisibleTo(window.get()));
    link->click();
    EXPECT_EQ(desktop.shownInFolder, QStringList{output});
    // The offer goes with the message that told of the file.
    window->statusBar()->showMessage(QStringLiteral("Something else"));
    EXPECT_FALSE(link->isVisibleTo(window.get()));

    // Looking elsewhere: a notice names the file and offers to show it.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(runEventLoopUntil([&] { return !window->isActiveWindow(); }, 5000));
    convert(clip);
    ASSERT_TRUE(runEventLoopUntil([&] { return !notifications.notices.isEmpty(); }, 5000));
    ASSERT_EQ(notifications.notices.size(), 1);
    const auto& notice = notifications.notices.first();
    EXPECT_EQ(notice.application, "Reelhound");
    EXPECT_EQ(notice.summary, "Conversion finished");
    EXPECT_EQ(notice.body, "clip.mov");
    ASSERT_EQ(notice.actions.size(), 2);
    EXPECT_EQ(notice.actions[1], "Show in folder");

    // The notice's action shows the file.
    QDBusMessage invoked = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
    invoked << uint(1) << notice.actions[0];
    ASSERT_TRUE(service->send(invoked));
    ASSERT_TRUE(runEventLoopUntil([&] { return desktop.shownInFolder.size() == 2; }, 5000));
    EXPECT_EQ(desktop.shownInFolder.last(), output);
}

#include "DesktopNoticesTest.moc"
