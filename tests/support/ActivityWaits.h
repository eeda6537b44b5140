#pragma once

#include "app/ApplicationController.h"
#include "support/EventLoop.h"

namespace reelhound::testing {

// The link lookup and the conversion run while the event loop does; these wait
// for them to end and say whether they did in time.
inline bool waitForLinkLookup(const ApplicationController& controller, int milliseconds = 60000) {
    return runEventLoopUntil([&] { return !controller.activities().lookupRunning; }, milliseconds);
}

inline bool waitForConversion(const ApplicationController& controller, int milliseconds = 120000) {
    return runEventLoopUntil([&] { return !controller.activities().converting; }, milliseconds);
}

} // namespace reelhound::testing
