#include "core/ConverterReport.h"

#include <array>

namespace reelhound {
namespace {

constexpr std::string_view kWhiteSpace = " \t\v\f\r\n";

std::string_view trimmed(std::string_view line) {
    const auto first = line.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(kWhiteSpace) - first + 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLowerAlnum(char c) {
    return (c >= 'a' && c <= 'z') || isDigit(c);
}

// "libavutil      57. 28.100 / 57. 28.100": a library name, then only
// version figures.
bool isLibraryVersionLine(std::string_view line) {
    if (!line.starts_with("lib"))
        return false;
    std::size_t i = 3;
    while (i < line.size() && isLowerAlnum(line[i]))
        ++i;
    if (i == 3 || i == line.size() || line[i] != ' ')
        return false;
    bool digits = false;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (isDigit(c))
            digits = true;
        else if (c != ' ' && c != '.' && c != '/')
            return false;
    }
    return digits;
}

// How ffmpeg introduces a failure to write its output.
constexpr std::array<std::string_view, 3> kWriteFailureOpenings = {
    "Error writing trailer",
    "Error closing file",
    "av_interleaved_write_frame():",
};

// The system's words for errors that leave a written file incomplete, as
// ffmpeg appends them to the line that names what failed.
struct ErrorWords {
    std::string_view words;
    OutputWriteFailure failure;
};
constexpr std::array<ErrorWords, 5> kWriteErrorWords = {{
    {": No space left on device", OutputWriteFailure::DiskFull},
    {": Disk quota exceeded", OutputWriteFailure::DiskFull},
    {": File too large", OutputWriteFailure::FileTooLarge},
    {": Input/output error", OutputWriteFailure::Other},
    {": Broken pipe", OutputWriteFailure::Other},
}};

} // namespace

bool isConverterBannerLine(std::string_view line) {
    line = trimmed(line);
    return line.starts_with("ffmpeg version ") || line.starts_with("built with ") ||
           line.starts_with("configuration:") || isLibraryVersionLine(line);
}

OutputWriteFailure outputWriteFailureIn(std::string_view line) {
    line = trimmed(line);
    for (const auto& [words, failure] : kWriteErrorWords) {
        if (line.ends_with(words))
            return failure;
    }
    for (const auto opening : kWriteFailureOpenings) {
        if (line.starts_with(opening))
            return OutputWriteFailure::Other;
    }
    return OutputWriteFailure::None;
}

ConverterReport::ConverterReport()
    : lines_([](std::string_view line) { return !isConverterBannerLine(line); },
             [this](std::string_view line) { lineEnded(line); }) {}

void ConverterReport::append(std::string_view bytes) {
    lines_.append(bytes);
}

void ConverterReport::lineEnded(std::string_view line) {
    if (writeFailure_ != OutputWriteFailure::None)
        return; // the first one says what went wrong; the rest follow from it
    writeFailure_ = outputWriteFailureIn(line);
    if (writeFailure_ != OutputWriteFailure::None)
        writeFailureLine_ = std::string(trimmed(line)); // bytes as they came; shown decoded
}

std::string ConverterReport::writeFailureWords() const {
    switch (writeFailure_) {
    case OutputWriteFailure::None:
        return {};
    case OutputWriteFailure::DiskFull:
        return kDiskFullWords;
    case OutputWriteFailure::FileTooLarge:
        return kFileTooLargeWords;
    case OutputWriteFailure::Other:
        break;
    }
    return writeFailureLine_;
}

std::string describeConverterSignal(int signal) {
    std::string text = kConverterSignalText;
    text.replace(text.find("%1"), 2, std::to_string(signal));
    return text;
}

} // namespace reelhound
