// Speed of the table store on a large rides table.
//
//   build/bench/bench_store [DIR] [ROWS]
//
// Writes DIR/jizdy.dbf with ROWS rides (default 1,000,000) unless it already
// has that many, then measures: opening the table; a scan of every row
// reading four numeric fields; 10,000 appends with the fourteen indexes of
// the rides table maintained and the block summaries' sidecar and the index
// journal kept current; loading the fourteen indexes from the index data file;
// building one index on DELKA.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_util.h"
#include "data/database/schema.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/index/index_data.h"
#include "data/summary/summary_file.h"
#include "data/summary/summary_upkeep.h"
#include "data/table.h"

namespace {

using namespace kolvio;
using namespace kolvio::bench;

void Encode(const DbfHeader& h, const char* name, const Value& v, std::string* rec) {
    const int i = FindField(h.fields, name);
    Check(EncodeField(h.fields[i], v, rec->data(), CodePage::kCp852, nullptr));
}

// Writes the rides in bulk, as a generator would; the measured work goes
// through the Table API afterwards.
void WriteRides(const std::string& dir, uint32_t rows) {
    DbfHeader h;
    Check(MakeHeader(CreatedFields(kRidesFile), &h));
    h.recordCount = rows;
    const std::string path = dir + "/jizdy.dbf";
    File out;
    Check(File::CreateNew(path, &out));
    Check(out.writeAt(0, SerializeHeader(h)));
    std::mt19937 rng(1);
    std::string chunk;
    uint64_t offset = h.headerLength;
    for (uint32_t r = 0; r < rows; ++r) {
        std::string rec(h.recordLength, ' ');
        const Date day = Date::FromDayNumber(Date::FromYmd(1995, 1, 1)->dayNumber() + r % 11000);
        const double km = 20 + rng() % 1500 / 10.0;
        const double hours = km / (22 + rng() % 80 / 10.0);
        Encode(h, "DATUM", day, &rec);
        Encode(h, "MESIC_C", day.year() * 1000 + day.month(), &rec);
        Encode(h, "ROK", day.year(), &rec);
        Encode(h, "TRS_C", static_cast<int>(rng() % 300), &rec);
        Encode(h, "TRS_SMER", 1 + static_cast<int>(rng() % 2), &rec);
        Encode(h, "TRNZ_C", 2, &rec);
        Encode(h, "TRN_C", 201 + static_cast<int>(rng() % 4), &rec);
        Encode(h, "KOL_C", 1 + static_cast<int>(rng() % 2), &rec);
        Encode(h, "DELKA", km, &rec);
        Encode(h, "CAS", hours, &rec);
        Encode(h, "RYCHL_MAX", 40 + rng() % 300 / 10.0, &rec);
        Encode(h, "PRUMER", km / hours, &rec);
        Encode(h, "OSOB", 1, &rec);
        Encode(h, "THL_C", 0, &rec);
        Encode(h, "POPIS1", "vyjížďka kolem přehrady", &rec);
        chunk += rec;
        if (chunk.size() > (4u << 20) || r + 1 == rows) {
            Check(out.writeAt(offset, chunk));
            offset += chunk.size();
            chunk.clear();
        }
    }
    Check(out.writeAt(offset, "\x1A"));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "/tmp/kolvio-bench-store";
    const uint32_t rows = argc > 2 ? static_cast<uint32_t>(std::stoul(argv[2])) : 1000000;
    std::filesystem::create_directories(dir);
    {
        Table probe(dir, "jizdy.dbf");
        if (!probe.open().ok() || probe.recordCount() != rows) {
            probe.close();
            std::filesystem::remove(dir + "/jizdy.kix");
            std::printf("writing %u rides to %s ...\n", rows, dir.c_str());
            WriteRides(dir, rows);
        }
    }
    const double fileMb = std::filesystem::file_size(dir + "/jizdy.dbf") / 1e6;
    std::printf("table: %u rows, %.0f MB\n", rows, fileMb);

    std::vector<double> opens;
    for (int i = 0; i < 20; ++i) {
        Table t(dir, "jizdy.dbf");
        const auto t0 = Clock::now();
        Check(t.open());
        opens.push_back(Ms(Clock::now() - t0));
    }
    std::printf("open:                 %8.3f ms median of 20 (goal < 5 ms)\n", Median(opens));

    {
        Table t(dir, "jizdy.dbf");
        Check(t.open());
        const int f[4] = {t.fieldIndex("DELKA"), t.fieldIndex("CAS"), t.fieldIndex("RYCHL_MAX"),
                          t.fieldIndex("PRUMER")};
        double sum = 0;
        const auto t0 = Clock::now();
        for (Check(t.first()); !t.eof(); Check(t.next())) {
            for (const int i : f)
                sum += t.value(i).asDouble();
        }
        const double ms = Ms(Clock::now() - t0);
        std::printf("scan 4 numbers:       %8.0f ms, %.0f MB/s (goal >= 200 MB/s) [sum %.0f]\n", ms,
                    fileMb / (ms / 1000), sum);
    }

    {
        Table t(dir, "jizdy.dbf");
        Check(t.open(true));
        for (const auto& def : t.indexDefs())
            Check(t.deleteIndex(def.name));
        const auto t0 = Clock::now();
        Check(t.addIndex({"DELKA", "DELKA", false}));
        Check(t.setIndexName("DELKA"));
        std::printf("build index DELKA:    %8.0f ms (goal < 1000 ms)\n", Ms(Clock::now() - t0));
    }

    {
        Table t(dir, "jizdy.dbf");
        Check(t.open(true));
        for (const auto& table : MaintainedIndexes()) {
            if (table.fileName != kRidesFile) continue;
            for (const auto name : table.indexes) {
                if (!t.hasIndex(name)) Check(t.addIndex({std::string(name), std::string(name)}));
            }
        }
        const auto t0 = Clock::now();
        for (const auto& def : t.indexDefs())
            Check(t.setIndexName(def.name));
        std::printf("build %zu indexes:    %8.0f ms (once per run, on first use)\n",
                    t.indexDefs().size(), Ms(Clock::now() - t0));
        // Appends keep the block summaries' sidecar and the index journal
        // current; that is part of what an append costs.
        const auto s0 = Clock::now();
        Check(SummariseTable(t.path()));
        std::printf("summarise the table:  %8.0f ms (after a pack)\n", Ms(Clock::now() - s0));
        std::vector<double> appends;
        for (int i = 0; i < 10000; ++i) {
            const auto a0 = Clock::now();
            Check(t.append());
            Check(t.setValue("DATUM", *Date::FromYmd(2026, 12, 1 + i % 28)));
            Check(t.setValue("DELKA", 10.0 + i % 100));
            Check(t.setValue("CAS", 1.5));
            Check(t.setValue("TRS_C", i % 300));
            Check(t.post());
            appends.push_back(Ms(Clock::now() - a0));
        }
        std::sort(appends.begin(), appends.end());
        std::printf("append, 14 indexes:   %8.3f ms median, %.3f ms p99 (goal median < 1 ms)\n",
                    appends[appends.size() / 2], appends[appends.size() * 99 / 100]);
        std::printf("  block summaries current after the appends: %s\n",
                    SummarisedFields(t.path()).empty() ? "NO" : "yes");
        {
            std::unique_ptr<DbfFile> f;
            Check(DbfFile::Open(t.path(), false, LockMode::kNone, &f));
            SummaryStamp stamp;
            const bool known = CurrentFileIdentity(t.path(), &stamp.identity);
            stamp.layout = LayoutFingerprint(f->header());
            const auto data = known ? IndexData::Open(t.path(), stamp, f->recordCount()) : nullptr;
            std::printf(
                "  index contents current after the appends: %s (%zu indexes, journal of %zu)\n",
                data ? "yes" : "NO", data ? data->sectionCount() : 0,
                data ? data->journalEntries() : 0);
        }
        // Leave the table as it was, for the next run.
        Check(t.setIndexName(""));
        for (int i = 0; i < 10000; ++i) {
            Check(t.last());
            Check(t.deleteRecord());
        }
        Check(t.pack());
    }
    {
        // The pack wrote the index contents again for the packed table.
        const auto l0 = Clock::now();
        {
            Table fresh(dir, "jizdy.dbf");
            Check(fresh.open());
            for (const auto& def : fresh.indexDefs())
                Check(fresh.setIndexName(def.name));
        }
        std::printf("load %zu indexes:     %8.0f ms (another handle, from the index data file)\n",
                    size_t{14}, Ms(Clock::now() - l0));
    }
    return 0;
}
