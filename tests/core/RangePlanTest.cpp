#include "core/RangePlan.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace reelhound {
namespace {

using Ranges = std::vector<ByteRange>;

// A step of a download's connections, and what the plan answers.
struct Step {
    enum { Next, Wrote, Ended, Extend } what;
    int connection;
    ByteRange bytes = {};                   // written (Wrote); up to bytes.end (Extend)
    std::optional<ByteRange> expected = {}; // the range handed out (Next, Extend)
    bool done = false;                      // the range is finished (Wrote)
};

TEST(RangePlanTest, handsOutRangesAndSplitsTheLargestWhenOneRunsOut) {
    constexpr std::int64_t M = kSmallestSplitRange;
    struct Case {
        const char* name;
        std::int64_t length;
        Ranges held;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"one connection takes the whole file",
         8 * M,
         {},
         {{Step::Next, 0, {}, ByteRange{0, 8 * M}},
          {Step::Wrote, 0, {0, 8 * M}, {}, true},
          {Step::Next, 0, {}, std::nullopt}}},
        {"a second connection takes the second half of what the first has left",
         8 * M,
         {},
         {{Step::Next, 0, {}, ByteRange{0, 8 * M}},
          {Step::Wrote, 0, {0, 2 * M}},
          {Step::Next, 1, {}, ByteRange{5 * M, 8 * M}},
          // the first's request still reaches further; it stops at the split
          {Step::Wrote, 0, {2 * M, 6 * M}, {}, true},
          {Step::Next, 0, {}, ByteRange{6 * M + M / 2, 8 * M}}}},
        {"holes of a continuation come first, in file order",
         9 * M,
         {{0, 2 * M}, {3 * M, 4 * M}},
         {{Step::Next, 0, {}, ByteRange{2 * M, 3 * M}},
          {Step::Next, 1, {}, ByteRange{4 * M, 9 * M}},
          {Step::Wrote, 0, {2 * M, 3 * M}, {}, true},
          {Step::Next, 0, {}, ByteRange{6 * M + M / 2, 9 * M}}}},
        {"what a failed connection did not fetch goes to the next",
         4 * M,
         {},
         {{Step::Next, 0, {}, ByteRange{0, 4 * M}},
          {Step::Next, 1, {}, ByteRange{2 * M, 4 * M}},
          {Step::Wrote, 1, {2 * M, 3 * M}},
          {Step::Ended, 1},
          {Step::Next, 2, {}, ByteRange{3 * M, 4 * M}}}},
        {"a range given back goes to the one it was split from, as far as it asked",
         8 * M,
         {},
         {{Step::Next, 0, {}, ByteRange{0, 8 * M}},
          {Step::Next, 1, {}, ByteRange{4 * M, 8 * M}},
          {Step::Next, 2, {}, ByteRange{2 * M, 4 * M}},
          {Step::Ended, 2},
          {Step::Extend, 0, {0, 3 * M}, ByteRange{0, 3 * M}},
          {Step::Extend, 0, {0, 8 * M}, ByteRange{0, 4 * M}}}},
        {"a range under twice the smallest split is not shared",
         2 * M - 1,
         {},
         {{Step::Next, 0, {}, ByteRange{0, 2 * M - 1}}, {Step::Next, 1, {}, std::nullopt}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteRanges start(c.length);
        for (const ByteRange& range : c.held)
            start.add(range);
        RangePlan plan(start);
        for (const Step& step : c.steps) {
            switch (step.what) {
            case Step::Next:
                EXPECT_EQ(plan.nextRange(step.connection), step.expected) << step.connection;
                break;
            case Step::Wrote:
                EXPECT_EQ(plan.wrote(step.connection, step.bytes), step.done) << step.connection;
                break;
            case Step::Ended:
                plan.ended(step.connection);
                break;
            case Step::Extend:
                EXPECT_EQ(plan.extend(step.connection, step.bytes.end), step.expected);
                break;
            }
        }
    }
}

} // namespace
} // namespace reelhound
