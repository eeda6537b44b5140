#pragma once

#include <QString>

// The one rule for syncs, and the one way a file error is put to the person.
namespace reelhound {

// Whether a failed fsync/fdatasync only says that the file system cannot sync
// at all (a pipe, some network and special file systems): no reason to fail,
// since nothing better can be had there.
bool isSyncUnsupported(int error);

// Syncs fd's data (with its metadata when `withMetadata`); true when it is on
// the disk or the file system cannot sync. errno says why on false.
enum class SyncScope { Data, DataAndMetadata };
bool syncFile(int fd, SyncScope scope = SyncScope::Data);

// A sentence for the person on why a file could not be used: plain words for
// a full disk, a used-up quota, a read-only disk or a refused permission, the
// system's own otherwise; translated.
QString describeFileError(int code);

} // namespace reelhound
