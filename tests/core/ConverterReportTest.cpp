#include "core/ConverterReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace reelhound;

namespace {

struct LineCase {
    std::string line;
    bool banner;
    OutputWriteFailure failure;
};

// Lines as ffmpeg 5.1 writes them, to a full disk among others.
const std::vector<LineCase> kLines = {
    {"ffmpeg version 5.1.9-0+deb12u1 Copyright (c) 2000-2026 the FFmpeg developers", true,
     OutputWriteFailure::None},
    {"  built with gcc 12 (Debian 12.2.0-14+deb12u1)", true, OutputWriteFailure::None},
    {"  configuration: --prefix=/usr --extra-version=0+deb12u1", true, OutputWriteFailure::None},
    {"  libpostproc    56.  6.100 / 56.  6.100", true, OutputWriteFailure::None},
    {"  libavutil      57. 28.100 / 57. 28.100", true, OutputWriteFailure::None},
    {"  libx264 is not installed", false, OutputWriteFailure::None},
    {"Input #0, flv, from '/home/a/Error closing file: No space left on device.flv':", false,
     OutputWriteFailure::None},
    {"frame=  100 fps=0.0 q=2.0 Lsize=      64kB time=00:00:04.06 speed=  21x    ", false,
     OutputWriteFailure::None},
    {"Error writing trailer of /d/clip.avi: No space left on device", false,
     OutputWriteFailure::DiskFull},
    {"Error closing file /d/clip.avi: Disk quota exceeded", false, OutputWriteFailure::DiskFull},
    {"Error closing file /d/clip.avi: File too large", false, OutputWriteFailure::FileTooLarge},
    {"av_interleaved_write_frame(): Input/output error", false, OutputWriteFailure::Other},
    {"[avi @ 0x55] Error writing to /d/clip.avi: Broken pipe", false, OutputWriteFailure::Other},
    {"Error closing file /d/clip.avi: Operation not permitted", false, OutputWriteFailure::Other},
};

} // namespace

TEST(ConverterReport, linesAreTold_bannerFromWriteFailures) {
    for (const auto& c : kLines) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(isConverterBannerLine(c.line), c.banner);
        EXPECT_EQ(outputWriteFailureIn(c.line), c.failure);
    }
}

TEST(ConverterReport, fullDiskBehindAProgressLine_isFoundAcrossChunks) {
    ConverterReport report;
    report.append("ffmpeg version 5.1\n  libpostproc    56.  6.100 / 56.  6.100\n");
    EXPECT_EQ(report.lastLine(), "") << "the banner is nobody's last word";
    report.append("frame=    1 size= 10kB   \rError writing trai");
    report.append("ler of /d/clip.avi: No space left on device\nError closing file /d/clip.avi: "
                  "File too large\n[aac @ 0x1] Qavg: 706.237\n");
    EXPECT_EQ(report.writeFailure(), OutputWriteFailure::DiskFull) << "the first one counts";
    EXPECT_EQ(report.writeFailureLine(),
              "Error writing trailer of /d/clip.avi: No space left on device");
    EXPECT_EQ(report.writeFailureWords(), "The disk is full.");
    EXPECT_EQ(report.lastLine(), "[aac @ 0x1] Qavg: 706.237");
}

TEST(ConverterReport, writeFailureWords_plainForLimitsAndTheConvertersOwnOtherwise) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Error closing file /d/a.avi: File too large",
         "The file grew larger than the system allows."},
        {"Error closing file /d/a.avi: Input/output error",
         "Error closing file /d/a.avi: Input/output error"},
    };
    for (const auto& [output, words] : cases) {
        SCOPED_TRACE(output);
        ConverterReport report;
        report.append(output);
        report.end(); // a last line without its line end still counts
        EXPECT_EQ(report.writeFailureWords(), words);
    }
    EXPECT_EQ(describeConverterSignal(9), "The converter was stopped by signal 9.");
}
