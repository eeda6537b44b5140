#include "app/NetworkFixture.h"
#include "app/WindowKeys.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QShortcut>
#include <QTest>
#include <QWebEngineView>
#include <map>

using namespace reelhound;
using reelhound::testing::ApplicationFixture;
using reelhound::testing::NetworkFixture;
using reelhound::testing::runEventLoopUntil;
using reelhound::testing::windowKeyOwners;

using KeyboardUse = ApplicationFixture;
using KeyboardDuringADownload = NetworkFixture;

namespace {

// The named control that a focused widget belongs to: the page view takes
// focus in a widget of its own inside it.
QString controlOf(QWidget* widget, const QStringList& names) {
    for (; widget; widget = widget->parentWidget()) {
        if (names.contains(widget->objectName()))
            return widget->objectName();
    }
    return QStringLiteral("(outside the list)");
}

bool waitForFocusToLeave(const QString& control, const QStringList& names) {
    return runEventLoopUntil(
        [&] { return controlOf(QApplication::focusWidget(), names) != control; }, 3000);
}

} // namespace

TEST_F(KeyboardUse, tab_visitsTheThreeGroupsInReadingOrder) {
    launch();
    // Everything unlocked, as after a finished download.
    controller->setConversionSettingsEnabled(true);
    for (QWidget* w : {static_cast<QWidget*>(ui().FLVGetFLVButton),
                       static_cast<QWidget*>(ui().downloadDestinationSelectButton),
                       static_cast<QWidget*>(ui().convertFLVButton)})
        w->setEnabled(true);
    const QStringList order = {"URLEntryTextField",
                               "URLGetURLButton",
                               "recentURLPopUpButton",
                               "RLHDWebView",
                               "downloadDestinationTextField",
                               "downloadDestinationSelectButton",
                               "FLVGetFLVButton",
                               "convertFLVFilenameTextField",
                               "selectFLVtoConvertButton",
                               // the settings grid row by row
                               "audioFrequencyButton",
                               "videoSizeButton",
                               "audioBitrateButton",
                               "videoBitrateButton",
                               "audioChannelsButton",
                               "videoFrameRateButton",
                               "convertToDifferentFormatButton",
                               "convertWhenDownloadedCheckBox",
                               "convertFLVButton"};
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QCoreApplication::processEvents(); // what the window queued while showing, as before any key
    ui().URLEntryTextField->setFocus();

    QStringList visited{controlOf(QApplication::focusWidget(), order)};
    for (qsizetype i = 0; i < order.size(); ++i) {
        // The page view passes focus on once its page has none left to give.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        waitForFocusToLeave(visited.last(), order);
        visited << controlOf(QApplication::focusWidget(), order);
    }
    EXPECT_EQ(visited, order + QStringList{order.first()});
}

TEST_F(KeyboardUse, controls_haveAccessibleNamesAndKeysThatDoNotClash) {
    launch();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QProgressBar*>(w) ||
                             qobject_cast<QWebEngineView*>(w);
        if (control && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    }

    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        EXPECT_FALSE(QKeySequence::mnemonic(button->text()).isEmpty())
            << button->objectName().toStdString();
    }

    const auto owners = windowKeyOwners(*window);
    EXPECT_EQ(owners.count(QKeySequence(Qt::ALT | Qt::Key_D).toString()), 1u);
    for (const auto& [key, who] : owners)
        EXPECT_EQ(who.size(), 1) << key.toStdString() << ": " << who.join(", ").toStdString();
    // The download button's Cancel form has a key of its own too.
    EXPECT_EQ(owners.count(QKeySequence::mnemonic("Cance&l").toString()), 0u);

    // The menu says what the buttons say, and shows their keys.
    EXPECT_EQ(ui().downloadMP4Action->text(), "&Download FLV\tAlt+D");
    EXPECT_EQ(ui().convertAction->text(), "&Convert\tAlt+C");
    ui().aboutAction->trigger();
    ASSERT_EQ(desktop.abouts.size(), 1u);
    EXPECT_EQ(desktop.abouts[0].title, "About Reelhound");
    for (const char* words : {"Reelhound " REELHOUND_VERSION, "GPL-3.0-or-later", "converts them"})
        EXPECT_TRUE(desktop.abouts[0].message.contains(words)) << words;
}

TEST_F(KeyboardDuringADownload, escapeDuringADownload_cancelsAtOnce) {
    launchWithShortLimits();
    chooseDestination(destination());
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=slow"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_Escape); // nothing runs, so nothing to cancel
    EXPECT_EQ(controller->shouldCancelDownload(), 0);

    QTest::keyClick(window.get(), Qt::Key_D, Qt::AltModifier); // the download button's key
    ASSERT_TRUE(runEventLoopUntil([&] { return controller->bytesReceived() > 0; }));
    EXPECT_EQ(ui().FLVGetFLVButton->text(), "Cance&l");
    EXPECT_EQ(ui().FLVGetFLVButton->accessibleName(), "Cancel");
    EXPECT_EQ(ui().FLVGetFLVButton->accessibleDescription(), "Cancel the download");

    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(controller->shouldCancelDownload(), 0); // carried out at once
    ASSERT_TRUE(waitForTransferOutcome());
    EXPECT_EQ(statusMessage(), "Download cancelled.");
    EXPECT_FALSE(QFile::exists(destination()));
    EXPECT_EQ(ui().FLVGetFLVButton->text(), "&Download FLV");
    EXPECT_EQ(ui().FLVGetFLVButton->accessibleName(), "Download FLV");
    EXPECT_EQ(ui().FLVGetFLVButton->accessibleDescription(), "Download the video file");
}
