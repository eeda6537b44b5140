#include "core/LogText.h"
#include "core/Reachability.h"

#include <gtest/gtest.h>

using namespace reelhound;

TEST(Reachability, onlyTheTwoLowestFlagsCount) {
    EXPECT_TRUE(isNetworkReachable(true, kReachabilityFlagReachable));
    EXPECT_TRUE(isNetworkReachable(true, kReachabilityFlagTransientConnection));
    EXPECT_TRUE(
        isNetworkReachable(true, kReachabilityFlagReachable | kReachabilityFlagConnectionRequired));
    EXPECT_FALSE(isNetworkReachable(true, kReachabilityFlagConnectionRequired));
    EXPECT_FALSE(isNetworkReachable(true, 0));
    EXPECT_FALSE(isNetworkReachable(true, ~3u));
    // An undecided probe is unreachable whatever the flags say.
    EXPECT_FALSE(isNetworkReachable(false, kReachabilityFlagReachable));
}

TEST(LogText, messagesStayOneLineAndKeepPercentSigns) {
    EXPECT_EQ(singleLineLogText("video_id = abc\n"), "video_id = abc");
    EXPECT_EQ(singleLineLogText("Download complete..."), "Download complete...");
    EXPECT_EQ(singleLineLogText("100% done %s %d %n"), "100% done %s %d %n");
    EXPECT_EQ(singleLineLogText("a\nforged line\n"), "a\\nforged line");
    EXPECT_EQ(singleLineLogText("frame=1\rframe=2\t\x1b[31m"), "frame=1\\rframe=2\\t\\x1b[31m");
    EXPECT_EQ(singleLineLogText("caf\xc3\xa9"), "caf\xc3\xa9"); // UTF-8 passes untouched
}
