#include "core/ByteRanges.h"

#include <gtest/gtest.h>
#include <vector>

namespace reelhound {
namespace {

using Ranges = std::vector<ByteRange>;

TEST(ByteRangesTest, mergesWhatIsAddedAndKnowsWhatIsMissing) {
    struct Case {
        const char* name;
        Ranges added;
        Ranges held;
        Ranges missing;
    };
    const Case cases[] = {
        {"nothing", {}, {}, {{0, 100}}},
        {"neighbours become one", {{10, 20}, {20, 30}}, {{10, 30}}, {{0, 10}, {30, 100}}},
        {"out of order, apart",
         {{50, 60}, {10, 20}},
         {{10, 20}, {50, 60}},
         {{0, 10}, {20, 50}, {60, 100}}},
        {"a range over several swallows them",
         {{10, 20}, {30, 40}, {50, 60}, {15, 55}},
         {{10, 60}},
         {{0, 10}, {60, 100}}},
        {"inside a held one changes nothing",
         {{10, 60}, {20, 30}},
         {{10, 60}},
         {{0, 10}, {60, 100}}},
        {"cut to the file", {{-5, 10}, {90, 200}}, {{0, 10}, {90, 100}}, {{10, 90}}},
        {"empty and reversed ranges are nothing", {{40, 40}, {60, 50}}, {}, {{0, 100}}},
        {"the whole file", {{0, 60}, {60, 100}}, {{0, 100}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteRanges ranges(100);
        for (const ByteRange& range : c.added)
            ranges.add(range);
        EXPECT_EQ(ranges.held(), c.held);
        EXPECT_EQ(ranges.missing(), c.missing);
        std::int64_t bytes = 0;
        for (const ByteRange& range : c.held)
            bytes += range.size();
        EXPECT_EQ(ranges.heldBytes(), bytes);
        EXPECT_EQ(ranges.whole(), c.missing.empty());
    }
}

} // namespace
} // namespace reelhound
