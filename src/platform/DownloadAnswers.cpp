#include "platform/Download.h"

#include "platform/DestinationCheck.h"
#include "platform/DownloadFile.h"
#include "platform/HttpTransfer.h"
#include "platform/NetworkAccess.h"
#include "platform/PartialData.h"
#include "platform/RangeConnections.h"
#include "platform/ResponseEntity.h"

#include <QFileInfo>

// How a download takes the server's answers: redirects, the file's start,
// continuations, and the end of the body.
namespace reelhound {
namespace {

// Failures that pass when the network comes back (a proxy restarting, a
// change of network, a captive portal); any other network error is final.
bool isTransientNetworkError(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return true;
    default:
        return false;
    }
}

} // namespace

void Download::responseArrived(const HttpResponseHead& head) {
    if (!running())
        return;
    stallTimer_.start(options_.stallTimeout);

    const DownloadResponse response = responseOf(head);
    // The delegate hears of the answers that begin the file, not of those
    // that continue it: its count goes on.
    // A hole at the start of a file with holes is asked for as a range too.
    const bool continuing = !rangeFields_.isEmpty();
    if (!continuing) {
        delegate_->downloadDidReceiveResponse(*this, response);
        if (!running())
            return;
    }
    const QByteArray location = head.field("Location");
    if (isRedirectStatus(response.HTTPStatus) && !location.isEmpty()) {
        followRedirect(currentURL_.resolved(QUrl::fromEncoded(location)));
        return;
    }
    const QString statusFailure = describeHttpStatus(response.HTTPStatus, head.reasonPhrase);
    if (isTransientHTTPStatus(response.HTTPStatus)) {
        retryOrFail(statusFailure, tr("The server is busy"),
                    parseRetryAfter(head.field("Retry-After").toStdString()));
        return;
    }
    const bool rangeRefused = continuing && response.HTTPStatus == 416;
    if ((response.HTTPStatus < 200 || response.HTTPStatus > 299) && !rangeRefused)
        fail(statusFailure);
    else if (continuing)
        continueOrStartOver(head);
    else
        takeWholeFile(head, response);
}

// Every hop is looked at here, so that only web addresses are followed.
void Download::followRedirect(const QUrl& target) {
    discardTransfer();
    if (!isWebAddress(target)) {
        fail(describeRefusedRedirect(target), target);
        return;
    }
    if (++redirectCount_ > options_.maximumRedirects) {
        fail(tr("The server redirected the download too many times."), target);
        return;
    }
    sendRequest(target);
}

void Download::takeWholeFile(const HttpResponseHead& head, const DownloadResponse& response) {
    if (const QString refusal = whyBodyIsNotTheWholeFile(head); !refusal.isEmpty()) {
        fail(refusal);
        return;
    }
    identity_ = {response.expectedContentLength, validatorOf(head)};
    if (file_ == nullptr && !prepareDestination(response))
        return;
    recordPartialData();
    writeBody(0);
    fetchInRanges(0);
}

void Download::writeBody(std::int64_t offset) {
    if (file_->isPartial() && identity_.canBeContinued())
        transfer_->syncEvery(options_.keptDataSyncInterval);
    transfer_->writeBodyTo(file_->descriptor(), offset);
}

void Download::continueOrStartOver(const HttpResponseHead& head) {
    const ContinuationVerdict verdict =
        checkContinuation(continuationAnswerOf(head), askedFrom_, identity_);
    if (verdict == ContinuationVerdict::Continues) {
        if (const QString refusal = whyBodyIsPacked(head); !refusal.isEmpty()) {
            fail(refusal);
            return;
        }
        if (file_ == nullptr && !adoptKeptData(head))
            return;
        writeBody(askedFrom_);
        fetchInRanges(askedFrom_);
        return;
    }
    if (!startFileOver(QString::fromStdString(describeContinuationVerdict(verdict))))
        return;
    if (verdict == ContinuationVerdict::RangesIgnored) {
        responseArrived(head); // the whole file is on its way: take it from the start
        return;
    }
    discardTransfer();
    sendRequest(requestURL_);
}

// The same temporary file cannot be trusted to hold only this file's bytes:
// a fresh one takes its place.
bool Download::startFileOver(const QString& reason) {
    delegate_->downloadWillStartOver(*this, reason);
    if (!running())
        return false;
    discardConnections();
    keptRanges_ = ByteRanges();
    keptSyncedRanges_ = ByteRanges();
    askedFrom_ = 0;
    rangeFields_.clear();
    redirectCount_ = 0;
    fileBytes_ = 0;
    if (file_ == nullptr) { // kept by an earlier run, and not the same file
        keptBytes_ = 0;
        identity_ = {};
        if (claim_ != nullptr)
            claim_->clear();
        return true;
    }
    // The same file is emptied (a partial one stays claimed); its record goes.
    const bool partial = file_->isPartial();
    bool opened = false;
    if (partial) {
        file_->discard();
        opened = claim_->clear() && file_->openPartial(*claim_);
    } else {
        file_->discard();
        opened = file_->open(createdPath_);
    }
    if (!opened)
        failToCreate(createdPath_);
    return opened;
}

void Download::failToCreate(const QString& path) {
    const QString reason = file_->errorString();
    discardFile();
    failDiscarding(tr("The file %1 could not be created: %2").arg(path, reason));
}

bool Download::prepareDestination(const DownloadResponse& response, std::int64_t keptBytes) {
    delegate_->downloadDecideDestinationWithSuggestedFilename(*this, response.suggestedFilename);
    if (!running())
        return false;
    if (destinationPath_.isEmpty()) {
        fail(checkDownloadDestination(destinationPath_).words); // the words for no path
        return false;
    }
    const QString& path = destinationPath_;
    const QFileInfo pathInfo(path);
    // A link, even a dangling one, is something that is there.
    if (!allowOverwrite_ && (pathInfo.exists() || pathInfo.isSymLink())) {
        fail(tr("The file %1 already exists.").arg(path));
        return false;
    }

    if (keptBytes == 0 && !roomForTheRest(response.expectedContentLength, 0))
        return false;

    file_ = std::make_unique<DownloadFile>();
    bool opened = false;
    if (claim_ != nullptr && keptBytes > 0)
        opened = file_->continuePartial(*claim_, keptFileEnd());
    else if (claim_ != nullptr)
        opened = file_->openPartial(*claim_);
    if (!opened && !file_->isPartial() && keptBytes == 0)
        opened = file_->open(path);
    if (!opened) {
        // Kept data that cannot be read back as it was recorded is of no use.
        failToCreate(path);
        return false;
    }
    createdPath_ = path;
    delegate_->downloadDidCreateDestination(*this, path);
    if (!running())
        return false;
    if (isEncodedArchiveType(response.MIMEType)) {
        delegate_->downloadShouldDecodeSourceDataOfMIMEType(*this, response.MIMEType);
        if (!running())
            return false;
    }
    return true;
}

void Download::transferFinished(const HttpTransferOutcome& outcome) {
    if (!running())
        return;
    if (connections_ != nullptr) {
        discardTransfer(); // its thread has ended
        connections_->firstEnded(outcome);
        return;
    }
    transferEnded(outcome);
}

// The file's one transfer, or the last of its connections, has ended.
void Download::transferEnded(const HttpTransferOutcome& outcome) {
    if (!running())
        return;
    switch (outcome.kind) {
    case HttpTransferOutcome::Kind::WriteFailed:
        fail(tr("The file %1 could not be written: %2").arg(createdPath_, outcome.detail));
        return;
    case HttpTransferOutcome::Kind::NetworkFailed: {
        const QString failure = describeNetworkError(outcome.networkError, currentURL_,
                                                     outcome.detail, tr("the whole file"));
        if (isTransientNetworkError(outcome.networkError))
            retryOrFail(failure, tr("Connection lost"));
        else
            fail(failure);
        return;
    }
    case HttpTransferOutcome::Kind::Completed:
        break;
    }
    if (file_ == nullptr) {
        fail(tr("The server sent no file."));
        return;
    }
    if (identity_.total >= 0 && fileBytes_ != identity_.total) {
        retryOrFail(tr("The connection was closed before the whole file arrived."),
                    tr("Connection lost"));
        return;
    }
    const bool partial = file_->isPartial();
    if (!file_->commit()) {
        // Whole and synced: a later download needs only to ask whether it is current.
        fail(tr("The file %1 could not be saved: %2").arg(createdPath_, file_->errorString()));
        return;
    }
    file_.reset();
    if (partial)
        removePartialRecord(createdPath_); // the data has its final name
    finish();
}

} // namespace reelhound
