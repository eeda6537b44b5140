#include "app/ProxyCredentialsDialog.h"

#include "app/FocusReturn.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace reelhound {

ProxyCredentialsDialog::ProxyCredentialsDialog(QWidget* parent,
                                               const ProxyCredentialsQuestion& question)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Reelhound"));
    setObjectName(QStringLiteral("proxyCredentialsDialog"));

    auto* message = new QLabel(
        question.refused
            ? tr("The proxy server %1 refused the user name and password. Enter them again.")
                  .arg(question.proxyHost)
            : tr("The proxy server %1 asks for a user name and password.").arg(question.proxyHost),
        this);
    message->setWordWrap(true);
    // A wrapped label asks for little width and the dialog then guesses its
    // height wrong: give the text a line length that reads well, in any
    // language and at any scale, so nothing is cut.
    message->setMinimumWidth(message->fontMetrics().averageCharWidth() * 50);

    userField_ = new QLineEdit(question.user, this);
    userField_->setObjectName(QStringLiteral("proxyUserField"));
    userField_->setAccessibleName(tr("User name"));
    passwordField_ = new QLineEdit(this);
    passwordField_->setObjectName(QStringLiteral("proxyPasswordField"));
    passwordField_->setAccessibleName(tr("Password"));
    passwordField_->setEchoMode(QLineEdit::Password);
    rememberBox_ = new QCheckBox(tr("&Remember for this session"), this);
    rememberBox_->setObjectName(QStringLiteral("proxyRememberBox"));
    rememberBox_->setChecked(true);

    auto* fields = new QFormLayout;
    fields->addRow(tr("&User name:"), userField_);
    fields->addRow(tr("&Password:"), passwordField_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addLayout(fields);
    layout->addWidget(rememberBox_);
    layout->addWidget(buttons);

    layout->setSizeConstraint(QLayout::SetMinimumSize);
    (question.user.isEmpty() ? userField_ : passwordField_)->setFocus();
}

void ProxyCredentialsDialog::begin(QWidget* parent, const ProxyCredentialsQuestion& question,
                                   ProxyCredentialsCompletion completion) {
    auto* dialog = new ProxyCredentialsDialog(parent, question);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(false);
    returnFocusWhenClosed(*dialog, parent);
    connect(dialog, &QDialog::finished, dialog, [dialog, completion](int result) {
        if (result != QDialog::Accepted) {
            completion(std::nullopt);
            return;
        }
        ProxyCredentialsAnswer answer;
        answer.credential = {dialog->userField_->text(), dialog->passwordField_->text()};
        answer.rememberForSession = dialog->rememberBox_->isChecked();
        completion(answer);
    });
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace reelhound
