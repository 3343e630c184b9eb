// kolvio-db pack DIR
//
// Packs the six tables of the database in DIR as "Komprese" does: rows
// marked deleted are removed. The database is opened first, as the program
// opens it (so an older one is brought up to date). A table that cannot be
// packed (held by another program, read-only, no room for its new copy) is
// skipped with the reason; after a full disk the rest are not tried. Any
// table not packed makes the exit code 1.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "data/database/database.h"
#include "data/file.h"

namespace kolvio::cli {

namespace {

class StatusPrinter : public ShellFeedback {
public:
    void setStatusText(const std::string& text) override {
        if (!text.empty()) std::fprintf(stderr, "%s...\n", text.c_str());
    }
};

uint64_t FileSize(const Table& table) {
    File file;
    uint64_t size = 0;
    // Only for the sizes printed before and after; an unknown size shows as 0.
    if (File::Open(table.path(), false, &file).ok()) (void)file.size(&size);
    return size;
}

}  // namespace

int RunPack(int argc, char** argv) {
    if (argc != 1) {
        std::fputs("Použití: kolvio-db pack ADRESÁŘ\n", stderr);
        return 2;
    }
    const std::string dir = argv[0];
    if (!DatabaseFilesPresent(dir, 1)) {
        std::fprintf(stderr, "Adresář \"%s\" neobsahuje databázi KOLVIO.\n", dir.c_str());
        return 1;
    }
    StatusPrinter shell;
    Database db(&shell);
    if (OpenDatabaseForCli(db, dir, OverwritePolicy::kKeepFiles) != 0) return 1;
    std::vector<Table*> tables = {&db.Table1(), &db.TTRNZ(), &db.TTRN(),
                                  &db.TTKOL(),  &db.TTRS(),  &db.TTHLD()};
    std::vector<uint64_t> before;
    for (Table* t : tables)
        before.push_back(FileSize(*t));
    std::vector<Status> results;
    const Status st = db.CompactDatabase(&results);
    int rc = 0;
    for (size_t i = 0; i < tables.size(); ++i) {
        Table& t = *tables[i];
        if (i < results.size() && results[i].ok()) {
            t.clearMaster();  // count every row of the detail table
            std::printf("%s: řádků %lld, velikost %llu -> %llu bajtů\n", BaseName(t.path()).c_str(),
                        static_cast<long long>(t.recordCount()),
                        static_cast<unsigned long long>(before[i]),
                        static_cast<unsigned long long>(FileSize(t)));
        } else {
            const std::string why = i < results.size() ? results[i].message() : std::string();
            std::printf("%s: nezkomprimováno. %s\n", BaseName(t.path()).c_str(), why.c_str());
            rc = 1;
        }
    }
    if (!st.ok()) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return 1;
    }
    return rc;
}

}  // namespace kolvio::cli
