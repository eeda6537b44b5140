#pragma once

#include "platform/ProxyCredentials.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QWidget;

namespace reelhound {

// Asks for the user name and password of a proxy server. It is not modal, so
// that the window (the download's Cancel, quitting) stays usable while the
// request waits for the answer.
class ProxyCredentialsDialog final : public QDialog {
    Q_OBJECT

public:
    // Shows the dialog and returns at once; the completion runs once, when it
    // is closed (with nothing for Cancel).
    static void begin(QWidget* parent, const ProxyCredentialsQuestion& question,
                      ProxyCredentialsCompletion completion);

private:
    ProxyCredentialsDialog(QWidget* parent, const ProxyCredentialsQuestion& question);

    QLineEdit* userField_ = nullptr;
    QLineEdit* passwordField_ = nullptr;
    QCheckBox* rememberBox_ = nullptr;
};

} // namespace reelhound
