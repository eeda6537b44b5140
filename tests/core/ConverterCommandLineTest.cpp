#include "core/ConverterCommandLine.h"

#include <gtest/gtest.h>

using namespace reelhound;
using Arguments = std::vector<std::string>;

namespace {

ConversionSettings exampleSettings(std::int32_t formatTag) {
    ConversionSettings settings;
    settings.sourcePath = "/Users/demo/Movies/clip.flv";
    settings.videoSize = "S";
    settings.videoBitrate = "VB";
    settings.videoFrameRate = 25;
    settings.audioFrequency = "AF";
    settings.audioBitrate = "AB";
    settings.audioChannels = 2;
    settings.formatTag = formatTag;
    return settings;
}

const Arguments kExampleWithoutOutput{"-i",      "/Users/demo/Movies/clip.flv",
                                      "-s",      "S",
                                      "-b",      "VB",
                                      "-r",      "25",
                                      "-acodec", "aac",
                                      "-ar",     "AF",
                                      "-ab",     "AB",
                                      "-ac",     "2"};

} // namespace

TEST(ConverterCommandLine, knownFormat_givesSeventeenEntriesEndingInTheOutput) {
    Arguments expected = kExampleWithoutOutput;
    expected.push_back("/Users/demo/Movies/clip.mp4");
    EXPECT_EQ(buildConverterArguments(exampleSettings(kFormatTagMP4)), expected);
}

TEST(ConverterCommandLine, unknownFormatTag_endsTheListWithTheChannelCount) {
    for (const std::int32_t tag : {0, 15, 60, -10, 11}) {
        SCOPED_TRACE(tag);
        EXPECT_EQ(buildConverterArguments(exampleSettings(tag)), kExampleWithoutOutput);
        EXPECT_EQ(converterOutputPath("/Users/demo/Movies/clip.flv", tag), std::nullopt);
    }
}

TEST(ConverterCommandLine, eachFormatTag_replacesTheSourceExtension) {
    const std::pair<std::int32_t, const char*> formats[] = {
        {kFormatTagMOV, "/m/clip.mov"}, {kFormatTagMP4, "/m/clip.mp4"},
        {kFormatTagAVI, "/m/clip.avi"}, {kFormatTagRM, "/m/clip.rm"},
        {kFormatTagWMV, "/m/clip.wmv"},
    };
    for (const auto& [tag, output] : formats)
        EXPECT_EQ(converterOutputPath("/m/clip.flv", tag), output) << tag;
}

TEST(ConverterCommandLine, outputPath_followsTheLastComponentOnly) {
    EXPECT_EQ(converterOutputPath("/data/clips.old/clip.flv", kFormatTagMOV),
              "/data/clips.old/clip.mov");
    EXPECT_EQ(converterOutputPath("/data/clips.old/clip", kFormatTagMOV),
              "/data/clips.old/clip.mov");
    EXPECT_EQ(converterOutputPath("/data/clip.flv.part", kFormatTagMOV), "/data/clip.flv.mov");
    // A leading dot names a hidden file; it starts no extension.
    EXPECT_EQ(converterOutputPath("/data/.flv", kFormatTagMOV), "/data/.flv.mov");
    EXPECT_EQ(converterOutputPath("/data/clip.", kFormatTagMOV), "/data/clip.mov");
    EXPECT_EQ(converterOutputPath("/data/clip.flv/", kFormatTagMOV), "/data/clip.mov");
    EXPECT_EQ(converterOutputPath("clip.flv", kFormatTagMOV), "clip.mov");
    EXPECT_EQ(converterOutputPath("", kFormatTagMOV), ".mov");
}

TEST(ConverterCommandLine, pathsWithSpaces_stayOneEntryEach) {
    ConversionSettings settings = exampleSettings(kFormatTagWMV);
    settings.sourcePath = "/Users/demo/Desktop/Vistaro Video.flv";
    const Arguments arguments = buildConverterArguments(settings);
    ASSERT_EQ(arguments.size(), 17u);
    EXPECT_EQ(arguments[1], "/Users/demo/Desktop/Vistaro Video.flv");
    EXPECT_EQ(arguments[16], "/Users/demo/Desktop/Vistaro Video.wmv");
}

TEST(ConverterCommandLine, numbersAreSignedDecimal_andTitlesVerbatim) {
    ConversionSettings settings = exampleSettings(kFormatTagMOV);
    settings.videoFrameRate = -1;
    settings.audioChannels = 0;
    settings.videoSize = " 320x240 ";
    settings.audioBitrate = "";
    Arguments arguments = buildConverterArguments(settings);
    EXPECT_EQ(arguments[7], "-1");
    EXPECT_EQ(arguments[15], "0");
    EXPECT_EQ(arguments[3], " 320x240 ");
    EXPECT_EQ(arguments[13], "");

    settings.videoFrameRate = INT32_MIN;
    settings.audioChannels = INT32_MAX;
    arguments = buildConverterArguments(settings);
    EXPECT_EQ(arguments[7], "-2147483648");
    EXPECT_EQ(arguments[15], "2147483647");
    EXPECT_EQ(buildConverterArguments(settings), arguments);
}
