#include "core/ConnectionCount.h"

#include <algorithm>
#include <cmath>

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
    const Step step = stepFrom(rate, elapsed >= kSureSpans * kSpanSeconds);
    if (step == Step::Unsure)
        return; // the span goes on
    spanStart_ = {seconds, totalBytes};
    growing_ = step == Step::Grow;
}

ConnectionCount::Step ConnectionCount::stepFrom(double rate, bool sure) {
    bool proportional = false;
    if (!rateBefore_) {
        if (rate >= kFastConnection)
            return sure ? Step::Stop : Step::Unsure;
    } else {
        // What each connection got before; a step that gives each added one
        // about as much shows connections held back one by one.
        const double perConnection = *rateBefore_ / before_;
        proportional = rate >= perConnection * wanted_ * kProportionalShare;
        if (!proportional && !sure)
            return Step::Unsure;
        if (rate < *rateBefore_ * kNoticeableGain) {
            // The last step gained nothing: the server, not the connection,
            // is the limit, and the extra connections only cost.
            wanted_ = before_;
            return Step::Stop;
        }
        if (!proportional && wanted_ > 2 * before_) {
            // A jump past what the path carries: the rest would only share it.
            const auto carried = static_cast<int>(std::lround(rate / perConnection));
            wanted_ = std::clamp(carried, before_ + 1, wanted_);
            return Step::Stop;
        }
    }
    if (wanted_ >= most_)
        return Step::Stop;
    before_ = wanted_;
    rateBefore_ = rate;
    const int next = wanted_ == 1 ? kFirstStep : wanted_ * 2;
    wanted_ = proportional ? most_ : std::min(most_, next);
    return Step::Grow;
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
