#pragma once

#include "core/UserText.h"

#include <cstdint>
#include <optional>

// How fast a file arrives and how long the rest will take, for the status
// line. The rate is measured over spans of at least kRateSpanSeconds and
// smoothed, so that one quick or slow chunk does not make the figures jump.
namespace reelhound {

inline constexpr double kRateSpanSeconds = 0.5;
// The weight of the newest span in the smoothed rate.
inline constexpr double kRateSmoothing = 0.3;

class TransferRate {
public:
    // The bytes received so far, at the seconds since the transfer began.
    // Returns true when the rate has changed.
    bool sample(std::int64_t bytes, double seconds);

    // Bytes a second; empty until a span has been measured.
    std::optional<double> bytesPerSecond() const { return rate_; }
    // Whole seconds until the expected length is reached at the current rate;
    // empty without a length or a rate above zero.
    std::optional<long> secondsLeft(std::int64_t bytes, std::int64_t expectedLength) const;

private:
    std::int64_t spanBytes_ = 0;
    double spanStart_ = 0.0;
    std::optional<double> rate_;
};

// The status line while a file arrives, in megabytes (a million bytes).
inline constexpr const char* kRateText =
    REELHOUND_USER_TEXT("DownloadProgress", "%1 MB at %2 MB/s");
inline constexpr const char* kRateOfLengthText =
    REELHOUND_USER_TEXT("DownloadProgress", "%1 of %2 MB at %3 MB/s");
inline constexpr const char* kRateSecondsLeftText =
    REELHOUND_USER_TEXT("DownloadProgress", "%1 of %2 MB at %3 MB/s, about %4 s left");
inline constexpr const char* kRateMinutesLeftText =
    REELHOUND_USER_TEXT("DownloadProgress", "%1 of %2 MB at %3 MB/s, about %4 min left");

struct TransferRateLine {
    const char* wording = kRateText;
    double receivedMegabytes = 0.0;     // %1
    double expectedMegabytes = 0.0;     // %2, with a length
    double megabytesPerSecond = 0.0;    // %2 without a length, %3 with one
    long left = 0;                      // %4: seconds, or whole minutes from 90 s on
};

// Empty until the rate is known.
std::optional<TransferRateLine> transferRateLine(const TransferRate& rate, std::int64_t bytes,
                                                 std::int64_t expectedLength);

} // namespace reelhound
