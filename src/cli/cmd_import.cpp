// kolvio-db import DIR FILE...
//
// Adds one ride per device file (FIT, TCX, GPX) to the database in DIR, preset
// as the new-ride screen presets a ride (ride_import.h). A FILE that is a
// folder stands for its .fit, .tcx and .gpx files, by name. Prints one line
// per file: stored, skipped (the diary has a ride of that day with the same
// distance and riding time) or refused with the reason; exit 1 when any file
// was refused, 2 for a wrong command line.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "cli/commands.h"
#include "data/database/database.h"
#include "rides/ride_import.h"

namespace kolvio::cli {

namespace {

namespace fs = std::filesystem;

const char kUsage[] = "Použití: kolvio-db import ADRESÁŘ SOUBOR...\n";
// More files than this show a progress line on a terminal.
constexpr size_t kProgressFrom = 5;

// The settings file of the program (app/app_paths.h): in KOLVIO_HOME when
// set; otherwise beside the program (a portable copy) or in the user's data
// folder. Only read here, so the one that exists is the one the program
// wrote; with neither, nothing is remembered and the defaults apply.
std::string SettingsPath() {
    if (const char* home = std::getenv("KOLVIO_HOME"); home && *home) {
        return (fs::path(home) / kSettingsFileName).string();
    }
    std::error_code ec;
    const fs::path beside =
        fs::read_symlink("/proc/self/exe", ec).parent_path() / kSettingsFileName;
    if (!ec && fs::exists(beside, ec)) return beside.string();
    fs::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        data = xdg;
    } else {
        const char* user = std::getenv("HOME");
        data = fs::path(user ? user : ".") / ".local/share";
    }
    return (data / "kolvio" / kSettingsFileName).string();
}

bool IsRideFileName(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".fit" || ext == ".tcx" || ext == ".gpx";
}

// The files named, a folder replaced by its ride files in name order.
std::vector<std::string> FilesOf(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 0; i < argc; ++i) {
        std::error_code ec;
        if (!fs::is_directory(argv[i], ec)) {
            files.emplace_back(argv[i]);
            continue;
        }
        std::vector<std::string> inFolder;
        for (const fs::directory_entry& entry : fs::directory_iterator(argv[i], ec)) {
            if (entry.is_regular_file(ec) && IsRideFileName(entry.path())) {
                inFolder.push_back(entry.path().string());
            }
        }
        std::sort(inFolder.begin(), inFolder.end());
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    return files;
}

// A line on the terminal that the next one overwrites.
class Progress {
public:
    explicit Progress(size_t total) : total_(total) {
        on_ = total > kProgressFrom && isatty(fileno(stderr));
    }
    void show(size_t done, const std::string& file) {
        if (!on_) return;
        std::fprintf(stderr, "\r\033[K%zu/%zu %s", done + 1, total_,
                     fs::path(file).filename().c_str());
        std::fflush(stderr);
    }
    void clear() {
        if (on_) std::fputs("\r\033[K", stderr);
    }

private:
    size_t total_;
    bool on_ = false;
};

}  // namespace

int RunImport(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string dir = argv[0];
    if (!DatabaseFilesPresent(dir, 1)) {
        std::fprintf(stderr,
                     "V adresáři \"%s\" není databáze. Zadejte adresář databáze, nebo ji "
                     "nejprve založte: kolvio-db open ADRESÁŘ\n",
                     dir.c_str());
        return 1;
    }
    Database db;
    if (const Status st = db.MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles); !st.ok()) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return 1;
    }
    const SettingsFile ini(SettingsPath());
    RideImporter importer(db, ini);
    if (const Status st = importer.begin(); !st.ok()) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return 1;
    }

    const std::vector<std::string> files = FilesOf(argc - 1, argv + 1);
    Progress progress(files.size());
    size_t stored = 0, skipped = 0, refused = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        progress.show(i, files[i]);
        const ImportOutcome outcome = importer.importFile(files[i]);
        progress.clear();
        switch (outcome.kind) {
            case ImportOutcome::Kind::kStored:
                ++stored;
                std::printf("uložena: %s: %s\n", files[i].c_str(), outcome.text.c_str());
                break;
            case ImportOutcome::Kind::kDuplicate:
                ++skipped;
                std::printf("přeskočena: %s: %s\n", files[i].c_str(), outcome.text.c_str());
                break;
            case ImportOutcome::Kind::kRefused:
                ++refused;
                std::printf("odmítnuta: %s\n", outcome.text.c_str());
                break;
        }
        std::fflush(stdout);
    }
    std::printf("Uloženo %zu, přeskočeno %zu, odmítnuto %zu.\n", stored, skipped, refused);
    return refused ? 1 : 0;
}

}  // namespace kolvio::cli
