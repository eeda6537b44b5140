#include "app/ApplicationController.h"

#include "app/DesktopNotices.h"
#include "app/DesktopProgress.h"
#include "app/DesktopServices.h"
#include "app/WindowPlacement.h"
#include "app/widgets/CalmAccessibleName.h"
#include "app/widgets/NewestLines.h"
#include "app/widgets/ProgressIndicator.h"
#include "app/widgets/SteadyWidth.h"
#include "core/Configuration.h"
#include "core/ConverterCommandLine.h"
#include "core/DirectLink.h"
#include "core/DownloadProgress.h"
#include "core/RecentURLList.h"
#include "core/SourceFile.h"
#include "core/WatchAddress.h"
#include "platform/ConverterExecutable.h"
#include "platform/DestinationCheck.h"
#include "platform/HttpTransfer.h"
#include "platform/PageFetch.h"
#include "platform/Preferences.h"
#include "platform/ReachabilityProbe.h"
#include "platform/StagedOutput.h"
#include "platform/Strings.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QWebEngineView>
#include <string>

namespace reelhound {
namespace {

QString defaultDestinationPath() {
    return QDir::homePath() + QStringLiteral("/Desktop/Vistaro Video.flv");
}

// What both file panels share: .flv files only, starting in the home folder.
FilePanelOptions flvFilePanelOptions(const QString& title) {
    FilePanelOptions options;
    options.title = title;
    options.allowsOtherFileTypes = false;
    options.requiredFileType = QStringLiteral("flv");
    options.directory = QDir::homePath();
    return options;
}

QString alertTitle() {
    return applicationName();
}

QString alertButton() {
    return ApplicationController::tr("OK");
}

QString recentURLsKey() {
    return QString::fromLatin1(kRecentURLsKey);
}

// Off unless the person has turned it on.
QString convertWhenDownloadedKey() {
    return QStringLiteral("RHDConvertWhenDownloaded");
}

} // namespace

void ApplicationController::initialize() {
    Preferences::registerDefaults({{recentURLsKey(), toQt(defaultRecentURLs())}});
}

ApplicationController::ApplicationController(DesktopServices& desktop, Preferences& preferences,
                                             QObject* parent)
    : QObject(parent), desktop_(desktop), preferences_(preferences) {
    retryCountdown_.setInterval(1000);
    connect(&retryCountdown_, &QTimer::timeout, this, &ApplicationController::showRetryCountdown);
}

ApplicationController::~ApplicationController() {
    // The window may be gone already: end what runs without touching a control.
    linkLookup_.reset();
    if (download_)
        download_->stopForLater(); // quitting is no cancel: what arrived waits for the next run
    conversionFileHandle_.reset(); // kills a converter that still runs
    conversionStaging_.reset();    // and then removes what it wrote
}

void ApplicationController::connectOutlets(Ui::MainWindow& ui, QMainWindow& window) {
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
    downloadMP4Action = ui.downloadMP4Action;
    convertAction = ui.convertAction;
    convertWhenDownloadedCheckBox = ui.convertWhenDownloadedCheckBox;
    // The two toggling buttons keep one width, so nothing beside them moves.
    keepWidthOfWidestTitle(*FLVGetFLVButton, {tr("&Download FLV"), tr("Cance&l")});
    keepWidthOfWidestTitle(*convertFLVButton, {tr("&Convert"), tr("Sto&p")});
    // The offer to show a file goes with the message that told of the file.
    connect(window.statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (!finishedFile_.isEmpty() && message != offeredWithMessage_)
            offerShowInFolder({});
    });
    // The window gives the two toggling buttons their idle forms.
    setFLVGetFLVButtonAction(&ApplicationController::downloadFLV);
    setConvertFLVButtonAction(&ApplicationController::convertFLVtoDifferentFormat);
}

// ---------------------------------------------------------------------------
// Start-up

void ApplicationController::awakeFromNib() {
    downloadRequestType_ = kRequestTypePage;
    shouldCancelDownload_ = 0;
    loadRecentURLs();
    convertWhenDownloadedCheckBox->setChecked(
        preferences_.objectForKey(convertWhenDownloadedKey()).toBool());
    connect(convertWhenDownloadedCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        preferences_.setObjectForKey(on, convertWhenDownloadedKey());
    });
    partialDataIndex().removeExpired(std::chrono::system_clock::now());
    removeAbandonedConversionFolders();
    downloadDestinationTextField->setText(defaultDestinationPath());
    FLVGetFLVButton->setEnabled(false);
    downloadDestinationSelectButton->setEnabled(false);
    downloadProgressTextField->setHidden(true);
    setConversionSettingsEnabled(false);
    convertFLVButton->setEnabled(false);
    convertFLVProgressIndicator->setHidden(true);
    activities_ = Activities{};
    applyControlStates();
}

void ApplicationController::applicationWillFinishLaunching() {
    const auto probe = [this](const char* host, std::uint32_t* flags) {
        return desktop_.checkReachabilityByName(host, flags);
    };
    if (networkReachableWithoutAnythingSpecialHappening(probe))
        return;
    desktop_.beep();
    desktop_.runAlert(alertTitle(), tr("You must be connected to the internet to use Reelhound."),
                      alertButton());
}

void ApplicationController::applicationDidFinishLaunching() {
    placeWindow();
}

void ApplicationController::placeWindow() {
    // Centre on the screen the window will appear on, at a size that fits it.
    if (QLayout* layout = mainWindow->layout())
        layout->activate();
    const QScreen* screen =
        mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen)
        placeWindowOnScreen(*mainWindow, *screen);
    mainWindow->show();
    // Shown, the window may have learnt the size of its frame.
    if (screen)
        placeWindowOnScreen(*mainWindow, *screen);
    mainWindow->raise();
    mainWindow->activateWindow();
    mainWindow->repaint();
}

// ---------------------------------------------------------------------------
// Control groups

void ApplicationController::restoreDownloadControls() {
    downloadFLVProgressIndicator->setHidden(true);
    downloadProgressTextField->setHidden(true);
    downloadFLVProgressIndicator->setDoubleValue(0.0);
    downloadFLVProgressIndicator->stopAnimation();
    // The enabled states and the button's idle form follow from what still runs.
    applyControlStates();
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

void ApplicationController::applyControlStates() {
    const QPointer<QWidget> focused = mainWindow->focusWidget();
    const ControlStates states = controlStatesFor(activities_);
    URLGetURLButton->setEnabled(states.getEnabled);
    recentURLPopUpButton->setEnabled(states.recentMenuEnabled);
    downloadDestinationSelectButton->setEnabled(states.destinationSelectEnabled);
    if (states.downloadButtonCancels != downloadButtonCancels_) {
        FLVGetFLVButton->setText(states.downloadButtonCancels ? tr("Cance&l") : tr("&Download FLV"));
        setFLVGetFLVButtonAction(states.downloadButtonCancels
                                     ? &ApplicationController::cancelDownload
                                     : &ApplicationController::downloadFLV);
    }
    FLVGetFLVButton->setEnabled(states.downloadButtonEnabled);
    downloadMP4Action->setEnabled(states.downloadMenuEnabled);
    convertAction->setEnabled(states.convertMenuEnabled);
    setConversionSettingsEnabled(states.conversionSettingsEnabled);
    selectFLVtoConvertButton->setEnabled(states.selectSourceEnabled);
    if (states.convertButtonStops != convertButtonStops_) {
        setConvertFLVButtonAction(states.convertButtonStops
                                      ? &ApplicationController::stopConversion
                                      : &ApplicationController::convertFLVtoDifferentFormat);
    }
    convertFLVButton->setEnabled(states.convertButtonEnabled);
    handFocusOn(focused);
    appliedActivities_ = activities_;
}

namespace {

bool usable(const QWidget* control) {
    return control != nullptr && control->isEnabled() && control->isVisibleTo(control->window());
}

} // namespace

QWidget* ApplicationController::focusSuccessor() const {
    // The button of the work that runs, or else of the work that just ended.
    if (activities_.downloading())
        return FLVGetFLVButton;
    if (activities_.converting || appliedActivities_.converting)
        return convertFLVButton;
    if (appliedActivities_.downloading())
        return FLVGetFLVButton;
    return convertFLVButton->isEnabled() ? convertFLVButton : FLVGetFLVButton;
}

void ApplicationController::handFocusOn(QWidget* focusedBefore) {
    QWidget* const focusedNow = mainWindow->focusWidget();
    if (focusedNow != focusParkedAt_)
        focusOwedTo_ = nullptr; // the person has moved it since
    if (focusOwedTo_ && usable(focusOwedTo_)) {
        std::exchange(focusOwedTo_, nullptr)->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (focusedBefore == nullptr || usable(focusedBefore))
        return;
    // The focused control went out of use (Qt has moved the focus to whatever
    // follows in the Tab chain, or nowhere).
    QWidget* const successor = focusSuccessor();
    if (usable(successor)) {
        successor->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Briefly out of use itself (a cancel on its way out): the address field,
    // never disabled, holds the focus until the successor is back.
    URLEntryTextField->setFocus(Qt::OtherFocusReason);
    focusOwedTo_ = successor;
    focusParkedAt_ = URLEntryTextField;
}

void ApplicationController::setFLVGetFLVButtonAction(void (ApplicationController::*action)()) {
    // Target and action: whatever the button sent before, it now sends this.
    disconnect(FLVGetFLVButton, &QPushButton::clicked, this, nullptr);
    connect(FLVGetFLVButton, &QPushButton::clicked, this, action);
    downloadButtonCancels_ = action == &ApplicationController::cancelDownload;
    // The name is the title a person sees (and says to voice control); what it
    // does is the description.
    FLVGetFLVButton->setAccessibleName(downloadButtonCancels_ ? tr("Cancel") : tr("Download FLV"));
    FLVGetFLVButton->setAccessibleDescription(downloadButtonCancels_
                                                  ? tr("Cancel the download")
                                                  : tr("Download the video file"));
}

void ApplicationController::setConvertFLVButtonAction(void (ApplicationController::*action)()) {
    disconnect(convertFLVButton, &QPushButton::clicked, this, nullptr);
    connect(convertFLVButton, &QPushButton::clicked, this, action);
    convertButtonStops_ = action == &ApplicationController::stopConversion;
    convertFLVButton->setText(convertButtonStops_ ? tr("Sto&p") : tr("&Convert"));
    convertFLVButton->setAccessibleName(convertButtonStops_ ? tr("Stop") : tr("Convert"));
    convertFLVButton->setAccessibleDescription(convertButtonStops_ ? tr("Stop the conversion")
                                                                   : tr("Convert the file"));
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
    // Enter in the address field comes here too, whatever the button shows.
    if (!controlStates().getEnabled)
        return;
    dropPastedLineBreak();
    const QString enteredText = URLEntryTextField->text();
    const std::string shortURL = shortURLForEntry(toStd(enteredText));
    const std::string watchURL = watchURLForShortURL(shortURL);
    if (!isWatchPageURL(watchURL)) {
        desktop_.runAlert(alertTitle(),
                          tr("Could not resolve the address for the Vistaro page entered!"),
                          alertButton());
        return;
    }
    downloadRequestType_ = kRequestTypePage;
    rememberRecentURL(toQt(shortURL));

    const std::string playerURL = playerURLForWatchURL(watchURL);
    RLHDWebView_->load(QUrl(toQt(playerURL)));
    RLHDWebView_->update();

    activities_.downloadUnlocked = true;
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
    if (returnCode == 0 || activities_.converting)
        return;
    convertFLVFilenameTextField->setText(path);
    if (!isConvertibleSourcePath(toStd(path)))
        return;
    activities_.sourceAccepted = true;
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
        activities_.sourceAccepted = false;
        setConversionSettingsEnabled(false);
        convertFLVButton->setEnabled(false);
        convertFLVFilenameTextField->setText(QString());
        applyControlStates();
        return;
    }
    const ConversionSettings settings = conversionSettingsFromControls();
    if (!confirmReplacingConversionOutput(settings))
        return;
    QStringList arguments;
    for (const auto& argument : buildConverterArguments(settings))
        arguments.push_back(toQt(argument));

    // The earlier run has ended (no conversion runs), so it can go now.
    auto converter = std::make_unique<ConverterProcess>();
    auto staging = std::make_unique<StagedOutput>();
    if (!stageConversionOutput(settings, *staging, arguments, *converter))
        return;
    conversionStaging_ = std::move(staging);
    conversionOutputPath_ = converterOutputPath(settings.sourcePath, settings.formatTag);
    if (conversionFileHandle_)
        conversionFileHandle_->stopNotifications();
    conversionFileHandle_ = std::move(converter);
    connect(conversionFileHandle_.get(), &ConverterProcess::errorDataAvailable, this,
            &ApplicationController::conversionProgressDataReceived);
    connect(conversionFileHandle_.get(), &ConverterProcess::ended, this,
            &ApplicationController::conversionDidEnd);
    conversionFileHandle_->armDataNotification();

    conversionClock_.start();
    // Busy without a measure until the converter tells the source's length.
    convertFLVProgressIndicator->setIndeterminate(true);
    convertFLVProgressIndicator->setDoubleValue(0.0);
    convertFLVProgressIndicator->setHidden(false);
    convertFLVProgressIndicator->startAnimation();
    showConversionText(tr("Converting..."));
    mainWindow->statusBar()->showMessage(tr("Converting..."));
    offerShowInFolder({});
    activities_.converting = true;
    applyControlStates();

    // Last: a converter that cannot start at all ends the run right here.
    conversionFileHandle_->start(converterExecutablePath(), arguments);
}

void ApplicationController::conversionDidEnd() {
    ConverterProcess& run = *conversionFileHandle_;
    // Whatever the converter still had to say arrives after the run is over.
    run.stopNotifications();
    if (run.succeeded())
        showConversionProgress();

    desktopProgress().setProgress(DesktopProgress::Work::Conversion, std::nullopt);
    activities_.converting = false;
    activities_.downloadUnlocked = true;
    activities_.sourceAccepted = true;
    const bool handedOver = pendingHandover_.has_value();
    if (pendingHandover_)
        convertFLVFilenameTextField->setText(*std::exchange(pendingHandover_, std::nullopt));
    applyControlStates();
    if (handedOver)
        convertHandedOverFileIfAsked();
    convertFLVProgressIndicator->setHidden(true);
    convertFLVProgressIndicator->stopAnimation();
    showConversionText(QString());

    // The file takes the output's name only now, and only when it is whole.
    const QString failure = settleConversionOutput(run, *conversionStaging_);
    conversionStaging_.reset();
    if (failure.isEmpty()) {
        if (conversionOutputPath_) {
            const QString output = toQt(*conversionOutputPath_);
            mainWindow->statusBar()->showMessage(tr("Converted: %1").arg(output));
            offerShowInFolder(output);
            announce(tr("Conversion finished"), QFileInfo(output).fileName(), output);
        }
    } else if (run.outcome() == ConverterOutcome::Stopped) {
        showConversionText(tr("Conversion stopped."));
        mainWindow->statusBar()->showMessage(tr("Conversion stopped."));
    } else if (run.outcome() != ConverterOutcome::StoppedAtQuit) {
        reportConversionFailure(failure);
        announce(tr("Conversion failed"), failure);
    }
}

void ApplicationController::stopConversion() {
    if (!activities_.converting || !conversionFileHandle_)
        return;
    conversionFileHandle_->stop(); // the run ends, and conversionDidEnd runs, before this returns
}

void ApplicationController::cancelCurrentActivity() {
    const ControlStates states = controlStates();
    if (states.escapeCancelsDownload)
        cancelDownload();
    else if (states.escapeStopsConversion)
        stopConversion();
}

void ApplicationController::conversionProgressDataReceived(ConverterProcess* source) {
    // Only the current run's output is read; anything else is not ours.
    if (!conversionFileHandle_ || source != conversionFileHandle_.get())
        return;
    const QByteArray chunk = conversionFileHandle_->readAvailableErrorOutput();
    if (!chunk.isEmpty()) {
        showConversionText(
            newestLinesThatFit(decodeConverterOutput(chunk), *convertFLVProgressTextField));
        if (activities_.converting)
            showConversionProgress();
    } else if (conversionFileHandle_->atEndOfErrorOutput())
        return; // the converter has closed its output: nothing more to wait for
    conversionFileHandle_->armDataNotification();
}

void ApplicationController::offerShowInFolder(const QString& path) {
    finishedFile_ = path;
    const QPointer<QWidget> focused = mainWindow->focusWidget();
    offeredWithMessage_ = mainWindow->statusBar()->currentMessage();
    if (auto* link = mainWindow->findChild<QWidget*>(QStringLiteral("showInFolderLink")))
        link->setHidden(path.isEmpty());
    handFocusOn(focused);
}

void ApplicationController::showFinishedFileInFolder() {
    // Safe whatever runs: it only shows a file that is already there.
    if (finishedFile_.isEmpty() || !QFileInfo::exists(finishedFile_))
        return;
    desktop_.showInFolder(finishedFile_);
}

void ApplicationController::useDesktopBus(const QDBusConnection& bus) {
    notices_ = std::make_unique<DesktopNotices>(
        bus, [this](const QString& path) { desktop_.showInFolder(path); });
    desktopProgress_ = std::make_unique<DesktopProgress>(*mainWindow, bus);
}

DesktopProgress& ApplicationController::desktopProgress() {
    if (!desktopProgress_)
        useDesktopBus(QDBusConnection::sessionBus());
    return *desktopProgress_;
}

void ApplicationController::announce(const QString& summary, const QString& body,
                                     const QString& path) {
    // The person is looking at the window: the status line says it already.
    if (mainWindow->isActiveWindow())
        return;
    if (!notices_)
        useDesktopBus(QDBusConnection::sessionBus());
    notices_->post(summary, body, path);
}

void ApplicationController::showConversionText(const QString& text) {
    convertFLVProgressTextField->setText(text);
    lineTextChanged(*convertFLVProgressTextField);
    // Room for the converter's lines only while there is something to read.
    convertFLVProgressTextField->setHidden(text.isEmpty());
}

void ApplicationController::showConversionProgress() {
    const ConversionProgress& progress = conversionFileHandle_->progress();
    const std::optional<double> percent = progress.percent();
    if (!percent)
        return;
    convertFLVProgressIndicator->setIndeterminate(false);
    convertFLVProgressIndicator->setDoubleValue(*percent);
    desktopProgress().setProgress(DesktopProgress::Work::Conversion, percent);
    // Whole percents, rounded down: 100 only when the run is through.
    const int shown = static_cast<int>(*percent);
    const auto left = progress.secondsLeft(
        static_cast<double>(conversionClock_.elapsed()) / 1000.0);
    QString message;
    if (!left || shown == 100)
        message = tr("Converting: %1 %").arg(shown);
    else if (*left < 90)
        message = tr("Converting: %1 %, about %2 s left").arg(shown).arg(*left);
    else
        message = tr("Converting: %1 %, about %2 min left").arg(shown).arg((*left + 30) / 60);
    mainWindow->statusBar()->showMessage(message);
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
// Destination

QString ApplicationController::destinationFilename() const {
    return downloadDestinationTextField->text();
}

void ApplicationController::setDestinationFilename() {
    beginDestinationPanel(downloadDestinationSelectButton);
}

void ApplicationController::beginDestinationPanel(QWidget* opener) {
    if (!controlStates().destinationSelectEnabled)
        return;
    // Opened by a key too, the panel gives the keyboard back to what opened it.
    opener->setFocus(Qt::OtherFocusReason);
    const FilePanelOptions options = flvFilePanelOptions(tr("Save Vistaro video to file..."));
    desktop_.beginSavePanel(mainWindow, options, [this](int returnCode, const QString& path) {
        saveDestinationFilenameDidEnd(returnCode, path);
    });
}

void ApplicationController::saveDestinationFilenameDidEnd(int returnCode, const QString& path) {
    if (returnCode != 0)
        downloadDestinationTextField->setText(path);
    destinationChosen(returnCode, path);
}

// ---------------------------------------------------------------------------
// Download

void ApplicationController::downloadFLV() {
    startVideoDownload();
}

void ApplicationController::downloadMP4() {
    startVideoDownload();
}

void ApplicationController::startVideoDownload() {
    // One download at a time, and none beside a conversion, by any path.
    if (!controlStates().downloadMayStart)
        return;
    if (!video_id_) {
        // Possible after a conversion, which unlocks the button on its own.
        desktop_.runAlert(alertTitle(),
                          tr("Enter the address of a Vistaro video page and press Get before "
                             "downloading."),
                          alertButton());
        return;
    }
    if (!confirmDownloadDestination())
        return;
    const QString query = toQt(serviceQueryURL(toStd(*video_id_)));
    PageFetchLimits limits;
    limits.silence = transferLimits_.pageFetchTimeout;
    limits.overall = transferLimits_.pageFetchOverallTimeout;
    linkLookup_ = std::make_unique<PageRequest>(QUrl(query), limits);
    connect(linkLookup_.get(), &PageRequest::finished, this,
            &ApplicationController::linkLookupFinished);
    mainWindow->statusBar()->showMessage(tr("Looking up the video file..."));
    activities_.lookupRunning = true;
    applyControlStates();
    linkLookup_->start();
}

void ApplicationController::linkLookupFinished(const PageFetchResult& page) {
    // The request goes once this signal is over.
    linkLookup_.release()->deleteLater();
    activities_.lookupRunning = false;
    applyControlStates();
    // Given up unless a download takes it over below.
    std::unique_ptr<PartialDataClaim> claim = std::move(destinationClaim_);

    const QString query = toQt(serviceQueryURL(toStd(video_id_.value_or(QString()))));
    if (!page.ok) {
        desktop_.log(QStringLiteral("Link service query ") + query + QStringLiteral(" failed: ") +
                     page.error);
        mainWindow->statusBar()->clearMessage();
        desktop_.runAlert(
            alertTitle(),
            tr("The link service could not be asked for the video file. %1").arg(page.error),
            alertButton());
        return;
    }
    const DirectLinkExtraction link = extractDirectLink(toStd(page.text));
    if (!link.address) {
        desktop_.log(QStringLiteral("Link service page for ") + query +
                     QStringLiteral(" names no video file: ") +
                     toQt(describeDirectLinkProblem(link.problem)));
        mainWindow->statusBar()->clearMessage();
        desktop_.runAlert(alertTitle(),
                          tr("The video file could not be found. %1")
                              .arg(translatedDirectLinkProblem(link.problem)),
                          alertButton());
        return;
    }
    if (refuseOverlongLink(*link.address))
        return;
    destinationClaim_ = std::move(claim);
    startTransfer(toQt(*link.address));
}

void ApplicationController::startTransfer(const QString& address) {
    Download* download = Download::create(address, *this, transferLimits_.download);
    downloadRequestType_ = kRequestTypeVideo;
    if (download == nullptr) {
        desktop_.log(QStringLiteral("The download request could not be instantiated...\n"));
        showTransferOutcome(tr("The download could not start: the link service gave an address "
                               "that is not a web address."));
        return;
    }
    transferDestination_ = downloadDestinationTextField->text();
    desktop_.log(transferDestination_);
    download->setDestination(transferDestination_, true);
    download->keepPartialDataFor(*video_id_, std::move(destinationClaim_));
    partialDataIndex().add(transferDestination_);
    download_ = download;
    activities_.transfer = TransferActivity::Running;
    applyControlStates();
    mainWindow->statusBar()->showMessage(tr("Downloading..."));
    offerShowInFolder({});
}

void ApplicationController::cancelDownload() {
    if (activities_.lookupRunning) {
        linkLookup_.reset(); // aborts the request; nothing is reported
        destinationClaim_.reset();
        activities_.lookupRunning = false;
        applyControlStates();
        showTransferOutcome(tr("Download cancelled."));
        return;
    }
    if (activities_.transfer != TransferActivity::Running)
        return;
    // Carried out at once rather than with the next chunk, which may never come.
    shouldCancelDownload_ = 1;
    carryOutCancel();
}

void ApplicationController::carryOutCancel() {
    activities_.transfer = TransferActivity::Stopping;
    applyControlStates();
    if (download_)
        download_->cancel(); // stops its thread and throws its temporary file away
    shouldCancelDownload_ = 0;
    transferEnded();
    restoreDownloadControls();
    showTransferOutcome(tr("Download cancelled."));
}

void ApplicationController::transferEnded() {
    retryCountdown_.stop();
    desktopProgress().setProgress(DesktopProgress::Work::Download, std::nullopt);
    download_ = nullptr;
    transferDestination_.clear();
    activities_.transfer = TransferActivity::Idle;
}

void ApplicationController::showTransferOutcome(const QString& message) {
    mainWindow->statusBar()->showMessage(message);
}

void ApplicationController::downloadDidBegin(Download& download) {
    desktop_.log(QStringLiteral("Download did begin... ") +
                 download.requestURL().toString(QUrl::FullyEncoded) + QLatin1Char('\n'));
    desktop_.log(download.description());
    if (activities_.transfer == TransferActivity::Idle) {
        // A transfer the controller did not start itself still shows as running.
        activities_.transfer = TransferActivity::Running;
        download_ = &download;
    }
    downloadFLVProgressIndicator->setHidden(false);
    downloadProgressTextField->setHidden(false);
    downloadFLVProgressIndicator->setIndeterminate(false);
    downloadFLVProgressIndicator->setDoubleValue(0.0);
    applyControlStates();
}

void ApplicationController::downloadDidReceiveResponse(Download&,
                                                       const DownloadResponse& response) {
    bytesReceived_ = 0;
    transferRate_ = TransferRate{};
    transferClock_.start();
    setDownloadResponse(response);
}

void ApplicationController::downloadDecideDestinationWithSuggestedFilename(
    Download&, const QString& filename) {
    if (downloadRequestType_ == kRequestTypeVideo)
        desktop_.log(QStringLiteral("Downloading with suggested filename ") + filename +
                     QStringLiteral(".\n"));
}

void ApplicationController::downloadDidCreateDestination(Download&, const QString&) {}

bool ApplicationController::downloadShouldDecodeSourceDataOfMIMEType(Download&,
                                                                     const QString& MIMEType) {
    return MIMEType == QLatin1String(kMacBinaryMIMEType) ||
           MIMEType == QLatin1String(kBinHexMIMEType);
}

void ApplicationController::downloadDidReceiveDataOfLength(Download& download,
                                                           std::uint32_t length) {
    if (downloadRequestType_ == kRequestTypePage) {
        desktop_.log(QStringLiteral("Download received %1 bytes...\n").arg(length));
        return;
    }
    if (shouldCancelDownload_ != 0) {
        if (download_ == nullptr)
            download_ = &download;
        carryOutCancel();
        // The chunk that carried out the cancel is still counted below.
    }
    const std::int64_t expected =
        downloadResponse_ ? downloadResponse_->expectedContentLength : std::int64_t{-1};
    bytesReceived_ += length;
    if (retryCountdown_.isActive()) { // the connection is back
        retryCountdown_.stop();
        if (activities_.transfer == TransferActivity::Running)
            mainWindow->statusBar()->showMessage(tr("Downloading..."));
    }
    const DownloadProgress progress = downloadProgress(bytesReceived_, expected);
    if (progress.percent) {
        downloadFLVProgressIndicator->setIndeterminate(false);
        downloadFLVProgressIndicator->setDoubleValue(*progress.percent);
    } else if (!downloadFLVProgressIndicator->isIndeterminate()) {
        // No length announced: show activity rather than a made-up percentage.
        downloadFLVProgressIndicator->setIndeterminate(true);
        downloadFLVProgressIndicator->startAnimation();
    }
    downloadProgressTextField->setText(downloadProgressLine(progress));
    lineTextChanged(*downloadProgressTextField);
    desktopProgress().setProgress(DesktopProgress::Work::Download, progress.percent);
    showTransferRate(expected);
}

void ApplicationController::showTransferRate(std::int64_t expectedLength) {
    // The figures change twice a second at most, as the rate is measured.
    if (!transferRate_.sample(bytesReceived_,
                              static_cast<double>(transferClock_.elapsed()) / 1000.0))
        return;
    if (const auto line = transferRateLine(transferRate_, bytesReceived_, expectedLength))
        mainWindow->statusBar()->showMessage(transferRateText(*line));
}

void ApplicationController::downloadWillRetry(Download&, const DownloadRetry& retry) {
    pendingRetry_ = retry;
    nextTry_.setRemainingTime(std::chrono::seconds(retry.pauseSeconds));
    showRetryCountdown();
    desktop_.log(QStringLiteral("Download will retry: ") + downloadProgressTextField->text());
    retryCountdown_.start();
}

// The progress line and the status line say what was lost and, second by
// second, when the next try is.
void ApplicationController::showRetryCountdown() {
    const auto left = (nextTry_.remainingTime() + 999) / 1000;
    const QString line = tr("%1; retrying in %2 s (attempt %3 of %4)...")
                             .arg(pendingRetry_.reason)
                             .arg(std::min<qint64>(std::max<qint64>(left, 0),
                                                   pendingRetry_.pauseSeconds))
                             .arg(pendingRetry_.retry)
                             .arg(pendingRetry_.retries);
    downloadProgressTextField->setText(line);
    mainWindow->statusBar()->showMessage(line);
    lineTextChanged(*downloadProgressTextField);
}

void ApplicationController::downloadWillStartOver(Download&, const QString& reason) {
    desktop_.log(QStringLiteral("Download starts over from byte 0: ") + reason);
}

void ApplicationController::downloadWillContinueKeptData(Download&, std::int64_t bytes) {
    desktop_.log(QStringLiteral("Download continues the data kept from an earlier run at byte ") +
                 QString::number(bytes));
}

PartialDataIndex ApplicationController::partialDataIndex() const {
    return PartialDataIndex(preferences_.storageFolder() + QStringLiteral("/partial-downloads"));
}

PathIndex ApplicationController::conversionFolderIndex() const {
    return PathIndex(preferences_.storageFolder() + QStringLiteral("/conversion-folders"),
                     PartialDataIndex::kMaximumEntries);
}

// Folders a conversion wrote in are listed until no private folder of one
// that died with its process is left there.
void ApplicationController::removeAbandonedConversionFolders() {
    conversionFolderIndex().update([](QStringList& folders) {
        folders.removeIf([](const QString& folder) {
            return StagedOutput::removeAbandoned(folder) == 0;
        });
    });
}

void ApplicationController::downloadDidFinish(Download& download) {
    desktop_.log(QStringLiteral("Download complete..."));
    if (downloadRequestType_ == kRequestTypePage)
        return;
    shouldCancelDownload_ = 0; // a cancel that came too late must not hit the next transfer
    const QString path = transferDestination_.isEmpty() ? downloadDestinationTextField->text()
                                                        : transferDestination_;
    transferEnded();
    restoreDownloadControls();
    if (activities_.converting)
        pendingHandover_ = path; // the conversion's controls stay as they are until it ends
    else
        handOverToConversion(path);
    showTransferOutcome(tr("Download finished: %1").arg(download.destinationPath()));
    offerShowInFolder(download.destinationPath());
    announce(tr("Download finished"), QFileInfo(download.destinationPath()).fileName(),
             download.destinationPath());
}

void ApplicationController::handOverToConversion(const QString& path) {
    convertFLVFilenameTextField->setText(path);
    activities_.sourceAccepted = true;
    applyControlStates();
    convertHandedOverFileIfAsked();
}

void ApplicationController::convertHandedOverFileIfAsked() {
    // On the next turn: the download's callback, or the conversion's end, is over first.
    if (convertWhenDownloadedCheckBox->isChecked())
        QMetaObject::invokeMethod(this, &ApplicationController::convertFLVtoDifferentFormat,
                                  Qt::QueuedConnection);
}

void ApplicationController::showAbout() {
    desktop_.showAbout(
        mainWindow, tr("About Reelhound"),
        tr("<h3>Reelhound %1</h3>"
           "<p>Fetches videos from the Vistaro site and converts them into other formats.</p>"
           "<p>Free software under the GNU General Public License, version 3 or any later "
           "version (GPL-3.0-or-later).</p>")
            .arg(QStringLiteral(REELHOUND_VERSION)));
}

void ApplicationController::downloadDidFailWithError(Download& download,
                                                     const DownloadError& error) {
    desktop_.log(QStringLiteral("Download did fail with error...\n"));
    if (downloadRequestType_ == kRequestTypePage) {
        download.cancel();
        getURLprogressIndicator->stopAnimation();
        return;
    }
    desktop_.log(QStringLiteral("Download failed! Error - ") + error.localizedDescription +
                 QLatin1Char(' ') + error.failingURLString + QLatin1Char('\n'));
    download.cancel();
    shouldCancelDownload_ = 0;
    transferEnded();
    restoreDownloadControls();
    if (error.partialDataKept)
        showTransferOutcome(tr("Download failed: %1 Download again to resume.")
                                .arg(error.localizedDescription));
    else
        showTransferOutcome(tr("Download failed: %1").arg(error.localizedDescription));
    announce(tr("Download failed"), error.localizedDescription);
}

// ---------------------------------------------------------------------------
// Checks before work starts, and where a conversion's file goes

void ApplicationController::dropPastedLineBreak() {
    const QString entered = URLEntryTextField->text();
    const QString kept = toQt(entryWithoutPastedLineBreak(toStd(entered)));
    if (kept != entered)
        URLEntryTextField->setText(kept);
}

bool ApplicationController::askToReplace(const QString& path) {
    const QFileInfo file(path);
    return desktop_.runConfirmation(alertTitle(),
                                    tr("A file named %1 already exists in %2. Replace it?")
                                        .arg(file.fileName(), file.absolutePath()),
                                    tr("&Replace"), tr("&Cancel"));
}

// The service is asked only for a destination that can take the file, and
// that replaces no file the person has not agreed to replace.
bool ApplicationController::confirmDownloadDestination() {
    const QString destination = downloadDestinationTextField->text();
    const bool pickedForThisDownload = destination == destinationPickedInPanel_;
    destinationPickedInPanel_.clear();
    const DestinationCheck check = checkDownloadDestination(destination);
    if (check.problem == DestinationCheck::Problem::FolderMissing &&
        destination == defaultDestinationPath()) {
        // An account without a desktop folder: the person chooses, from home.
        downloadWaitsForDestination_ = true;
        beginDestinationPanel(FLVGetFLVButton);
        return false;
    }
    if (!check.ok()) {
        desktop_.log(QStringLiteral("Download destination ") + destination +
                     QStringLiteral(" refused: ") + check.words);
        showTransferOutcome(tr("Download failed: %1").arg(check.words));
        return false;
    }
    // Taken before anything else, so that two windows never share a file.
    PartialDataClaim::Result claim = PartialDataClaim::take(destination);
    if (claim.outcome == PartialDataClaim::Outcome::Busy) {
        const QString words = describeDestinationInUse(destination);
        desktop_.log(QStringLiteral("Download destination ") + destination +
                     QStringLiteral(" refused: another download holds it"));
        showTransferOutcome(tr("Download failed: %1").arg(words));
        return false;
    }
    if (!pickedForThisDownload && destinationExists(destination) && !askToReplace(destination))
        return false; // the claim goes, and an empty file it made with it
    destinationClaim_ = std::move(claim.claim);
    return true;
}

void ApplicationController::destinationChosen(int returnCode, const QString& path) {
    if (returnCode != 0)
        destinationPickedInPanel_ = path;
    if (std::exchange(downloadWaitsForDestination_, false) && returnCode != 0)
        startVideoDownload();
}

bool ApplicationController::refuseOverlongLink(const std::string& address) {
    if (address.size() <= static_cast<std::size_t>(kLongestTransferAddress))
        return false;
    desktop_.log(QStringLiteral("The link service gave an address of %1 bytes, too long to use.")
                     .arg(address.size()));
    showTransferOutcome(tr("The link service gave an address too long to use."));
    return true;
}

bool ApplicationController::confirmReplacingConversionOutput(const ConversionSettings& settings) {
    const auto output = converterOutputPath(settings.sourcePath, settings.formatTag);
    return !output || !destinationExists(toQt(*output)) || askToReplace(toQt(*output));
}

// The converter writes into a private folder beside the output; the file takes
// the output's name only once the run is known to have made it whole.
bool ApplicationController::stageConversionOutput(const ConversionSettings& settings,
                                                  StagedOutput& staged, QStringList& arguments,
                                                  ConverterProcess& converter) {
    const auto output = converterOutputPath(settings.sourcePath, settings.formatTag);
    if (!output)
        return true; // the converter is given no output file
    const QString folder = QFileInfo(toQt(*output)).absolutePath();
    conversionFolderIndex().add(folder);
    StagedOutput::removeAbandoned(folder); // what a conversion killed with us left
    if (!staged.prepare(toQt(*output))) {
        reportConversionFailure(
            tr("The converted file cannot be made in %1: %2")
                .arg(QFileInfo(toQt(*output)).absolutePath(), staged.errorString()));
        return false;
    }
    arguments.last() = staged.stagedPath();
    converter.setOutputPath(staged.stagedPath());
    return true;
}

// Empty when the conversion succeeded and its file is in place; otherwise
// why not, and the earlier file at the output's name is as it was.
QString ApplicationController::settleConversionOutput(const ConverterProcess& run,
                                                      StagedOutput& staged) {
    if (!run.succeeded()) {
        staged.discard();
        return run.failureDetail();
    }
    if (staged.stagedPath().isEmpty() || staged.commit())
        return {};
    return tr("The converted file could not be saved: %1").arg(staged.errorString());
}

void ApplicationController::reportConversionFailure(const QString& cause) {
    desktop_.beep();
    const QString message = tr("Conversion failed: %1").arg(cause);
    showConversionText(message);
    mainWindow->statusBar()->showMessage(message);
}

} // namespace reelhound
