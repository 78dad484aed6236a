#pragma once
#include <cstdint>

// What this process holds, read from /proc/self.
struct TProcessFigures {
    int64_t residentKiB = 0;   // resident set now
    int64_t peakKiB = 0;       // highest resident set so far
    int descriptors = 0;       // open file descriptors

    static TProcessFigures Now();
};
