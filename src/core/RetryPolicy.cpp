#include "core/RetryPolicy.h"

#include <algorithm>
#include <charconv>

namespace reelhound {

bool isTransientHTTPStatus(int status) {
    switch (status) {
    case 408:
    case 429:
    case 500:
    case 502:
    case 503:
    case 504:
        return true;
    default:
        return false;
    }
}

int retryPauseSeconds(int retry, std::optional<int> retryAfterSeconds) {
    if (retryAfterSeconds)
        return std::clamp(*retryAfterSeconds, 0, kLongestRetryAfterSeconds);
    return std::min(1 << std::clamp(retry - 1, 0, 5), kLongestRetryPauseSeconds);
}

std::optional<int> parseRetryAfter(const std::string& field) {
    const auto first = field.find_first_not_of(" \t");
    const auto last = field.find_last_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const char* begin = field.data() + first;
    const char* end = field.data() + last + 1;
    long long seconds = 0;
    const auto [stop, error] = std::from_chars(begin, end, seconds);
    if (error == std::errc::result_out_of_range && stop == end)
        return kLongestRetryAfterSeconds; // absurdly long: the longest we wait
    if (error != std::errc() || stop != end || seconds < 0)
        return std::nullopt;
    return static_cast<int>(std::min<long long>(seconds, kLongestRetryAfterSeconds));
}

} // namespace reelhound
