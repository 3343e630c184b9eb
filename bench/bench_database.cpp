// Speed of opening, upgrading and packing a training database.
//
//   build/bench/bench_database [WORKDIR] [RIDES]
//
// WORKDIR (default: a fresh folder under /tmp) receives the databases;
// RIDES defaults to 1,000,000. Measures, with everything in the page cache:
//   open     opening a database of RIDES rides whose every index exists
//            (goal: under 50 ms, the same for 10,000 rides);
//   upgrade  opening an older database of RIDES/10 rides: fourteen columns
//            added, three back-filled, five tables converted to code page 852;
//   pack     "Komprese" of a database of RIDES rides of which 10 % are
//            deleted, beside a plain copy of the same file (read and write in
//            1 MiB blocks, then fsync, as the rewrite does); goal: at most
//            three times the copy.
// Each figure is the median of three runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_util.h"
#include "data/codepage.h"
#include "data/database/database.h"
#include "data/database/schema.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/file.h"

namespace {

using namespace kolvio;
using namespace kolvio::bench;

// The older layout: no columns from ROK on, numbers as N.
std::vector<FieldDef> OldRideFields() {
    std::vector<FieldDef> f = {FieldDef::DateField("DATUM")};
    for (const char* n : {"MESIC_C", "TRS_C", "TRS_SMER", "TRNZ_C", "TRN_C", "KOL_C"}) {
        f.push_back(FieldDef::Numeric(n, 10, 0));
    }
    for (const char* n : {"DELKA", "CAS", "RYCHL_MAX", "PRUMER", "OSOB"}) {
        f.push_back(FieldDef::Numeric(n, 12, 4));
    }
    f.push_back(FieldDef::Char("POPIS1", 100));
    return f;
}

// A synthetic diary: one ride a day or so, realistic figures, Czech text.
// Writes the table file in bulk; every `deleteEvery`-th ride is marked deleted.
void WriteRides(const std::string& path, const std::vector<FieldDef>& fields, uint32_t rides,
                uint8_t language, CodePage page, uint32_t deleteEvery = 0) {
    DbfHeader h;
    Check(MakeHeader(fields, &h));
    h.recordCount = rides;
    h.languageDriver = language;
    File out;
    Check(File::CreateNew(path, &out));
    Check(out.writeAt(0, SerializeHeader(h)));
    const auto put = [&](std::string* rec, const char* name, const Value& v) {
        const int i = FindField(h.fields, name);
        if (i >= 0) Check(EncodeField(h.fields[i], v, rec->data(), page, nullptr));
    };
    const char* texts[] = {"Okolo Žďáru, vítr od Třebíče", "kopce na plno, déšť",
                           "s Tomášem přes Štěpánov", "", "časovka dvojic – 3. místo"};
    std::mt19937 rng(2003);
    const int32_t start = Date::FromYmd(1990, 1, 1)->dayNumber();
    std::string chunk;
    uint64_t offset = h.headerLength;
    for (uint32_t r = 0; r < rides; ++r) {
        std::string rec(h.recordLength, ' ');
        const Date day = Date::FromDayNumber(start + static_cast<int32_t>(r / 3));
        const double km = 15 + rng() % 1800 / 10.0;
        const double hours = km / (20 + rng() % 120 / 10.0);
        const int type = 1 + static_cast<int>(rng() % 3);
        put(&rec, "DATUM", day);
        put(&rec, "MESIC_C", day.year() * 1000 + day.month());
        put(&rec, "TRS_C", type == 1 ? 0 : 1 + static_cast<int>(rng() % 40));
        put(&rec, "TRS_SMER", type == 1 ? 0 : 1 + static_cast<int>(rng() % 2));
        put(&rec, "TRNZ_C", type);
        put(&rec, "TRN_C", type * 100 + 1);
        put(&rec, "KOL_C", 1 + static_cast<int>(rng() % 2));
        put(&rec, "DELKA", km);
        put(&rec, "CAS", hours);
        put(&rec, "RYCHL_MAX", km / hours + 15);
        put(&rec, "PRUMER", km / hours);
        put(&rec, "OSOB", 1 + static_cast<int>(rng() % 4));
        put(&rec, "POPIS1", std::string(texts[rng() % 5]));
        if (deleteEvery && r % deleteEvery == deleteEvery - 1) rec[0] = '*';
        chunk += rec;
        if (chunk.size() > (8u << 20) || r + 1 == rides) {
            Check(out.writeAt(offset, chunk));
            offset += chunk.size();
            chunk.clear();
        }
    }
    Check(out.writeAt(offset, "\x1A"));
}

// A database whose every maintained index exists, holding `rides` rides.
void MakeDatabase(const std::string& dir, uint32_t rides, uint32_t deleteEvery = 0) {
    Check(MakeDirectories(dir));
    {
        Database db;
        Check(db.MOtevriNovaDB(dir, OverwritePolicy::kReplace));
    }
    WriteRides(JoinPath(dir, "jizdy.dbf"), CreatedFields(kRidesFile), rides, kLanguageCp852,
               CodePage::kCp852, deleteEvery);
}

// The same database as the older version left it: rides in the older
// layout, Windows-1250 text, no typ_hld.
void MakeOlderDatabase(const std::string& dir, uint32_t rides) {
    MakeDatabase(dir, 0);
    WriteRides(JoinPath(dir, "jizdy.dbf"), OldRideFields(), rides, 0x00, CodePage::kCp1250);
    Check(RemoveFile(JoinPath(dir, "typ_hld.dbf")));
    for (const char* name : {"typ_kol.dbf", "typ_trn.dbf", "typ_trnz.dbf", "typ_trs.dbf"}) {
        File f;
        Check(File::Open(JoinPath(dir, name), true, &f));
        Check(f.writeAt(29, std::string(1, '\0')));
    }
}

double OpenMs(const std::string& dir) {
    return TimeMs([&] {
        Database db;
        Check(db.MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles));
    });
}

double CopyMs(const std::string& from, const std::string& to) {
    return TimeMs([&] {
        File in, out;
        Check(File::Open(from, false, &in));
        Check(File::CreateNew(to, &out));
        uint64_t size = 0;
        Check(in.size(&size));
        std::string buffer(1u << 20, '\0');
        for (uint64_t at = 0; at < size; at += buffer.size()) {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(buffer.size(), size - at));
            Check(in.readAt(at, n, buffer.data()));
            Check(out.writeAt(at, std::string_view(buffer.data(), n)));
        }
        Check(out.sync());
    });
}

}  // namespace

int main(int argc, char** argv) {
    std::string work = argc > 1 ? argv[1] : "";
    if (work.empty()) {
        char tmpl[] = "/tmp/kolvio-bench-XXXXXX";
        work = mkdtemp(tmpl);
    }
    const uint32_t rides = argc > 2 ? static_cast<uint32_t>(std::atol(argv[2])) : 1000000;
    std::printf("pracovní adresář: %s, jízd: %u\n", work.c_str(), rides);

    std::vector<double> small, large;
    MakeDatabase(JoinPath(work, "small"), 10000);
    MakeDatabase(JoinPath(work, "large"), rides);
    for (int run = 0; run < 3; ++run) {
        small.push_back(OpenMs(JoinPath(work, "small")));
        large.push_back(OpenMs(JoinPath(work, "large")));
    }
    std::printf("open     10000 jízd: %8.2f ms   %u jízd: %8.2f ms   (cíl < 50 ms)\n",
                Median(small), rides, Median(large));

    std::vector<double> upgrade;
    for (int run = 0; run < 3; ++run) {
        const std::string dir = JoinPath(work, "older");
        MakeOlderDatabase(dir, rides / 10);
        upgrade.push_back(OpenMs(dir));
    }
    std::printf("upgrade  %u jízd: %8.1f ms\n", rides / 10, Median(upgrade));

    std::vector<double> copy, pack, ratio;
    const std::string dir = JoinPath(work, "large");
    for (int run = 0; run < 3; ++run) {
        WriteRides(JoinPath(dir, "jizdy.dbf"), CreatedFields(kRidesFile), rides, kLanguageCp852,
                   CodePage::kCp852, 10);
        // Neither measurement may pay for writing back the other's pages.
        ::sync();
        copy.push_back(CopyMs(JoinPath(dir, "jizdy.dbf"), JoinPath(work, "copy.dbf")));
        Check(RemoveFile(JoinPath(work, "copy.dbf")));
        ::sync();
        Database db;
        Check(db.MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles));
        std::vector<Status> packed;
        pack.push_back(TimeMs([&] { Check(db.CompactDatabase(&packed)); }));
        if (!packed.at(0).ok() || db.Table1().recordCount() != rides - rides / 10) {
            std::fprintf(stderr, "jizdy.dbf nebyla zkomprimována\n");
            return 1;
        }
        ratio.push_back(pack.back() / copy.back());
    }
    std::printf(
        "pack     %u jízd (10 %% smazaných): %8.1f ms   kopie souboru: %8.1f ms   "
        "poměr %.2f (cíl <= 3)\n",
        rides, Median(pack), Median(copy), Median(ratio));
    return 0;
}
