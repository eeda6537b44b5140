#include "core/ConversionProgress.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace reelhound;

namespace {

struct StampCase {
    std::string text;
    std::optional<double> seconds;
};

TEST(ConversionProgress, timestamps_readWholeStampsAndRefuseEverythingElse) {
    const std::vector<StampCase> cases = {
        {"00:00:04.12", 4.12},
        {"01:02:03.5 bitrate=  12kbits/s", 3723.5},
        {"00:00:07", 7.0},
        {"123:00:00.00", 442800.0},
        {"N/A", std::nullopt},
        {"-00:00:00.04", std::nullopt},
        {"-577014:32:22.77", std::nullopt},
        {"00:61:00.00", std::nullopt},
        {"00:00:75.00", std::nullopt},
        {"00:00", std::nullopt},
        {"", std::nullopt},
        {"::", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto seconds = converterTimestampSeconds(c.text);
        ASSERT_EQ(seconds.has_value(), c.seconds.has_value()) << c.text;
        if (seconds) {
            EXPECT_NEAR(*seconds, *c.seconds, 1e-9) << c.text;
        }
    }
}

struct LineCase {
    std::string line;
    std::optional<double> duration;
    std::optional<double> time;
};

TEST(ConversionProgress, lines_giveTheLengthAndThePositionOnlyWhereFfmpegPutsThem) {
    const std::vector<LineCase> cases = {
        {"  Duration: 00:00:02.00, start: 0.000000, bitrate: 741 kb/s", 2.0, std::nullopt},
        {"  Duration: N/A, start: 0.000000, bitrate: N/A", std::nullopt, std::nullopt},
        {"  Duration: 00:00:00.00, start: 0.000000", std::nullopt, std::nullopt},
        {"frame=   26 fps=0.0 q=2.0 size=     100kB time=00:00:01.00 bitrate= 819.2kbits/s",
         std::nullopt, 1.0},
        {"size=     100kB time=00:00:03.25 bitrate= 252.1kbits/s speed=  65x", std::nullopt, 3.25},
        {"frame=    0 fps=0.0 q=0.0 size=       0kB time=N/A bitrate=N/A speed=N/A", std::nullopt,
         std::nullopt},
        // A file's name may hold the same words.
        {"Input #0, flv, from '/home/a/  Duration: 00:09:00.00.flv':", std::nullopt, std::nullopt},
        {"Output #0, mov, to '/home/a/time=99:00:00.mov':", std::nullopt, std::nullopt},
        {"\xff\xfe garbage time=", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(durationInLine(c.line), c.duration) << c.line;
        EXPECT_EQ(progressTimeInLine(c.line), c.time) << c.line;
    }
}

struct RunCase {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::optional<double>> percentAfterEachChunk;
};

TEST(ConversionProgress, runs_climbFromTheLengthToTheEndAndNeverGoBack) {
    const std::string duration = "  Duration: 00:00:10.00, start: 0.000000, bitrate: 1 kb/s\n";
    const std::vector<RunCase> cases = {
        {"progress lines end in a carriage return",
         {duration, "frame=1 size=1kB time=00:00:02.50 bitrate=1\r",
          "frame=2 size=1kB time=00:00:05.00 bitrate=1\r"},
         {0.0, 25.0, 50.0}},
        {"a line cut between chunks counts once it ends",
         {"  Durat", "ion: 00:00:10.00, start: 0\nframe=1 time=00:0", "0:04.00 x\r"},
         {std::nullopt, 0.0, 40.0}},
        {"a position before an earlier one does not go back",
         {duration, "frame=1 time=00:00:06.00 x\r", "frame=2 time=00:00:03.00 x\r",
          "frame=3 time=N/A x\r"},
         {0.0, 60.0, 60.0, 60.0}},
        {"a position past the length stops at 100",
         {duration, "frame=9 time=00:00:12.00 x\r"},
         {0.0, 100.0}},
        {"progress without a known length gives no percentage",
         {"  Duration: N/A, start: 0\n", "frame=1 time=00:00:03.00 x\r"},
         {std::nullopt, std::nullopt}},
    };
    for (const auto& c : cases) {
        ConversionProgress progress;
        for (std::size_t i = 0; i < c.chunks.size(); ++i) {
            progress.append(c.chunks[i]);
            EXPECT_EQ(progress.percent(), c.percentAfterEachChunk[i]) << c.name << ", chunk " << i;
        }
    }
}

TEST(ConversionProgress, finish_reaches100OnlyWhenTheLengthIsKnown) {
    ConversionProgress known;
    known.append("  Duration: 00:00:10.00, start: 0\nframe=1 time=00:00:09.96 x\r");
    known.finish();
    EXPECT_EQ(known.percent(), 100.0);

    ConversionProgress unknown;
    unknown.append("frame=1 time=00:00:09.96 x\r");
    unknown.finish();
    EXPECT_EQ(unknown.percent(), std::nullopt);
}

TEST(ConversionProgress, secondsLeft_scaleTheTimeTakenByWhatRemains) {
    ConversionProgress progress;
    EXPECT_EQ(progress.secondsLeft(5.0), std::nullopt); // no length yet
    progress.append("  Duration: 00:00:10.00, start: 0\n");
    EXPECT_EQ(progress.secondsLeft(5.0), std::nullopt); // nothing done yet
    progress.append("frame=1 time=00:00:02.50 x\r");
    EXPECT_EQ(progress.secondsLeft(0.5), std::nullopt); // too early to tell
    EXPECT_EQ(progress.secondsLeft(4.0), 12);            // a quarter took 4 s
    EXPECT_EQ(progress.secondsLeft(4.1), 13);            // rounded up
    progress.finish();
    EXPECT_EQ(progress.secondsLeft(16.0), 0);
}

} // namespace
