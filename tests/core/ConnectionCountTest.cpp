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
    };
    const Case cases[] = {
        {"each connection held back", 16e6, 1e12, 99, 0, 8, 8, 0},
        {"an open server: the second connection gains nothing", 1e9, 1e9, 99, 0, 1, 2, 0},
        {"held back, and a link that carries four", 10e6, 40e6, 99, 0, 4, 8, 0},
        {"held back, three at once accepted", 10e6, 1e12, 3, 0, 3, 3, 1},
        {"busy at first: waits as told, then keeps to one", 10e6, 1e12, 99, 1.0, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConnectionCount count;
        int running = 0, mostRunning = 0, refusals = 0;
        double bytes = 0;
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
            mostRunning = std::max(mostRunning, running);
            bytes += std::min(c.all, running * c.perConnection) * 0.05;
            count.sample(seconds, static_cast<std::int64_t>(bytes), running);
        }
        EXPECT_EQ(count.wanted(), c.wanted);
        EXPECT_EQ(mostRunning, c.mostRunning);
        EXPECT_EQ(refusals, c.refusals);
    }
}

} // namespace
} // namespace reelhound
