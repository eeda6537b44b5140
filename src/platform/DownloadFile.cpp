#include "platform/DownloadFile.h"

#include "platform/FileErrors.h"

#include "platform/PartialData.h"
#include "platform/PartialDataClaim.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelhound {

bool DownloadFile::failWith(int code) {
    error_ = describeFileError(code);
    return false;
}

bool DownloadFile::checkDestination(const QString& destination) {
    const QFileInfo info(destination);
    destination_ = QFile::encodeName(info.absoluteFilePath());
    // Short enough that the random part always fits in a file name.
    hiddenPrefix_ = QFile::encodeName(info.absolutePath()) + "/." +
                    QFile::encodeName(info.fileName()).left(200) + '.';

    struct stat existing {};
    destinationExisted_ = ::lstat(destination_.constData(), &existing) == 0;
    destinationMode_ = existing.st_mode;
    if (destinationExisted_ && S_ISDIR(existing.st_mode))
        return failWith(EISDIR);
    // An existing file that is not ours to write is not ours to replace either.
    if (destinationExisted_ && S_ISREG(existing.st_mode) &&
        ::access(destination_.constData(), W_OK) != 0)
        return failWith(errno);
    return true;
}

// The download takes the place of the earlier file, with its permissions.
void DownloadFile::takeModeOfDestination() {
    if (destinationExisted_ && S_ISREG(destinationMode_))
        (void)::fchmod(fd_.get(), destinationMode_ & 07777);
}

bool DownloadFile::open(const QString& destination) {
    if (!checkDestination(destination))
        return false;
    // Naming an unnamed file later goes through /proc.
    bool unnamedFiles = ::access("/proc/self/fd", X_OK) == 0;
    if (unnamedFiles) {
        const QByteArray folder = QFile::encodeName(QFileInfo(destination).absolutePath());
        fd_.reset(::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (!fd_ && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return failWith(errno); // the folder itself is the problem
        unnamedFiles = fd_.isOpen();
    }
    if (!unnamedFiles && !createNamed(destinationExisted_ ? 0600 : 0666))
        return false;
    takeModeOfDestination();
    return true;
}

bool DownloadFile::usePartial(const PartialDataClaim& claim) {
    if (!checkDestination(claim.destination()))
        return false;
    // A descriptor of its own on the claimed file: closing it keeps the lock.
    fd_.reset(::fcntl(claim.descriptor(), F_DUPFD_CLOEXEC, 0));
    if (!fd_)
        return failWith(errno);
    namedPath_ = QFile::encodeName(partialDataPath(claim.destination()));
    partial_ = true;
    // A file of its own would have been made with the usual permissions; the
    // download takes those of an earlier file at the destination.
    if (destinationExisted_)
        takeModeOfDestination();
    return true;
}

bool DownloadFile::openPartial(const PartialDataClaim& claim) {
    return usePartial(claim) && truncate(0);
}

bool DownloadFile::continuePartial(const PartialDataClaim& claim, std::int64_t length) {
    if (!usePartial(claim))
        return false;
    // Shorter than when it was looked at: extending it would make up bytes.
    struct stat data {};
    if (::fstat(fd_.get(), &data) != 0 || data.st_size < length)
        return failWith(ENODATA);
    return truncate(length);
}

bool DownloadFile::sync() {
    return fd_ && syncFile(fd_.get());
}

void DownloadFile::keep() {
    discard(); // a partial file is left where it is
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

bool DownloadFile::truncate(std::int64_t length) {
    if (::ftruncate(fd_.get(), length) != 0 || ::lseek(fd_.get(), length, SEEK_SET) != length)
        return failWith(errno);
    return true;
}

void DownloadFile::discard() {
    fd_.reset();
    if (!namedPath_.isEmpty() && !partial_)
        ::unlink(namedPath_.constData());
    namedPath_.clear();
    partial_ = false;
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
        fd_.reset(::open(candidate.constData(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd_) {
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
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_.get());
    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0;
}

} // namespace reelhound
