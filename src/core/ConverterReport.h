#pragma once

#include "core/ConverterOutput.h"
#include "core/FileErrorText.h"
#include "core/UserText.h"

#include <string>
#include <string_view>

// What the converter's error output tells about a run: whether it could not
// write its output (ffmpeg may say so and still exit with status 0), and its
// last words that are not the banner it prints at every start.
namespace reelhound {

// The words for a file grown beyond the system's limit, in the context
// "FileError" like the disk's.
inline constexpr const char* kFileTooLargeWords =
    REELHOUND_USER_TEXT("FileError", "The file grew larger than the system allows.");
// "The converter was stopped by signal %1."
inline constexpr const char* kConverterSignalText =
    REELHOUND_USER_TEXT("ConverterReport", "The converter was stopped by signal %1.");

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
    // disk or a file size limit (English, to be translated in the context
    // "FileError"), otherwise the converter's own line.
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
