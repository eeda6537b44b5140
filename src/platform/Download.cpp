#include "platform/Download.h"

#include "platform/DownloadFile.h"
#include "platform/HttpTransfer.h"
#include "platform/NetworkAccess.h"
#include "platform/RangeConnections.h"

#include <QCoreApplication>
#include <QNetworkInformation>

#include <algorithm>
#include <limits>

// A download's life: its start, its retries and its end. How it takes the
// server's answers is in DownloadAnswers.cpp, what it keeps for a later run
// in DownloadKeptData.cpp.
namespace reelhound {
namespace {

// Told when the desktop sees the network come back; nothing where it cannot tell.
QNetworkInformation* networkInformation() {
    static QNetworkInformation* const information = [] {
        return QNetworkInformation::loadBackendByFeatures(
                   QNetworkInformation::Feature::Reachability)
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
    transfer_ =
        new HttpTransfer(url,
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

void Download::bodyWritten(std::int64_t bytes) {
    if (connections_ != nullptr)
        connections_->firstWrote(bytes); // counted as the file's bytes there
    else
        bytesArrived(bytes);
}

void Download::bytesArrived(std::int64_t bytes) {
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
    // Ranges hold what they hold, wherever it is; nothing held, and the file
    // starts afresh on one connection.
    if (connections_ != nullptr) {
        connections_->abortAll();
        if (fileBytes_ == 0)
            discardConnections();
    }
    // Bytes the thread wrote but never reported are not counted: they go.
    if (connections_ == nullptr && file_ != nullptr && !file_->truncate(fileBytes_)) {
        fail(tr("The file %1 could not be written: %2").arg(createdPath_, file_->errorString()));
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
        if (!identity_.canBeContinued()) {
            if (!startFileOver(QStringLiteral("the server named no length or validator to "
                                              "continue by")))
                return;
        } else if (connections_ != nullptr) {
            setRangeFrom(connections_->held().missing().front().begin);
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
    // Before the file: their threads write there.
    if (connections_ != nullptr)
        connections_->abortAll();
    discardTransfer();
    const bool kept = keepData && keepFile(); // with the ranges held
    discardConnections();
    if (!kept) {
        discardFile();
        if (claim_ != nullptr)
            claim_->remove();
    }
    claim_.reset(); // the data is free for the next download
    deleteLater();
    return kept;
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
