#include "platform/StagedOutput.h"

#include "core/ConverterReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace reelhound {
namespace {

bool syncPath(const QByteArray& path, int flags) {
    const int fd = ::open(path.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A file system that cannot sync at all is no reason to fail.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
    const int syncError = errno;
    ::close(fd);
    errno = syncError;
    return synced;
}

} // namespace

bool StagedOutput::prepare(const QString& finalPath) {
    discard();
    const QFileInfo info(finalPath);
    finalPath_ = QFile::encodeName(info.absoluteFilePath());
    QByteArray folder = QFile::encodeName(info.absolutePath()) + "/.reelhound-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr)
        return failWith(errno);
    folder_ = folder;
    stagedPath_ = QFile::decodeName(folder_) + u'/' + info.fileName();
    return true;
}

bool StagedOutput::commit() {
    if (folder_.isEmpty())
        return failWith(ENOENT);
    const QByteArray staged = QFile::encodeName(stagedPath_);
    if (!syncPath(staged, O_RDONLY))
        return failWith(errno);
    if (::rename(staged.constData(), finalPath_.constData()) != 0)
        return failWith(errno);
    // The new name must reach the disk too, or a power cut could undo it.
    const qsizetype slash = finalPath_.lastIndexOf('/');
    syncPath(slash > 0 ? finalPath_.left(slash) : QByteArray("/"), O_RDONLY | O_DIRECTORY);
    discard();
    return true;
}

void StagedOutput::discard() {
    if (folder_.isEmpty())
        return;
    // Only the program's own files can be in there: the folder is ours alone.
    if (DIR* dir = ::opendir(folder_.constData())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
        ::closedir(dir);
    }
    ::rmdir(folder_.constData());
    folder_.clear();
    stagedPath_.clear();
}

bool StagedOutput::failWith(int code) {
    if (code == ENOSPC || code == EDQUOT)
        error_ = QString::fromLatin1(kDiskFullWords);
    else
        error_ = QString::fromLocal8Bit(std::strerror(code));
    return false;
}

} // namespace reelhound
