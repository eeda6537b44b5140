#include "platform/DestinationCheck.h"

#include "platform/FileErrors.h"

#include <QCoreApplication>

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <optional>

#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace reelhound {
namespace {

// File systems that show the kernel's state as files: writing there creates
// no file, or does something else entirely.
constexpr std::array<unsigned long, 17> kPseudoFileSystems = {
    PROC_SUPER_MAGIC,
    SYSFS_MAGIC,
    DEVPTS_SUPER_MAGIC,
    DEBUGFS_MAGIC,
    SECURITYFS_MAGIC,
    CGROUP_SUPER_MAGIC,
    CGROUP2_SUPER_MAGIC,
    TRACEFS_MAGIC,
    BPF_FS_MAGIC,
    PSTOREFS_MAGIC,
    EFIVARFS_MAGIC,
    SELINUX_MAGIC,
    SMACK_MAGIC,
    BINFMTFS_MAGIC,
    0x62656570 /* configfs */,
    0x65735543 /* fusectl */,
    0x19800202 /* mqueue */,
};

bool isPseudoFileSystem(const QByteArray& folder) {
    struct statfs info {};
    if (::statfs(folder.constData(), &info) != 0)
        return false;
    const auto type = static_cast<unsigned long>(info.f_type);
    return std::find(kPseudoFileSystems.begin(), kPseudoFileSystems.end(), type) !=
           kPseudoFileSystems.end();
}

DestinationCheck problem(DestinationCheck::Problem kind, QString words) {
    return DestinationCheck{kind, std::move(words)};
}

// What is wrong with the folder the file is to go in, if anything.
std::optional<DestinationCheck> checkFolder(const QString& folderPath, const QString& fileName) {
    using Problem = DestinationCheck::Problem;
    const QByteArray folder = QFile::encodeName(folderPath);
    struct stat folderInfo {};
    if (::stat(folder.constData(), &folderInfo) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return problem(
                Problem::FolderMissing,
                QCoreApplication::translate("DestinationCheck", "The folder %1 does not exist.")
                    .arg(folderPath));
        return problem(
            Problem::FolderNotWritable,
            QCoreApplication::translate("DestinationCheck", "The folder %1 cannot be used: %2")
                .arg(folderPath, describeFileError(errno)));
    }
    if (!S_ISDIR(folderInfo.st_mode))
        return problem(
            Problem::NotAFolder,
            QCoreApplication::translate("DestinationCheck", "%1 is not a folder.").arg(folderPath));
    if (isPseudoFileSystem(folder))
        return problem(
            Problem::NotAPlaceForFiles,
            QCoreApplication::translate("DestinationCheck", "%1 is not a place for files.")
                .arg(folderPath));

    long nameMax = ::pathconf(folder.constData(), _PC_NAME_MAX);
    if (nameMax <= 0)
        nameMax = NAME_MAX;
    if (QFile::encodeName(fileName).size() > nameMax)
        return problem(Problem::NameTooLong,
                       QCoreApplication::translate("DestinationCheck",
                                                   "The file name is too long: the disk that holds "
                                                   "%1 takes names of at most %2 bytes.")
                           .arg(folderPath)
                           .arg(nameMax));
    if (::access(folder.constData(), W_OK | X_OK) != 0)
        return problem(Problem::FolderNotWritable,
                       QCoreApplication::translate("DestinationCheck",
                                                   "The folder %1 cannot be written to: %2")
                           .arg(folderPath, describeFileError(errno)));
    return std::nullopt;
}

} // namespace

bool destinationExists(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

DestinationCheck checkDownloadDestination(const QString& path) {
    using Problem = DestinationCheck::Problem;
    if (path.isEmpty())
        return problem(Problem::NoPath,
                       QCoreApplication::translate("DestinationCheck",
                                                   "No file was chosen to save the download in."));
    const QFileInfo info(path);
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    if (file.size() >= PATH_MAX)
        return problem(Problem::PathTooLong,
                       QCoreApplication::translate(
                           "DestinationCheck", "The path of %1 is too long for the file system.")
                           .arg(info.fileName()));
    if (std::optional<DestinationCheck> folderProblem =
            checkFolder(info.absolutePath(), info.fileName()))
        return std::move(*folderProblem);

    struct stat existing {};
    if (::lstat(file.constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return problem(Problem::IsAFolder,
                           QCoreApplication::translate("DestinationCheck", "%1 is a folder.")
                               .arg(info.absoluteFilePath()));
        if (!S_ISREG(existing.st_mode) && !S_ISLNK(existing.st_mode))
            return problem(
                Problem::NotAnOrdinaryFile,
                QCoreApplication::translate("DestinationCheck", "%1 is not an ordinary file.")
                    .arg(info.absoluteFilePath()));
    }
    return {};
}

} // namespace reelhound
