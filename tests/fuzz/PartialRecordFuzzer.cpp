// Any record file: it is read only when whole and within its size, every
// value it gives is usable, its ranges are in order, apart and within the
// file, and written out again it reads back the same.
#include "FuzzCheck.h"
#include "core/PartialRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

using namespace reelhound;

namespace {

// Each range begins past the end of the one before (touching ones would be
// one), the first past after, if given.
void checkRanges(const std::vector<ByteRange>& ranges, std::optional<std::int64_t> after,
                 std::int64_t total) {
    for (const ByteRange& range : ranges) {
        FUZZ_CHECK(range.begin >= 0 && (!after || range.begin > *after));
        FUZZ_CHECK(range.begin < range.end && range.end <= total);
        after = range.end;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<PartialRecord> record = parsePartialRecord(text);
    if (!record)
        return 0;
    FUZZ_CHECK(size <= kMaximumPartialRecordSize);
    FUZZ_CHECK(!record->key.empty() && !record->file.validator.empty());
    FUZZ_CHECK(record->file.total > 0 && record->syncedBytes >= 0);
    for (const std::string_view value :
         {std::string_view(record->key), std::string_view(record->file.validator),
          std::string_view(record->bootId)})
        for (const char c : value)
            FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
    checkRanges(record->syncedRanges, record->syncedBytes, record->file.total);
    if (record->writtenRanges)
        checkRanges(*record->writtenRanges, std::nullopt, record->file.total);
    const std::optional<PartialRecord> again = parsePartialRecord(formatPartialRecord(*record));
    FUZZ_CHECK(again && *again == *record);
    // What may be continued never reaches the whole file, nor goes below zero.
    const std::int64_t bytes = continuablePartialBytes(*record, record->file.total, record->bootId);
    FUZZ_CHECK(bytes >= 0 && bytes < record->file.total);

    // The trusted ranges, as a set: within the file, never whole, and what is
    // missing is exactly the rest.
    const ByteRanges trusted = continuableRanges(*record, record->file.total, record->bootId);
    FUZZ_CHECK(!trusted.whole() && trusted.leadingBytes() == bytes);
    checkRanges(trusted.held(), std::nullopt, record->file.total);
    std::int64_t missing = 0;
    for (const ByteRange& gap : trusted.missing())
        missing += gap.size();
    FUZZ_CHECK(trusted.heldBytes() + missing == record->file.total);
    return 0;
}
