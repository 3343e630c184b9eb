// Running kolvio-db as a rider would, and reading what it printed.
#pragma once

#include <string>
#include <vector>

namespace kolvio::testing {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    bool timedOut = false;  // killed after the time limit
};

// Runs `program` with `args`, standard input empty, and collects both
// outputs. A program still running after `seconds` is killed.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      int seconds = 20);

}  // namespace kolvio::testing
