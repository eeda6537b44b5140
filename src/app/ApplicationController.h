#pragma once

#include "core/ControlStates.h"
#include "core/ConverterCommandLine.h"
#include "core/TransferRate.h"
#include "core/XmlTree.h"
#include "platform/ConverterProcess.h"
#include "platform/Download.h"
#include "platform/PageFetch.h"
#include "platform/PartialData.h"
#include "platform/PartialDataClaim.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>

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

class DesktopNotices;
class DesktopProgress;
class DesktopServices;
class Preferences;
class ProgressIndicator;
class StagedOutput;

inline constexpr std::int32_t kRequestTypePage = 0;
inline constexpr std::int32_t kRequestTypeVideo = 1;

// The one controller: it holds a reference to every control of the main
// window, keeps the little state the parts of the application share, and
// handles every action and callback. It owns no control.
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
    // the parent of the panels and is placed at launch.
    void connectOutlets(Ui::MainWindow& ui, QMainWindow& window);
    void awakeFromNib();
    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    void placeWindow();

    // Accessors.
    QWebEngineView* RLHDWebView() const { return RLHDWebView_; }
    const std::optional<QString>& video_id() const { return video_id_; }
    void set_video_id(const std::optional<QString>& value) { video_id_ = value; }
    const std::optional<QString>& flv_id() const { return flv_id_; }
    void set_flv_id(const std::optional<QString>& value) { flv_id_ = value; }
    const QStringList& recentURLArray() const { return recentURLArray_; }
    void setRecentURLArray(const QStringList& list);

    const std::optional<DownloadResponse>& downloadResponse() const { return downloadResponse_; }
    void setDownloadResponse(const DownloadResponse& response) { downloadResponse_ = response; }
    std::int32_t downloadRequestType() const { return downloadRequestType_; }
    std::int64_t bytesReceived() const { return bytesReceived_; }
    std::int32_t shouldCancelDownload() const { return shouldCancelDownload_; }
    // Whether the download button is in its cancel form, that is a lookup or
    // a transfer runs.
    bool downloadButtonCancels() const { return downloadButtonCancels_; }
    // What runs now, and the controls that leaves usable.
    const Activities& activities() const { return activities_; }
    ControlStates controlStates() const { return controlStatesFor(activities_); }
    // The text of the destination field.
    QString destinationFilename() const;

    // How long the network may keep us waiting. The defaults suit real use;
    // tests shorten them.
    struct TransferLimits {
        DownloadOptions download;
        // The link service may be silent this long, and take this long in all.
        std::chrono::milliseconds pageFetchTimeout = PageFetchLimits{}.silence;
        std::chrono::milliseconds pageFetchOverallTimeout = PageFetchLimits{}.overall;
    };
    void setTransferLimits(const TransferLimits& limits) { transferLimits_ = limits; }

    // The download's callbacks; public so that tests can play a transfer.
    void downloadDidBegin(Download& download) override;
    void downloadDidReceiveResponse(Download& download, const DownloadResponse& response) override;
    void downloadDecideDestinationWithSuggestedFilename(Download& download,
                                                        const QString& filename) override;
    void downloadDidCreateDestination(Download& download, const QString& path) override;
    bool downloadShouldDecodeSourceDataOfMIMEType(Download& download,
                                                  const QString& MIMEType) override;
    void downloadDidReceiveDataOfLength(Download& download, std::uint32_t length) override;
    void downloadWillRetry(Download& download, const DownloadRetry& retry) override;
    void downloadWillStartOver(Download& download, const QString& reason) override;
    void downloadWillContinueKeptData(Download& download, std::int64_t bytes) override;
    void downloadDidFinish(Download& download) override;
    void downloadDidFailWithError(Download& download, const DownloadError& error) override;

    // Completion of the destination panel.
    void saveDestinationFilenameDidEnd(int returnCode, const QString& path);

    // The conversion source: the text of its field, and the open panel's completion.
    QString convertFLVFilename() const;
    void selectConvertFLVFilenameDidEnd(int returnCode, const QString& path);
    // The settings the convert button would use now, read from the pop-ups.
    ConversionSettings conversionSettingsFromControls() const;
    // The converter of the current or most recent run; empty before the first.
    ConverterProcess* conversionFileHandle() const { return conversionFileHandle_.get(); }

    // Lookups over a parsed XML tree; they use none of the controller's state.
    pugi::xml_node diveIntoTree(pugi::xml_node tree, const QString& elementName) const;
    XmlDictionary buildDictFromTree(pugi::xml_node tree) const;

    // Routines that switch fixed groups of controls.
    void restoreDownloadControls();
    void setConversionSettingsEnabled(bool flag);

    // The recent-address list.
    void loadRecentURLs();
    void rememberRecentURL(const QString& shortURL);
    void attachRecentURLMenuActions();

public slots:
    void getURLClicked();
    void recentURLMenuItemClicked(int itemIndex);
    void setDestinationFilename();
    void downloadFLV();
    void downloadMP4();
    void cancelDownload();
    void selectConvertFLVFilename();
    void convertFLVtoDifferentFormat();
    // The convert button's second form: kills the running converter.
    void stopConversion();
    // Escape: cancels a running download, or else stops a running conversion.
    void cancelCurrentActivity();
    // Help > About: what the application is, its version and its licence.
    void showAbout();
    // "Show in folder" in the status line: the file the last finished
    // download or conversion made, if it is still there.
    void showFinishedFileInFolder();

public:
    // Where notices (while the window is not active) and the task bar's
    // progress go; the session bus unless told.
    void useDesktopBus(const QDBusConnection& bus);
    void conversionProgressDataReceived(reelhound::ConverterProcess* source);

private:
    // The download and convert buttons are each one control with two forms.
    void setFLVGetFLVButtonAction(void (ApplicationController::*action)());
    void setConvertFLVButtonAction(void (ApplicationController::*action)());
    // Sets every control's enabled state and the two buttons' forms from
    // what runs; called after every change of activities_.
    void applyControlStates();
    // A focused control that went out of use hands the focus to the button of
    // the work that runs or just ended, so the keyboard is never left nowhere.
    void handFocusOn(QWidget* focusedBefore);
    QWidget* focusSuccessor() const;
    void storeRecentURLs();
    void startVideoDownload();
    void linkLookupFinished(const PageFetchResult& page);
    void startTransfer(const QString& address);
    // Where downloads that may have kept data are listed (beside the preferences).
    PartialDataIndex partialDataIndex() const;
    // Where conversions wrote, so that their private folders can be swept.
    PathIndex conversionFolderIndex() const;
    void removeAbandonedConversionFolders();
    void carryOutCancel();
    void transferEnded();
    void handOverToConversion(const QString& path);
    // With "Convert when the download finishes" on, a handed-over file is
    // converted with the current settings, as the convert button would.
    void convertHandedOverFileIfAsked();
    void conversionDidEnd();
    // The converter's lines, or a word about the run; hidden while empty.
    void showConversionText(const QString& text);
    // After work has ended: the status line's offer to show the file it made
    // (none for an empty path), and a notice when the person looks elsewhere.
    void offerShowInFolder(const QString& path);
    void announce(const QString& summary, const QString& body, const QString& path = {});
    // The percentage on the bar and, with the time left, in the status line.
    void showConversionProgress();
    void showTransferOutcome(const QString& message);
    void showRetryCountdown();
    // Speed and time left in the status line while a file arrives.
    void showTransferRate(std::int64_t expectedLength);

    // Outlets, in the window's order. A field whose accessor has the same
    // name carries a trailing underscore.
    QLineEdit* URLEntryTextField = nullptr;
    QPushButton* URLGetURLButton = nullptr;
    ProgressIndicator* getURLprogressIndicator = nullptr;
    QComboBox* recentURLPopUpButton = nullptr;
    QPushButton* downloadDestinationSelectButton = nullptr;
    QLineEdit* downloadDestinationTextField = nullptr;
    QLabel* downloadProgressTextField = nullptr;
    ProgressIndicator* downloadFLVProgressIndicator = nullptr;
    QPushButton* FLVGetFLVButton = nullptr;
    QLineEdit* convertFLVFilenameTextField = nullptr;
    QLabel* convertFLVProgressTextField = nullptr;
    ProgressIndicator* convertFLVProgressIndicator = nullptr;
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
    std::optional<DownloadResponse> downloadResponse_;
    std::unique_ptr<ConverterProcess> conversionFileHandle_;
    QStringList recentURLArray_;
    std::int32_t downloadRequestType_ = kRequestTypePage;
    // 64-bit, so that files past 2 GiB count correctly.
    std::int64_t bytesReceived_ = 0;
    std::int32_t shouldCancelDownload_ = 0;
    TransferRate transferRate_;
    QElapsedTimer transferClock_; // since the response of the current transfer
    bool downloadButtonCancels_ = false;
    bool convertButtonStops_ = false;

    // The one record of what runs. Controls follow it; actions check it.
    Activities activities_;
    // What the controls were last set for.
    Activities appliedActivities_;
    // Where the focus goes once it is usable again, while it waits elsewhere.
    QPointer<QWidget> focusOwedTo_;
    QPointer<QWidget> focusParkedAt_;
    std::unique_ptr<PageRequest> linkLookup_;
    QPointer<Download> download_;
    QString transferDestination_; // where the running transfer writes
    // The kept data of the destination, claimed before the link is looked up
    // and handed to the download it starts.
    std::unique_ptr<PartialDataClaim> destinationClaim_;
    // A retry's line counts down to the next try.
    DownloadRetry pendingRetry_;
    QDeadlineTimer nextTry_;
    QTimer retryCountdown_;
    // A download that finished while a conversion ran hands its file over
    // to the conversion controls once the conversion has ended.
    std::optional<QString> pendingHandover_;
    std::optional<std::string> conversionOutputPath_;
    // Where the running conversion writes until its file is known to be whole.
    std::unique_ptr<StagedOutput> conversionStaging_;
    // Since when the running conversion runs.
    QElapsedTimer conversionClock_;
    QString finishedFile_;
    QString offeredWithMessage_;
    std::unique_ptr<DesktopNotices> notices_;
    std::unique_ptr<DesktopProgress> desktopProgress_;
    DesktopProgress& desktopProgress();

    TransferLimits transferLimits_;
    DesktopServices& desktop_;
    Preferences& preferences_;

    // Checks before work starts, and where a conversion's file goes: nothing
    // is reported done that is not whole, and no file is replaced unasked.
    void dropPastedLineBreak();
    bool confirmDownloadDestination();
    void destinationChosen(int returnCode, const QString& path);
    void beginDestinationPanel(QWidget* opener);
    bool refuseOverlongLink(const std::string& address);
    bool askToReplace(const QString& path);
    bool confirmReplacingConversionOutput(const ConversionSettings& settings);
    bool stageConversionOutput(const ConversionSettings& settings, StagedOutput& staged,
                               QStringList& arguments, ConverterProcess& converter);
    QString settleConversionOutput(const ConverterProcess& run, StagedOutput& staged);
    void reportConversionFailure(const QString& cause);

    // The path the save panel gave for the next download; the panel has asked
    // about replacing a file there itself.
    QString destinationPickedInPanel_;
    // The default destination's folder was missing: the panel was opened, and
    // the download goes on once it is answered.
    bool downloadWaitsForDestination_ = false;
};

} // namespace reelhound
