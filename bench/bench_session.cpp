// The desktop program's first statements of a session against its second.
//
//   build/bench/bench_session DIR [RUNS]
//
// DIR holds a diary (bench_sql's, e.g. /tmp/kolvio-bench-sql/1000000). Each
// run is a fresh process (this program with --run) that opens the database
// as the program does at start (upgrade check, indexes made sure of, the six
// tables opened) and then runs, through the query the screens use, the
// monthly statistics twice and the one-route listing twice. The first run of
// a statement pays for whatever a session has not learned yet (sidecars
// read, indexes loaded); the second shows what is left. Medians of RUNS
// processes (default 5), wall-clock and processor time.
//
// Goal at 1,000,000 rides: each first run within 1.5 x of the second.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "data/database/database.h"
#include "sql_statements.h"

namespace {

using namespace kolvio;
using namespace kolvio::bench;

struct Timing {
    double wall = 0;
    double cpu = 0;
};

Timing Timed(const std::function<void()>& work) {
    const double c0 = CpuMs();
    const double wall = TimeMs(work);
    return {wall, CpuMs() - c0};
}

void RunStatement(Database& db, const std::string& text) {
    LocalQuery& q = db.Query1();
    q.close();
    q.setSql({text});
    Check(q.open());
    double sink = 0;
    const sql::ResultSet& r = *q.result();
    for (int64_t i = 0; i < r.size(); ++i) {
        for (size_t f = 0; f < r.fields().size(); ++f)
            sink += r.valueAt(i, static_cast<int>(f)).asDouble();
    }
    if (sink == 12345.678) std::printf(" ");
    q.close();
}

// One session: prints "open first second first second" as wall,cpu pairs.
int RunSession(const std::string& dir) {
    const auto statements = Statements();
    const std::string monthly = statements.at(1).ours;
    const std::string route = statements.at(4).ours;
    Database db;
    std::vector<Timing> t;
    t.push_back(Timed([&] { Check(db.MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles)); }));
    for (const std::string* s : {&monthly, &monthly, &route, &route})
        t.push_back(Timed([&] { RunStatement(db, *s); }));
    for (const Timing& x : t)
        std::printf("%.3f %.3f ", x.wall, x.cpu);
    std::printf("\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--run") == 0) return RunSession(argv[2]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_session DIR [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::vector<std::vector<double>> figures(10);
    for (int i = 0; i < runs; ++i) {
        int fds[2];
        if (pipe(fds) != 0) return 1;
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(fds[1], 1);
            execl(argv[0], argv[0], "--run", argv[1], static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string out;
        char buf[256];
        for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;)
            out.append(buf, static_cast<size_t>(n));
        close(fds[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        std::istringstream in(out);
        for (auto& f : figures) {
            double v = 0;
            if (!(in >> v)) {
                std::fprintf(stderr, "session failed: %s\n", out.c_str());
                return 1;
            }
            f.push_back(v);
        }
    }
    std::printf("session in a fresh process, median of %d, wall | processor ms\n", runs);
    const char* names[] = {"open the database", "monthly statistics, first",
                           "monthly statistics, second", "one route by date, first",
                           "one route by date, second"};
    for (size_t k = 0; k < 5; ++k) {
        std::printf("%-30s %9.1f | %9.1f\n", names[k], Median(figures[2 * k]),
                    Median(figures[2 * k + 1]));
    }
    for (size_t k : {1, 3}) {
        std::printf("%-30s %9.2f | %9.2f  (goal <= 1.5)\n",
                    k == 1 ? "monthly: first / second" : "route: first / second",
                    Median(figures[2 * k]) / Median(figures[2 * k + 2]),
                    Median(figures[2 * k + 1]) / Median(figures[2 * k + 3]));
    }
    return 0;
}
