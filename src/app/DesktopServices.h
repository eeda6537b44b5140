#pragma once

#include "platform/ProxyCredentials.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QWidget;

namespace reelhound {

// What a file panel shows; the same description serves save and open panels.
struct FilePanelOptions {
    QString title;
    QString directory;        // where the panel starts
    QString fileName;         // preset name, may be empty
    QString requiredFileType; // extension without the dot; the result always carries it
    QStringList fileTypes;    // extensions offered (open panels)
    bool allowsOtherFileTypes = false;
    bool canChooseDirectories = false;
};

// The panel's answer: a non-zero return code when the person confirmed, with
// the chosen full path; zero when they cancelled.
using FilePanelCompletion = std::function<void(int returnCode, const QString& path)>;

// Everything that talks to the person or to the outside world in a way a test
// cannot sit through: alerts, the beep, file panels, the proxy credentials
// question, the log and the reachability answer. The application uses QtDesktopServices; tests record.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // A modal alert with one button; returns when it has been dismissed.
    virtual void runAlert(const QString& title, const QString& message,
                          const QString& buttonTitle) = 0;
    // A modal question with a button that goes ahead and one that cancels
    // (the default, also for Escape); true when the person chose to go ahead.
    virtual bool runConfirmation(const QString& title, const QString& message,
                                 const QString& acceptTitle, const QString& cancelTitle) = 0;
    virtual void beep() = 0;
    // One line of the system log. The text is data, never a format.
    virtual void log(const QString& message) = 0;
    // See checkReachabilityByName in platform/ReachabilityProbe.h.
    virtual bool checkReachabilityByName(const char* host, std::uint32_t* flags) = 0;

    // Panels run as sheets: modal for the parent window only. The call returns
    // at once; the completion runs later on the main thread.
    virtual void beginSavePanel(QWidget* parent, const FilePanelOptions& options,
                                FilePanelCompletion completion) = 0;
    virtual void beginOpenPanel(QWidget* parent, const FilePanelOptions& options,
                                FilePanelCompletion completion) = 0;

    // The application's About box, modal for the window: its name and
    // version, what it does and its licence.
    virtual void showAbout(QWidget* parent, const QString& title, const QString& text) = 0;

    // Shows the file in the file manager, or else opens its folder.
    virtual void showInFolder(const QString& path) = 0;
    // Asks for a proxy's user name and password without holding up the
    // window: the call returns at once, the completion runs later.
    virtual void beginProxyCredentialsPanel(QWidget* parent,
                                            const ProxyCredentialsQuestion& question,
                                            ProxyCredentialsCompletion completion) = 0;
};

} // namespace reelhound
