// Any record file: it is read only when whole and within its size, every
// value it gives is usable, and written out again it reads back the same.
#include "FuzzCheck.h"
#include "core/PartialRecord.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace reelhound;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<PartialRecord> record = parsePartialRecord(text);
    if (!record)
        return 0;
    FUZZ_CHECK(size <= kMaximumPartialRecordSize);
    FUZZ_CHECK(!record->key.empty() && !record->file.validator.empty());
    FUZZ_CHECK(record->file.total > 0 && record->syncedBytes >= 0);
    for (const std::string_view value : {std::string_view(record->key),
                                         std::string_view(record->file.validator),
                                         std::string_view(record->bootId)})
        for (const char c : value)
            FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
    const std::optional<PartialRecord> again = parsePartialRecord(formatPartialRecord(*record));
    FUZZ_CHECK(again && *again == *record);
    // What may be continued never reaches the whole file, nor goes below zero.
    const std::int64_t bytes = continuablePartialBytes(*record, record->file.total, record->bootId);
    FUZZ_CHECK(bytes >= 0 && bytes < record->file.total);
    return 0;
}
