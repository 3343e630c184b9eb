// Speed of importing a season of device files with kolvio-db.
//
//   build/bench/bench_import [WORKDIR] [FILES] [DIARY_RIDES]
//
// WORKDIR (default: a fresh folder under /tmp, removed at the end) receives
// FILES (default 1000) FIT files of the 10-hour ride of bench_activity (36,000
// records each), one a day, and two databases: a new one and a generated
// diary of DIARY_RIDES rides (default 100,000). With the files in the page
// cache it measures:
//   read     the peer: LoadRideFigures on every file in this process, the
//            reading and working out that any import has to do;
//   import   `kolvio-db import DB FOLDER` into each database, the process as
//            the rider runs it (start, opening the database, reading the
//            diary for duplicates, every file read, checked and stored);
//   again    the same import once more: every file read and skipped as a
//            duplicate, nothing stored.
// Goal: the import is limited by reading the files, not by the table, so
// import / read stays close to 1 and does not grow with the diary.
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "activity/activity_file.h"
#include "bench_util.h"
#include "fit_writer.h"
#include "gen_diary.h"
#include "ten_hour_ride.h"

namespace {

namespace fs = std::filesystem;
using kolvio::bench::Check;
using kolvio::bench::TimeMs;

// Wall-clock and processor time in milliseconds; on this shared machine the
// processor time is the figure to trust.
struct Cost {
    double wall = 0, cpu = 0;
};

double CpuMs(const timeval& user, const timeval& sys) {
    return (user.tv_sec + sys.tv_sec) * 1e3 + (user.tv_usec + sys.tv_usec) / 1e3;
}

// Runs kolvio-db with `args`, its output thrown away; its exit code and, in
// `cost`, its wall-clock and processor time.
int KolvioDb(const std::vector<std::string>& args, Cost* cost = nullptr) {
    std::fflush(stdout);  // the child must not write our buffer again
    const auto start = kolvio::bench::Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv = {const_cast<char*>(KOLVIO_DB)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (!freopen("/dev/null", "w", stdout)) _exit(127);
        execv(KOLVIO_DB, argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (cost) {
        cost->wall = kolvio::bench::Ms(kolvio::bench::Clock::now() - start);
        cost->cpu = CpuMs(usage.ru_utime, usage.ru_stime);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double ProcessCpuMs() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    std::string work = argc > 1 ? argv[1] : "";
    const bool own = work.empty();
    if (own) {
        char pattern[] = "/tmp/kolvio-bench-import-XXXXXX";
        work = mkdtemp(pattern);
    }
    const int files = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int64_t diaryRides = argc > 3 ? std::atoll(argv[3]) : 100000;
    // No remembered choices: the settings of a fresh program.
    setenv("KOLVIO_HOME", work.c_str(), 1);

    const std::string folder = work + "/fit";
    fs::create_directories(folder);
    std::vector<std::string> paths;
    uint64_t bytes = 0;
    for (int i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/ride%04d.fit", i);
        paths.push_back(folder + name);
        if (fs::exists(paths.back())) {  // a WORKDIR of an earlier run
            bytes += fs::file_size(paths.back());
            continue;
        }
        // 2021-01-01 06:00 UTC plus a day per file.
        const auto ride = kolvio::bench::TenHourRide(1609480800.0 + 86400.0 * i);
        const std::string fit = kolvio::activity::testing::WriteFitActivity(ride);
        std::ofstream(paths.back(), std::ios::binary) << fit;
        bytes += fit.size();
    }
    const std::string fresh = work + "/nova", diary = work + "/denik";
    fs::remove_all(fresh);
    fs::remove_all(diary);
    if (KolvioDb({"open", fresh}) != 0) return 1;
    Check(kolvio::bench::GenerateDiary(diary, {.rides = diaryRides}));
    if (KolvioDb({"open", diary}) != 0) return 1;  // builds the indexes
    std::printf("%d FIT files of 10 hours (36,000 records), %.0f MB\n", files, bytes / 1e6);

    // Warm the page cache, then the peer.
    Cost read;
    for (int pass = 0; pass < 2; ++pass) {
        const double cpu = ProcessCpuMs();
        read.wall = TimeMs([&] {
            for (const std::string& p : paths) {
                if (!kolvio::activity::LoadRideFigures(p, 0).ok()) std::exit(1);
            }
        });
        read.cpu = ProcessCpuMs() - cpu;
    }
    const auto print = [&](const char* label, const Cost& c, const char* note) {
        std::printf("%-6s %8.0f ms wall %8.0f ms cpu  %6.2f ms cpu a file  cpu / read %.2f  %s\n",
                    label, c.wall, c.cpu, c.cpu / files, c.cpu / read.cpu, note);
    };
    print("read", read, "(peer: LoadRideFigures on every file, in this process)");
    struct Target {
        const char* label;
        std::string db;
    };
    for (const Target& t : {Target{"new", fresh}, Target{"diary", diary}}) {
        Cost first, again;
        if (KolvioDb({"import", t.db, folder}, &first) != 0) return 1;
        if (KolvioDb({"import", t.db, folder}, &again) != 0) return 1;
        const std::string into = t.db == diary
                                     ? "(into a diary of " + std::to_string(diaryRides) + " rides)"
                                     : std::string("(into a new database)");
        print("import", first, into.c_str());
        print("again", again, "(the same files again: all skipped as duplicates)");
    }
    std::printf("command: KOLVIO_HOME=%s %s import %s %s\n", work.c_str(), KOLVIO_DB, fresh.c_str(),
                folder.c_str());
    if (own) fs::remove_all(work);
    return 0;
}
