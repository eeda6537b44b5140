#include "app/DownloadDestination.h"

#include "app/DesktopServices.h"
#include "app/Dialogs.h"
#include "app/StatusReports.h"
#include "platform/DestinationCheck.h"

#include <QDir>
#include <QLineEdit>
#include <utility>

namespace reelhound {

DownloadDestination::DownloadDestination(QLineEdit& field, QWidget& window,
                                         DesktopServices& desktop, StatusReports& reports,
                                         QObject* parent)
    : QObject(parent), field_(field), window_(window), desktop_(desktop), reports_(reports) {}

QString DownloadDestination::defaultPath() {
    return QDir::homePath() + QStringLiteral("/Desktop/Vistaro Video.flv");
}

QString DownloadDestination::path() const {
    return field_.text();
}

void DownloadDestination::showDefaultPath() {
    field_.setText(defaultPath());
}

void DownloadDestination::choose(QWidget& opener) {
    // Opened by a key too, the panel gives the keyboard back to what opened it.
    opener.setFocus(Qt::OtherFocusReason);
    const FilePanelOptions options = flvFilePanelOptions(tr("Save Vistaro video to file..."));
    desktop_.beginSavePanel(&window_, options, [this](int returnCode, const QString& path) {
        choiceDidEnd(returnCode, path);
    });
}

void DownloadDestination::choiceDidEnd(int returnCode, const QString& path) {
    if (returnCode != 0) {
        field_.setText(path);
        pickedInPanel_ = path;
    }
    if (std::exchange(downloadWaits_, false) && returnCode != 0)
        emit chosenForWaitingDownload();
}

// The service is asked only for a destination that can take the file, and
// that replaces no file the person has not agreed to replace.
std::unique_ptr<PartialDataClaim> DownloadDestination::confirm(QWidget& opener) {
    const QString destination = path();
    const bool pickedForThisDownload = destination == std::exchange(pickedInPanel_, QString());
    const DestinationCheck check = checkDownloadDestination(destination);
    if (check.problem == DestinationCheck::Problem::FolderMissing && destination == defaultPath()) {
        // An account without a desktop folder: the person chooses, from home.
        downloadWaits_ = true;
        choose(opener);
        return nullptr;
    }
    if (!check.ok()) {
        refuse(destination, check.words, check.words);
        return nullptr;
    }
    // Taken before anything else, so that two windows never share a file.
    PartialDataClaim::Result claim = PartialDataClaim::take(destination);
    if (claim.outcome == PartialDataClaim::Outcome::Busy) {
        refuse(destination, describeDestinationInUse(destination),
               QStringLiteral("another download holds it"));
        return nullptr;
    }
    if (!pickedForThisDownload && destinationExists(destination) &&
        !askToReplace(desktop_, destination))
        return nullptr; // the claim goes, and an empty file it made with it
    return std::move(claim.claim);
}

void DownloadDestination::refuse(const QString& destination, const QString& words,
                                 const QString& logged) {
    desktop_.log(QStringLiteral("Download destination ") + destination +
                 QStringLiteral(" refused: ") + logged);
    reports_.show(tr("Download failed: %1").arg(words));
}

} // namespace reelhound
