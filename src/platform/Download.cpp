#include "platform/Download.h"

#include "platform/DownloadFile.h"
#include "platform/HttpTransfer.h"
#include "platform/NetworkAccess.h"
#include "platform/PartialData.h"
#include "platform/PartialDataClaim.h"
#include "platform/ResponseEntity.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkInformation>
#include <QStorageInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

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

// The field a continuation's If-Range names: the ETag, or else Last-Modified.
std::string validatorOf(const HttpResponseHead& head) {
    const QByteArray tag = head.field("ETag");
    return (tag.isEmpty() ? head.field("Last-Modified") : tag).toStdString();
}

bool canBeContinued(const FileIdentity& file) {
    return file.total > 0 && !file.validator.empty();
}

// Told when the desktop sees the network come back; nothing where it cannot tell.
QNetworkInformation* networkInformation() {
    static QNetworkInformation* const information = [] {
        return QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)
                   ? QNetworkInformation::instance()
                   : nullptr;
    }();
    return information;
}

} // namespace

Download* Download::create(const QUrl& url, DownloadDelegate& delegate,
                           const DownloadOptions& options) {
    if (!isWebAddress(url))
        return nullptr;
    return new Download(url, delegate, options);
}

Download* Download::create(const QString& address, DownloadDelegate& delegate,
                           const DownloadOptions& options) {
    return create(QUrl(address, QUrl::StrictMode), delegate, options);
}

Download::Download(const QUrl& url, DownloadDelegate& delegate, const DownloadOptions& options)
    : QObject(QCoreApplication::instance()), requestURL_(url), currentURL_(url),
      delegate_(&delegate), options_(options) {
    stallTimer_.setSingleShot(true);
    connect(&stallTimer_, &QTimer::timeout, this, &Download::stalled);
    retryTimer_.setSingleShot(true);
    connect(&retryTimer_, &QTimer::timeout, this, &Download::retry);
    if (QNetworkInformation* information = networkInformation())
        connect(information, &QNetworkInformation::reachabilityChanged, this,
                &Download::networkIsBack);
    QTimer::singleShot(0, this, &Download::begin);
}

Download::~Download() {
    // Still running: the application is going away, which is no cancel.
    if (running())
        stopForLater();
    discardTransfer();
    discardFile();
}

void Download::setDestination(const QString& path, bool allowOverwrite) {
    if (file_ != nullptr || keptBytes_ > 0 || state_ == State::Finished ||
        state_ == State::Failed || state_ == State::Cancelled)
        return;
    destinationPath_ = path;
    allowOverwrite_ = allowOverwrite;
}

void Download::keepPartialDataFor(const QString& key, std::unique_ptr<PartialDataClaim> claim) {
    if (state_ != State::Waiting)
        return;
    partialKey_ = key;
    claim_ = std::move(claim);
}

void Download::cancel() {
    if (state_ != State::Waiting && state_ != State::Running)
        return;
    end(State::Cancelled);
}

void Download::stopForLater() {
    if (state_ != State::Waiting && state_ != State::Running)
        return;
    end(State::Cancelled, /*keepData=*/true);
}

QString Download::description() const {
    QString text =
        QStringLiteral("Download %1 of %2")
            .arg(QString::asprintf("%p", static_cast<const void*>(this)), requestURL_.toString());
    const QString& path = createdPath_.isEmpty() ? destinationPath_ : createdPath_;
    text += path.isEmpty() ? QStringLiteral(", no destination yet")
                           : QStringLiteral(" to %1").arg(path);
    if (currentURL_ != requestURL_)
        text += QStringLiteral(", now from %1").arg(currentURL_.toString());
    return text;
}

void Download::begin() {
    if (state_ != State::Waiting)
        return;
    state_ = State::Running;
    delegate_->downloadDidBegin(*this);
    if (!running())
        return;
    if (!lookForKeptData())
        return;
    sendRequest(requestURL_);
}

// Data an earlier run kept for this video and destination is asked to be
// continued; data of ours that is not that goes. Returns false when the
// download has failed.
bool Download::lookForKeptData() {
    if (!keeping() || destinationPath_.isEmpty())
        return true;
    if (claim_ == nullptr) {
        PartialDataClaim::Result found = PartialDataClaim::take(destinationPath_);
        if (found.outcome == PartialDataClaim::Outcome::Busy) {
            fail(describeDestinationInUse(destinationPath_));
            return false;
        }
        // Not ours to use: the bytes go to an unnamed file, kept no longer than this run.
        if (found.outcome != PartialDataClaim::Outcome::Claimed)
            return true;
        claim_ = std::move(found.claim);
    }
    const std::optional<PartialRecord> record = claim_->record();
    std::int64_t bytes = 0;
    if (record && record->key == partialKey_.toStdString())
        bytes = continuablePartialBytes(*record, claim_->size(), currentBootId());
    if (bytes <= 0) {
        claim_->clear();
        return true;
    }
    keptBytes_ = bytes;
    identity_ = record->file;
    setRangeFrom(bytes);
    // Asked before the request: the server need not send what cannot be kept.
    return roomForTheRest(identity_.total, bytes);
}

// Whether the destination's disk can take the rest of a file of fileBytes;
// fails the download when it cannot.
bool Download::roomForTheRest(std::int64_t fileBytes, std::int64_t keptBytes) {
    if (fileBytes <= 0)
        return true;
    const QFileInfo pathInfo(destinationPath_);
    const QStorageInfo storage(pathInfo.absolutePath());
    if (!storage.isValid() || !storage.isReady() ||
        fileBytes - keptBytes <= storage.bytesAvailable())
        return true;
    const QLocale locale;
    fail(tr("The file is %1, but the disk that holds %2 has only %3 free.")
             .arg(locale.formattedDataSize(fileBytes), pathInfo.absolutePath(),
                  locale.formattedDataSize(storage.bytesAvailable())));
    return false;
}

void Download::networkIsBack() {
    const QNetworkInformation* information = networkInformation();
    if (running() && retryTimer_.isActive() && information != nullptr &&
        information->reachability() == QNetworkInformation::Reachability::Online) {
        retryTimer_.stop();
        retry();
    }
}

void Download::sendRequest(const QUrl& url) {
    currentURL_ = url;
    // Every hop is looked at here, so that only web addresses are followed and
    // each answer reaches the delegate.
    transfer_ = new HttpTransfer(
        url,
        {[this](const HttpResponseHead& head) { responseArrived(head); },
         [this](std::int64_t bytes) { bodyWritten(bytes); },
         [this](const HttpTransferOutcome& outcome) { transferFinished(outcome); },
         // A person typing a password is no stalled server.
         [this](bool waiting) {
             if (waiting)
                 stallTimer_.stop();
             else
                 stallTimer_.start(options_.stallTimeout);
         },
         [this](std::int64_t synced) { partialDataSynced(synced); }},
        this, rangeFields_);
    stallTimer_.start(options_.stallTimeout);
}

void Download::responseArrived(const HttpResponseHead& head) {
    if (!running())
        return;
    stallTimer_.start(options_.stallTimeout);

    const DownloadResponse response = responseOf(head);
    // The delegate hears of the answers that begin the file, not of those
    // that continue it: its count goes on.
    const bool continuing = askedFrom_ > 0;

    const QByteArray location = head.field("Location");
    if (isRedirectStatus(response.HTTPStatus) && !location.isEmpty()) {
        if (!continuing)
            delegate_->downloadDidReceiveResponse(*this, response);
        if (!running())
            return;
        const QUrl target = currentURL_.resolved(QUrl::fromEncoded(location));
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
        return;
    }

    if (!continuing) {
        delegate_->downloadDidReceiveResponse(*this, response);
        if (!running())
            return;
    }
    const QString statusFailure = describeHttpStatus(response.HTTPStatus, head.reasonPhrase);
    if (isTransientHTTPStatus(response.HTTPStatus)) {
        retryOrFail(statusFailure, tr("The server is busy"),
                    parseRetryAfter(head.field("Retry-After").toStdString()));
        return;
    }
    const bool rangeRefused = continuing && response.HTTPStatus == 416;
    if ((response.HTTPStatus < 200 || response.HTTPStatus > 299) && !rangeRefused) {
        fail(statusFailure);
        return;
    }
    if (continuing) {
        continueOrStartOver(head);
        return;
    }
    if (const QString refusal = whyBodyIsNotTheWholeFile(head); !refusal.isEmpty()) {
        fail(refusal);
        return;
    }
    identity_ = {response.expectedContentLength, validatorOf(head)};
    if (file_ == nullptr && !prepareDestination(response))
        return;
    recordPartialData();
    writeBody(0);
}

void Download::writeBody(std::int64_t offset) {
    if (file_->isPartial() && canBeContinued(identity_))
        transfer_->syncEvery(options_.keptDataSyncInterval);
    transfer_->writeBodyTo(file_->descriptor(), offset);
}

// The kept file is on the disk up to offset: a restart after a power cut
// may trust that much.
void Download::partialDataSynced(std::int64_t offset) {
    if (!running() || file_ == nullptr || !file_->isPartial() || offset <= syncedBytes_)
        return;
    syncedBytes_ = offset;
    writeKeptDataRecord(syncedBytes_);
}

bool Download::writeKeptDataRecord(std::int64_t syncedBytes) const {
    return writePartialRecord(createdPath_, {partialKey_.toStdString(), identity_,
                                             currentBootId(), syncedBytes});
}

// Says what the kept file holds, so that a later run can check an answer
// against it; a file that could never be continued gets no record.
void Download::recordPartialData() {
    if (file_ == nullptr || !file_->isPartial())
        return;
    syncedBytes_ = 0;
    if (!canBeContinued(identity_) || !writeKeptDataRecord(syncedBytes_))
        removePartialRecord(createdPath_);
}

// The answer continues what an earlier run kept: the delegate hears of the
// whole file, and of the bytes already there, as if they had just arrived.
bool Download::adoptKeptData(const HttpResponseHead& head) {
    DownloadResponse response = responseOf(head);
    response.expectedContentLength = identity_.total;
    delegate_->downloadDidReceiveResponse(*this, response);
    if (!running())
        return false;
    const std::int64_t kept = std::exchange(keptBytes_, 0);
    if (!prepareDestination(response, kept))
        return false;
    delegate_->downloadWillContinueKeptData(*this, kept);
    if (!running())
        return false;
    syncedBytes_ = kept;
    bodyWritten(kept);
    return running();
}

void Download::continueOrStartOver(const HttpResponseHead& head) {
    const ContinuationVerdict verdict = checkContinuation(
        {head.status, head.field("Content-Range").toStdString(), validatorOf(head)}, askedFrom_,
        identity_);
    if (verdict == ContinuationVerdict::Continues) {
        if (const QString refusal = whyBodyIsPacked(head); !refusal.isEmpty()) {
            fail(refusal);
            return;
        }
        if (file_ == nullptr && !adoptKeptData(head))
            return;
        writeBody(askedFrom_);
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
    if (!opened) {
        const QString problem = file_->errorString();
        discardFile();
        failDiscarding(tr("The file %1 could not be created: %2.").arg(createdPath_, problem));
        return false;
    }
    return true;
}

bool Download::prepareDestination(const DownloadResponse& response, std::int64_t keptBytes) {
    delegate_->downloadDecideDestinationWithSuggestedFilename(*this, response.suggestedFilename);
    if (!running())
        return false;
    if (destinationPath_.isEmpty()) {
        fail(tr("No file was chosen to save the download in."));
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
        opened = file_->continuePartial(*claim_, keptBytes);
    else if (claim_ != nullptr)
        opened = file_->openPartial(*claim_);
    if (!opened && !file_->isPartial() && keptBytes == 0)
        opened = file_->open(path);
    if (!opened) {
        // Kept data that cannot be read back as it was recorded is of no use.
        const QString reason = file_->errorString();
        discardFile();
        failDiscarding(tr("The file %1 could not be created: %2.").arg(path, reason));
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

void Download::bodyWritten(std::int64_t bytes) {
    stallTimer_.start(options_.stallTimeout);
    if (bytes > 0)
        retries_ = 0; // the retries count failures in a row
    // The delegate hears of at most 4 GiB at a time; it may cancel in between.
    while (running() && bytes > 0) {
        const auto length = static_cast<std::uint32_t>(
            std::min<std::int64_t>(bytes, std::numeric_limits<std::uint32_t>::max()));
        bytes -= length;
        fileBytes_ += length;
        delegate_->downloadDidReceiveDataOfLength(*this, length);
    }
}

void Download::transferFinished(const HttpTransferOutcome& outcome) {
    if (!running())
        return;
    switch (outcome.kind) {
    case HttpTransferOutcome::Kind::WriteFailed:
        fail(tr("The file %1 could not be written: %2.")
                 .arg(createdPath_, outcome.detail));
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
        fail(tr("The file %1 could not be saved: %2.").arg(createdPath_, file_->errorString()));
        return;
    }
    file_.reset();
    if (partial)
        removePartialRecord(createdPath_); // the data has its final name
    finish();
}

void Download::stalled() {
    if (!running())
        return;
    retryOrFail(tr("No data arrived for %1, so the transfer was given up.")
                    .arg(describeDuration(options_.stallTimeout)),
                tr("No data arrived"));
}

void Download::retryOrFail(const QString& failure, const QString& reason,
                           std::optional<int> retryAfterSeconds) {
    discardTransfer();
    stallTimer_.stop();
    if (retries_ >= options_.maximumRetries) {
        fail(failure);
        return;
    }
    // Bytes the thread wrote but never reported are not counted: they go.
    if (file_ != nullptr && !file_->truncate(fileBytes_)) {
        fail(tr("The file %1 could not be written: %2.").arg(createdPath_, file_->errorString()));
        return;
    }
    ++retries_;
    const int pause = retryPauseSeconds(retries_, retryAfterSeconds);
    delegate_->downloadWillRetry(*this, {reason, retries_, options_.maximumRetries, pause});
    if (running())
        retryTimer_.start(options_.retryPauseUnit * pause);
}

void Download::retry() {
    if (!running())
        return;
    redirectCount_ = 0;
    if (file_ != nullptr && fileBytes_ > 0) {
        // Without a length and a validator nothing shows that the rest
        // belongs to the same file.
        if (identity_.total <= 0 || identity_.validator.empty()) {
            if (!startFileOver(QStringLiteral("the server named no length or validator to "
                                              "continue by")))
                return;
        } else {
            setRangeFrom(fileBytes_);
        }
    }
    sendRequest(requestURL_);
}

void Download::setRangeFrom(std::int64_t from) {
    askedFrom_ = from;
    rangeFields_ = {"Range: bytes=" + QByteArray::number(from) + '-',
                    "If-Range: " + QByteArray::fromStdString(identity_.validator)};
}

void Download::fail(const QString& description, const QUrl& failingURL, bool keepData) {
    const bool kept = end(State::Failed, keepData);
    delegate_->downloadDidFailWithError(*this,
                                        DownloadError{description, failingURL.toString(), kept});
}

void Download::finish() {
    end(State::Finished);
    delegate_->downloadDidFinish(*this);
}

bool Download::end(State state, bool keepData) {
    state_ = state;
    stallTimer_.stop();
    retryTimer_.stop();
    discardTransfer(); // before the file: its thread writes there
    const bool kept = keepData && keepFile();
    if (!kept) {
        discardFile();
        if (claim_ != nullptr)
            claim_->remove();
    }
    claim_.reset(); // the data is free for the next download
    deleteLater();
    return kept;
}

// Leaves the data of a file that can be continued where it is, synced, with
// its record saying how much of it is on the disk.
bool Download::keepFile() {
    if (claim_ == nullptr)
        return false;
    if (file_ == nullptr)
        return keptBytes_ > 0; // an earlier run's, untouched
    if (!file_->isPartial() || !canBeContinued(identity_))
        return false;
    struct stat data {};
    if (::fstat(file_->descriptor(), &data) != 0 || data.st_size <= 0)
        return false;
    if (!file_->sync()) {
        // What did not reach the disk may be lost: only what was synced before counts.
        if (syncedBytes_ <= 0 || !file_->truncate(syncedBytes_) ||
            !writePartialRecord(createdPath_, {partialKey_.toStdString(), identity_, {},
                                               syncedBytes_}))
            return false;
    } else if (!writeKeptDataRecord(data.st_size)) {
        // A full disk may refuse even the record: the one written at the start
        // trusts all that was written in this system run.
        const std::optional<PartialRecord> record = claim_->record();
        if (!record || record->key != partialKey_.toStdString() || record->file != identity_)
            return false;
    }
    file_->keep();
    file_.reset();
    return true;
}

void Download::discardTransfer() {
    if (transfer_ == nullptr)
        return;
    transfer_->abort();
    // Perhaps called from one of its own handlers: it goes once that is over.
    transfer_->deleteLater();
    transfer_ = nullptr;
}

void Download::discardFile() {
    if (file_ == nullptr)
        return;
    file_.reset(); // removes the temporary file; a partial one is its claim's to remove
}

} // namespace reelhound
