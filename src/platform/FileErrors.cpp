#include "platform/FileErrors.h"

#include "core/FileErrorText.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace reelhound {

bool isSyncUnsupported(int error) {
    return error == EINVAL || error == EROFS || error == ENOTSUP || error == EOPNOTSUPP;
}

bool syncFile(int fd, SyncScope scope) {
    const int result = scope == SyncScope::Data ? ::fdatasync(fd) : ::fsync(fd);
    return result == 0 || isSyncUnsupported(errno);
}

QString describeFileError(int code) {
    if (const char* text = fileErrorText(code))
        return QCoreApplication::translate("FileError", text);
    return QString::fromLocal8Bit(std::strerror(code)) + u'.';
}

} // namespace reelhound
