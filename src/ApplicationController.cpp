#include "ApplicationController.h"

#include "app/MainWindow.h"
#include "core/Configuration.h"
#include "core/Reachability.h"
#include "core/RecentURLList.h"
#include "core/WatchAddress.h"
#include "platform/DesktopServices.h"
#include "platform/Preferences.h"
#include "platform/ProgressIndicator.h"
#include "platform/Strings.h"
#include "ui_MainWindow.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWebEngineView>
#include <string>

namespace reelhound {
namespace {

const QString kAlertTitle = QStringLiteral("Reelhound");
const QString kAlertButton = QStringLiteral("OK");

QString recentURLsKey() { return QString::fromLatin1(kRecentURLsKey); }

} // namespace

void ApplicationController::initialize() {
    Preferences::registerDefaults({{recentURLsKey(), toQt(defaultRecentURLs())}});
}

ApplicationController::ApplicationController(DesktopServices& desktop, Preferences& preferences,
                                             QObject* parent)
    : QObject(parent), desktop_(desktop), preferences_(preferences) {}

ApplicationController::~ApplicationController() = default;

void ApplicationController::connectOutlets(MainWindow& window) {
    Ui::MainWindow& ui = window.ui();
    URLEntryTextField = ui.URLEntryTextField;
    URLGetURLButton = ui.URLGetURLButton;
    getURLprogressIndicator = ui.getURLprogressIndicator;
    recentURLPopUpButton = ui.recentURLPopUpButton;
    downloadDestinationSelectButton = ui.downloadDestinationSelectButton;
    downloadDestinationTextField = ui.downloadDestinationTextField;
    downloadProgressTextField = ui.downloadProgressTextField;
    downloadFLVProgressIndicator = ui.downloadFLVProgressIndicator;
    FLVGetFLVButton = ui.FLVGetFLVButton;
    convertFLVFilenameTextField = ui.convertFLVFilenameTextField;
    convertFLVProgressTextField = ui.convertFLVProgressTextField;
    convertFLVProgressIndicator = ui.convertFLVProgressIndicator;
    audioFrequencyButton = ui.audioFrequencyButton;
    audioBitrateButton = ui.audioBitrateButton;
    audioChannelsButton = ui.audioChannelsButton;
    videoSizeButton = ui.videoSizeButton;
    videoBitrateButton = ui.videoBitrateButton;
    videoFrameRateButton = ui.videoFrameRateButton;
    convertToDifferentFormatButton = ui.convertToDifferentFormatButton;
    selectFLVtoConvertButton = ui.selectFLVtoConvertButton;
    convertFLVButton = ui.convertFLVButton;
    RLHDWebView_ = ui.RLHDWebView;
    mainWindow = &window;
    // The window gives the download button its idle form.
    setFLVGetFLVButtonAction(&ApplicationController::downloadFLV);
}

// ---------------------------------------------------------------------------
// Start-up

void ApplicationController::awakeFromNib() {
    downloadRequestType_ = kRequestTypePage;
    shouldCancelDownload_ = 0;
    loadRecentURLs();
    downloadDestinationTextField->setText(QDir::homePath() +
                                          QStringLiteral("/Desktop/Vistaro Video.flv"));
    FLVGetFLVButton->setEnabled(false);
    downloadDestinationSelectButton->setEnabled(false);
    downloadProgressTextField->setHidden(true);
    setConversionSettingsEnabled(false);
    convertFLVButton->setEnabled(false);
    convertFLVProgressIndicator->setHidden(true);
}

void ApplicationController::applicationWillFinishLaunching() {
    std::uint32_t flags = 0;
    const std::string host(config::kReachabilityProbeHost);
    const bool decided = desktop_.checkReachabilityByName(host.c_str(), &flags);
    if (isNetworkReachable(decided, flags))
        return;
    desktop_.beep();
    desktop_.runAlert(kAlertTitle,
                      QStringLiteral("You must be connected to the internet to use Reelhound."),
                      kAlertButton);
}

void ApplicationController::applicationDidFinishLaunching() { placeWindow(); }

void ApplicationController::placeWindow() {
    // Centre on the screen the window will appear on, at the size it will show with.
    if (QLayout* layout = mainWindow->layout())
        layout->activate();
    if (const QScreen* screen = mainWindow->screen() ? mainWindow->screen()
                                                     : QGuiApplication::primaryScreen()) {
        QRect frame = mainWindow->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        mainWindow->move(frame.topLeft());
    }
    mainWindow->show();
    mainWindow->raise();
    mainWindow->activateWindow();
    mainWindow->repaint();
}

// ---------------------------------------------------------------------------
// Control groups

void ApplicationController::restoreDownloadControls() {
    recentURLPopUpButton->setEnabled(true);
    URLGetURLButton->setEnabled(true);
    downloadDestinationSelectButton->setEnabled(true);
    downloadFLVProgressIndicator->setHidden(true);
    downloadProgressTextField->setHidden(true);
    downloadFLVProgressIndicator->setDoubleValue(0.0);
    FLVGetFLVButton->setText(QStringLiteral("Download FLV"));
    setFLVGetFLVButtonAction(&ApplicationController::downloadFLV);
}

void ApplicationController::setConversionSettingsEnabled(bool flag) {
    audioFrequencyButton->setEnabled(flag);
    audioBitrateButton->setEnabled(flag);
    audioChannelsButton->setEnabled(flag);
    videoSizeButton->setEnabled(flag);
    videoBitrateButton->setEnabled(flag);
    videoFrameRateButton->setEnabled(flag);
    convertToDifferentFormatButton->setEnabled(flag);
}

void ApplicationController::setFLVGetFLVButtonAction(void (ApplicationController::*action)()) {
    // Target and action: whatever the button sent before, it now sends this.
    disconnect(FLVGetFLVButton, &QPushButton::clicked, this, nullptr);
    connect(FLVGetFLVButton, &QPushButton::clicked, this, action);
}

// ---------------------------------------------------------------------------
// Recent addresses

void ApplicationController::setRecentURLArray(const QStringList& list) {
    recentURLArray_ = list;
    // The pop-up's items follow the list, index for index.
    const QSignalBlocker blocker(recentURLPopUpButton);
    recentURLPopUpButton->clear();
    recentURLPopUpButton->addItems(recentURLArray_);
}

void ApplicationController::loadRecentURLs() {
    const auto stored = toStd(preferences_.stringArrayForKey(recentURLsKey()));
    recentURLArray_ = toQt(normalizedRecentURLs(stored));
    setRecentURLArray(recentURLArray_);
    attachRecentURLMenuActions();
}

void ApplicationController::attachRecentURLMenuActions() {
    // Every item sends the same action; the chosen item's index comes with it.
    connect(recentURLPopUpButton, &QComboBox::activated, this,
            &ApplicationController::recentURLMenuItemClicked, Qt::UniqueConnection);
}

void ApplicationController::rememberRecentURL(const QString& shortURL) {
    auto list = toStd(recentURLArray_);
    rememberInRecentURLs(list, toStd(shortURL));
    setRecentURLArray(toQt(list));
    attachRecentURLMenuActions();
    storeRecentURLs();
    recentURLPopUpButton->setCurrentIndex(0);
}

void ApplicationController::storeRecentURLs() {
    QStringList titles;
    titles.reserve(recentURLPopUpButton->count());
    for (int i = 0; i < recentURLPopUpButton->count(); ++i)
        titles.push_back(recentURLPopUpButton->itemText(i));
    preferences_.setObjectForKey(titles, recentURLsKey());
}

void ApplicationController::recentURLMenuItemClicked(int itemIndex) {
    URLEntryTextField->setText(QStringLiteral("http://") +
                               recentURLPopUpButton->itemText(itemIndex));
}

// ---------------------------------------------------------------------------
// The video page

void ApplicationController::getURLClicked() {
    const QString enteredText = URLEntryTextField->text();
    const std::string shortURL = shortURLForEntry(toStd(enteredText));
    const std::string watchURL = watchURLForShortURL(shortURL);
    if (!isWatchPageURL(watchURL)) {
        desktop_.runAlert(kAlertTitle,
                          QStringLiteral("Could not resolve the address for the Vistaro page entered!"),
                          kAlertButton);
        return;
    }
    downloadRequestType_ = kRequestTypePage;
    rememberRecentURL(toQt(shortURL));

    const std::string playerURL = playerURLForWatchURL(watchURL);
    RLHDWebView_->load(QUrl(toQt(playerURL)));
    RLHDWebView_->update();

    downloadDestinationSelectButton->setEnabled(true);
    FLVGetFLVButton->setEnabled(true);
    set_video_id(toQt(videoIdForPlayerURL(playerURL)));
    desktop_.log(QStringLiteral("video_id = ") + video_id_.value_or(QString()) +
                 QLatin1Char('\n'));
}

// ---------------------------------------------------------------------------
// XML lookups

pugi::xml_node ApplicationController::diveIntoTree(pugi::xml_node tree,
                                                   const QString& elementName) const {
    return reelhound::diveIntoTree(tree, toStd(elementName));
}

XmlDictionary ApplicationController::buildDictFromTree(pugi::xml_node tree) const {
    return reelhound::buildDictFromTree(tree);
}

// ---------------------------------------------------------------------------
// Download

void ApplicationController::downloadFLV() {}

void ApplicationController::cancelDownload() { shouldCancelDownload_ = 1; }

} // namespace reelhound
