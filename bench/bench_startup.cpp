// Start-up time of the desktop program: from starting the process to the
// navigator painted, on a database of many rides, with the same start on an
// empty database for comparison.
//
//   build/bench/bench_startup [ROWS] [RUNS]
//
// Makes a private program folder (KOLVIO_HOME) whose DATA holds a diary of
// ROWS rides from the synthetic diary generator (default 100,000), then
// starts "kolvio --quit-when-shown" RUNS times (default 9) under the offscreen
// platform, timing each start until the program prints "shown". The first
// start of each database is not counted (it adds the index definitions and
// warms the file cache). Prints the median and the fastest run of both.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.h"
#include "gen_diary.h"

extern char** environ;

namespace {

using namespace kolvio;
using namespace kolvio::bench;

void MakeDiary(const std::string& dataDir, int rows) {
    std::filesystem::create_directories(dataDir);
    Check(bench::GenerateDiary(dataDir, {rows, 1}));
}

// Milliseconds from spawning the program to its "shown".
double StartOnce(const std::string& home) {
    int out[2];
    if (pipe(out) != 0) std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> env = {"KOLVIO_HOME=" + home, "QT_QPA_PLATFORM=offscreen"};
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (var.rfind("KOLVIO_HOME=", 0) != 0 && var.rfind("QT_QPA_PLATFORM=", 0) != 0)
            env.push_back(var);
    }
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = KOLVIO_PROGRAM, option = "--quit-when-shown";
    char* argv[] = {program.data(), option.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) {
        std::perror(program.c_str());
        std::exit(1);
    }
    close(out[1]);
    std::string text;
    char buf[256];
    double ms = -1;
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) {
        text.append(buf, static_cast<size_t>(n));
        if (ms < 0 && text.find("shown\n") != std::string::npos) {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (ms < 0) {
        std::fprintf(stderr, "kolvio ended without showing the navigator\n");
        std::exit(1);
    }
    return ms;
}

void Measure(const char* label, const std::string& home, int runs) {
    (void)StartOnce(home);  // index definitions, file cache
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i)
        ms.push_back(StartOnce(home));
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s median %7.1f ms   fastest %7.1f ms   (%d runs)\n", label, ms[ms.size() / 2],
                ms.front(), runs);
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                       ("kolvio-bench-startup-" + std::to_string(getpid()));
    const std::string full = (root / "full").string(), empty = (root / "empty").string();
    const Clock::time_point t0 = Clock::now();
    MakeDiary(full + "/DATA", rows);
    MakeDiary(empty + "/DATA", 0);
    std::printf("diary of %d rides written in %.1f s\n", rows,
                std::chrono::duration<double>(Clock::now() - t0).count());
    Measure(("start, " + std::to_string(rows) + " rides").c_str(), full, runs);
    Measure("start, empty database", empty, runs);
    std::filesystem::remove_all(root);
    return 0;
}
