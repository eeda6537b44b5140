#include "platform/PartialData.h"

#include "platform/PartialDataClaim.h"
#include "platform/SmallFiles.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelhound {
namespace {

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

QString hiddenSibling(const QString& destination, const QString& suffix) {
    const QFileInfo info(destination);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + suffix;
}

// Unlinks a link, or anything of ours but a folder; unlink never follows a link.
void removeOwnedOrLink(const QString& path) {
    const QByteArray name = encoded(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0)
        return;
    if (S_ISLNK(info.st_mode) || (!S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()))
        ::unlink(name.constData());
}

} // namespace

QString partialDataPath(const QString& destination) {
    return hiddenSibling(destination, QStringLiteral(".part"));
}

QString partialRecordPath(const QString& destination) {
    return hiddenSibling(destination, QStringLiteral(".part.record"));
}

std::string currentBootId() {
    // The same for the whole life of the process: read once.
    static const std::string id = [] {
        QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
        if (!file.open(QIODevice::ReadOnly))
            return std::string();
        return file.readLine(64).trimmed().toStdString();
    }();
    return id;
}

FileDescriptor openOwnedRegularFile(const QString& path) {
    FileDescriptor fd(
        ::open(encoded(path).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!fd)
        return fd;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
        info.st_nlink != 1) {
        fd.reset();
        errno = EPERM;
        return fd;
    }
    // Opened without waiting (a planted FIFO must not hold us); writes block as usual.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::optional<PartialRecord> readPartialRecord(const QString& destination) {
    const FileDescriptor fd = openOwnedRegularFile(partialRecordPath(destination));
    if (!fd)
        return std::nullopt;
    const std::optional<QByteArray> text =
        readSmallFile(fd.get(), static_cast<qsizetype>(kMaximumPartialRecordSize));
    if (!text)
        return std::nullopt;
    return parsePartialRecord(std::string_view(text->constData(), text->size()));
}

bool writePartialRecord(const QString& destination, const PartialRecord& record,
                        Durability durability) {
    return replaceSmallFile(encoded(partialRecordPath(destination)),
                            QByteArray::fromStdString(formatPartialRecord(record)), durability);
}

void removePartialRecord(const QString& destination) {
    removeOwnedOrLink(partialRecordPath(destination));
}

void PartialDataIndex::add(const QString& destination) {
    index_.add(destination, [](const QString& listed) {
        struct stat info {};
        return ::lstat(encoded(partialDataPath(listed)).constData(), &info) == 0;
    });
}

namespace {

enum class Expiry { Kept, Removed, Dropped };

// What becomes of one listed destination's kept data.
Expiry expire(const QString& destination, std::chrono::system_clock::time_point now,
              std::chrono::hours lifetime) {
    PartialDataClaim::Result found =
        PartialDataClaim::take(destination, PartialDataClaim::Creation::OnlyExisting);
    switch (found.outcome) {
    case PartialDataClaim::Outcome::Busy: // a transfer runs: it is not abandoned
        return Expiry::Kept;
    case PartialDataClaim::Outcome::Missing:
        // Finished, cancelled or cleared by hand; a record of ours left
        // alone is worth nothing.
        if (readPartialRecord(destination))
            removePartialRecord(destination);
        return Expiry::Dropped;
    case PartialDataClaim::Outcome::NotOurs:
    case PartialDataClaim::Outcome::Failed:
        return Expiry::Dropped; // not ours to judge
    case PartialDataClaim::Outcome::Claimed:
        break;
    }
    PartialDataClaim& claim = *found.claim;
    struct stat data {};
    if (!claim.record() || ::fstat(claim.descriptor(), &data) != 0)
        return Expiry::Dropped; // an empty file of ours goes with the claim
    const auto written =
        std::chrono::system_clock::time_point(std::chrono::seconds(data.st_mtim.tv_sec));
    if (now - written <= lifetime)
        return Expiry::Kept;
    claim.remove();
    return Expiry::Removed;
}

} // namespace

QStringList PartialDataIndex::removeExpired(std::chrono::system_clock::time_point now,
                                            std::chrono::hours lifetime) {
    QStringList cleared;
    index_.update([&](QStringList& entries) {
        QStringList kept;
        for (const QString& destination : entries) {
            switch (expire(destination, now, lifetime)) {
            case Expiry::Kept:
                kept.append(destination);
                break;
            case Expiry::Removed:
                cleared.append(destination);
                break;
            case Expiry::Dropped:
                break;
            }
        }
        entries = kept;
    });
    return cleared;
}

} // namespace reelhound
