#pragma once

#include <optional>
#include <string>

// When a failed transfer is tried again, and after how long.
namespace reelhound {

// Enough retries in a row that an outage of two minutes (a proxy restarting,
// a laptop changing networks) passes: their pauses add up to 120 seconds.
inline constexpr int kMaximumRetries = 41;
// The longest pause between two tries of our own choosing: the network that
// comes back is found at most this late. A refused connection costs nothing.
inline constexpr int kLongestRetryPauseSeconds = 3;
// A server's Retry-After is honoured up to this many seconds.
inline constexpr int kLongestRetryAfterSeconds = 60;

// The statuses that say "not now" rather than "never": 408, 429, 500, 502,
// 503 and 504. Every other status of 400 and above is final.
bool isTransientHTTPStatus(int status);

// The pause before retry number `retry` (1 for the first): 1, 2, then 3
// seconds, or the server's Retry-After when it gave one, at most 60 seconds.
int retryPauseSeconds(int retry, std::optional<int> retryAfterSeconds);

// A Retry-After field in its delay form ("120"); the date form and anything
// else give nothing, so the usual pause applies.
std::optional<int> parseRetryAfter(const std::string& field);

} // namespace reelhound
