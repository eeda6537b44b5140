#include "app/DownloadFlow.h"

#include "app/DesktopServices.h"
#include "app/Dialogs.h"
#include "app/DownloadDestination.h"
#include "app/DownloadProgressDisplay.h"
#include "app/StatusReports.h"
#include "core/DirectLink.h"
#include "platform/HttpTransfer.h"
#include "platform/Preferences.h"
#include "platform/Strings.h"

#include <QFileInfo>

namespace reelhound {

DownloadFlow::DownloadFlow(DownloadDestination& destination, DownloadProgressDisplay& progress,
                           StatusReports& reports, DesktopServices& desktop,
                           Preferences& preferences, QObject* parent)
    : QObject(parent), destination_(destination), progress_(progress), reports_(reports),
      desktop_(desktop), preferences_(preferences) {}

DownloadFlow::~DownloadFlow() {
    // The window may be gone already: end what runs without touching a control.
    lookup_.reset();
    if (download_)
        download_->stopForLater(); // quitting is no cancel: what arrived waits for the next run
}

std::int64_t DownloadFlow::bytesReceived() const {
    return progress_.bytesReceived();
}

PartialDataIndex DownloadFlow::partialDataIndex() const {
    return PartialDataIndex(preferences_.storageFolder() + QStringLiteral("/partial-downloads"));
}

void DownloadFlow::setStage(Stage stage) {
    stage_ = stage;
    emit stageChanged();
}

void DownloadFlow::start(const QString& videoId, QWidget& opener) {
    if (stage_ != Stage::Idle)
        return;
    claim_ = destination_.confirm(opener);
    if (!claim_)
        return;
    videoId_ = videoId;
    const QString query = toQt(serviceQueryURL(toStd(videoId)));
    PageFetchLimits limits;
    limits.silence = limits_.pageFetchTimeout;
    limits.overall = limits_.pageFetchOverallTimeout;
    lookup_ = std::make_unique<PageRequest>(QUrl(query), limits);
    connect(lookup_.get(), &PageRequest::finished, this, &DownloadFlow::lookupFinished);
    reports_.show(tr("Looking up the video file..."));
    setStage(Stage::LookingUp);
    lookup_->start();
}

void DownloadFlow::lookupFinished(const PageFetchResult& page) {
    // The request goes once this signal is over.
    lookup_.release()->deleteLater();
    setStage(Stage::Idle);
    // Given up unless a download takes it over below.
    std::unique_ptr<PartialDataClaim> claim = std::move(claim_);
    const QString query = toQt(serviceQueryURL(toStd(videoId_)));
    if (!page.ok) {
        refuseLookup(
            QStringLiteral("Link service query ") + query + QStringLiteral(" failed: ") +
                page.error,
            tr("The link service could not be asked for the video file. %1").arg(page.error));
        return;
    }
    const DirectLinkExtraction link = extractDirectLink(toStd(page.text));
    if (!link.address) {
        refuseLookup(QStringLiteral("Link service page for ") + query +
                         QStringLiteral(" names no video file: ") +
                         toQt(describeDirectLinkProblem(link.problem)),
                     tr("The video file could not be found. %1")
                         .arg(translatedDirectLinkProblem(link.problem)));
        return;
    }
    if (link.address->size() > static_cast<std::size_t>(kLongestTransferAddress)) {
        desktop_.log(
            QStringLiteral("The link service gave an address of %1 bytes, too long to use.")
                .arg(link.address->size()));
        reports_.show(tr("The link service gave an address too long to use."));
        return;
    }
    claim_ = std::move(claim);
    startTransfer(toQt(*link.address));
}

void DownloadFlow::refuseLookup(const QString& logged, const QString& shown) {
    desktop_.log(logged);
    reports_.clear();
    showAlert(desktop_, shown);
}

void DownloadFlow::startTransfer(const QString& address) {
    Download* download = Download::create(address, *this, limits_.download);
    requestType_ = kRequestTypeVideo;
    if (download == nullptr) {
        desktop_.log(QStringLiteral("The download request could not be instantiated...\n"));
        reports_.show(tr("The download could not start: the link service gave an address "
                         "that is not a web address."));
        claim_.reset();
        return;
    }
    transferDestination_ = destination_.path();
    desktop_.log(transferDestination_);
    download->setDestination(transferDestination_, true);
    download->keepPartialDataFor(videoId_, std::move(claim_));
    partialDataIndex().add(transferDestination_);
    download_ = download;
    setStage(Stage::Transferring);
    reports_.show(tr("Downloading..."));
    reports_.offerShowInFolder({});
}

void DownloadFlow::cancel() {
    if (stage_ == Stage::LookingUp) {
        lookup_.reset(); // aborts the request; nothing is reported
        claim_.reset();
        setStage(Stage::Idle);
        reports_.show(tr("Download cancelled."));
        return;
    }
    if (stage_ != Stage::Transferring)
        return;
    // Carried out at once rather than with the next chunk, which may never come.
    setStage(Stage::Stopping);
    if (download_)
        download_->cancel(); // stops its thread and throws its temporary file away
    endTransfer();
    reports_.show(tr("Download cancelled."));
}

void DownloadFlow::endTransfer() {
    download_ = nullptr;
    transferDestination_.clear();
    progress_.end();
    setStage(Stage::Idle);
}

void DownloadFlow::downloadDidBegin(Download& download) {
    desktop_.log(QStringLiteral("Download did begin... ") +
                 download.requestURL().toString(QUrl::FullyEncoded) + QLatin1Char('\n'));
    desktop_.log(download.description());
    progress_.begin();
    if (stage_ == Stage::Idle) {
        // A transfer the flow did not start itself still shows as running.
        download_ = &download;
        setStage(Stage::Transferring);
    }
}

void DownloadFlow::downloadDidReceiveResponse(Download&, const DownloadResponse& response) {
    progress_.restartCount();
    setResponse(response);
}

void DownloadFlow::downloadDecideDestinationWithSuggestedFilename(Download&,
                                                                  const QString& filename) {
    if (requestType_ == kRequestTypeVideo)
        desktop_.log(QStringLiteral("Downloading with suggested filename ") + filename +
                     QStringLiteral(".\n"));
}

void DownloadFlow::downloadDidCreateDestination(Download&, const QString&) {}

bool DownloadFlow::downloadShouldDecodeSourceDataOfMIMEType(Download&, const QString& MIMEType) {
    return MIMEType == QLatin1String(kMacBinaryMIMEType) ||
           MIMEType == QLatin1String(kBinHexMIMEType);
}

void DownloadFlow::downloadDidReceiveDataOfLength(Download& download, std::uint32_t length) {
    if (requestType_ == kRequestTypePage) {
        desktop_.log(QStringLiteral("Download received %1 bytes...\n").arg(length));
        return;
    }
    if (progress_.stopCountdown() && stage_ == Stage::Transferring)
        reports_.show(tr("Downloading...")); // the connection is back
    progress_.setConnections(download.connectionsRunning());
    progress_.bytesArrived(length, response_ ? response_->expectedContentLength : -1);
}

void DownloadFlow::downloadWillRetry(Download&, const DownloadRetry& retry) {
    progress_.countDownTo(retry);
    desktop_.log(QStringLiteral("Download will retry: ") + progress_.line());
}

void DownloadFlow::downloadWillStartOver(Download&, const QString& reason) {
    desktop_.log(QStringLiteral("Download starts over from byte 0: ") + reason);
}

void DownloadFlow::downloadWillContinueKeptData(Download&, std::int64_t bytes) {
    desktop_.log(QStringLiteral("Download continues the data kept from an earlier run at byte ") +
                 QString::number(bytes));
}

void DownloadFlow::downloadDidFinish(Download& download) {
    desktop_.log(QStringLiteral("Download complete..."));
    if (requestType_ == kRequestTypePage)
        return;
    const QString path =
        transferDestination_.isEmpty() ? destination_.path() : transferDestination_;
    const QString madeFile = download.destinationPath();
    endTransfer();
    emit finished(path);
    reports_.show(tr("Download finished: %1").arg(madeFile));
    reports_.offerShowInFolder(madeFile);
    reports_.announce(tr("Download finished"), QFileInfo(madeFile).fileName(), madeFile);
}

void DownloadFlow::downloadDidFailWithError(Download& download, const DownloadError& error) {
    desktop_.log(QStringLiteral("Download did fail with error...\n"));
    if (requestType_ == kRequestTypePage) {
        download.cancel();
        return;
    }
    desktop_.log(QStringLiteral("Download failed! Error - ") + error.localizedDescription +
                 QLatin1Char(' ') + error.failingURLString + QLatin1Char('\n'));
    download.cancel();
    endTransfer();
    if (error.partialDataKept)
        reports_.show(
            tr("Download failed: %1 Download again to resume.").arg(error.localizedDescription));
    else
        reports_.show(tr("Download failed: %1").arg(error.localizedDescription));
    reports_.announce(tr("Download failed"), error.localizedDescription);
}

} // namespace reelhound
