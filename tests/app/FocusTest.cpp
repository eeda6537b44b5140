// The keyboard is never left nowhere: after a panel closes, and after a
// focused control goes out of use as work starts or ends.
#include "app/NetworkFixture.h"
#include "app/QtDesktopServices.h"
#include "support/ActivityWaits.h"
#include "support/RunProgram.h"

#include <QFileDialog>
#include <QTest>
#include <functional>

using namespace reelhound;
using reelhound::testing::NetworkFixture;
using reelhound::testing::runEventLoopUntil;

using Focus = NetworkFixture;

namespace {

bool waitForFocusOn(QWidget* control) {
    return runEventLoopUntil(
        [&] { return QApplication::activeWindow() == control->window() &&
                     QApplication::focusWidget() == control; },
        5000);
}

} // namespace

TEST_F(Focus, closingAFilePanel_givesTheWindowAndItsOpenerTheKeyboardBack) {
    QtDesktopServices panels;
    FilePanelOptions options;
    options.directory = downloads.path();
    const auto close = [](QFileDialog& dialog, int result) {
        if (result == QDialog::Accepted) {
            dialog.selectFile(QStringLiteral("chosen.flv"));
            static_cast<QDialog&>(dialog).accept();
        } else {
            dialog.reject();
        }
    };
    const struct {
        const char* name;
        bool save;
        int result;
    } rows[] = {{"open panel cancelled", false, QDialog::Rejected},
                {"save panel cancelled", true, QDialog::Rejected},
                {"save panel confirmed", true, QDialog::Accepted}};
    launch();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QPushButton* opener = ui().selectFLVtoConvertButton;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        opener->setFocus();
        bool completed = false;
        const auto completion = [&](int, const QString&) { completed = true; };
        if (row.save)
            panels.beginSavePanel(window.get(), options, completion);
        else
            panels.beginOpenPanel(window.get(), options, completion);
        auto* dialog = window->findChild<QFileDialog*>();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        close(*dialog, row.result);
        EXPECT_TRUE(completed);
        EXPECT_TRUE(waitForFocusOn(opener));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Opened by its button's key, a panel still returns the keyboard to that
// button: the button takes the focus as the panel opens.
TEST_F(Focus, panelOpenedByAKey_focusesItsButton) {
    launch();
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=demo"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const struct {
        Qt::Key key;
        QWidget* opener;
        std::function<void()> answer;
    } rows[] = {
        {Qt::Key_O, ui().selectFLVtoConvertButton, [&] { desktop.answerOpenPanel(0); }},
        {Qt::Key_S, ui().downloadDestinationSelectButton, [&] { desktop.answerSavePanel(0); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.opener->objectName().toStdString());
        ui().URLEntryTextField->setFocus();
        QTest::keyClick(window.get(), row.key, Qt::AltModifier);
        ASSERT_TRUE(runEventLoopUntil([&] { return desktop.openPanel || desktop.savePanel; }));
        EXPECT_EQ(QApplication::focusWidget(), row.opener);
        row.answer();
    }
}

// A focused control that work takes out of use hands the focus to the
// button of that work; when the work ends, the focus is on that button.
TEST_F(Focus, focusedControlGoingOutOfUse_handsTheFocusToTheButtonOfTheWork) {
    const QString clip = downloads.filePath("clip.flv");
    ASSERT_TRUE(reelhound::testing::makeVideoClip(clip, 1));
    launchWithShortLimits();
    chooseDestination(destination());
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=slow"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const struct {
        const char* name;
        QWidget* focused;
        std::function<void()> start;
        std::function<bool()> ended;
        QWidget* focusedAfter;
    } rows[] = {
        {"download started from Get", ui().URLGetURLButton,
         [&] { QTest::keyClick(window.get(), Qt::Key_D, Qt::AltModifier); },
         [&] { return waitForTransferOutcome(); }, ui().FLVGetFLVButton},
        {"download cancelled", ui().FLVGetFLVButton,
         [&] {
             ui().FLVGetFLVButton->click();
             ASSERT_TRUE(runEventLoopUntil([&] {
                 return controller->activities().transfer == TransferActivity::Running;
             }));
             QTest::keyClick(window.get(), Qt::Key_Escape);
         },
         [&] { return waitForTransferOutcome(); }, ui().FLVGetFLVButton},
        {"conversion started from a setting", ui().videoSizeButton,
         [&] {
             controller->selectConvertFLVFilenameDidEnd(1, clip);
             ui().videoSizeButton->setFocus();
             QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
         },
         [&] { return reelhound::testing::waitForConversion(*controller); },
         ui().convertFLVButton},
        {"conversion started from Choose", ui().selectFLVtoConvertButton,
         [&] { ui().convertFLVButton->click(); },
         [&] { return reelhound::testing::waitForConversion(*controller); },
         ui().convertFLVButton},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        desktop.answers = {true, true}; // replace what the last row made
        window->statusBar()->clearMessage();
        row.focused->setFocus();
        row.start();
        EXPECT_TRUE(row.ended());
        EXPECT_TRUE(waitForFocusOn(row.focusedAfter))
            << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                            : "nothing");
    }
}
