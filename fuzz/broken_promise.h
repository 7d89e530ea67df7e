// REQUIRE(promise): stops the fuzz run with the promise that broke, so the finding names it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define REQUIRE(promise)                                            \
    do {                                                            \
        if (!(promise)) {                                           \
            std::fprintf(stderr, "broken promise: %s\n", #promise); \
            std::abort();                                           \
        }                                                           \
    } while (false)
