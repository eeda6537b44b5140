#pragma once

#include "core/ByteRanges.h"
#include "core/ContentRange.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What is known about the partial data of a download kept for a later run:
// which video it is, which file the server had then, and how much of it is
// known to be on the disk. Kept as a few lines of text beside the data.
// Data fetched over several connections has holes; its record lists ranges.
namespace reelhound {

struct PartialRecord {
    std::string key;              // the video the data belongs to
    FileIdentity file;            // length and validator of the first answer
    std::string bootId;           // the system run in which the data was written
    std::int64_t syncedBytes = 0; // this much from the start was on the disk for certain
    // Further ranges on the disk for certain, each beginning past syncedBytes.
    std::vector<ByteRange> syncedRanges = {};
    // All that was written in the system run bootId, on the disk or not. None
    // for data written in one go from the start: the file's length says it.
    std::optional<std::vector<ByteRange>> writtenRanges = {};

    bool operator==(const PartialRecord&) const = default;
};

inline constexpr std::size_t kMaximumPartialRecordSize = 4096;

// Ranges that would not fit within kMaximumPartialRecordSize are left out,
// the smallest first: that loses data, and never claims any.
std::string formatPartialRecord(const PartialRecord& record);

// Nothing for text that is not a whole record: a missing, repeated or unknown
// field, a value that is no number, a length of zero or less, an empty key or
// validator, a range that is empty, reaches past the length or is out of
// order with its neighbours, or text longer than kMaximumPartialRecordSize.
std::optional<PartialRecord> parsePartialRecord(std::string_view text);

// The record of data with holes, in the one form parsePartialRecord reads.
PartialRecord rangedPartialRecord(std::string key, FileIdentity file, std::string bootId,
                                  const ByteRanges& synced, const ByteRanges& written);

// The ranges of a kept file of fileBytes that may be continued. Within the
// same system run everything written is there, whether or not it reached the
// disk; after a restart (a power cut) only what was synced is trusted. A file
// that holds the whole length gives back its last byte, so that the server is
// still asked whether the file is the same.
ByteRanges continuableRanges(const PartialRecord& record, std::int64_t fileBytes,
                             std::string_view currentBootId);

// How much of a kept file of fileBytes may be continued from its start, as
// continuableRanges trusts it.
std::int64_t continuablePartialBytes(const PartialRecord& record, std::int64_t fileBytes,
                                     std::string_view currentBootId);

// Kept partial data is removed once it has not been written to for this long.
inline constexpr std::chrono::hours kPartialDataLifetime{14 * 24};

} // namespace reelhound
