// Synthetic training diaries of any size, for benchmarks and manual testing.
//
// Writes the six tables of a database (fields as this version creates them)
// into a directory: the default rows of a new database plus further routes
// (Czech places around Brno), ride types and bikes, and `rides` rides in date
// order between 2000 and 2024 (all in the last years for small diaries). The
// rides look like a rider's: mostly road rides on favourite routes, some
// trainer sessions and races, realistic distances, times and speeds, heart-
// rate figures on about half of them, Czech descriptions on some. The same
// seed gives the same diary. Existing tables of those names are replaced;
// indexes are left to the program, which builds them when it opens the
// directory.
#pragma once

#include <cstdint>
#include <string>

#include "data/status.h"

namespace kolvio::bench {

struct DiaryOptions {
    int64_t rides = 10000;
    uint64_t seed = 1;
};

Status GenerateDiary(const std::string& dir, const DiaryOptions& options);

}  // namespace kolvio::bench
