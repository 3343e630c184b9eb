// kolvio-db open DIR [--replace]
//
// Opens DIR as the program does at start: creates the directory and a new
// database with default rows when it holds no database, otherwise adds the
// missing typ_hld, the missing columns of jizdy and converts older tables to
// code page 852; then makes sure every maintained index exists. Prints what
// it did. A directory with one to four of the six table files is refused
// (exit 1) unless --replace allows a new database to replace them.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "data/database/database.h"

namespace kolvio::cli {

namespace {

const char kUsage[] = "Použití: kolvio-db open ADRESÁŘ [--replace]\n";

// Shows the texts the program would show in its status bar.
class ConsoleShell : public ShellFeedback {
public:
    void showGauge(const std::string& text) override {
        std::fprintf(stderr, "%s...\n", text.c_str());
    }
};

std::string Joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : ", ") + item;
    return out;
}

}  // namespace

int OpenDatabaseForCli(Database& db, const std::string& dir, OverwritePolicy policy) {
    OpenReport report;
    const Status st = db.MOtevriNovaDB(dir, policy, &report);
    if (st.aborted()) {
        std::fprintf(stderr, "Adresář \"%s\" nelze vytvořit.\n", dir.c_str());
        return 1;
    }
    if (!st.ok()) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return 1;
    }
    if (report.created) std::printf("Založena nová databáze s výchozími řádky.\n");
    if (report.watchTypesCreated) std::printf("Vytvořena tabulka typ_hld.dbf s výchozími řádky.\n");
    if (!report.columnsAdded.empty()) {
        std::printf("Do jizdy.dbf přidány sloupce: %s\n", Joined(report.columnsAdded).c_str());
    }
    if (!report.tablesConverted.empty()) {
        std::printf("Převedeno do kódové stránky 852: %s\n",
                    Joined(report.tablesConverted).c_str());
    }
    for (const std::string& index : report.indexesCreated) {
        std::printf("Vytvořen index %s\n", index.c_str());
    }
    if (!report.created && !report.watchTypesCreated && report.columnsAdded.empty() &&
        report.tablesConverted.empty() && report.indexesCreated.empty()) {
        std::printf("Databáze je aktuální, nic nebylo třeba měnit.\n");
    }
    return 0;
}

int RunOpen(int argc, char** argv) {
    const char* dir = nullptr;
    OverwritePolicy policy = OverwritePolicy::kKeepFiles;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--replace") == 0) {
            policy = OverwritePolicy::kReplace;
        } else if (!dir) {
            dir = argv[i];
        } else {
            dir = nullptr;
            break;
        }
    }
    if (!dir) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    ConsoleShell shell;
    Database db(&shell);
    const int rc = OpenDatabaseForCli(db, dir, policy);
    if (rc == 0) std::printf("Databáze: %s\n", db.DataDir().c_str());
    return rc;
}

}  // namespace kolvio::cli
