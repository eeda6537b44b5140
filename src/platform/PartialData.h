#pragma once

#include "core/PartialRecord.h"
#include "platform/FileDescriptor.h"
#include "platform/PathIndex.h"
#include "platform/SmallFiles.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <string>

// The partial data of a download kept in the destination's folder between
// runs: "<folder>/.<name>.part" with the bytes and "<folder>/.<name>.part.record"
// saying what they are. Both names are predictable, so neither is trusted:
// each is opened without following a link, must be a regular file of this
// user with no other name, and is believed no further than the checks on the
// server's answer.
namespace reelhound {

QString partialDataPath(const QString& destination);
QString partialRecordPath(const QString& destination);

// The identity of the running system since it started (empty if unknown):
// data written in the same run is there whether or not it was synced.
std::string currentBootId();

// Opens path for reading and writing without following a link; closed
// (errno set) unless it is a regular file of this user that has no other name.
FileDescriptor openOwnedRegularFile(const QString& path);

// The record kept for destination, if it is one.
std::optional<PartialRecord> readPartialRecord(const QString& destination);
// Replaces the record by rename, synced, so it is either old or new.
bool writePartialRecord(const QString& destination, const PartialRecord& record,
                        Durability durability = Durability::Synced);
// Removes the record. A link found in its place is removed itself; nothing
// it names is touched. Only the holder of the data's claim
// (PartialDataClaim.h) may call it.
void removePartialRecord(const QString& destination);

// The destinations that may have kept data, listed in a small file, so that
// data nobody came back for can be removed at start-up.
class PartialDataIndex {
public:
    explicit PartialDataIndex(QString path) : index_(std::move(path), kMaximumEntries) {}

    void add(const QString& destination);
    // Removes kept data not written to for longer than lifetime, where a
    // record of ours says that it is ours and no transfer holds it; forgets
    // destinations that hold no data of ours. Returns the destinations cleared.
    QStringList removeExpired(std::chrono::system_clock::time_point now,
                              std::chrono::hours lifetime = kPartialDataLifetime);
    QStringList destinations() const { return index_.paths(); }

    // The most destinations listed: far more than anyone keeps for two weeks.
    static constexpr qsizetype kMaximumEntries = 1000;

private:
    PathIndex index_;
};

} // namespace reelhound
