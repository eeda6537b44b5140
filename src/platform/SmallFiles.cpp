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

bool writeAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t count = ::write(fd, data, length);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = EIO; // nothing taken, and no reason given
            return false;
        }
        data += count;
        length -= static_cast<std::size_t>(count);
    }
    return true;
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
