#pragma once

#include <QString>

namespace reelhound {

// Whether a path can take a downloaded file, found out before anything is
// fetched: a transfer that could only fail at its end must not start.
struct DestinationCheck {
    enum class Problem {
        None,
        NoPath,
        FolderMissing,     // the folder that would hold the file does not exist
        NotAFolder,        // it is a file or something else
        NotAPlaceForFiles, // a pseudo file system (/proc, /sys, ...)
        NameTooLong,
        PathTooLong,
        FolderNotWritable,
        IsAFolder,         // the path itself is a folder
        NotAnOrdinaryFile, // a device, a pipe, a socket
    };
    Problem problem = Problem::None;
    QString words; // what to tell the person; empty with Problem::None

    bool ok() const { return problem == Problem::None; }
};

DestinationCheck checkDownloadDestination(const QString& path);

// Whether anything is at the path, a dangling symbolic link included.
bool destinationExists(const QString& path);

} // namespace reelhound
