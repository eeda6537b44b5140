// Progress where the desktop shows it (the window's title and the task bar
// entry), and a download line whose name a screen reader can keep up with.
#include "app/NetworkFixture.h"
#include "app/widgets/CalmAccessibleName.h"
#include "support/PrivateSessionBus.h"
#include "support/RunProgram.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <functional>

using namespace reelhound;
using reelhound::testing::runEventLoopUntil;

namespace {

// The task bar's side: every launcher-entry update sent on the bus.
class LauncherEntryRecorder : public QObject {
    Q_OBJECT

public:
    struct Update {
        QString application;
        double progress;
        bool visible;
    };
    QList<Update> updates;

public Q_SLOTS:
    void update(const QString& application, const QVariantMap& properties) {
        updates << Update{application, properties.value("progress").toDouble(),
                          properties.value("progress-visible").toBool()};
    }
};

class DesktopProgressTest : public reelhound::testing::NetworkFixture {
protected:
    void SetUp() override {
        NetworkFixture::SetUp();
        if (!bus.start())
            GTEST_SKIP() << "dbus-daemon is not installed";
        taskBar = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("task-bar")));
        ASSERT_TRUE(taskBar->connect(QString(), QString(),
                                     QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                     QStringLiteral("Update"), &launcher,
                                     SLOT(update(QString, QVariantMap))));
    }

    void TearDown() override {
        window.reset();
        controller.reset();
        taskBar.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("task-bar"));
        QDBusConnection::disconnectFromBus(QStringLiteral("application"));
    }

    reelhound::testing::PrivateSessionBus bus;
    std::unique_ptr<QDBusConnection> taskBar;
    LauncherEntryRecorder launcher;
};

} // namespace

TEST_F(DesktopProgressTest, runningWork_showsItsPercentageInTheTitleAndTheTaskBarUntilItEnds) {
    const QString clip = downloads.filePath("clip.flv");
    ASSERT_TRUE(reelhound::testing::makeVideoClip(clip, 20));
    launchWithShortLimits();
    controller->useDesktopBus(QDBusConnection::connectToBus(bus.address(), "application"));
    const struct {
        const char* name;
        std::function<void()> start;
        std::function<bool()> running;
    } rows[] = {
        {"download",
         [&] {
             chooseDestination(destination());
             downloadVideo("slow");
         },
         [&] { return controller->activities().downloading(); }},
        {"conversion",
         [&] {
             controller->selectConvertFLVFilenameDidEnd(1, clip);
             ui().convertFLVButton->click();
         },
         [&] { return controller->activities().converting; }},
    };
    const QRegularExpression withPercentage(QStringLiteral("^\\d{1,3} % – Reelhound$"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        launcher.updates.clear();
        QStringList titles;
        bool barShowedPercentage = false;
        const auto sample = [&] {
            if (titles.isEmpty() || titles.last() != window->windowTitle())
                titles << window->windowTitle();
            barShowedPercentage |= !ui().convertFLVProgressIndicator->isIndeterminate() &&
                                   ui().convertFLVProgressIndicator->isVisible();
        };
        QObject::connect(window.get(), &QWidget::windowTitleChanged, window.get(), sample);
        row.start();
        ASSERT_TRUE(runEventLoopUntil([&] { return !row.running(); }, 60000));
        runEventLoopUntil(
            [&] { return !launcher.updates.isEmpty() && !launcher.updates.last().visible; }, 5000);
        QObject::disconnect(window.get(), &QWidget::windowTitleChanged, window.get(), nullptr);

        EXPECT_EQ(window->windowTitle(), "Reelhound");
        EXPECT_FALSE(titles.filter(withPercentage).isEmpty()) << titles.join(" | ").toStdString();
        ASSERT_GE(launcher.updates.size(), 2);
        EXPECT_EQ(launcher.updates.first().application,
                  "application://net.reelhound.Reelhound.desktop");
        EXPECT_TRUE(launcher.updates.first().visible);
        EXPECT_GT(launcher.updates[launcher.updates.size() - 2].progress, 0.0);
        EXPECT_LE(launcher.updates[launcher.updates.size() - 2].progress, 1.0);
        EXPECT_FALSE(launcher.updates.last().visible);
        // Sent as the whole percentage changes, not with every chunk.
        EXPECT_LE(launcher.updates.size(), 102);
        if (std::string(row.name) == "conversion") {
            EXPECT_TRUE(barShowedPercentage);
        }
    }
}

TEST_F(DesktopProgressTest, downloadLine_isNamedForWhatItIsAndChangesItsNameCalmly) {
    launchWithShortLimits();
    chooseDestination(destination());
    QLabel* line = ui().downloadProgressTextField;
    QStringList names;
    QStringList messages;
    QElapsedTimer clock;
    clock.start();
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=slow")); // a chunk every 50 ms
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(runEventLoopUntil([&] {
        if (names.isEmpty() || names.last() != line->accessibleName())
            names << line->accessibleName();
        if (messages.isEmpty() || messages.last() != statusMessage())
            messages << statusMessage();
        return !controller->activities().downloading();
    }));
    const qint64 took = clock.elapsed();
    EXPECT_TRUE(names.last().startsWith("Amount downloaded: received ")) << names.last().toStdString();
    // A screen reader speaks each new name: a few in all, not one a chunk.
    EXPECT_LE(names.size(), took / kCalmNameIntervalMs + 3) << names.join(" | ").toStdString();
    // Speed and time left in the status line meanwhile.
    const QRegularExpression rate(
        QStringLiteral("^\\d+\\.\\d of \\d+\\.\\d MB at \\d+\\.\\d MB/s, about \\d+ s left$"));
    EXPECT_FALSE(messages.filter(rate).isEmpty()) << messages.join(" | ").toStdString();
    EXPECT_EQ(ui().convertFLVProgressTextField->accessibleName(), "Converter output");
    EXPECT_EQ(window->statusBar()->accessibleName(), "Status");
}

#include "DesktopProgressTest.moc"
