#pragma once

#include "support/EventLoop.h"

#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <time.h>

// Small measuring helpers shared by the benchmarks.
namespace reelhound::bench {

// Seconds of CPU this process has used, user and system together.
inline double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Seconds of CPU the calling thread has used.
inline double threadCpuSeconds() {
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return used.tv_sec + used.tv_nsec / 1e9;
}

inline double wallSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

} // namespace reelhound::bench
