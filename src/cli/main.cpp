// kolvio-db: the command-line tool over the training database.
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "kolvio_version.h"

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(int argc, char** argv);
};

// The usage lists these in order. Each has its synopsis line and its entry
// in the manual pages, packaging/man/kolvio-db.1.in and its Czech twin;
// tools/check-package.sh fails when one is missing.
const Command kCommands[] = {
    {"dump", "dump FILE.dbf [--rows]   hlavička, pole a případně řádky tabulky (CSV)",
     kolvio::cli::RunDump},
    {"sql",
     "sql ADRESÁŘ [-e PŘÍKAZ | -f SOUBOR] [--into TABULKA.dbf]   "
     "dotaz SQL, výsledek jako CSV",
     kolvio::cli::RunSql},
    {"open", "open ADRESÁŘ [--replace]   otevře nebo založí databázi, doplní sloupce a indexy",
     kolvio::cli::RunOpen},
    {"pack", "pack ADRESÁŘ   odstraní smazané řádky ze všech tabulek databáze",
     kolvio::cli::RunPack},
    {"check", "check ADRESÁŘ   přečte všechny tabulky a indexy a ohlásí poškození",
     kolvio::cli::RunCheck},
    {"import",
     "import ADRESÁŘ SOUBOR...   přidá jízdy ze souborů FIT, TCX a GPX (složka: všechny v ní) "
     "s předvolbami okna Nová jízda",
     kolvio::cli::RunImport},
};

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "Použití: kolvio-db PŘÍKAZ ...\n");
    for (const Command& c : kCommands)
        std::fprintf(out, "  kolvio-db %s\n", c.usage);
    std::fprintf(out, "  kolvio-db --help | --version\n");
    std::fprintf(out,
                 "Návratový kód: 0 hotovo, 1 chyba nebo poškozená databáze, 2 chybné použití.\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("kolvio-db %s\n", kolvio::kVersion);
        return 0;
    }
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "Neznámý příkaz \"%s\".\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
