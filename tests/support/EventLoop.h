#pragma once

#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace reelhound::testing {

// The one way tests, benchmarks and tools wait for the application.
//
// Runs the event loop until the condition holds or the time is up; says
// whether it holds. The loop sleeps between events as the application's does:
// polling with processEvents would take a core from the work under test, and
// QTest::qWaitFor sleeps in whole rounds that would throttle it.
inline bool runEventLoopUntil(const std::function<bool()>& condition, int milliseconds = 20000,
                              int checkEveryMilliseconds = 2) {
    if (condition())
        return true;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (condition())
            loop.quit();
    });
    check.start(checkEveryMilliseconds);
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return condition();
}

// Runs the event loop for a while, so that what is queued or deferred happens.
inline void runEventLoopFor(int milliseconds) {
    runEventLoopUntil([] { return false; }, milliseconds);
}

} // namespace reelhound::testing
