#include "core/ConnectionCount.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace reelhound {
namespace {

// A download against a model server for five seconds, in steps of 50 ms: the
// connections the count wants are opened at once where the server takes them.
TEST(ConnectionCountTest, findsWhatTheServerGives) {
    struct Case {
        const char* name;
        double perConnection; // bytes a second one connection gets
        double all;           // bytes a second all together get
        int accepts;          // connections the server takes at once
        double busyUntil;     // before this it answers 503 with Retry-After: 2
        int wanted;           // at the end
        int mostRunning;
        int refusals;
        double mostBy;        // seconds by which mostRunning ran
        double thisSide = 1e12; // bytes a second the disk here takes
        int allowed = kMostConnections;
        double silentUntil = 0; // the server sends nothing before
    };
    const Case cases[] = {
        // Four quadruple the rate: straight on to eight.
        {"each connection held back", 16e6, 1e12, 99, 0, 8, 8, 0, 0.5},
        {"a fast open server: one connection is enough", 1e9, 1e9, 99, 0, 1, 1, 0, 0},
        {"a slow open link: more connections gain nothing", 8e6, 8e6, 99, 0, 1, 4, 0, 0.2},
        {"more connections gain, not in proportion: back to two", 6e6, 9e6, 99, 0, 2, 4, 0, 0.2},
        {"held back, and a link that carries four", 10e6, 40e6, 99, 0, 4, 8, 0, 0.5},
        {"held back, three at once accepted", 10e6, 1e12, 3, 0, 3, 3, 1, 0.5},
        {"busy at first: waits as told, then keeps to one", 10e6, 1e12, 99, 1.0, 1, 1, 1, 2.0},
        // The connection hardly waits for the network: more would not help.
        {"a slow disk behind a fast server", 1e9, 1e9, 99, 0, 1, 1, 0, 0, 30e6},
        {"held back, and a disk that takes two", 16e6, 1e12, 99, 0, 2, 4, 0, 0.2, 32e6},
        {"held back, and the download allows two", 16e6, 1e12, 99, 0, 2, 2, 0, 0.2, 1e12, 2},
        // Spans without a byte say nothing: the count starts once bytes come
        // (the first span after still holds a sample of the silence, so two stay).
        {"silent at first, then a slow open link", 8e6, 8e6, 99, 0, 2, 4, 0, 0.6, 1e12, 8, 0.3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConnectionCount count(c.allowed);
        int running = 0, mostRunning = 0, refusals = 0;
        double bytes = 0, mostBy = 0, waited = 0;
        for (int step = 0; step <= 100; ++step) {
            const double seconds = step * 0.05;
            running = std::min(running, count.wanted());
            while (count.mayOpen(seconds, running)) {
                if (running < c.accepts && seconds >= c.busyUntil) {
                    ++running;
                } else {
                    ++refusals;
                    count.refused(seconds, seconds < c.busyUntil ? 2.0 : 1.0, running);
                }
            }
            if (running > mostRunning) {
                mostRunning = running;
                mostBy = seconds;
            }
            const double offered =
                seconds < c.silentUntil ? 0 : std::min(c.all, running * c.perConnection);
            bytes += std::min(offered, c.thisSide) * 0.05;
            // Held back here, a connection finds data waiting whenever it looks.
            waited += running * 0.05 * (offered > c.thisSide ? 0.01 : 0.5);
            count.sample({seconds, static_cast<std::int64_t>(bytes), running, waited});
        }
        EXPECT_EQ(count.wanted(), c.wanted);
        EXPECT_EQ(mostRunning, c.mostRunning);
        EXPECT_EQ(refusals, c.refusals);
        EXPECT_LE(mostBy, c.mostBy);
    }
}

} // namespace
} // namespace reelhound
