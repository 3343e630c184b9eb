// Runs a program as a fresh process and measures its wall-clock time, from
// fork to exit, and the processor time it used (user and system), with its
// output thrown away (the program still writes it). On a machine shared with
// other work the processor time is the steadier figure.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"

namespace kolvio::bench {

struct ProcessTime {
    double wallMs = 0;
    double cpuMs = 0;
};

inline ProcessTime RunProcess(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    ProcessTime t;
    t.wallMs = Ms(Clock::now() - start);
    t.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
              (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (%d)\n", args[0].c_str(), status);
        std::exit(1);
    }
    return t;
}

}  // namespace kolvio::bench
