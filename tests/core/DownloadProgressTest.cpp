#include "core/DownloadProgress.h"

#include <gtest/gtest.h>

namespace reelhound {
namespace {

TEST(DownloadProgressTest, oneOfThree_isSinglePrecisionWidened) {
    const auto progress = downloadProgress(1, 3);
    ASSERT_TRUE(progress.percent);
    EXPECT_EQ(*progress.percent, 33.333335876464844); // not 100.0 / 3
    EXPECT_EQ(progress.text, "received 1 bytes / 33.33 percent complete");
}

TEST(DownloadProgressTest, exactFractions) {
    auto progress = downloadProgress(512, 4096);
    ASSERT_TRUE(progress.percent);
    EXPECT_EQ(*progress.percent, 12.5);
    EXPECT_EQ(progress.text, "received 512 bytes / 12.50 percent complete");

    progress = downloadProgress(0, 4096);
    ASSERT_TRUE(progress.percent);
    EXPECT_EQ(*progress.percent, 0.0);
    EXPECT_EQ(progress.text, "received 0 bytes / 0.00 percent complete");
}

TEST(DownloadProgressTest, moreThanAnnounced_goesAboveHundred) {
    const auto progress = downloadProgress(150, 100);
    ASSERT_TRUE(progress.percent);
    EXPECT_EQ(*progress.percent, 150.0);
    EXPECT_EQ(progress.text, "received 150 bytes / 150.00 percent complete");
}

TEST(DownloadProgressTest, countsBeyondTwoGibibytes) {
    const std::int64_t received = 3'000'000'000;
    const auto progress = downloadProgress(received, 4'000'000'000);
    ASSERT_TRUE(progress.percent);
    EXPECT_EQ(*progress.percent, 75.0);
    EXPECT_EQ(progress.text, "received 3000000000 bytes / 75.00 percent complete");

    // Same single-precision rounding as for small counts.
    const float expected = static_cast<float>(5'000'000'001LL) / 6'000'000'007.0f * 100.0f;
    EXPECT_EQ(*downloadProgressPercent(5'000'000'001LL, 6'000'000'007LL),
              static_cast<double>(expected));
}

TEST(DownloadProgressTest, unknownOrZeroLength_hasNoPercentageButKeepsCount) {
    for (const std::int64_t length : {std::int64_t{-1}, std::int64_t{0}}) {
        const auto progress = downloadProgress(1234, length);
        EXPECT_FALSE(progress.percent) << length;
        EXPECT_EQ(progress.text, "received 1234 bytes") << length;
    }
    EXPECT_EQ(downloadProgressText(0, std::nullopt), "received 0 bytes");
}

} // namespace
} // namespace reelhound
