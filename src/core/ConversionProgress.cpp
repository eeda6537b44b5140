#include "core/ConversionProgress.h"

#include <algorithm>
#include <cmath>

namespace reelhound {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the digits at the front of the text; empty when there are none.
std::optional<double> takeNumber(std::string_view& text, std::size_t maxDigits) {
    std::size_t count = 0;
    double value = 0.0;
    while (count < text.size() && count < maxDigits && isDigit(text[count]))
        value = value * 10.0 + (text[count++] - '0');
    if (count == 0)
        return std::nullopt;
    text.remove_prefix(count);
    return value;
}

bool takeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

// The line without its leading blanks.
std::string_view withoutIndent(std::string_view line) {
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    return line;
}

// A conversion shorter than this gives no estimate worth showing.
constexpr double kShortestEstimateBasis = 1.0;

} // namespace

std::optional<double> converterTimestampSeconds(std::string_view text) {
    const auto hours = takeNumber(text, 9);
    if (!hours || !takeChar(text, ':'))
        return std::nullopt;
    const auto minutes = takeNumber(text, 2);
    if (!minutes || *minutes >= 60 || !takeChar(text, ':'))
        return std::nullopt;
    const auto seconds = takeNumber(text, 2);
    if (!seconds || *seconds >= 60)
        return std::nullopt;
    double fraction = 0.0;
    if (takeChar(text, '.')) {
        double scale = 0.1;
        while (!text.empty() && isDigit(text.front())) {
            fraction += (text.front() - '0') * scale;
            scale /= 10.0;
            text.remove_prefix(1);
        }
    }
    return *hours * 3600.0 + *minutes * 60.0 + *seconds + fraction;
}

std::optional<double> durationInLine(std::string_view line) {
    // Only a line of its own: a file's name may hold the same words.
    constexpr std::string_view kKey = "Duration:";
    line = withoutIndent(line);
    if (!line.starts_with(kKey))
        return std::nullopt;
    const auto seconds = converterTimestampSeconds(withoutIndent(line.substr(kKey.size())));
    if (!seconds || *seconds <= 0.0)
        return std::nullopt;
    return seconds;
}

std::optional<double> progressTimeInLine(std::string_view line) {
    // Progress lines start with the frame count, or the size for sound alone.
    line = withoutIndent(line);
    if (!line.starts_with("frame=") && !line.starts_with("size="))
        return std::nullopt;
    constexpr std::string_view kKey = "time=";
    const auto at = line.rfind(kKey);
    if (at == std::string_view::npos)
        return std::nullopt;
    return converterTimestampSeconds(line.substr(at + kKey.size()));
}

ConversionProgress::ConversionProgress()
    : lines_(nullptr, [this](std::string_view line) { lineEnded(line); }) {}

void ConversionProgress::append(std::string_view bytes) {
    lines_.append(bytes);
}

void ConversionProgress::finish() {
    lines_.end();
    if (duration_)
        percent_ = 100.0;
}

std::optional<double> ConversionProgress::percent() const {
    if (!duration_)
        return std::nullopt;
    return percent_;
}

std::optional<long> ConversionProgress::secondsLeft(double secondsElapsed) const {
    if (!duration_ || percent_ <= 0.0 || !(secondsElapsed >= kShortestEstimateBasis))
        return std::nullopt;
    const double left = secondsElapsed * (100.0 - percent_) / percent_;
    return static_cast<long>(std::ceil(left));
}

void ConversionProgress::lineEnded(std::string_view line) {
    if (!duration_) {
        // The source's length comes before any progress; an output's later
        // "Duration:" (if any) is not the source's.
        duration_ = durationInLine(line);
        return;
    }
    if (const auto reached = progressTimeInLine(line))
        percent_ = std::max(percent_, std::min(100.0, 100.0 * *reached / *duration_));
}

} // namespace reelhound
