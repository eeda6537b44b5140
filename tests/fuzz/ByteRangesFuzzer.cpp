// Any sequence of additions and removals on a small file, and of a download's
// connections asking for ranges, writing and ending: the held ranges are
// exactly the bytes a plain bitmap holds, and no two connections are ever
// given the same bytes.
#include "FuzzCheck.h"
#include "core/RangePlan.h"

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <cstdint>

using namespace reelhound;

namespace {

constexpr std::int64_t kLength = 200;

void checkAgainst(const ByteRanges& ranges, const std::bitset<kLength>& model) {
    ByteRanges rebuilt(kLength);
    for (std::int64_t i = 0; i < kLength; ++i)
        if (model[static_cast<std::size_t>(i)])
            rebuilt.add({i, i + 1});
    FUZZ_CHECK(ranges == rebuilt);
    FUZZ_CHECK(ranges.heldBytes() == static_cast<std::int64_t>(model.count()));
    std::int64_t after = -1; // apart: touching ranges would be one
    for (const ByteRange& range : ranges.held()) {
        FUZZ_CHECK(range.begin > after && range.begin < range.end && range.end <= kLength);
        after = range.end;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteRanges ranges(kLength);
    std::bitset<kLength> model;
    for (std::size_t i = 0; i + 2 < size && data[0] % 2 == 0; i += 3) {
        const std::int64_t begin = data[i + 1] - 20, end = data[i + 2] - 20; // also outside
        if (data[i] % 2 == 0)
            ranges.add({begin, end});
        else
            ranges.remove({begin, end});
        for (std::int64_t at = std::max<std::int64_t>(begin, 0); at < std::min(end, kLength); ++at)
            model[static_cast<std::size_t>(at)] = data[i] % 2 == 0;
        checkAgainst(ranges, model);
    }
    if (size == 0 || data[0] % 2 == 0)
        return 0;

    // Connections 0 to 3 at work on a file of kLength MiB.
    constexpr std::int64_t M = kSmallestSplitRange;
    RangePlan plan{ByteRanges(kLength * M)};
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const int connection = data[i] % 4;
        switch (data[i] / 4 % 3) {
        case 0:
            plan.nextRange(connection);
            break;
        case 1:
            if (const auto range = plan.rangeOf(connection))
                plan.wrote(connection,
                           {range->begin,
                            std::min(range->end, range->begin + (data[i + 1] + 1) * M / 16)});
            break;
        default:
            plan.ended(connection);
        }
        // Each connection's range is missing, and nobody else's.
        ByteRanges given = plan.held();
        for (int k = 0; k < 4; ++k) {
            if (const auto range = plan.rangeOf(k)) {
                FUZZ_CHECK(range->begin < range->end);
                const std::int64_t before = given.heldBytes();
                given.add(*range);
                FUZZ_CHECK(given.heldBytes() == before + range->size());
            }
        }
    }
    return 0;
}
