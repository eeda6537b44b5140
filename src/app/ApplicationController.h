#pragma once

#include "app/ConversionFlow.h"
#include "app/DownloadDestination.h"
#include "app/DownloadFlow.h"
#include "app/RecentAddressMenu.h"
#include "app/StatusReports.h"
#include "app/WindowPlacement.h"
#include "core/ControlStates.h"
#include "core/ConverterCommandLine.h"
#include "core/XmlTree.h"
#include "platform/ConverterProcess.h"
#include "platform/Download.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

class QAbstractButton;
class QAction;
class QCheckBox;
class QDBusConnection;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QWebEngineView;
class QWidget;

namespace Ui {
class MainWindow;
}

namespace reelhound {

class DesktopServices;
class DownloadProgressDisplay;
class FocusKeeper;
class Preferences;
class ProgressIndicator;

// The window's controller: it takes the actions of the controls and the
// menus, keeps the one record of what runs and sets the controls from it,
// and hands the work to the download flow and the conversion flow, which
// report back how it went. It owns no control.
class ApplicationController : public QObject, private DownloadDelegate {
    Q_OBJECT

public:
    // Registers the defaults of the preferences; runs once, before the first
    // controller is made.
    static void initialize();

    ApplicationController(DesktopServices& desktop, Preferences& preferences,
                          QObject* parent = nullptr);
    ~ApplicationController() override;

    // Start-up, in the order the application runs it.
    // The outlets are the window's generated controls; the window itself is
    // the parent of the panels and is placed at launch, and shows its offer
    // to show a made file in the status line with showInFolderLink.
    void connectOutlets(Ui::MainWindow& ui, QMainWindow& window, QAbstractButton& showInFolderLink);
    void awakeFromNib();
    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching() { placeWindow(); }
    void placeWindow() { showPlacedWindow(*mainWindow); }

    // Accessors.
    QWebEngineView* RLHDWebView() const { return RLHDWebView_; }
    const std::optional<QString>& video_id() const { return video_id_; }
    void set_video_id(const std::optional<QString>& value) { video_id_ = value; }
    const std::optional<QString>& flv_id() const { return flv_id_; }
    void set_flv_id(const std::optional<QString>& value) { flv_id_ = value; }
    const QStringList& recentURLArray() const { return recentMenu_->addresses(); }
    void setRecentURLArray(const QStringList& list) { recentMenu_->setAddresses(list); }

    const std::optional<DownloadResponse>& downloadResponse() const {
        return downloadFlow_->response();
    }
    void setDownloadResponse(const DownloadResponse& response) {
        downloadFlow_->setResponse(response);
    }
    std::int32_t downloadRequestType() const { return downloadFlow_->requestType(); }
    std::int64_t bytesReceived() const { return downloadFlow_->bytesReceived(); }
    // 1 while a cancel is being carried out, which happens at once.
    std::int32_t shouldCancelDownload() const {
        return downloadFlow_->stage() == DownloadFlow::Stage::Stopping ? 1 : 0;
    }
    // Whether the download button is in its cancel form, that is a lookup or
    // a transfer runs.
    bool downloadButtonCancels() const { return controlStates().downloadButtonCancels; }
    // What runs now, and the controls that leaves usable.
    Activities activities() const;
    ControlStates controlStates() const { return controlStatesFor(activities()); }
    // The text of the destination field.
    QString destinationFilename() const { return destination_->path(); }

    using TransferLimits = DownloadFlow::TransferLimits;
    void setTransferLimits(const TransferLimits& limits);

    // The download's callbacks, public so that tests can play a transfer, go
    // to the flow that runs it.
    void downloadDidBegin(Download& download) override {
        downloadFlow_->downloadDidBegin(download);
    }
    void downloadDidReceiveResponse(Download& download, const DownloadResponse& response) override {
        downloadFlow_->downloadDidReceiveResponse(download, response);
    }
    void downloadDecideDestinationWithSuggestedFilename(Download& download,
                                                        const QString& filename) override {
        downloadFlow_->downloadDecideDestinationWithSuggestedFilename(download, filename);
    }
    void downloadDidCreateDestination(Download& download, const QString& path) override {
        downloadFlow_->downloadDidCreateDestination(download, path);
    }
    bool downloadShouldDecodeSourceDataOfMIMEType(Download& download,
                                                  const QString& MIMEType) override {
        return downloadFlow_->downloadShouldDecodeSourceDataOfMIMEType(download, MIMEType);
    }
    void downloadDidReceiveDataOfLength(Download& download, std::uint32_t length) override {
        downloadFlow_->downloadDidReceiveDataOfLength(download, length);
    }
    void downloadWillRetry(Download& download, const DownloadRetry& retry) override {
        downloadFlow_->downloadWillRetry(download, retry);
    }
    void downloadWillStartOver(Download& download, const QString& reason) override {
        downloadFlow_->downloadWillStartOver(download, reason);
    }
    void downloadWillContinueKeptData(Download& download, std::int64_t bytes) override {
        downloadFlow_->downloadWillContinueKeptData(download, bytes);
    }
    void downloadDidFinish(Download& download) override {
        downloadFlow_->downloadDidFinish(download);
    }
    void downloadDidFailWithError(Download& download, const DownloadError& error) override;

    // Completion of the destination panel.
    void saveDestinationFilenameDidEnd(int returnCode, const QString& path) {
        destination_->choiceDidEnd(returnCode, path);
    }

    // The conversion source: the text of its field, and the open panel's completion.
    QString convertFLVFilename() const;
    void selectConvertFLVFilenameDidEnd(int returnCode, const QString& path);
    // The settings the convert button would use now, read from the pop-ups.
    ConversionSettings conversionSettingsFromControls() const;
    // The converter of the current or most recent run; empty before the first.
    ConverterProcess* conversionFileHandle() const;

    // Lookups over a parsed XML tree; they use none of the controller's state.
    pugi::xml_node diveIntoTree(pugi::xml_node tree, const QString& elementName) const;
    XmlDictionary buildDictFromTree(pugi::xml_node tree) const;

    // Routines that switch fixed groups of controls.
    void restoreDownloadControls();
    void setConversionSettingsEnabled(bool flag);

    // The recent-address list.
    void loadRecentURLs() { recentMenu_->load(); }
    void rememberRecentURL(const QString& shortURL) { recentMenu_->remember(shortURL); }
    void attachRecentURLMenuActions() { recentMenu_->connectItems(); }

public slots:
    void getURLClicked();
    void recentURLMenuItemClicked(int itemIndex) { recentMenu_->itemChosen(itemIndex); }
    void setDestinationFilename();
    void downloadFLV() { startVideoDownload(); }
    void downloadMP4() { startVideoDownload(); }
    void cancelDownload() { downloadFlow_->cancel(); }
    // The download button: its form says which of the two it does.
    void FLVGetFLVButtonClicked();
    void selectConvertFLVFilename();
    void convertFLVtoDifferentFormat();
    // The convert button's second form: kills the running converter.
    void stopConversion() { conversionFlow_->stop(); }
    // The convert button: its form says which of the two it does.
    void convertFLVButtonClicked();
    // Escape: cancels a running download, or else stops a running conversion.
    void cancelCurrentActivity();
    // Help > About: what the application is, its version and its licence.
    void showAbout();
    // "Show in folder" in the status line: the file the last finished
    // download or conversion made, if it is still there.
    void showFinishedFileInFolder() { reports_->showFinishedFileInFolder(); }

public:
    // Where notices (while the window is not active) and the task bar's
    // progress go; the session bus unless told.
    void useDesktopBus(const QDBusConnection& bus) { reports_->useDesktopBus(bus); }
    void conversionProgressDataReceived(reelhound::ConverterProcess* source) {
        conversionFlow_->progressDataReceived(source);
    }

private:
    void makeFlows(Ui::MainWindow& ui, QAbstractButton& showInFolderLink);
    // Sets every control's enabled state and the two buttons' forms from
    // what runs; called after every change of what runs.
    void applyControlStates();
    void showButtonForms(const ControlStates& states);
    // The button of the work that runs, or else of the work that just ended.
    QWidget* focusSuccessor() const;
    void dropPastedLineBreak();
    void startVideoDownload();
    // A downloaded file goes to the conversion controls, now or, while a
    // conversion runs, once it has ended.
    void downloadedFileReady(const QString& path);
    void conversionEnded();
    void handOverToConversion(const QString& path);
    // With "Convert when the download finishes" on, a handed-over file is
    // converted with the current settings, as the convert button would.
    void convertHandedOverFileIfAsked();

    // Outlets, in the window's order. A field whose accessor has the same
    // name carries a trailing underscore.
    QLineEdit* URLEntryTextField = nullptr;
    QPushButton* URLGetURLButton = nullptr;
    ProgressIndicator* getURLprogressIndicator = nullptr;
    QComboBox* recentURLPopUpButton = nullptr;
    QPushButton* downloadDestinationSelectButton = nullptr;
    QPushButton* FLVGetFLVButton = nullptr;
    QLineEdit* convertFLVFilenameTextField = nullptr;
    QComboBox* audioFrequencyButton = nullptr;
    QComboBox* audioBitrateButton = nullptr;
    QComboBox* audioChannelsButton = nullptr;
    QComboBox* videoSizeButton = nullptr;
    QComboBox* videoBitrateButton = nullptr;
    QComboBox* videoFrameRateButton = nullptr;
    QComboBox* convertToDifferentFormatButton = nullptr;
    QPushButton* selectFLVtoConvertButton = nullptr;
    QPushButton* convertFLVButton = nullptr;
    QWebEngineView* RLHDWebView_ = nullptr;
    QMainWindow* mainWindow = nullptr;
    QAction* downloadMP4Action = nullptr;
    QAction* convertAction = nullptr;
    QCheckBox* convertWhenDownloadedCheckBox = nullptr;

    std::optional<QString> video_id_;
    std::optional<QString> flv_id_;

    // The record of what runs, beside what the flows say of themselves.
    bool downloadUnlocked_ = false; // an address was taken, or a conversion ended
    bool sourceAccepted_ = false;   // the source field holds a file the settings are unlocked for
    // What the controls were last set for.
    Activities appliedActivities_;
    // A download that finished while a conversion ran hands its file over
    // to the conversion controls once the conversion has ended.
    std::optional<QString> pendingHandover_;

    TransferLimits transferLimits_;
    DesktopServices& desktop_;
    Preferences& preferences_;
    std::unique_ptr<RecentAddressMenu> recentMenu_;
    std::unique_ptr<FocusKeeper> focus_;
    std::unique_ptr<StatusReports> reports_;
    std::unique_ptr<DownloadDestination> destination_;
    std::unique_ptr<DownloadProgressDisplay> downloadProgress_;
    std::unique_ptr<DownloadFlow> downloadFlow_;
    std::unique_ptr<ConversionFlow> conversionFlow_;
};

} // namespace reelhound
