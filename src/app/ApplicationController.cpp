#include "app/ApplicationController.h"

#include "app/ConversionFlow.h"
#include "app/DesktopServices.h"
#include "app/Dialogs.h"
#include "app/DownloadDestination.h"
#include "app/DownloadProgressDisplay.h"
#include "app/FocusKeeper.h"
#include "app/RecentAddressMenu.h"
#include "app/StatusReports.h"
#include "app/WindowPlacement.h"
#include "app/widgets/ProgressIndicator.h"
#include "app/widgets/SteadyWidth.h"
#include "core/SourceFile.h"
#include "core/WatchAddress.h"
#include "platform/Preferences.h"
#include "platform/ReachabilityProbe.h"
#include "platform/Strings.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QWebEngineView>
#include <string>

namespace reelhound {
namespace {

// Off unless the person has turned it on.
QString convertWhenDownloadedKey() {
    return QStringLiteral("RHDConvertWhenDownloaded");
}

} // namespace

void ApplicationController::initialize() {
    RecentAddressMenu::registerDefaults();
}

ApplicationController::ApplicationController(DesktopServices& desktop, Preferences& preferences,
                                             QObject* parent)
    : QObject(parent), desktop_(desktop), preferences_(preferences) {}

// The flows end what runs without touching a control: the window may be gone.
ApplicationController::~ApplicationController() = default;

void ApplicationController::connectOutlets(Ui::MainWindow& ui, QMainWindow& window,
                                           QAbstractButton& showInFolderLink) {
    URLEntryTextField = ui.URLEntryTextField;
    URLGetURLButton = ui.URLGetURLButton;
    getURLprogressIndicator = ui.getURLprogressIndicator;
    recentURLPopUpButton = ui.recentURLPopUpButton;
    downloadDestinationSelectButton = ui.downloadDestinationSelectButton;
    FLVGetFLVButton = ui.FLVGetFLVButton;
    convertFLVFilenameTextField = ui.convertFLVFilenameTextField;
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
    downloadMP4Action = ui.downloadMP4Action;
    convertAction = ui.convertAction;
    convertWhenDownloadedCheckBox = ui.convertWhenDownloadedCheckBox;
    // The two toggling buttons keep one width, so nothing beside them moves.
    keepWidthOfWidestTitle(*FLVGetFLVButton, {tr("&Download FLV"), tr("Cance&l")});
    keepWidthOfWidestTitle(*convertFLVButton, {tr("&Convert"), tr("Sto&p")});
    recentMenu_ = std::make_unique<RecentAddressMenu>(*recentURLPopUpButton, *URLEntryTextField,
                                                      preferences_);
    makeFlows(ui, showInFolderLink);
    showButtonForms(controlStates());
}

void ApplicationController::makeFlows(Ui::MainWindow& ui, QAbstractButton& showInFolderLink) {
    focus_ = std::make_unique<FocusKeeper>(*mainWindow, *URLEntryTextField,
                                           [this] { return focusSuccessor(); });
    reports_ = std::make_unique<StatusReports>(*mainWindow, showInFolderLink, desktop_, *focus_);
    destination_ = std::make_unique<DownloadDestination>(*ui.downloadDestinationTextField,
                                                         *mainWindow, desktop_, *reports_);
    downloadProgress_ = std::make_unique<DownloadProgressDisplay>(
        *ui.downloadFLVProgressIndicator, *ui.downloadProgressTextField, *reports_);
    downloadFlow_ = std::make_unique<DownloadFlow>(*destination_, *downloadProgress_, *reports_,
                                                   desktop_, preferences_);
    downloadFlow_->setTransferLimits(transferLimits_);
    conversionFlow_ = std::make_unique<ConversionFlow>(*ui.convertFLVProgressIndicator,
                                                       *ui.convertFLVProgressTextField, *reports_,
                                                       desktop_, preferences_);
    connect(destination_.get(), &DownloadDestination::chosenForWaitingDownload, this,
            &ApplicationController::startVideoDownload);
    connect(downloadFlow_.get(), &DownloadFlow::stageChanged, this,
            &ApplicationController::applyControlStates);
    connect(downloadFlow_.get(), &DownloadFlow::finished, this,
            &ApplicationController::downloadedFileReady);
    connect(conversionFlow_.get(), &ConversionFlow::began, this,
            &ApplicationController::applyControlStates);
    connect(conversionFlow_.get(), &ConversionFlow::ended, this,
            &ApplicationController::conversionEnded);
}

// ---------------------------------------------------------------------------
// Start-up

void ApplicationController::awakeFromNib() {
    downloadFlow_->expectPages();
    loadRecentURLs();
    convertWhenDownloadedCheckBox->setChecked(
        preferences_.objectForKey(convertWhenDownloadedKey()).toBool());
    connect(convertWhenDownloadedCheckBox, &QCheckBox::toggled, this,
            [this](bool on) { preferences_.setObjectForKey(on, convertWhenDownloadedKey()); });
    downloadFlow_->partialDataIndex().removeExpired(std::chrono::system_clock::now());
    conversionFlow_->removeAbandonedFolders();
    destination_->showDefaultPath();
    downloadProgress_->reset();
    downloadUnlocked_ = false;
    sourceAccepted_ = false;
    applyControlStates();
}

void ApplicationController::applicationWillFinishLaunching() {
    const auto probe = [this](const char* host, std::uint32_t* flags) {
        return desktop_.checkReachabilityByName(host, flags);
    };
    if (networkReachableWithoutAnythingSpecialHappening(probe))
        return;
    desktop_.beep();
    showAlert(desktop_, tr("You must be connected to the internet to use Reelhound."));
}

// ---------------------------------------------------------------------------
// What runs, and the controls it leaves usable

Activities ApplicationController::activities() const {
    Activities activities;
    const DownloadFlow::Stage stage =
        downloadFlow_ ? downloadFlow_->stage() : DownloadFlow::Stage::Idle;
    activities.lookupRunning = stage == DownloadFlow::Stage::LookingUp;
    if (stage == DownloadFlow::Stage::Transferring)
        activities.transfer = TransferActivity::Running;
    else if (stage == DownloadFlow::Stage::Stopping)
        activities.transfer = TransferActivity::Stopping;
    activities.converting = conversionFlow_ && conversionFlow_->running();
    activities.downloadUnlocked = downloadUnlocked_;
    activities.sourceAccepted = sourceAccepted_;
    return activities;
}

void ApplicationController::restoreDownloadControls() {
    downloadProgress_->reset();
    // The enabled states and the button's idle form follow from what still runs.
    applyControlStates();
}

void ApplicationController::setConversionSettingsEnabled(bool flag) {
    for (QComboBox* popUp :
         {audioFrequencyButton, audioBitrateButton, audioChannelsButton, videoSizeButton,
          videoBitrateButton, videoFrameRateButton, convertToDifferentFormatButton})
        popUp->setEnabled(flag);
}

void ApplicationController::applyControlStates() {
    const FocusHandOver handOver(*focus_);
    const ControlStates states = controlStates();
    URLGetURLButton->setEnabled(states.getEnabled);
    recentURLPopUpButton->setEnabled(states.recentMenuEnabled);
    downloadDestinationSelectButton->setEnabled(states.destinationSelectEnabled);
    FLVGetFLVButton->setEnabled(states.downloadButtonEnabled);
    downloadMP4Action->setEnabled(states.downloadMenuEnabled);
    convertAction->setEnabled(states.convertMenuEnabled);
    setConversionSettingsEnabled(states.conversionSettingsEnabled);
    selectFLVtoConvertButton->setEnabled(states.selectSourceEnabled);
    convertFLVButton->setEnabled(states.convertButtonEnabled);
    showButtonForms(states);
    appliedActivities_ = activities();
}

// The download and convert buttons are each one control with two forms; the
// name is the title a person sees (and says to voice control), what it does
// is the description.
void ApplicationController::showButtonForms(const ControlStates& states) {
    const bool cancels = states.downloadButtonCancels;
    FLVGetFLVButton->setText(cancels ? tr("Cance&l") : tr("&Download FLV"));
    FLVGetFLVButton->setAccessibleName(cancels ? tr("Cancel") : tr("Download FLV"));
    FLVGetFLVButton->setAccessibleDescription(cancels ? tr("Cancel the download")
                                                      : tr("Download the video file"));
    const bool stops = states.convertButtonStops;
    convertFLVButton->setText(stops ? tr("Sto&p") : tr("&Convert"));
    convertFLVButton->setAccessibleName(stops ? tr("Stop") : tr("Convert"));
    convertFLVButton->setAccessibleDescription(stops ? tr("Stop the conversion")
                                                     : tr("Convert the file"));
}

QWidget* ApplicationController::focusSuccessor() const {
    const Activities now = activities();
    if (now.downloading())
        return FLVGetFLVButton;
    if (now.converting || appliedActivities_.converting)
        return convertFLVButton;
    if (appliedActivities_.downloading())
        return FLVGetFLVButton;
    return convertFLVButton->isEnabled() ? convertFLVButton : FLVGetFLVButton;
}

void ApplicationController::FLVGetFLVButtonClicked() {
    if (controlStates().downloadButtonCancels)
        cancelDownload();
    else
        downloadFLV();
}

void ApplicationController::convertFLVButtonClicked() {
    if (controlStates().convertButtonStops)
        stopConversion();
    else
        convertFLVtoDifferentFormat();
}

// ---------------------------------------------------------------------------
// The video page

void ApplicationController::dropPastedLineBreak() {
    const QString entered = URLEntryTextField->text();
    const QString kept = toQt(entryWithoutPastedLineBreak(toStd(entered)));
    if (kept != entered)
        URLEntryTextField->setText(kept);
}

void ApplicationController::getURLClicked() {
    // Enter in the address field comes here too, whatever the button shows.
    if (!controlStates().getEnabled)
        return;
    dropPastedLineBreak();
    const std::string shortURL = shortURLForEntry(toStd(URLEntryTextField->text()));
    const std::string watchURL = watchURLForShortURL(shortURL);
    if (!isWatchPageURL(watchURL)) {
        showAlert(desktop_, tr("Could not resolve the address for the Vistaro page entered!"));
        return;
    }
    downloadFlow_->expectPages();
    rememberRecentURL(toQt(shortURL));

    const std::string playerURL = playerURLForWatchURL(watchURL);
    RLHDWebView_->load(QUrl(toQt(playerURL)));
    RLHDWebView_->update();

    downloadUnlocked_ = true;
    applyControlStates();
    set_video_id(toQt(videoIdForPlayerURL(playerURL)));
    desktop_.log(QStringLiteral("video_id = ") + video_id_.value_or(QString()) + QLatin1Char('\n'));
}

// ---------------------------------------------------------------------------
// Conversion

QString ApplicationController::convertFLVFilename() const {
    return convertFLVFilenameTextField->text();
}

void ApplicationController::selectConvertFLVFilename() {
    if (!controlStates().selectSourceEnabled)
        return;
    FilePanelOptions options = flvFilePanelOptions(tr("Convert FLV file to MOV..."));
    options.canChooseDirectories = false;
    options.fileTypes = {QStringLiteral("flv")};
    // Opened by its key too, the panel gives the keyboard back to its button.
    selectFLVtoConvertButton->setFocus(Qt::OtherFocusReason);
    desktop_.beginOpenPanel(mainWindow, options, [this](int returnCode, const QString& path) {
        selectConvertFLVFilenameDidEnd(returnCode, path);
    });
}

void ApplicationController::selectConvertFLVFilenameDidEnd(int returnCode, const QString& path) {
    // The running conversion's source stays in its field until it ends.
    if (returnCode == 0 || conversionFlow_->running())
        return;
    convertFLVFilenameTextField->setText(path);
    if (!isConvertibleSourcePath(toStd(path)))
        return;
    sourceAccepted_ = true;
    applyControlStates();
}

ConversionSettings ApplicationController::conversionSettingsFromControls() const {
    ConversionSettings settings;
    settings.sourcePath = toStd(convertFLVFilenameTextField->text());
    settings.videoSize = toStd(videoSizeButton->currentText());
    settings.videoBitrate = toStd(videoBitrateButton->currentText());
    settings.videoFrameRate = videoFrameRateButton->currentData().toInt();
    settings.audioFrequency = toStd(audioFrequencyButton->currentText());
    settings.audioBitrate = toStd(audioBitrateButton->currentText());
    settings.audioChannels = audioChannelsButton->currentData().toInt();
    settings.formatTag = convertToDifferentFormatButton->currentData().toInt();
    return settings;
}

void ApplicationController::convertFLVtoDifferentFormat() {
    // At most one conversion, and none while the link service is asked.
    if (!controlStates().conversionMayStart)
        return;
    if (!isConvertibleSourcePath(toStd(convertFLVFilenameTextField->text()))) {
        desktop_.beep();
        sourceAccepted_ = false;
        convertFLVFilenameTextField->setText(QString());
        applyControlStates();
        return;
    }
    conversionFlow_->start(conversionSettingsFromControls());
}

ConverterProcess* ApplicationController::conversionFileHandle() const {
    return conversionFlow_ ? conversionFlow_->converter() : nullptr;
}

void ApplicationController::conversionEnded() {
    downloadUnlocked_ = true;
    sourceAccepted_ = true;
    const bool handedOver = pendingHandover_.has_value();
    if (pendingHandover_)
        convertFLVFilenameTextField->setText(*std::exchange(pendingHandover_, std::nullopt));
    applyControlStates();
    if (handedOver)
        convertHandedOverFileIfAsked();
}

void ApplicationController::downloadedFileReady(const QString& path) {
    if (conversionFlow_->running())
        pendingHandover_ = path; // the conversion's controls stay as they are until it ends
    else
        handOverToConversion(path);
}

void ApplicationController::handOverToConversion(const QString& path) {
    convertFLVFilenameTextField->setText(path);
    sourceAccepted_ = true;
    applyControlStates();
    convertHandedOverFileIfAsked();
}

void ApplicationController::convertHandedOverFileIfAsked() {
    // On the next turn: the download's callback, or the conversion's end, is over first.
    if (convertWhenDownloadedCheckBox->isChecked())
        QMetaObject::invokeMethod(this, &ApplicationController::convertFLVtoDifferentFormat,
                                  Qt::QueuedConnection);
}

void ApplicationController::cancelCurrentActivity() {
    const ControlStates states = controlStates();
    if (states.escapeCancelsDownload)
        cancelDownload();
    else if (states.escapeStopsConversion)
        stopConversion();
}

// ---------------------------------------------------------------------------
// What the window tells of work

void ApplicationController::showAbout() {
    desktop_.showAbout(
        mainWindow, tr("About Reelhound"),
        tr("<h3>Reelhound %1</h3>"
           "<p>Fetches videos from the Vistaro site and converts them into other formats.</p>"
           "<p>Free software under the GNU General Public License, version 3 or any later "
           "version (GPL-3.0-or-later).</p>")
            .arg(QStringLiteral(REELHOUND_VERSION)));
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

void ApplicationController::setDestinationFilename() {
    if (controlStates().destinationSelectEnabled)
        destination_->choose(*downloadDestinationSelectButton);
}

void ApplicationController::setTransferLimits(const TransferLimits& limits) {
    transferLimits_ = limits;
    if (downloadFlow_)
        downloadFlow_->setTransferLimits(limits);
}

void ApplicationController::startVideoDownload() {
    // One download at a time, and none beside a conversion, by any path.
    if (!controlStates().downloadMayStart)
        return;
    if (!video_id_) {
        // Possible after a conversion, which unlocks the button on its own.
        showAlert(desktop_, tr("Enter the address of a Vistaro video page and press Get before "
                               "downloading."));
        return;
    }
    downloadFlow_->start(*video_id_, *FLVGetFLVButton);
}

void ApplicationController::downloadDidFailWithError(Download& download,
                                                     const DownloadError& error) {
    downloadFlow_->downloadDidFailWithError(download, error);
    if (downloadFlow_->requestType() == kRequestTypePage)
        getURLprogressIndicator->stopAnimation();
}

} // namespace reelhound
