#pragma once

#include "core/UserText.h"

#include <cstdint>
#include <optional>
#include <string>

// What the progress bar and the progress line show while a file arrives.
namespace reelhound {

// The bar's value: the received count and the announced length are each
// converted to single precision, divided, multiplied by 100 in single precision
// and widened to double (1 of 3 gives 33.333335876464844). Not clamped: more
// bytes than announced give more than 100. Empty when no length was announced
// (-1) or the announced length is 0, so nothing divides by them.
std::optional<double> downloadProgressPercent(std::int64_t bytesReceived,
                                              std::int64_t expectedContentLength);

// The progress line's wording, translated in the context "DownloadProgress"
// with the byte count choosing the plural form: %1 is the byte count, %2 the
// percentage.
inline constexpr const char* kReceivedBytesText =
    REELHOUND_USER_COUNT_TEXT("DownloadProgress", "received %1 bytes");
inline constexpr const char* kReceivedBytesAndPercentText =
    REELHOUND_USER_COUNT_TEXT("DownloadProgress", "received %1 bytes / %2 percent complete");

// "received 512 bytes / 12.50 percent complete", or "received 512 bytes"
// without a percentage. The decimal point is always '.', whatever the locale.
std::string downloadProgressText(std::int64_t bytesReceived, std::optional<double> percent);

struct DownloadProgress {
    std::optional<double> percent;
    std::string text;    // in English
    const char* wording = kReceivedBytesText; // kReceivedBytesText or kReceivedBytesAndPercentText
    std::int64_t bytesReceived = 0; // picks the wording's plural form
    std::string bytes;   // %1 of the wording
    std::string digits;  // %2 of the wording; empty without a percentage
};

DownloadProgress downloadProgress(std::int64_t bytesReceived, std::int64_t expectedContentLength);

} // namespace reelhound
