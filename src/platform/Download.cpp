#include "platform/Download.h"

#include "platform/DownloadFile.h"
#include "platform/HttpTransfer.h"
#include "platform/NetworkAccess.h"
#include "platform/ResponseEntity.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

#include <algorithm>
#include <limits>

namespace reelhound {

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
    QTimer::singleShot(0, this, &Download::begin);
}

Download::~Download() {
    discardTransfer();
    discardFile();
}

void Download::setDestination(const QString& path, bool allowOverwrite) {
    if (file_ != nullptr || state_ == State::Finished || state_ == State::Failed ||
        state_ == State::Cancelled)
        return;
    destinationPath_ = path;
    allowOverwrite_ = allowOverwrite;
}

void Download::cancel() {
    if (state_ != State::Waiting && state_ != State::Running)
        return;
    end(State::Cancelled);
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
    if (running())
        sendRequest(requestURL_);
}

void Download::sendRequest(const QUrl& url) {
    currentURL_ = url;
    // Every hop is looked at here, so that only web addresses are followed and
    // each answer reaches the delegate.
    transfer_ = new HttpTransfer(
        url, {[this](const HttpResponseHead& head) { responseArrived(head); },
              [this](std::int64_t bytes) { bodyWritten(bytes); },
              [this](const HttpTransferOutcome& outcome) { transferFinished(outcome); },
              // A person typing a password is no stalled server.
              [this](bool waiting) {
                  if (waiting)
                      stallTimer_.stop();
                  else
                      stallTimer_.start(options_.stallTimeout);
              }},
        this);
    stallTimer_.start(options_.stallTimeout);
}

void Download::responseArrived(const HttpResponseHead& head) {
    if (!running())
        return;
    stallTimer_.start(options_.stallTimeout);

    const DownloadResponse response = responseOf(head);
    bytesReceived_ = 0;
    expectedContentLength_ = response.expectedContentLength;

    const QByteArray location = head.field("Location");
    if (isRedirectStatus(response.HTTPStatus) && !location.isEmpty()) {
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

    delegate_->downloadDidReceiveResponse(*this, response);
    if (!running())
        return;
    if (response.HTTPStatus < 200 || response.HTTPStatus > 299) {
        fail(describeHttpStatus(response.HTTPStatus, head.reasonPhrase));
        return;
    }
    if (const QString refusal = whyBodyIsNotTheWholeFile(head); !refusal.isEmpty()) {
        fail(refusal);
        return;
    }
    if (file_ == nullptr && !prepareDestination(response))
        return;
    transfer_->writeBodyTo(file_->descriptor());
}

bool Download::prepareDestination(const DownloadResponse& response) {
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

    if (response.expectedContentLength > 0) {
        const QStorageInfo storage(pathInfo.absolutePath());
        if (storage.isValid() && storage.isReady() &&
            response.expectedContentLength > storage.bytesAvailable()) {
            const QLocale locale;
            fail(tr("The file is %1, but the disk that holds %2 has only %3 free.")
                     .arg(locale.formattedDataSize(response.expectedContentLength),
                          pathInfo.absolutePath(),
                          locale.formattedDataSize(storage.bytesAvailable())));
            return false;
        }
    }

    file_ = std::make_unique<DownloadFile>();
    if (!file_->open(path)) {
        const QString reason = file_->errorString();
        discardFile();
        fail(tr("The file %1 could not be created: %2.").arg(path, reason));
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
    // The delegate hears of at most 4 GiB at a time; it may cancel in between.
    while (running() && bytes > 0) {
        const auto length = static_cast<std::uint32_t>(
            std::min<std::int64_t>(bytes, std::numeric_limits<std::uint32_t>::max()));
        bytes -= length;
        bytesReceived_ += length;
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
    case HttpTransferOutcome::Kind::NetworkFailed:
        fail(describeNetworkError(outcome.networkError, currentURL_, outcome.detail,
                                  tr("the whole file")));
        return;
    case HttpTransferOutcome::Kind::Completed:
        break;
    }
    if (file_ == nullptr) {
        fail(tr("The server sent no file."));
        return;
    }
    if (expectedContentLength_ >= 0 && bytesReceived_ != expectedContentLength_) {
        fail(tr("The connection was closed before the whole file arrived."));
        return;
    }
    if (!file_->commit()) {
        const QString reason = file_->errorString();
        discardFile();
        fail(tr("The file %1 could not be saved: %2.").arg(createdPath_, reason));
        return;
    }
    file_.reset();
    finish();
}

void Download::stalled() {
    if (!running())
        return;
    fail(tr("No data arrived for %1, so the transfer was given up.")
             .arg(describeDuration(options_.stallTimeout)));
}

void Download::fail(const QString& description, const QUrl& failingURL) {
    end(State::Failed);
    delegate_->downloadDidFailWithError(*this, DownloadError{description, failingURL.toString()});
}

void Download::finish() {
    end(State::Finished);
    delegate_->downloadDidFinish(*this);
}

void Download::end(State state) {
    state_ = state;
    stallTimer_.stop();
    discardTransfer(); // before the file: its thread writes there
    discardFile();
    deleteLater();
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
    file_.reset(); // removes the temporary file
}

} // namespace reelhound
