// kolvio-db check DIR
//
// Reads every table of the database in DIR row by row and field by field,
// the memo contents they point to and every index definition (building each
// index), without writing anything. Prints what it found; exits with 1 when
// something is damaged, 0 when the database is sound (notes about things the
// next opening puts right do not count as damage).
#include <cstdio>

#include "cli/commands.h"
#include "data/database/check.h"

namespace kolvio::cli {

int RunCheck(int argc, char** argv) {
    if (argc != 1) {
        std::fputs("Použití: kolvio-db check ADRESÁŘ\n", stderr);
        return 2;
    }
    const CheckReport report = CheckDatabase(argv[0]);
    std::printf("Přečteno tabulek: %d, řádků: %lld\n", report.tablesRead, report.rowsRead);
    for (const std::string& note : report.notes)
        std::printf("poznámka: %s\n", note.c_str());
    for (const std::string& damage : report.damage)
        std::printf("CHYBA: %s\n", damage.c_str());
    if (report.healthy()) {
        std::printf("Databáze je v pořádku.\n");
        return 0;
    }
    std::printf("Databáze je poškozená (%zu nálezů).\n", report.damage.size());
    return 1;
}

}  // namespace kolvio::cli
