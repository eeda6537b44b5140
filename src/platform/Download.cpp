#include "platform/Download.h"

#include "platform/HttpTransfer.h"
#include "platform/NetworkAccess.h"
#include "platform/ResponseEntity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelhound {

// The bytes of one download on their way to the destination.
//
// They go to an unnamed file (O_TMPFILE) in the destination's folder: nobody
// can open, predict or replace it, and it vanishes with this process should it
// die. commit() links it under the destination's name when that is free, or
// otherwise under a random name created exclusively beside it, renamed over
// the destination. Unlike QSaveFile, a symbolic link at the destination is
// never followed: the rename replaces the link itself, so a link planted there
// cannot send the bytes elsewhere. Where the file system has no unnamed files,
// the file gets its random name from the start.
class DownloadFile {
public:
    DownloadFile() = default;
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;
    ~DownloadFile() { discard(); }

    bool open(const QString& destination);
    // Where the bytes are written; it stays open until commit() or discard().
    int descriptor() const { return fd_; }
    // Gives the file its place. The bytes must have been synced already.
    bool commit();
    // Throws away what was written; the destination stays as it was.
    void discard();
    QString errorString() const { return error_; }

private:
    bool failWith(int code) {
        error_ = QString::fromLocal8Bit(std::strerror(code));
        return false;
    }
    QByteArray randomSibling() const;
    bool createNamed(mode_t mode);
    bool linkUnnamed(const QByteArray& path) const;

    QByteArray destination_;
    QByteArray hiddenPrefix_; // "<folder>/.<name>."
    QByteArray namedPath_;    // empty while the file has no name
    int fd_ = -1;
    QString error_;
};

bool DownloadFile::open(const QString& destination) {
    const QFileInfo info(destination);
    destination_ = QFile::encodeName(info.absoluteFilePath());
    // Short enough that the random part always fits in a file name.
    hiddenPrefix_ = QFile::encodeName(info.absolutePath()) + "/." +
                    QFile::encodeName(info.fileName()).left(200) + '.';

    struct stat existing {};
    const bool exists = ::lstat(destination_.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return failWith(EISDIR);
    // An existing file that is not ours to write is not ours to replace either.
    if (exists && S_ISREG(existing.st_mode) && ::access(destination_.constData(), W_OK) != 0)
        return failWith(errno);

    // Naming an unnamed file later goes through /proc.
    bool unnamedFiles = ::access("/proc/self/fd", X_OK) == 0;
    if (unnamedFiles) {
        const QByteArray folder = QFile::encodeName(info.absolutePath());
        fd_ = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return failWith(errno); // the folder itself is the problem
        unnamedFiles = fd_ >= 0;
    }
    if (!unnamedFiles && !createNamed(exists ? 0600 : 0666))
        return false;
    // The download takes the place of the earlier file, with its permissions.
    if (exists && S_ISREG(existing.st_mode))
        (void)::fchmod(fd_, existing.st_mode & 07777);
    return true;
}

bool DownloadFile::commit() {
    if (namedPath_.isEmpty()) {
        if (linkUnnamed(destination_)) {
            discard(); // only closes: the file has its final name
            return true;
        }
        if (errno != EEXIST)
            return failWith(errno);
        for (int attempt = 0; namedPath_.isEmpty(); ++attempt) {
            const QByteArray candidate = randomSibling();
            if (linkUnnamed(candidate))
                namedPath_ = candidate;
            else if (errno != EEXIST || attempt == 100)
                return failWith(errno);
        }
    }
    if (::rename(namedPath_.constData(), destination_.constData()) != 0)
        return failWith(errno);
    namedPath_.clear();
    discard();
    return true;
}

void DownloadFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!namedPath_.isEmpty()) {
        ::unlink(namedPath_.constData());
        namedPath_.clear();
    }
}

QByteArray DownloadFile::randomSibling() const {
    return hiddenPrefix_ +
           QByteArray::number(QRandomGenerator::system()->generate64(), 16)
               .rightJustified(16, '0') +
           ".part";
}

bool DownloadFile::createNamed(mode_t mode) {
    for (int attempt = 0; attempt <= 100; ++attempt) {
        const QByteArray candidate = randomSibling();
        fd_ = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     mode);
        if (fd_ >= 0) {
            namedPath_ = candidate;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    return failWith(errno);
}

bool DownloadFile::linkUnnamed(const QByteArray& path) const {
    // linkat never follows a link at the new name: an existing one gives EEXIST.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0;
}

namespace {

bool isEncodedArchiveType(const QString& type) {
    return type == u"application/macbinary" || type == u"application/binhex" ||
           type == u"application/gzip";
}

QString filenameFromContentDisposition(const QByteArray& header) {
    static const QRegularExpression quoted(QStringLiteral("filename\\s*=\\s*\"([^\"]*)\""),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bare(QStringLiteral("filename\\s*=\\s*([^;\\s]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(header);
    auto match = quoted.match(text);
    if (!match.hasMatch())
        match = bare.match(text);
    // Only the last path component: a server must not pick our directory.
    return match.hasMatch() ? QFileInfo(match.captured(1)).fileName() : QString();
}

QString suggestedFilenameFor(const HttpResponseHead& head, const QString& MIMEType) {
    QString name = filenameFromContentDisposition(head.field("Content-Disposition"));
    if (name.isEmpty())
        name = head.URL.fileName();
    if (name.isEmpty())
        name = head.URL.host();
    if (name.isEmpty())
        name = QStringLiteral("download");
    if (!name.contains(u'.') && !MIMEType.isEmpty()) {
        const QString suffix = QMimeDatabase().mimeTypeForName(MIMEType).preferredSuffix();
        if (!suffix.isEmpty())
            name += u'.' + suffix;
    }
    return name;
}

// The body's announced length, or -1. A chunked body's length is unknown
// whatever else the head says.
std::int64_t contentLengthOf(const HttpResponseHead& head) {
    if (head.field("Transfer-Encoding").toLower().contains("chunked"))
        return -1;
    bool valid = false;
    const std::int64_t length = head.field("Content-Length").toLongLong(&valid);
    return valid && length >= 0 ? length : -1;
}

DownloadResponse responseOf(const HttpResponseHead& head) {
    DownloadResponse response;
    response.URL = head.URL;
    response.HTTPStatus = head.status;
    response.expectedContentLength = contentLengthOf(head);
    const QString contentType = QString::fromLatin1(head.field("Content-Type"));
    response.MIMEType = contentType.section(u';', 0, 0).trimmed();
    response.suggestedFilename = suggestedFilenameFor(head, response.MIMEType);
    return response;
}

// "name.flv" -> "name-1.flv", "name-2.flv", ... whichever is free first.
QString unusedPath(const QString& path) {
    // A link, even a dangling one, is something that is there.
    const auto taken = [](const QString& candidate) {
        return QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink();
    };
    if (!taken(path))
        return path;
    const QFileInfo info(path);
    const QString suffix = info.completeSuffix();
    const QString stem = suffix.isEmpty() ? info.fileName() : info.baseName();
    for (int number = 1;; ++number) {
        QString name = stem + u'-' + QString::number(number);
        if (!suffix.isEmpty())
            name += u'.' + suffix;
        const QString candidate = info.dir().filePath(name);
        if (!taken(candidate))
            return candidate;
    }
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
              [this](const HttpTransferOutcome& outcome) { transferFinished(outcome); }},
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
            fail(QStringLiteral("The server redirected the download too many times."), target);
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
        fail(QStringLiteral("No file was chosen to save the download in."));
        return false;
    }
    const QString path = allowOverwrite_ ? destinationPath_ : unusedPath(destinationPath_);
    const QFileInfo pathInfo(path);

    if (response.expectedContentLength > 0) {
        const QStorageInfo storage(pathInfo.absolutePath());
        if (storage.isValid() && storage.isReady() &&
            response.expectedContentLength > storage.bytesAvailable()) {
            const QLocale locale;
            fail(QStringLiteral("The file is %1, but the disk that holds %2 has only %3 free.")
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
        fail(QStringLiteral("The file %1 could not be created: %2.").arg(path, reason));
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
        fail(QStringLiteral("The file %1 could not be written: %2.")
                 .arg(createdPath_, outcome.detail));
        return;
    case HttpTransferOutcome::Kind::NetworkFailed:
        fail(describeNetworkError(outcome.networkError, currentURL_, outcome.detail,
                                  QStringLiteral("the whole file")));
        return;
    case HttpTransferOutcome::Kind::Completed:
        break;
    }
    if (file_ == nullptr) {
        fail(QStringLiteral("The server sent no file."));
        return;
    }
    if (expectedContentLength_ >= 0 && bytesReceived_ != expectedContentLength_) {
        fail(QStringLiteral("The connection was closed before the whole file arrived."));
        return;
    }
    if (!file_->commit()) {
        const QString reason = file_->errorString();
        discardFile();
        fail(QStringLiteral("The file %1 could not be saved: %2.").arg(createdPath_, reason));
        return;
    }
    file_.reset();
    finish();
}

void Download::stalled() {
    if (!running())
        return;
    fail(QStringLiteral("No data arrived for %1, so the transfer was given up.")
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
