#include "app/QtDesktopServices.h"

#include "app/FileManager.h"
#include "app/FocusReturn.h"
#include "app/ProxyCredentialsDialog.h"
#include "platform/ReachabilityProbe.h"
#include "platform/SystemLog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace reelhound {
namespace {

QString nameFilterFor(const FilePanelOptions& options) {
    QStringList patterns;
    const QStringList types =
        options.fileTypes.isEmpty() ? QStringList{options.requiredFileType} : options.fileTypes;
    for (const auto& type : types) {
        if (!type.isEmpty())
            patterns << QStringLiteral("*.") + type;
    }
    if (patterns.isEmpty())
        return {};
    return QFileDialog::tr("%1 files (%2)").arg(types.first().toUpper(), patterns.join(' '));
}

// The path always ends in the required extension, whatever was typed.
QString withRequiredType(const QString& path, const QString& requiredType) {
    if (requiredType.isEmpty() || path.endsWith(QLatin1Char('.') + requiredType))
        return path;
    return path + QLatin1Char('.') + requiredType;
}

void beginPanel(QWidget* parent, const FilePanelOptions& options, QFileDialog::AcceptMode mode,
                FilePanelCompletion completion) {
    auto* dialog = new QFileDialog(parent, options.title, options.directory);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                        : QFileDialog::ExistingFile);
    if (!options.requiredFileType.isEmpty())
        dialog->setDefaultSuffix(options.requiredFileType);
    if (const QString filter = nameFilterFor(options); !filter.isEmpty()) {
        QStringList filters{filter};
        if (options.allowsOtherFileTypes)
            filters << QFileDialog::tr("All files (*)");
        dialog->setNameFilters(filters);
    }
    if (!options.fileName.isEmpty())
        dialog->selectFile(options.fileName);
    const bool requireType = mode == QFileDialog::AcceptSave;
    // However the panel closes (Return in its completion list included), the
    // window it belongs to takes the keyboard back, at the control that opened it.
    returnFocusWhenClosed(*dialog, parent);
    QObject::connect(
        dialog, &QFileDialog::finished, dialog,
        [dialog, completion, requireType, type = options.requiredFileType](int result) {
            const QStringList chosen = dialog->selectedFiles();
            if (result != QDialog::Accepted || chosen.isEmpty()) {
                completion(0, QString());
                return;
            }
            const QString path =
                requireType ? withRequiredType(chosen.first(), type) : chosen.first();
            completion(1, path);
        });
    dialog->open();
}

} // namespace

void QtDesktopServices::runAlert(const QString& title, const QString& message,
                                 const QString& buttonTitle) {
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.addButton(buttonTitle, QMessageBox::AcceptRole);
    box.exec();
}

bool QtDesktopServices::runConfirmation(const QString& title, const QString& message,
                                        const QString& acceptTitle, const QString& cancelTitle) {
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::WindowModal);
    QPushButton* accept = box.addButton(acceptTitle, QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(cancelTitle, QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == accept;
}

void QtDesktopServices::beep() {
    QApplication::beep();
}

void QtDesktopServices::log(const QString& message) {
    writeSystemLogLine(message);
}

bool QtDesktopServices::checkReachabilityByName(const char* host, std::uint32_t* flags) {
    return reelhound::checkReachabilityByName(host, flags);
}

void QtDesktopServices::beginSavePanel(QWidget* parent, const FilePanelOptions& options,
                                       FilePanelCompletion completion) {
    beginPanel(parent, options, QFileDialog::AcceptSave, std::move(completion));
}

void QtDesktopServices::beginOpenPanel(QWidget* parent, const FilePanelOptions& options,
                                       FilePanelCompletion completion) {
    beginPanel(parent, options, QFileDialog::AcceptOpen, std::move(completion));
}

void QtDesktopServices::showAbout(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::about(parent, title, text);
}

void QtDesktopServices::showInFolder(const QString& path) {
    showInFileManager(path);
}

void QtDesktopServices::beginProxyCredentialsPanel(QWidget* parent,
                                                   const ProxyCredentialsQuestion& question,
                                                   ProxyCredentialsCompletion completion) {
    ProxyCredentialsDialog::begin(parent, question, std::move(completion));
}

} // namespace reelhound
