#pragma once

#include "core/ConverterOutput.h"

#include <string>
#include <string_view>

// What the converter's error output tells about a run: whether it could not
// write its output (ffmpeg may say so and still exit with status 0), and its
// last words that are not the banner it prints at every start.
namespace reelhound {

// What a failed write to a full disk is called, wherever it happens.
inline constexpr const char* kDiskFullWords = "The disk is full.";

enum class OutputWriteFailure {
    None,
    DiskFull,     // no space left, or the quota used up
    FileTooLarge, // beyond the largest file the system allows this process
    Other,        // any other error writing or closing the output
};

// A line of the banner: "ffmpeg version ...", "built with ...",
// "configuration: ...", "libavutil      57. 28.100 / 57. 28.100".
bool isConverterBannerLine(std::string_view line);

// Whether a line of the converter's output says that writing or closing its
// output failed, and how.
OutputWriteFailure outputWriteFailureIn(std::string_view line);

// Follows the converter's error output chunk by chunk, in bounded memory.
class ConverterReport {
public:
    ConverterReport();
    ConverterReport(const ConverterReport&) = delete;
    ConverterReport& operator=(const ConverterReport&) = delete;

    void append(std::string_view bytes);
    // The output has ended: a last line without a line end counts too.
    void end() { lines_.end(); }

    // The first write failure reported, and the line that reported it.
    OutputWriteFailure writeFailure() const { return writeFailure_; }
    const std::string& writeFailureLine() const { return writeFailureLine_; }
    // The last line that is neither blank nor the banner, decoded; or empty.
    std::string lastLine() const { return lines_.text(); }

    // What to tell the person about the write failure: plain words for a full
    // disk or a file size limit, otherwise the converter's own line.
    std::string writeFailureWords() const;

private:
    void lineEnded(std::string_view line);

    LastOutputLine lines_;
    OutputWriteFailure writeFailure_ = OutputWriteFailure::None;
    std::string writeFailureLine_;
};

// "The converter was stopped by signal 9."
std::string describeConverterSignal(int signal);

} // namespace reelhound
