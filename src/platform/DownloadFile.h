#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

#include <sys/types.h>

namespace reelhound {

class PartialDataClaim;

// The bytes of one download on their way to the destination.
//
// They go to an unnamed file (O_TMPFILE) in the destination's folder: nobody
// can open, predict or replace it, and it vanishes with this process should it
// die. commit() links it under the destination's name when that is free, or
// otherwise under a random name created exclusively beside it, renamed over
// the destination. Unlike QSaveFile, a symbolic link at the destination is
// never followed: the rename replaces the link itself, so a link planted there
// cannot send the bytes elsewhere. Where the file system has no unnamed files,
// the file gets its random name from the start.
//
// A download whose data is to outlive this process writes instead to the
// kept partial file beside the destination (PartialData.h), held through its
// claim, which commit() renames over the destination in the same way. Only
// the claim's holder removes that file: discard() leaves it.
class DownloadFile {
public:
    DownloadFile() = default;
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;
    ~DownloadFile() { discard(); }

    bool open(const QString& destination);
    // Starts the claimed partial file afresh.
    bool openPartial(const PartialDataClaim& claim);
    // Goes on with the claimed partial file after its first `length` bytes.
    bool continuePartial(const PartialDataClaim& claim, std::int64_t length);
    bool isPartial() const { return partial_; }
    // The bytes written so far are on the disk when this returns true.
    bool sync();
    // Closes a partial file and leaves it where it is, for a later run
    // (sync() it first for its bytes to survive a power cut).
    void keep();
    // Where the bytes are written; it stays open until commit() or discard().
    int descriptor() const { return fd_.get(); }
    // Keeps only the first `length` bytes and writes on after them.
    bool truncate(std::int64_t length);
    // Gives the file its place. The bytes must have been synced already.
    bool commit();
    // Throws away what was written (a partial file is left to its claim's
    // holder); the destination stays as it was.
    void discard();
    QString errorString() const { return error_; }

private:
    bool checkDestination(const QString& destination);
    void takeModeOfDestination();
    bool failWith(int code);
    QByteArray randomSibling() const;
    bool createNamed(mode_t mode);
    bool usePartial(const PartialDataClaim& claim);
    bool linkUnnamed(const QByteArray& path) const;

    QByteArray destination_;
    QByteArray hiddenPrefix_; // "<folder>/.<name>."
    QByteArray namedPath_;    // empty while the file has no name
    FileDescriptor fd_;
    bool partial_ = false;
    bool destinationExisted_ = false;
    mode_t destinationMode_ = 0;
    QString error_;
};

} // namespace reelhound
