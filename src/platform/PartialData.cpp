#include "platform/PartialData.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelhound {
namespace {

// The most destinations remembered; the oldest are forgotten first.
constexpr qsizetype kMaximumIndexEntries = 64;

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

QString hiddenSibling(const QString& destination, const QString& suffix) {
    const QFileInfo info(destination);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + suffix;
}

// Reads at most limit bytes; nothing when there is more.
std::optional<QByteArray> readSmallFile(int fd, qsizetype limit) {
    QByteArray bytes;
    char buffer[1024];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            return bytes;
        bytes.append(buffer, count);
        if (bytes.size() > limit)
            return std::nullopt;
    }
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.constData() + done,
                                      static_cast<size_t>(bytes.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += count;
    }
    return true;
}

// Writes bytes under a fresh random name beside target and renames it over
// target: readers see the old or the new text, never a mix, and a link
// planted at target is replaced, never followed.
bool replaceSmallFile(const QByteArray& target, const QByteArray& bytes) {
    const QByteArray temporary =
        target + '.' + QByteArray::number(QRandomGenerator::system()->generate64(), 16);
    const int fd = ::open(temporary.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes) && ::fdatasync(fd) == 0;
    ::close(fd);
    if (!written || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
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

int openOwnedRegularFile(const QString& path) {
    const int fd = ::open(encoded(path).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
        info.st_nlink != 1) {
        ::close(fd);
        errno = EPERM;
        return -1;
    }
    // Opened without waiting (a planted FIFO must not hold us); writes block as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::optional<PartialRecord> readPartialRecord(const QString& destination) {
    const int fd = openOwnedRegularFile(partialRecordPath(destination));
    if (fd < 0)
        return std::nullopt;
    const std::optional<QByteArray> text = readSmallFile(fd, kMaximumPartialRecordSize);
    ::close(fd);
    if (!text)
        return std::nullopt;
    return parsePartialRecord(std::string_view(text->constData(), text->size()));
}

bool writePartialRecord(const QString& destination, const PartialRecord& record) {
    return replaceSmallFile(encoded(partialRecordPath(destination)),
                            QByteArray::fromStdString(formatPartialRecord(record)));
}

void removePartialData(const QString& destination) {
    removeOwnedOrLink(partialDataPath(destination));
    removeOwnedOrLink(partialRecordPath(destination));
}

void PartialDataIndex::add(const QString& destination) {
    QStringList entries = destinations();
    entries.removeAll(destination);
    entries.append(destination);
    while (entries.size() > kMaximumIndexEntries)
        entries.removeFirst();
    store(entries);
}

QStringList PartialDataIndex::removeExpired(std::chrono::system_clock::time_point now,
                                            std::chrono::hours lifetime) {
    const QStringList entries = destinations();
    QStringList kept;
    QStringList cleared;
    for (const QString& destination : entries) {
        struct stat data {};
        const bool hasData = ::lstat(encoded(partialDataPath(destination)).constData(), &data) == 0;
        struct stat record {};
        const bool hasRecord =
            ::lstat(encoded(partialRecordPath(destination)).constData(), &record) == 0;
        if (!hasData && !hasRecord)
            continue; // finished, cancelled or cleared by hand
        const auto written = std::chrono::system_clock::time_point(
            std::chrono::seconds((hasData ? data : record).st_mtim.tv_sec));
        if (now - written > lifetime) {
            removePartialData(destination);
            cleared.append(destination);
        } else {
            kept.append(destination);
        }
    }
    if (kept != entries)
        store(kept);
    return cleared;
}

QStringList PartialDataIndex::destinations() const {
    const int fd = ::open(encoded(path_).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {};
    const std::optional<QByteArray> text = readSmallFile(fd, 1024 * 1024);
    ::close(fd);
    if (!text)
        return {};
    QStringList entries;
    for (const QByteArray& line : text->split('\n'))
        if (!line.isEmpty() && line.startsWith('/'))
            entries.append(QFile::decodeName(line));
    return entries;
}

void PartialDataIndex::store(const QStringList& destinations) const {
    QByteArray text;
    for (const QString& destination : destinations)
        if (!destination.contains(QLatin1Char('\n')))
            text += encoded(destination) + '\n';
    ::mkdir(encoded(QFileInfo(path_).absolutePath()).constData(), 0700);
    replaceSmallFile(encoded(path_), text);
}

} // namespace reelhound
