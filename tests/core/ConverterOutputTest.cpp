#include "core/ConverterOutput.h"

#include <gtest/gtest.h>

using namespace reelhound;

TEST(LastOutputLine, keepsTheLastNonBlankLine_acrossChunksAndLineEnds) {
    LastOutputLine last;
    EXPECT_EQ(last.text(), "");
    last.append("Input #0, flv\nframe=   1\r");
    EXPECT_EQ(last.text(), "frame=   1");
    last.append("frame=  2");
    last.append("5 fps\r\n  \n\r");
    EXPECT_EQ(last.text(), "frame=  25 fps");
    last.append("File 'x.mov' already exists. Overwrite? [y/N] Not overwriting - exiting");
    EXPECT_EQ(last.text(),
              "File 'x.mov' already exists. Overwrite? [y/N] Not overwriting - exiting");
    last.append("\n   ");
    EXPECT_EQ(last.text(),
              "File 'x.mov' already exists. Overwrite? [y/N] Not overwriting - exiting");
}

TEST(LastOutputLine, keepsTheBytes_forTheDecoder) {
    LastOutputLine last;
    last.append("bad \xC3");
    last.append("\xA9 byte\n");
    EXPECT_EQ(last.text(), "bad \xC3\xA9 byte"); // joined before decoding
    last.append("end \xFF\n");
    EXPECT_EQ(last.text(), "end \xFF");
}

TEST(LastOutputLine, endlessLine_keepsOnlyItsEndFromAWholeCharacter) {
    LastOutputLine last;
    std::string accents;
    for (int i = 0; i < 1000; ++i)
        accents += "\xC3\xA9";
    for (int i = 0; i < 100; ++i)
        last.append(accents); // 200 KB without a line end
    last.append("a");

    // The kept end starts one byte into a character, which is skipped.
    const std::size_t keptCharacters = (LastOutputLine::kMaxLineBytes - 2) / 2;
    std::string expected = "\xE2\x80\xA6"; // marks a shortened line
    for (std::size_t i = 0; i < keptCharacters; ++i)
        expected += "\xC3\xA9";
    expected += "a";
    EXPECT_EQ(last.text(), expected);

    last.append("\n\xBF plain\n"); // a whole line starting badly is kept as it came
    EXPECT_EQ(last.text(), "\xBF plain");
}
