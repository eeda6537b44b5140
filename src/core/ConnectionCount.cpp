#include "core/ConnectionCount.h"

#include <algorithm>

namespace reelhound {

void ConnectionCount::sample(double seconds, std::int64_t totalBytes, int running) {
    if (!growing_ || running < wanted_ || seconds < waitUntil_ || !spanStart_) {
        // Only a span with every wanted connection flowing throughout says
        // what that many achieve.
        spanStart_ = {seconds, totalBytes};
        return;
    }
    const double elapsed = seconds - spanStart_->first;
    if (elapsed < kSpanSeconds)
        return;
    const double rate = static_cast<double>(totalBytes - spanStart_->second) / elapsed;
    spanStart_ = {seconds, totalBytes};
    if (rateBefore_ && rate < *rateBefore_ * kNoticeableGain) {
        // The last step gained nothing: the server, not the connection, is
        // the limit, and the extra connections only cost.
        wanted_ = before_;
        growing_ = false;
        return;
    }
    if (wanted_ >= most_) {
        growing_ = false;
        return;
    }
    before_ = wanted_;
    rateBefore_ = rate;
    wanted_ = std::min(most_, wanted_ * 2);
}

void ConnectionCount::refused(double seconds, std::optional<double> retryAfterSeconds,
                              int running) {
    most_ = std::max(1, std::min(most_, running));
    wanted_ = std::min(wanted_, most_);
    growing_ = false;
    waitUntil_ = std::max(waitUntil_, seconds + retryAfterSeconds.value_or(kDefaultWaitSeconds));
    spanStart_.reset();
}

} // namespace reelhound
