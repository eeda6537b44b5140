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
    const int createFlag = creation == Creation::MakeEmpty ? O_CREAT : 0;
    for (int attempt = 0; attempt < kClaimAttempts; ++attempt) {
        std::optional<Result> ended;
        if (std::unique_ptr<PartialDataClaim> claim = tryToTake(destination, createFlag, ended))
            return {Outcome::Claimed, std::move(claim), 0};
        if (ended)
            return std::move(*ended);
    }
    return {Outcome::Failed, nullptr, EAGAIN};
}

std::unique_ptr<PartialDataClaim> PartialDataClaim::tryToTake(const QString& destination,
                                                              int createFlag,
                                                              std::optional<Result>& ended) {
    const QByteArray path = QFile::encodeName(partialDataPath(destination));
    // Opened without waiting: a planted pipe must not hold us.
    FileDescriptor fd(
        ::open(path.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | createFlag, 0666));
    if (!fd) {
        if (errno == ELOOP) // a link: nobody's data, and never followed
            ::unlink(path.constData());
        else if (errno == ENOENT && createFlag == 0)
            ended = Result{Outcome::Missing, nullptr, 0};
        else if (errno != ENOENT && errno != EINTR)
            ended = Result{Outcome::Failed, nullptr, errno};
        return nullptr;
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        ended = errno == EWOULDBLOCK ? Result{Outcome::Busy, nullptr, 0}
                                     : Result{Outcome::Failed, nullptr, errno};
        return nullptr;
    }
    std::unique_ptr<PartialDataClaim> claim(new PartialDataClaim(destination, std::move(fd)));
    // Removed or replaced between the open and the lock: look again.
    if (!claim->nameLeadsHere()) {
        claim->fd_.reset(); // given up without touching what is there now
        return nullptr;
    }
    struct stat info {};
    ::fstat(claim->descriptor(), &info);
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()) {
        ::unlink(path.constData()); // a pipe or device node of ours holds no data
        return nullptr;
    }
    if (!isOwnedRegularFile(info) || info.st_nlink != 1 ||
        (info.st_size > 0 && !recordFileIsThere(destination))) {
        claim->fd_.reset();
        ended = Result{Outcome::NotOurs, nullptr, 0};
        return nullptr;
    }
    ::fcntl(claim->descriptor(), F_SETFL, ::fcntl(claim->descriptor(), F_GETFL) & ~O_NONBLOCK);
    return claim;
}

PartialDataClaim::~PartialDataClaim() {
    if (fd_ && size() == 0 && nameLeadsHere())
        remove();
}

std::int64_t PartialDataClaim::size() const {
    struct stat info {};
    return ::fstat(fd_.get(), &info) == 0 ? info.st_size : 0;
}

std::optional<PartialRecord> PartialDataClaim::record() const {
    return readPartialRecord(destination_);
}

bool PartialDataClaim::clear() {
    removePartialRecord(destination_);
    return ::ftruncate(fd_.get(), 0) == 0 && ::lseek(fd_.get(), 0, SEEK_SET) == 0;
}

void PartialDataClaim::remove() {
    removePartialRecord(destination_);
    if (nameLeadsHere())
        ::unlink(QFile::encodeName(partialDataPath(destination_)).constData());
}

bool PartialDataClaim::nameLeadsHere() const {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd_.get(), &held) == 0 &&
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
