#include "core/ContentRange.h"
#include "core/RetryPolicy.h"

#include <gtest/gtest.h>

namespace reelhound {
namespace {

TEST(ContentRangeTest, parsesOnlyWellFormedRanges) {
    const auto range = parseContentRange("bytes 100-199/1000");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 100);
    EXPECT_EQ(range->last, 199);
    EXPECT_EQ(range->total, 1000);
    const auto unknownTotal = parseContentRange("bytes 0-9/*");
    ASSERT_TRUE(unknownTotal);
    EXPECT_FALSE(unknownTotal->total);
    for (const char* bad : {"", "bytes", "bytes 5-4/10", "bytes 0-10/10", "bytes -1-4/10",
                            "bytes 0-4/10 ", "items 0-4/10", "bytes 0-4", "bytes */10",
                            "bytes 0-99999999999999999999/10"})
        EXPECT_FALSE(parseContentRange(bad)) << bad;
}

struct ContinuationRow {
    ContinuationAnswer answer;
    ContinuationVerdict verdict;
};

TEST(ContinuationTest, onlyTheExactRestOfTheSameFileContinues) {
    const FileIdentity file{1000, "\"v1\""};
    const ContinuationRow rows[] = {
        {{206, "bytes 400-999/1000", "\"v1\""}, ContinuationVerdict::Continues},
        {{200, "", "\"v1\""}, ContinuationVerdict::RangesIgnored},
        {{206, "bytes 400-999/1000", "\"v2\""}, ContinuationVerdict::FileChanged},
        {{206, "bytes 400-1999/2000", "\"v1\""}, ContinuationVerdict::FileChanged},
        {{206, "bytes 400-999/*", "\"v1\""}, ContinuationVerdict::FileChanged},
        {{206, "bytes 0-999/1000", "\"v1\""}, ContinuationVerdict::RangeDoesNotFit},
        {{206, "bytes 400-499/1000", "\"v1\""}, ContinuationVerdict::RangeDoesNotFit},
        {{206, "", "\"v1\""}, ContinuationVerdict::RangeDoesNotFit},
        {{416, "bytes */1000", "\"v1\""}, ContinuationVerdict::RangeDoesNotFit},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer.contentRange + " " + row.answer.validator);
        EXPECT_EQ(checkContinuation(row.answer, 400, file), row.verdict);
        EXPECT_FALSE(describeContinuationVerdict(row.verdict).empty());
    }
}

TEST(RetryPolicyTest, pausesGrowAndHonourRetryAfterUpToAMinute) {
    EXPECT_EQ(retryPauseSeconds(1, std::nullopt), 1);
    EXPECT_EQ(retryPauseSeconds(3, std::nullopt), 4);
    EXPECT_EQ(retryPauseSeconds(5, std::nullopt), 16);
    EXPECT_EQ(retryPauseSeconds(2, 3), 3);
    EXPECT_EQ(retryPauseSeconds(2, 600), 60);
    EXPECT_EQ(parseRetryAfter(" 120 "), 60);
    EXPECT_EQ(parseRetryAfter("3"), 3);
    EXPECT_EQ(parseRetryAfter("99999999999999999999999"), 60);
    for (const char* ignored : {"", "-5", "3.5", "Wed, 21 Oct 2026 07:28:00 GMT"})
        EXPECT_FALSE(parseRetryAfter(ignored)) << ignored;
}

TEST(RetryPolicyTest, onlyPassingStatusesAreRetried) {
    for (const int status : {408, 429, 500, 502, 503, 504})
        EXPECT_TRUE(isTransientHTTPStatus(status)) << status;
    for (const int status : {200, 206, 301, 400, 401, 403, 404, 410, 416, 501, 505})
        EXPECT_FALSE(isTransientHTTPStatus(status)) << status;
}

} // namespace
} // namespace reelhound
