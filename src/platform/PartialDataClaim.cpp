#include "platform/PartialDataClaim.h"

#include "platform/PartialData.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelhound {
namespace {

// Another name may come and go between two looks; a few tries settle it.
constexpr int kClaimAttempts = 16;

bool isOwnedRegularFile(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

// A record file of ours beside the data, whole or not, says that the data is
// this application's too: nobody else writes that name.
bool recordFileIsThere(const QString& destination) {
    struct stat info {};
    return ::lstat(QFile::encodeName(partialRecordPath(destination)).constData(), &info) == 0 &&
           isOwnedRegularFile(info);
}

} // namespace

PartialDataClaim::Result PartialDataClaim::take(const QString& destination, Creation creation) {
    const QByteArray path = QFile::encodeName(partialDataPath(destination));
    const int createFlag = creation == Creation::MakeEmpty ? O_CREAT : 0;
    for (int attempt = 0; attempt < kClaimAttempts; ++attempt) {
        // Opened without waiting: a planted pipe must not hold us.
        const int fd = ::open(path.constData(),
                              O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | createFlag, 0666);
        if (fd < 0) {
            if (errno == ELOOP) { // a link: nobody's data, and never followed
                ::unlink(path.constData());
                continue;
            }
            if (errno == ENOENT && createFlag == 0)
                return {Outcome::Missing, nullptr, 0};
            if (errno == ENOENT || errno == EINTR)
                continue;
            return {Outcome::Failed, nullptr, errno};
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return {Outcome::Busy, nullptr, 0};
            return {Outcome::Failed, nullptr, error};
        }
        std::unique_ptr<PartialDataClaim> claim(new PartialDataClaim(destination, fd));
        // Removed or replaced between the open and the lock: look again.
        if (!claim->nameLeadsHere()) {
            claim->fd_ = -1;
            ::close(fd);
            continue;
        }
        struct stat info {};
        ::fstat(fd, &info);
        if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()) {
            ::unlink(path.constData()); // a pipe or device node of ours holds no data
            continue;
        }
        if (!isOwnedRegularFile(info) || info.st_nlink != 1 ||
            (info.st_size > 0 && !recordFileIsThere(destination))) {
            claim->fd_ = -1;
            ::close(fd);
            return {Outcome::NotOurs, nullptr, 0};
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return {Outcome::Claimed, std::move(claim), 0};
    }
    return {Outcome::Failed, nullptr, EAGAIN};
}

PartialDataClaim::~PartialDataClaim() {
    if (fd_ < 0)
        return;
    if (size() == 0 && nameLeadsHere())
        remove();
    ::close(fd_);
}

std::int64_t PartialDataClaim::size() const {
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? info.st_size : 0;
}

std::optional<PartialRecord> PartialDataClaim::record() const {
    return readPartialRecord(destination_);
}

bool PartialDataClaim::clear() {
    removePartialRecord(destination_);
    return ::ftruncate(fd_, 0) == 0 && ::lseek(fd_, 0, SEEK_SET) == 0;
}

void PartialDataClaim::remove() {
    removePartialRecord(destination_);
    if (nameLeadsHere())
        ::unlink(QFile::encodeName(partialDataPath(destination_)).constData());
}

bool PartialDataClaim::nameLeadsHere() const {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd_, &held) == 0 &&
           ::lstat(QFile::encodeName(partialDataPath(destination_)).constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

QString describeDestinationInUse(const QString& destination) {
    return QCoreApplication::translate(
               "PartialDataClaim",
               "Another Reelhound window is downloading to %1. Wait until it has finished, or "
               "choose another file.")
        .arg(destination);
}

} // namespace reelhound
