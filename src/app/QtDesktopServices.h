#pragma once

#include "app/DesktopServices.h"

namespace reelhound {

// The real desktop: QMessageBox, QApplication::beep, window-modal QFileDialog,
// the system log and the reachability probe.
class QtDesktopServices final : public DesktopServices {
public:
    void runAlert(const QString& title, const QString& message,
                  const QString& buttonTitle) override;
    bool runConfirmation(const QString& title, const QString& message, const QString& acceptTitle,
                         const QString& cancelTitle) override;
    void beep() override;
    void log(const QString& message) override;
    bool checkReachabilityByName(const char* host, std::uint32_t* flags) override;
    void beginSavePanel(QWidget* parent, const FilePanelOptions& options,
                        FilePanelCompletion completion) override;
    void beginOpenPanel(QWidget* parent, const FilePanelOptions& options,
                        FilePanelCompletion completion) override;
    void showAbout(QWidget* parent, const QString& title, const QString& text) override;
    void showInFolder(const QString& path) override;
    void beginProxyCredentialsPanel(QWidget* parent, const ProxyCredentialsQuestion& question,
                                    ProxyCredentialsCompletion completion) override;
};

} // namespace reelhound
