#include "platform/StagedOutput.h"

#include "platform/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelhound {
namespace {

bool syncPath(const QByteArray& path, int flags) {
    const FileDescriptor fd(::open(path.constData(), flags | O_CLOEXEC));
    return fd && syncFile(fd.get(), SyncScope::DataAndMetadata);
}

constexpr char kFolderPrefix[] = ".reelhound-";
constexpr char kMarkerName[] = "reelhound-conversion";

// Removes what a private folder holds (files only: nothing else is made
// there), then the folder.
void removeFolder(const QByteArray& folder) {
    if (DIR* dir = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
        ::closedir(dir);
    }
    ::rmdir(folder.constData());
}

// The marker is locked before it gets its name, so that no sweep finds it
// unheld while its folder is in use.
FileDescriptor placeLockedMarker(const QByteArray& folder) {
    const QByteArray fresh = folder + "/marker.new";
    FileDescriptor fd(
        ::open(fresh.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd && (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 ||
               ::rename(fresh.constData(), (folder + '/' + kMarkerName).constData()) != 0))
        fd.reset();
    return fd;
}

// Whether a folder of that name is a private folder of ours that nobody holds;
// if so, removes it.
bool removeIfAbandoned(const QByteArray& folder) {
    struct stat info {};
    if (::lstat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid())
        return false;
    const QByteArray marker = folder + '/' + kMarkerName;
    const FileDescriptor fd(
        ::open(marker.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!fd)
        return false; // not ours, or still being made
    struct stat held {};
    struct stat named {};
    const bool abandoned = ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 &&
                           ::fstat(fd.get(), &held) == 0 && S_ISREG(held.st_mode) &&
                           held.st_uid == ::geteuid() && ::lstat(marker.constData(), &named) == 0 &&
                           held.st_ino == named.st_ino && held.st_dev == named.st_dev;
    if (abandoned)
        removeFolder(folder); // before its lock is given up
    return abandoned;
}

} // namespace

int StagedOutput::removeAbandoned(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    QList<QByteArray> candidates;
    if (DIR* dir = ::opendir(path.constData())) {
        while (const dirent* entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name.startsWith(kFolderPrefix) && name.size() == sizeof kFolderPrefix - 1 + 6)
                candidates.append(path + '/' + name);
        }
        ::closedir(dir);
    }
    int held = 0;
    for (const QByteArray& candidate : candidates)
        if (!removeIfAbandoned(candidate))
            ++held;
    return held;
}

bool StagedOutput::prepare(const QString& finalPath) {
    discard();
    const QFileInfo info(finalPath);
    finalPath_ = QFile::encodeName(info.absoluteFilePath());
    QByteArray folder = QFile::encodeName(info.absolutePath()) + "/.reelhound-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr)
        return failWith(errno);
    folder_ = folder;
    marker_ = placeLockedMarker(folder_);
    if (!marker_) {
        const int error = errno;
        discard();
        return failWith(error);
    }
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
    removeFolder(folder_);
    marker_.reset(); // the folder is gone before its lock is given up
    folder_.clear();
    stagedPath_.clear();
}

bool StagedOutput::failWith(int code) {
    error_ = describeFileError(code);
    return false;
}

} // namespace reelhound
