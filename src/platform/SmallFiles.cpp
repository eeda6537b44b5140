#include "platform/SmallFiles.h"

#include "platform/FileDescriptor.h"
#include "platform/FileErrors.h"

#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace reelhound {

std::optional<QByteArray> readFileHead(int fd, qsizetype limit) {
    QByteArray bytes;
    char buffer[64 * 1024];
    while (bytes.size() < limit) {
        const auto wanted = static_cast<size_t>(
            std::min<qsizetype>(static_cast<qsizetype>(sizeof buffer), limit - bytes.size()));
        const ssize_t count = ::read(fd, buffer, wanted);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break;
        bytes.append(buffer, count);
    }
    return bytes;
}

std::optional<QByteArray> readSmallFile(int fd, qsizetype limit) {
    std::optional<QByteArray> bytes = readFileHead(fd, limit + 1);
    if (bytes && bytes->size() > limit)
        return std::nullopt;
    return bytes;
}

namespace {

// Goes on after interruptions and short writes; writeOnce(data, length, done)
// is one write(2) of what is left after the first `done` bytes.
template <typename WriteOnce>
bool writeAllWith(const char* data, std::size_t length, WriteOnce writeOnce) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t count = writeOnce(data + done, length - done, done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = EIO; // nothing taken, and no reason given
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

} // namespace

bool writeAll(int fd, const char* data, std::size_t length) {
    return writeAllWith(data, length, [fd](const char* rest, std::size_t size, std::size_t) {
        return ::write(fd, rest, size);
    });
}

bool writeAllAt(int fd, const char* data, std::size_t length, std::int64_t offset) {
    return writeAllWith(
        data, length, [fd, offset](const char* rest, std::size_t size, std::size_t done) {
            return ::pwrite(fd, rest, size, static_cast<off_t>(offset) + static_cast<off_t>(done));
        });
}

bool replaceSmallFile(const QByteArray& target, const QByteArray& bytes, Durability durability) {
    const QByteArray temporary =
        target + '.' + QByteArray::number(QRandomGenerator::system()->generate64(), 16);
    FileDescriptor fd(
        ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd)
        return false;
    const bool written =
        writeAll(fd.get(), bytes) && (durability == Durability::MayBeLost || syncFile(fd.get()));
    fd.reset();
    if (!written || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

} // namespace reelhound
