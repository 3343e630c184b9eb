#include "tests/data/database/kill_moments.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

namespace kolvio::testing {

using Clock = std::chrono::steady_clock;

int KillMoments() {
    if (const char* asked = std::getenv("KOLVIO_KILL_MOMENTS")) {
        const int n = std::atoi(asked);
        if (n > 0) return n;
    }
#ifdef __SANITIZE_ADDRESS__
    return 10;  // the sanitizers slow every run down many times
#else
    return 20;
#endif
}

bool RunAndKill(const std::function<void()>& work, std::chrono::microseconds delay) {
    const auto deadline = Clock::now() + delay;
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    while (Clock::now() < deadline) {
        if (waitpid(child, &status, WNOHANG) == child) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

std::chrono::microseconds TimeUnkilled(const std::function<void()>& work,
                                       const std::function<void()>& reset) {
    std::vector<std::chrono::microseconds> times;
    for (int i = 0; i < 3; ++i) {
        reset();
        const auto start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            work();
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        times.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start));
    }
    // The fastest run: a sweep within it lands inside the operation even
    // when a busy machine made one of the runs slow.
    return *std::min_element(times.begin(), times.end());
}

std::vector<std::chrono::microseconds> Sweep(std::chrono::microseconds total) {
    std::mt19937 rng(20030501);
    std::uniform_real_distribution<double> within(0, 1);
    const int moments = KillMoments();
    std::vector<std::chrono::microseconds> delays;
    for (int k = 0; k < moments; ++k) {
        const double at = (k + within(rng)) / moments * static_cast<double>(total.count());
        delays.emplace_back(static_cast<int64_t>(at));
    }
    return delays;
}

void ReportKills(const char* operation, int moments, int killed) {
    std::printf("[  kills   ] %s: %d moments, %d kills inside the operation\n", operation,
                moments, killed);
}

}  // namespace kolvio::testing
