#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

// How many connections a download runs, learnt from what they achieve: one
// at first, then four, then twice as many, while that raises the total rate
// noticeably, up to kMostConnections. A step that raises the rate as much as it adds
// connections shows a server holding each one back: the next step goes
// straight to the most, and back to what the rate then says the path carries.
// A server that refuses a connection or answers 429 or 503 gets fewer, never
// again more than it held at once, and nothing new before its Retry-After has
// passed. Fed with times and byte counts, so it keeps no clock of its own.
namespace reelhound {

inline constexpr int kMostConnections = 8;

class ConnectionCount {
public:
    // Rates are compared over spans this long. Short, because a throttled
    // download spends every span before the last step at a fraction of its
    // rate; connections still opening do not count, so a slow start does not
    // look like a server that gives no more.
    static constexpr double kSpanSeconds = 0.1;
    // A verdict that ends the growing, or that does not jump, is taken over
    // this many spans: a rate measured over one can be off by a burst.
    static constexpr int kSureSpans = 2;
    // The first step from one connection: bold, since a download held back
    // loses most while few run, and judged as a jump (back to what the rate
    // says the path carries).
    static constexpr int kFirstStep = 4;
    // A step counts as a gain from this factor on.
    static constexpr double kNoticeableGain = 1.15;
    // A step whose rate reaches this share of what each connection got
    // before, times the connections, adds as much as it adds connections.
    static constexpr double kProportionalShare = 0.8;
    // One connection this fast is held back by no server; a second one would
    // only share the path, and testing it costs what is in flight on it.
    static constexpr double kFastConnection = 100.0 * 1024 * 1024;
    // Connections that wait for the network less than this share of a span
    // are held back by this side: no more are added.
    static constexpr double kThisSideBoundShare = 0.1;
    // The wait after a refusal that names no Retry-After.
    static constexpr double kDefaultWaitSeconds = 5;

    // mostConnections: what the download allows at once.
    explicit ConnectionCount(int mostConnections = kMostConnections)
        : most_(std::max(1, mostConnections)) {}

    struct Sample {
        double seconds = 0;          // since the download began
        std::int64_t totalBytes = 0; // of all its connections so far
        int running = 0;             // connections with data flowing now
        double secondsWaited = 0;    // all its connections waited for the network so far
    };
    void sample(const Sample& now);
    // A connection was refused, or answered 429 or 503, while running others
    // held on.
    void refused(double seconds, std::optional<double> retryAfterSeconds, int running);

    // With more running than this, a connection that finishes its range
    // takes no other: a step back never cuts a range short.
    int wanted() const { return wanted_; }
    // Whether another connection may be opened now.
    bool mayOpen(double seconds, int running) const {
        return running < wanted_ && seconds >= waitUntil_;
    }

private:
    enum class Step { Grow, Stop, Unsure };
    // After a span at the wanted count: the next count, or the count to keep;
    // Unsure while the span is too short for the verdict.
    Step stepFrom(double rate, bool sure);
    Step stopHeldBackHere(double rate, bool sure);

    int wanted_ = 1;
    int before_ = 1;                   // the count before the last step
    std::optional<double> rateBefore_; // the rate before the last step
    int most_;                         // what the download allows, the server is known to accept
    bool growing_ = true;
    double waitUntil_ = 0;
    std::optional<Sample> spanStart_;
};

} // namespace reelhound
