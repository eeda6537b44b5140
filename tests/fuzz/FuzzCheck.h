#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant a fuzzer found broken: say which, then abort so that libFuzzer
// keeps the input and a corpus replay fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
