#include "core/DownloadProgress.h"

#include <charconv>

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

std::string downloadProgressText(std::int64_t bytesReceived, std::optional<double> percent) {
    std::string text = "received " + std::to_string(bytesReceived) + " bytes";
    if (!percent)
        return text;
    // to_chars rather than printf: the application runs under the user's
    // locale, which may use a decimal comma.
    char digits[400]; // room for any double in fixed notation
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, *percent, std::chars_format::fixed, 2);
    if (error != std::errc())
        return text;
    text += " / ";
    text.append(digits, end);
    text += " percent complete";
    return text;
}

DownloadProgress downloadProgress(std::int64_t bytesReceived, std::int64_t expectedContentLength) {
    DownloadProgress progress;
    progress.percent = downloadProgressPercent(bytesReceived, expectedContentLength);
    progress.text = downloadProgressText(bytesReceived, progress.percent);
    return progress;
}

} // namespace reelhound
