// Small helpers shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

#include "data/status.h"

namespace kolvio::bench {

using Clock = std::chrono::steady_clock;

// A benchmark cannot go on after a failed step: print the message and stop.
inline void Check(const Status& st) {
    if (!st.ok()) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        std::exit(1);
    }
}

// Processor time this process has spent, in milliseconds: on a shared
// machine it says what the work cost, beside the wall-clock figure.
inline double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

inline double TimeMs(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return Ms(Clock::now() - start);
}

}  // namespace kolvio::bench
