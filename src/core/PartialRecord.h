#pragma once

#include "core/ContentRange.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What is known about the partial data of a download kept for a later run:
// which video it is, which file the server had then, and how much of it is
// known to be on the disk. Kept as a few lines of text beside the data.
namespace reelhound {

struct PartialRecord {
    std::string key;             // the video the data belongs to
    FileIdentity file;           // length and validator of the first answer
    std::string bootId;          // the system run in which the data was written
    std::int64_t syncedBytes = 0; // this much was on the disk for certain

    bool operator==(const PartialRecord&) const = default;
};

std::string formatPartialRecord(const PartialRecord& record);

// Nothing for text that is not a whole record: a missing or repeated field, a
// value that is no number, a length of zero or less, an empty key or
// validator, or text longer than kMaximumPartialRecordSize.
std::optional<PartialRecord> parsePartialRecord(std::string_view text);

inline constexpr std::size_t kMaximumPartialRecordSize = 4096;

// How much of a kept file of fileBytes may be continued. Within the same
// system run everything written is there, whether or not it reached the
// disk; after a restart (a power cut) only what was synced is trusted. A file
// that holds the whole length gives back its last byte, so that the server is
// still asked whether the file is the same.
std::int64_t continuablePartialBytes(const PartialRecord& record, std::int64_t fileBytes,
                                     std::string_view currentBootId);

// Kept partial data is removed once it has not been written to for this long.
inline constexpr std::chrono::hours kPartialDataLifetime{14 * 24};

} // namespace reelhound
