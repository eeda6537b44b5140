#include "core/DownloadProgress.h"

#include <charconv>
#include <string_view>

namespace reelhound {

std::optional<double> downloadProgressPercent(std::int64_t bytesReceived,
                                              std::int64_t expectedContentLength) {
    if (expectedContentLength <= 0)
        return std::nullopt;
    const float received = static_cast<float>(bytesReceived);
    const float expected = static_cast<float>(expectedContentLength);
    const float quotient = received / expected;
    const float percent = quotient * 100.0f;
    return static_cast<double>(percent);
}

namespace {

// The percentage with two decimals and '.' as the point. to_chars rather than
// printf: the application runs under the user's locale, which may use a
// decimal comma. Empty without a percentage.
std::string percentDigits(std::optional<double> percent) {
    if (!percent)
        return {};
    char digits[400]; // room for any double in fixed notation
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, *percent, std::chars_format::fixed, 2);
    return error == std::errc() ? std::string(digits, end) : std::string();
}

void replace(std::string& text, std::string_view placeholder, const std::string& value) {
    if (const auto at = text.find(placeholder); at != std::string::npos)
        text.replace(at, placeholder.size(), value);
}

DownloadProgress progressWith(std::int64_t bytesReceived, std::optional<double> percent) {
    DownloadProgress progress;
    progress.percent = percent;
    progress.bytesReceived = bytesReceived;
    progress.bytes = std::to_string(bytesReceived);
    progress.digits = percentDigits(percent);
    progress.wording = progress.digits.empty() ? kReceivedBytesText : kReceivedBytesAndPercentText;
    progress.text = progress.wording;
    replace(progress.text, "%1", progress.bytes);
    replace(progress.text, "%2", progress.digits);
    return progress;
}

} // namespace

std::string downloadProgressText(std::int64_t bytesReceived, std::optional<double> percent) {
    return progressWith(bytesReceived, percent).text;
}

DownloadProgress downloadProgress(std::int64_t bytesReceived, std::int64_t expectedContentLength) {
    return progressWith(bytesReceived,
                        downloadProgressPercent(bytesReceived, expectedContentLength));
}

} // namespace reelhound
