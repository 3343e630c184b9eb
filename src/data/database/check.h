// Reading every table and index of a database directory to find damage.
#pragma once

#include <string>
#include <vector>

namespace kolvio {

struct CheckReport {
    // Problems that lose or garble data: a table or index that cannot be
    // read, a value that is not what its field type allows.
    std::vector<std::string> damage;
    // Things that opening the database puts right by itself (an older
    // table, a missing maintained index, leftovers of an interrupted rewrite).
    std::vector<std::string> notes;
    int tablesRead = 0;
    long long rowsRead = 0;

    bool healthy() const { return damage.empty(); }
};

// Reads the six tables (and the work tables when present) row by row and
// field by field, the memo contents they point to, and every index
// definition, building each index. Never writes anything. Messages are Czech
// and name the file.
CheckReport CheckDatabase(const std::string& dir);

}  // namespace kolvio
