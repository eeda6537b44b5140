#include "core/ConnectionCount.h"

#include <algorithm>
#include <cmath>

namespace reelhound {

void ConnectionCount::sample(const Sample& now) {
    if (!growing_ || now.running < wanted_ || now.seconds < waitUntil_ || !spanStart_) {
        // Only a span with every wanted connection flowing throughout says
        // what that many achieve.
        spanStart_ = now;
        return;
    }
    const double elapsed = now.seconds - spanStart_->seconds;
    if (elapsed < kSpanSeconds)
        return;
    const double rate = static_cast<double>(now.totalBytes - spanStart_->totalBytes) / elapsed;
    if (rate <= 0) {
        spanStart_ = now; // nothing came: a span from here says what the connections do
        return;
    }
    const bool sure = elapsed >= kSureSpans * kSpanSeconds;
    const bool thisSideBound =
        (now.secondsWaited - spanStart_->secondsWaited) / (elapsed * now.running) <
        kThisSideBoundShare;
    const Step step = thisSideBound ? stopHeldBackHere(rate, sure) : stepFrom(rate, sure);
    if (step == Step::Unsure)
        return; // the span goes on
    spanStart_ = now;
    growing_ = step == Step::Grow;
}

// The connections hardly wait for the network: this side (the disk, the
// processor) holds them back, and more would only share it. As many stay as
// the rate says brought it.
ConnectionCount::Step ConnectionCount::stopHeldBackHere(double rate, bool sure) {
    if (!sure)
        return Step::Unsure;
    if (rateBefore_) {
        const auto carried = static_cast<int>(std::lround(rate * before_ / *rateBefore_));
        wanted_ = std::clamp(carried, before_, wanted_);
    }
    return Step::Stop;
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
