#pragma once

#include "core/XmlTree.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QWebEngineView;

namespace reelhound {

class DesktopServices;
class MainWindow;
class Preferences;
class ProgressIndicator;

inline constexpr std::int32_t kRequestTypePage = 0;
inline constexpr std::int32_t kRequestTypeVideo = 1;

// The one controller: it holds a reference to every control of the main
// window, keeps the little state the parts of the application share, and
// handles every action and callback. It owns no control.
class ApplicationController : public QObject {
    Q_OBJECT

public:
    // Registers the defaults of the preferences; runs once, before the first
    // controller is made.
    static void initialize();

    ApplicationController(DesktopServices& desktop, Preferences& preferences,
                          QObject* parent = nullptr);
    ~ApplicationController() override;

    // Start-up, in the order the application runs it.
    void connectOutlets(MainWindow& window);
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

    std::int32_t downloadRequestType() const { return downloadRequestType_; }
    std::int32_t shouldCancelDownload() const { return shouldCancelDownload_; }

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
    void downloadFLV();
    void cancelDownload();

private:
    // The download button is one control with two forms.
    void setFLVGetFLVButtonAction(void (ApplicationController::*action)());
    void storeRecentURLs();

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

    std::optional<QString> video_id_;
    std::optional<QString> flv_id_;
    QStringList recentURLArray_;
    std::int32_t downloadRequestType_ = kRequestTypePage;
    std::int32_t shouldCancelDownload_ = 0;

    DesktopServices& desktop_;
    Preferences& preferences_;
};

} // namespace reelhound
