#include "core/TransferRate.h"

#include <gtest/gtest.h>
#include <vector>

namespace reelhound {
namespace {

struct Sample {
    std::int64_t bytes;
    double seconds;
};

struct RateCase {
    const char* name;
    std::vector<Sample> samples;
    std::optional<double> rate;           // bytes a second after the samples
    std::int64_t expectedLength;          // -1: unknown
    std::optional<long> secondsLeft;
};

TEST(TransferRateTest, rateAndTimeLeft) {
    const RateCase cases[] = {
        {"nothing measured yet", {{1000, 0.2}}, std::nullopt, 10'000, std::nullopt},
        {"one span", {{1000, 0.5}}, 2000.0, 10'000, 5},
        {"chunks within a span count together",
         {{100, 0.1}, {200, 0.2}, {300, 0.3}, {1000, 0.5}}, 2000.0, 10'000, 5},
        {"a faster span moves the rate part of the way",
         {{1000, 0.5}, {3000, 1.0}}, 0.3 * 4000.0 + 0.7 * 2000.0, 10'000, 3},
        {"time left is rounded up", {{1000, 0.5}}, 2000.0, 4001, 2},
        {"more than announced leaves no time", {{1000, 0.5}}, 2000.0, 500, 0},
        {"unknown length has a rate but no time left", {{1000, 0.5}}, 2000.0, -1, std::nullopt},
        {"a stall measures zero", {{1000, 0.5}, {1000, 1.0}}, 0.7 * 2000.0, 10'000, 7},
        {"nothing at all arrives", {{0, 0.5}, {0, 1.0}}, 0.0, 10'000, std::nullopt},
        {"starting over begins a new span", {{1000, 0.5}, {0, 0.6}, {500, 1.1}},
         0.3 * 1000.0 + 0.7 * 2000.0, 10'000, 6},
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(c.name);
        TransferRate rate;
        for (const Sample& s : c.samples)
            rate.sample(s.bytes, s.seconds);
        EXPECT_EQ(rate.bytesPerSecond().has_value(), c.rate.has_value());
        if (c.rate && rate.bytesPerSecond()) {
            EXPECT_DOUBLE_EQ(*rate.bytesPerSecond(), *c.rate);
        }
        EXPECT_EQ(rate.secondsLeft(c.samples.back().bytes, c.expectedLength), c.secondsLeft);
    }
}

TEST(TransferRateTest, statusLineWordingAndFigures) {
    TransferRate rate; // 4.2 MB/s
    rate.sample(2'100'000, 0.5);
    const struct {
        std::int64_t bytes;
        std::int64_t length;
        const char* wording;
        double expectedMegabytes;
        long left;
    } cases[] = {
        {12'300'000, 64'000'000, kRateSecondsLeftText, 64.0, 13}, // 51.7 MB in 12.3 s
        {0, 4'200'000 * 89, kRateSecondsLeftText, 373.8, 89},
        {0, 4'200'000 * 90, kRateMinutesLeftText, 378.0, 2}, // 90 s is about 2 min
        {0, std::int64_t{4'200'000} * 600, kRateMinutesLeftText, 2520.0, 10},
        {12'300'000, -1, kRateText, 0.0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const auto line = transferRateLine(rate, c.bytes, c.length);
        ASSERT_TRUE(line);
        EXPECT_STREQ(line->wording, c.wording);
        EXPECT_DOUBLE_EQ(line->receivedMegabytes, static_cast<double>(c.bytes) / 1e6);
        EXPECT_DOUBLE_EQ(line->expectedMegabytes, c.expectedMegabytes);
        EXPECT_DOUBLE_EQ(line->megabytesPerSecond, 4.2);
        EXPECT_EQ(line->left, c.left);
    }
    EXPECT_FALSE(transferRateLine(TransferRate{}, 1000, 2000)); // no rate yet
}

} // namespace
} // namespace reelhound
