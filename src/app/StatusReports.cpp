#include "app/StatusReports.h"

#include "app/DesktopNotices.h"
#include "app/DesktopServices.h"
#include "app/FocusKeeper.h"

#include <QAbstractButton>
#include <QDBusConnection>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>

namespace reelhound {

StatusReports::StatusReports(QMainWindow& window, QAbstractButton& showInFolderLink,
                             DesktopServices& desktop, FocusKeeper& focus, QObject* parent)
    : QObject(parent), window_(window), showInFolderLink_(showInFolderLink), desktop_(desktop),
      focus_(focus) {
    // The offer to show a file goes with the message that told of the file.
    connect(window.statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (!finishedFile_.isEmpty() && message != offeredWithMessage_)
            offerShowInFolder({});
    });
}

StatusReports::~StatusReports() = default;

void StatusReports::show(const QString& message) {
    window_.statusBar()->showMessage(message);
}

void StatusReports::clear() {
    window_.statusBar()->clearMessage();
}

QString StatusReports::current() const {
    return window_.statusBar()->currentMessage();
}

void StatusReports::offerShowInFolder(const QString& path) {
    const FocusHandOver handOver(focus_);
    finishedFile_ = path;
    offeredWithMessage_ = current();
    showInFolderLink_.setHidden(path.isEmpty());
}

void StatusReports::showFinishedFileInFolder() {
    // Safe whatever runs: it only shows a file that is already there.
    if (finishedFile_.isEmpty() || !QFileInfo::exists(finishedFile_))
        return;
    desktop_.showInFolder(finishedFile_);
}

void StatusReports::announce(const QString& summary, const QString& body, const QString& path) {
    if (window_.isActiveWindow())
        return;
    useSessionBusUnlessTold();
    notices_->post(summary, body, path);
}

void StatusReports::setProgress(DesktopProgress::Work work, std::optional<double> percent) {
    useSessionBusUnlessTold();
    progress_->setProgress(work, percent);
}

void StatusReports::useDesktopBus(const QDBusConnection& bus) {
    notices_ = std::make_unique<DesktopNotices>(
        bus, [this](const QString& path) { desktop_.showInFolder(path); });
    progress_ = std::make_unique<DesktopProgress>(window_, bus);
}

void StatusReports::useSessionBusUnlessTold() {
    if (!notices_)
        useDesktopBus(QDBusConnection::sessionBus());
}

} // namespace reelhound
