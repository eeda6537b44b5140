// Every way in (buttons, the actions behind disabled buttons, Enter, Escape,
// the menu, a second activation in the same turn) tried in every state the
// window can be in, with one checker of what must always hold.
#include "app/NetworkFixture.h"
#include "platform/Download.h"
#include "support/ProcessStatus.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <functional>
#include <sys/stat.h>

using namespace reelhound;
using reelhound::testing::NetworkFixture;
using reelhound::testing::runEventLoopUntil;
using reelhound::testing::contentsOf;
using reelhound::testing::writeFile;

namespace {

const QByteArray kEarlierContents = "an earlier download that must survive";

enum class State {
    Idle,
    PageShown,
    LookupRunning,
    TransferFlowing,
    TransferStalled,
    Converting,
    TransferAndConversion,
};

const char* nameOf(State state) {
    switch (state) {
    case State::Idle: return "idle";
    case State::PageShown: return "pageShown";
    case State::LookupRunning: return "lookupRunning";
    case State::TransferFlowing: return "transferFlowing";
    case State::TransferStalled: return "transferStalled";
    case State::Converting: return "converting";
    case State::TransferAndConversion: return "transferAndConversion";
    }
    return "?";
}

class OverlappingActivities : public NetworkFixture, public ::testing::WithParamInterface<State> {
protected:
    using Input = std::function<void()>;
    // What the input must have done, given what ran before it.
    using Expectation = std::function<void(const Activities& before)>;
    struct Row {
        const char* name;
        Input input;
        Expectation expect = [](const Activities&) {};
    };

    void enter(State state) {
        launch();
        // Long enough that nothing ends by itself while a row runs.
        ApplicationController::TransferLimits limits;
        limits.download.stallTimeout = std::chrono::seconds(30);
        limits.pageFetchTimeout = std::chrono::seconds(30);
        controller->setTransferLimits(limits);
        writeFile(destination(), kEarlierContents);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        switch (state) {
        case State::Idle:
            return;
        case State::PageShown:
            return showPage("demo");
        case State::LookupRunning:
            showPage("no-answer");
            ui().FLVGetFLVButton->click();
            ASSERT_TRUE(controller->activities().lookupRunning);
            return;
        case State::TransferFlowing:
            return startTransfer("slow");
        case State::TransferStalled:
            return startTransfer("stall");
        case State::Converting:
            return startConversion();
        case State::TransferAndConversion:
            startTransfer("stall");
            return startConversion();
        }
    }

    void showPage(const char* videoId) {
        enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=") + videoId);
        chooseDestination(destination());
    }

    void startTransfer(const char* videoId) {
        showPage(videoId);
        ui().FLVGetFLVButton->click();
        ASSERT_TRUE(runEventLoopUntil([&] { return controller->bytesReceived() > 0; }, 20000));
    }

    // A converter that waits for a source that never comes: it reads a FIFO.
    void startConversion() {
        ASSERT_EQ(mkfifo(fifo().toLocal8Bit().constData(), 0600), 0);
        controller->selectConvertFLVFilenameDidEnd(1, fifo());
        ui().convertFLVButton->click();
        ASSERT_TRUE(runEventLoopUntil(
            [&] {
                return controller->conversionFileHandle() &&
                       controller->conversionFileHandle()->processId() > 0;
            },
            20000));
    }

    QString fifo() const { return destination(QStringLiteral("clip.flv")); }

    static int liveTransfers() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return static_cast<int>(QCoreApplication::instance()->findChildren<Download*>().size());
    }

    static int runningConverters() {
        return static_cast<int>(reelhound::testing::childProcesses().filter(" ffmpeg").size());
    }

    // What must hold whatever happened.
    void checkInvariants() {
        QTest::qWait(50);
        const Activities& activities = controller->activities();
        const int transfers = liveTransfers();
        const int converters = runningConverters();
        EXPECT_LE(transfers, 1);
        EXPECT_LE(converters, 1);
        EXPECT_EQ(transfers, activities.transfer == TransferActivity::Idle ? 0 : 1);
        EXPECT_EQ(converters, activities.converting ? 1 : 0);

        const ControlStates states = controlStatesFor(activities);
        EXPECT_EQ(ui().URLGetURLButton->isEnabled(), states.getEnabled);
        EXPECT_TRUE(ui().recentURLPopUpButton->isEnabled());
        EXPECT_EQ(ui().downloadDestinationSelectButton->isEnabled(),
                  states.destinationSelectEnabled);
        EXPECT_EQ(ui().FLVGetFLVButton->isEnabled(), states.downloadButtonEnabled);
        EXPECT_EQ(ui().FLVGetFLVButton->text(),
                  states.downloadButtonCancels ? "Cance&l" : "&Download FLV");
        EXPECT_EQ(controller->downloadButtonCancels(), states.downloadButtonCancels);
        EXPECT_EQ(ui().downloadMP4Action->isEnabled(), states.downloadMenuEnabled);
        EXPECT_EQ(ui().videoSizeButton->isEnabled(), states.conversionSettingsEnabled);
        EXPECT_EQ(ui().selectFLVtoConvertButton->isEnabled(), states.selectSourceEnabled);
        EXPECT_EQ(ui().convertFLVButton->isEnabled(), states.convertButtonEnabled);
        EXPECT_EQ(ui().convertFLVButton->text(), states.convertButtonStops ? "Sto&p" : "&Convert");
        // A running download can always be cancelled.
        if (activities.transfer == TransferActivity::Running || activities.lookupRunning) {
            EXPECT_TRUE(ui().FLVGetFLVButton->isEnabled());
            EXPECT_TRUE(states.escapeCancelsDownload);
        }
        // The keyboard is never left nowhere.
        const QWidget* focused = window->focusWidget();
        EXPECT_TRUE(focused && focused->isEnabled() && focused->isVisibleTo(window.get()))
            << (focused ? focused->objectName().toStdString() : "no focus");
        expectEarlierFileIntact();
    }

    void expectEarlierFileIntact() {
        const QByteArray contents = contentsOf(destination());
        EXPECT_TRUE(contents == kEarlierContents || contents == site.videoFileContents());
    }

    // Ends everything, then nothing may be left: no transfer, no converter, no
    // temporary or partial file.
    void endEverythingAndCheck() {
        controller->cancelDownload();
        controller->stopConversion();
        EXPECT_EQ(liveTransfers(), 0);
        EXPECT_TRUE(runEventLoopUntil([] { return runningConverters() == 0; }, 5000));
        QStringList allowed{QStringLiteral("video.flv")};
        if (QFileInfo::exists(fifo()))
            allowed << QStringLiteral("clip.flv");
        QStringList files = filesInDownloads();
        files.sort();
        allowed.sort();
        EXPECT_EQ(files, allowed);
        expectEarlierFileIntact();
    }

    void runRows(State state, const std::vector<Row>& rows) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(nameOf(state)) + " / " + row.name);
            enter(state);
            const Activities before = controller->activities();
            window->statusBar()->clearMessage();
            row.input();
            row.expect(before);
            checkInvariants();
            // Nothing that the state forbids may have started.
            const ControlStates allowed = controlStatesFor(before);
            if (!allowed.downloadMayStart && !before.downloading()) {
                EXPECT_FALSE(controller->activities().downloading());
            }
            if (!allowed.conversionMayStart && !before.converting) {
                EXPECT_FALSE(controller->activities().converting);
            }
            endEverythingAndCheck();
            window.reset();
            controller.reset();
            QFile::remove(fifo());
            QFile::remove(settingsPath()); // what a row turned on stays with the row
            desktop = reelhound::testing::RecordingDesktopServices{};
        }
    }
};

TEST_P(OverlappingActivities, everyInputKeepsTheInvariants) {
    const auto other = [this] {
        ui().URLEntryTextField->setText(QStringLiteral("www.vistaro.com/watch?v=other"));
    };
    // The page is taken only where Get is offered; a running transfer stays a video transfer.
    const Expectation addressTakenOnlyWhenIdle = [this](const Activities& before) {
        EXPECT_EQ(controller->video_id() == QStringLiteral("other"), !before.busy());
        if (before.transfer != TransferActivity::Idle) {
            EXPECT_EQ(controller->downloadRequestType(), kRequestTypeVideo);
        }
    };
    // Cancel acts at once, even when no byte flows.
    const Expectation downloadCancelled = [this](const Activities& before) {
        if (!before.downloading())
            return;
        EXPECT_FALSE(controller->activities().downloading());
        EXPECT_EQ(statusMessage(), "Download cancelled.");
    };
    const Expectation conversionStopped = [this](const Activities& before) {
        if (!before.converting)
            return;
        EXPECT_FALSE(controller->activities().converting);
        EXPECT_EQ(statusMessage(), "Conversion stopped.");
        EXPECT_EQ(ui().convertFLVProgressTextField->text(), "Conversion stopped.");
        EXPECT_FALSE(QFileInfo::exists(destination(QStringLiteral("clip.mov"))));
    };
    runRows(GetParam(),
            {
                {"Get button", [&] { other(); ui().URLGetURLButton->click(); },
                 addressTakenOnlyWhenIdle},
                {"Get action", [&] { other(); controller->getURLClicked(); },
                 addressTakenOnlyWhenIdle},
                {"Enter in the address field",
                 [&] {
                     other();
                     QTest::keyClick(ui().URLEntryTextField, Qt::Key_Return);
                 },
                 addressTakenOnlyWhenIdle},
                {"Escape", [&] { QTest::keyClick(window.get(), Qt::Key_Escape); },
                 [&](const Activities& before) {
                     if (before.downloading())
                         downloadCancelled(before);
                     else
                         conversionStopped(before);
                 }},
                {"download button twice in one turn",
                 [&] {
                     ui().FLVGetFLVButton->click();
                     ui().FLVGetFLVButton->click();
                 }},
                {"download action twice in one turn",
                 [&] {
                     controller->downloadFLV();
                     controller->downloadFLV();
                 }},
                {"download menu", [&] { ui().downloadMP4Action->trigger(); }},
                {"convert menu", [&] { ui().convertAction->trigger(); }},
                // A download that ends now is converted; one that runs, when it ends.
                {"convert-when-downloaded check box",
                 [&] { ui().convertWhenDownloadedCheckBox->click(); }},
                {"about", [&] { ui().aboutAction->trigger(); },
                 [&](const Activities& before) {
                     EXPECT_EQ(desktop.abouts.size(), 1u);
                     EXPECT_EQ(controller->activities().busy(), before.busy());
                 }},
                {"destination action",
                 [&] {
                     controller->setDestinationFilename();
                     if (desktop.savePanel)
                         desktop.answerSavePanel(1, destination());
                 }},
                {"choose source action",
                 [&] {
                     controller->selectConvertFLVFilename();
                     if (desktop.openPanel)
                         desktop.answerOpenPanel(0);
                 }},
                {"convert button", [&] { ui().convertFLVButton->click(); }},
                {"convert action", [&] { controller->convertFLVtoDifferentFormat(); }},
                {"cancel action", [&] { controller->cancelDownload(); }, downloadCancelled},
                {"cancel button",
                 [&] {
                     if (controller->downloadButtonCancels())
                         ui().FLVGetFLVButton->click();
                 },
                 downloadCancelled},
                {"stop action", [&] { controller->stopConversion(); }, conversionStopped},
                {"show in folder link",
                 [&] {
                     window->findChild<QAbstractButton*>("showInFolderLink")->click();
                 }},
            });
}

// A download that finishes during a conversion leaves the conversion's
// controls alone and hands its file over once the conversion has ended.
TEST_F(OverlappingActivities, transferFinishingDuringAConversion_handsOverAfterIt) {
    enter(State::Idle);
    showPage("slow");
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(runEventLoopUntil([&] { return controller->bytesReceived() > 0; }, 20000));
    startConversion();
    checkInvariants();

    ASSERT_TRUE(waitForTransferOutcome());
    EXPECT_TRUE(statusMessage().startsWith("Download finished")) << statusMessage().toStdString();
    EXPECT_EQ(contentsOf(destination()), site.videoFileContents());
    EXPECT_EQ(controller->convertFLVFilename(), fifo()); // still the running conversion's
    EXPECT_FALSE(ui().videoSizeButton->isEnabled());
    EXPECT_EQ(ui().convertFLVButton->text(), "Sto&p");
    checkInvariants();

    controller->stopConversion();
    EXPECT_EQ(controller->convertFLVFilename(), destination());
    EXPECT_TRUE(ui().videoSizeButton->isEnabled());
    EXPECT_EQ(ui().convertFLVButton->text(), "&Convert");
    checkInvariants();
    endEverythingAndCheck();
}

INSTANTIATE_TEST_SUITE_P(AllStates, OverlappingActivities,
                         ::testing::Values(State::Idle, State::PageShown, State::LookupRunning,
                                           State::TransferFlowing, State::TransferStalled,
                                           State::Converting, State::TransferAndConversion),
                         [](const auto& info) { return std::string(nameOf(info.param)); });

} // namespace
