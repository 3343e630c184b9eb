// Killing a child process at moments that sweep the length of an operation.
//
// The operation runs in a forked child that is killed with SIGKILL after a
// delay; the delays cover the whole length of an unkilled run evenly, each at
// a random place in its slot. How many moments: 20 per operation (10 under
// the sanitizers), or KOLVIO_KILL_MOMENTS from the environment for a run at
// scale (KOLVIO_KILL_MOMENTS=1000).
#pragma once

#include <chrono>
#include <functional>
#include <vector>

namespace kolvio::testing {

// The number of moments each operation is killed at.
int KillMoments();

// Runs `work` in a child killed after `delay` unless it ends first; true when
// it was killed before finishing.
bool RunAndKill(const std::function<void()>& work, std::chrono::microseconds delay);

// How long `work` takes in a child: the fastest of three runs, each after `reset`.
std::chrono::microseconds TimeUnkilled(const std::function<void()>& work,
                                       const std::function<void()>& reset);

// KillMoments() delays covering [0, total].
std::vector<std::chrono::microseconds> Sweep(std::chrono::microseconds total);

// Prints how many of the runs were killed inside the operation, so that a
// run at scale can be quoted.
void ReportKills(const char* operation, int moments, int killed);

}  // namespace kolvio::testing
