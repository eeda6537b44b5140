#include "platform/Download.h"

#include "platform/NetworkAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStorageInfo>

#include <cerrno>
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
    bool write(const char* data, qint64 length);
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

bool DownloadFile::write(const char* data, qint64 length) {
    while (length > 0) {
        const ssize_t written = ::write(fd_, data, static_cast<std::size_t>(length));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return failWith(errno);
        }
        data += written;
        length -= written;
    }
    return true;
}

bool DownloadFile::commit() {
    // A full disk or a lost server can show only now; a file system that
    // cannot sync at all is no reason to fail.
    if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
        return failWith(errno);
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

// Bounds what Qt keeps in memory for one transfer; anything beyond waits in
// the socket until we have written the previous chunk to disk.
constexpr qint64 kReadBufferSize = 1024 * 1024;
// The network hands data over in pieces of a few KiB, each a turn of the event
// loop. Taking it in batches of up to this size, or after this delay at the
// latest, keeps the per-chunk work (the progress display) from costing more
// than the transfer itself, while a slow server is still reported promptly.
constexpr qint64 kBatchBytes = 256 * 1024;
constexpr std::chrono::milliseconds kBatchDelay(30);

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

QString suggestedFilenameFor(const QNetworkReply& reply, const QString& MIMEType) {
    QString name = filenameFromContentDisposition(reply.rawHeader("Content-Disposition"));
    if (name.isEmpty())
        name = reply.url().fileName();
    if (name.isEmpty())
        name = reply.url().host();
    if (name.isEmpty())
        name = QStringLiteral("download");
    if (!name.contains(u'.') && !MIMEType.isEmpty()) {
        const QString suffix = QMimeDatabase().mimeTypeForName(MIMEType).preferredSuffix();
        if (!suffix.isEmpty())
            name += u'.' + suffix;
    }
    return name;
}

DownloadResponse responseOf(const QNetworkReply& reply) {
    DownloadResponse response;
    response.URL = reply.url();
    response.HTTPStatus = httpStatusOf(reply);
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    response.expectedContentLength = length.isValid() ? length.toLongLong() : -1;
    const QString contentType = reply.header(QNetworkRequest::ContentTypeHeader).toString();
    response.MIMEType = contentType.section(u';', 0, 0).trimmed();
    response.suggestedFilename = suggestedFilenameFor(reply, response.MIMEType);
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

QString formatSeconds(std::chrono::milliseconds duration) {
    const double seconds = static_cast<double>(duration.count()) / 1000.0;
    return QStringLiteral("%1 %2").arg(QString::number(seconds, 'g', 4),
                                       seconds == 1.0 ? u"second" : u"seconds");
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
    batchTimer_.setSingleShot(true);
    batchTimer_.setInterval(kBatchDelay);
    connect(&batchTimer_, &QTimer::timeout, this, &Download::drainBody);
    QTimer::singleShot(0, this, &Download::begin);
}

Download::~Download() {
    discardReply();
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
    QNetworkRequest request(url);
    // Every hop is looked at here, so that only web addresses are followed and
    // each answer reaches the delegate.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    // Otherwise Qt asks for compression and then loses the body's length.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);

    replyResponseSeen_ = false;
    reply_ = sharedNetworkAccessManager().get(request);
    reply_->setReadBufferSize(kReadBufferSize);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &Download::responseArrived);
    connect(reply_, &QNetworkReply::readyRead, this, &Download::readBody);
    connect(reply_, &QNetworkReply::finished, this, &Download::replyFinished);
    stallTimer_.start(options_.stallTimeout);
}

void Download::responseArrived() {
    if (!running() || reply_ == nullptr || replyResponseSeen_)
        return;
    // Without a status the server has not answered yet.
    if (httpStatusOf(*reply_) == 0)
        return;
    replyResponseSeen_ = true;
    stallTimer_.start(options_.stallTimeout);

    const DownloadResponse response = responseOf(*reply_);
    const QString reason = reasonPhraseOf(*reply_);
    bytesReceived_ = 0;
    expectedContentLength_ = response.expectedContentLength;

    const QByteArray location = reply_->rawHeader("Location");
    if (isRedirectStatus(response.HTTPStatus) && !location.isEmpty()) {
        delegate_->downloadDidReceiveResponse(*this, response);
        if (!running())
            return;
        const QUrl target = currentURL_.resolved(QUrl::fromEncoded(location));
        discardReply();
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
        letReplyRunOut();
        fail(describeHttpStatus(response.HTTPStatus, reason));
        return;
    }
    if (file_ == nullptr && !prepareDestination(response))
        return;
    readBody();
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

void Download::readBody() {
    if (!running() || reply_ == nullptr)
        return;
    if (!replyResponseSeen_) {
        responseArrived(); // reads the body itself once the response is handled
        return;
    }
    if (file_ == nullptr)
        return;
    if (!reply_->isFinished() && reply_->bytesAvailable() < kBatchBytes) {
        if (!batchTimer_.isActive())
            batchTimer_.start();
        return;
    }
    drainBody();
}

void Download::drainBody() {
    batchTimer_.stop();
    if (!running() || reply_ == nullptr || file_ == nullptr)
        return;
    if (buffer_.empty())
        buffer_.resize(static_cast<std::size_t>(kReadBufferSize));
    while (running() && reply_ != nullptr && reply_->bytesAvailable() > 0) {
        const qint64 length = reply_->read(buffer_.data(), kReadBufferSize);
        if (length <= 0)
            break;
        if (!file_->write(buffer_.data(), length)) {
            fail(QStringLiteral("The file %1 could not be written: %2.")
                     .arg(createdPath_, file_->errorString()));
            return;
        }
        bytesReceived_ += length;
        stallTimer_.start(options_.stallTimeout);
        delegate_->downloadDidReceiveDataOfLength(*this, static_cast<std::uint32_t>(length));
    }
}

void Download::replyFinished() {
    if (!running() || reply_ == nullptr)
        return;
    QNetworkReply* const reply = reply_;
    if (reply->error() == QNetworkReply::NoError && !replyResponseSeen_)
        responseArrived();
    if (reply_ != reply) // redirected, failed or cancelled meanwhile
        return;
    readBody();
    if (!running())
        return;

    if (reply->error() != QNetworkReply::NoError) {
        const int status = httpStatusOf(*reply);
        if (status >= 400)
            fail(describeHttpStatus(status, reasonPhraseOf(*reply)));
        else
            fail(describeNetworkError(reply->error(), currentURL_, reply->errorString(),
                                      QStringLiteral("the whole file")));
        return;
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
             .arg(formatSeconds(options_.stallTimeout)));
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
    batchTimer_.stop();
    discardReply();
    discardFile();
    deleteLater();
}

void Download::discardReply() {
    if (reply_ == nullptr)
        return;
    QNetworkReply* const reply = reply_;
    reply_ = nullptr;
    batchTimer_.stop();
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

void Download::letReplyRunOut() {
    // Qt reports an error status once the error page has arrived, and warns
    // when the reply was aborted before that. Error pages are short: read and
    // drop the rest, and abort only one that takes too long.
    QNetworkReply* const reply = reply_;
    reply_ = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    connect(reply, &QNetworkReply::readyRead, reply,
            [reply] { reply->skip(reply->bytesAvailable()); });
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    QTimer::singleShot(5000, reply, [reply] { reply->abort(); });
    reply->skip(reply->bytesAvailable());
}

void Download::discardFile() {
    if (file_ == nullptr)
        return;
    file_.reset(); // removes the temporary file
}

} // namespace reelhound
