#include "core/TransferRate.h"

#include <algorithm>
#include <cmath>

namespace reelhound {

bool TransferRate::sample(std::int64_t bytes, double seconds) {
    const double span = seconds - spanStart_;
    if (bytes < spanBytes_) { // started over from an earlier point
        spanBytes_ = bytes;
        spanStart_ = seconds;
        return false;
    }
    if (span < kRateSpanSeconds)
        return false;
    const double measured = static_cast<double>(bytes - spanBytes_) / span;
    rate_ = rate_ ? kRateSmoothing * measured + (1.0 - kRateSmoothing) * *rate_ : measured;
    spanBytes_ = bytes;
    spanStart_ = seconds;
    return true;
}

std::optional<long> TransferRate::secondsLeft(std::int64_t bytes,
                                              std::int64_t expectedLength) const {
    if (!rate_ || *rate_ <= 0.0 || expectedLength <= 0)
        return std::nullopt;
    const double left = static_cast<double>(std::max<std::int64_t>(expectedLength - bytes, 0));
    return static_cast<long>(std::ceil(left / *rate_));
}

std::optional<TransferRateLine> transferRateLine(const TransferRate& rate, std::int64_t bytes,
                                                 std::int64_t expectedLength) {
    if (!rate.bytesPerSecond())
        return std::nullopt;
    constexpr double kMegabyte = 1'000'000.0;
    TransferRateLine line;
    line.receivedMegabytes = static_cast<double>(bytes) / kMegabyte;
    line.megabytesPerSecond = *rate.bytesPerSecond() / kMegabyte;
    if (expectedLength <= 0)
        return line;
    line.expectedMegabytes = static_cast<double>(expectedLength) / kMegabyte;
    const std::optional<long> left = rate.secondsLeft(bytes, expectedLength);
    if (!left)
        line.wording = kRateOfLengthText;
    else if (*left < 90)
        line = TransferRateLine{kRateSecondsLeftText, line.receivedMegabytes,
                                line.expectedMegabytes, line.megabytesPerSecond, *left};
    else
        line = TransferRateLine{kRateMinutesLeftText, line.receivedMegabytes,
                                line.expectedMegabytes, line.megabytesPerSecond, (*left + 30) / 60};
    return line;
}

} // namespace reelhound
