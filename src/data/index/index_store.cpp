#include "data/index/index_store.h"

#include <atomic>
#include <memory>

#include "data/dbf/dbf_file.h"
#include "data/index/index_data.h"
#include "data/index/table_index.h"
#include "data/summary/summary_file.h"

namespace kolvio {

namespace {

std::atomic<int64_t> gMinimumAgeNs{3'000'000'000};

// A journal is folded once it names this many records, or a 64th of the
// table if that is more: a reader then reads it and its records again at
// a fraction of the cost of the table, and a fold comes seldom enough to
// cost a writer little on average.
constexpr size_t kFoldEntries = 1024;
constexpr uint32_t kFoldFraction = 64;

// The bytes of each record `changed` names, read in runs of consecutive
// records (a journal of appends is one run); empty for those past the end.
bool ReadChangedRecords(const DbfFile& file, const std::vector<uint32_t>& changed,
                        std::vector<std::string>* out) {
    out->assign(changed.size(), std::string());
    const uint32_t length = file.recordLength();
    std::string buf;
    for (size_t i = 0; i < changed.size();) {
        if (changed[i] >= file.recordCount()) break;
        size_t j = i + 1;
        while (j < changed.size() && changed[j] == changed[j - 1] + 1 &&
               changed[j] < file.recordCount() && j - i < 4096) {
            ++j;
        }
        buf.resize(static_cast<size_t>(j - i) * length);
        if (!file.readRecords(changed[i], static_cast<uint32_t>(j - i), buf.data()).ok()) {
            return false;
        }
        for (size_t k = i; k < j; ++k)
            (*out)[k].assign(buf, (k - i) * length, length);
        i = j;
    }
    return true;
}

// The sections of `data` for the indexes of `defs` (but `skip`), with the
// journal folded in; damaged sections are left out.
void CarrySections(const IndexData& data, const DbfFile& file, const std::vector<IndexDef>& defs,
                   const IndexDef* skip, std::vector<IndexSection>* out) {
    std::vector<std::string> records;
    if (!ReadChangedRecords(file, data.changed(), &records)) return;
    for (const IndexDef& def : defs) {
        if (skip && def == *skip) continue;
        const auto at = data.find(def);
        IndexSection section;
        if (!at || !data.read(*at, &section)) continue;
        if (data.changed().empty()) {
            out->push_back(std::move(section));
            continue;
        }
        std::unique_ptr<TableIndex> index;
        if (!TableIndex::Make(def, file.header().fields, &index).ok() ||
            !index->load(section, data.changed(), records, data.codePage())) {
            continue;
        }
        out->push_back(index->section());
    }
}

uint32_t RecordsBySize(const DbfFile& file, uint64_t size) {
    const DbfHeader& h = file.header();
    if (h.recordLength == 0 || size < h.headerLength) return 0;
    return static_cast<uint32_t>((size - h.headerLength) / h.recordLength);
}

}  // namespace

void SetIndexSnapshotMinimumAge(int64_t ns) {
    gMinimumAgeNs = ns;
}

bool CurrentTableState(const std::string& tablePath, const DbfFile& file, TableState* out) {
    if (!CurrentFileIdentity(tablePath, &out->identity)) return false;
    out->layout = LayoutFingerprint(file.header());
    out->recordCount = file.recordCount();
    // A handle that has not yet seen rows appended by another does not
    // describe the file the index data describes.
    return RecordsBySize(file, out->identity.size) == out->recordCount;
}

bool LoadPersistedIndex(const std::string& tablePath, const DbfFile& file, CodePage page,
                        TableIndex* index) {
    TableState state;
    if (!CurrentTableState(tablePath, file, &state)) return false;
    const auto data = IndexData::Open(tablePath, {state.identity, state.layout}, state.recordCount);
    if (!data || data->codePage() != page) return false;
    const auto at = data->find(index->def());
    IndexSection section;
    std::vector<std::string> records;
    if (!at || !data->read(*at, &section) || !ReadChangedRecords(file, data->changed(), &records) ||
        !index->load(section, data->changed(), records, page)) {
        return false;
    }
    // The records read again must be those of the state the file names.
    FileIdentity after;
    if (!CurrentFileIdentity(tablePath, &after) || !(after == state.identity)) {
        index->reset();
        return false;
    }
    return true;
}

void PersistBuiltIndex(const std::string& tablePath, const DbfFile& file, CodePage page,
                       const TableState& before, int64_t readStartNs,
                       const std::vector<IndexDef>& defs, const TableIndex& built) {
    if (readStartNs - before.identity.lastChangeNs() < gMinimumAgeNs.load()) return;
    TableState now;
    if (!CurrentTableState(tablePath, file, &now) || !(now.identity == before.identity) ||
        now.layout != before.layout) {
        return;
    }
    bool defined = false;
    for (const IndexDef& def : defs)
        defined = defined || def == built.def();
    if (!defined) return;
    std::vector<IndexSection> sections;
    const SummaryStamp stamp{now.identity, now.layout};
    if (const auto data = IndexData::Open(tablePath, stamp, now.recordCount);
        data && data->codePage() == page) {
        CarrySections(*data, file, defs, &built.def(), &sections);
    }
    sections.push_back(built.section());
    // Contents not written leave the next process only slower.
    (void)WriteIndexData(tablePath, stamp, now.recordCount, page, sections);
}

void FoldIndexJournalIfLong(const std::string& tablePath, const FileIdentity& current,
                            size_t journalEntries) {
    if (journalEntries < kFoldEntries) return;
    std::unique_ptr<DbfFile> file;
    if (!DbfFile::Open(tablePath, false, LockMode::kNone, &file).ok() ||
        journalEntries < file->recordCount() / kFoldFraction) {
        return;
    }
    TableState state;
    if (!CurrentTableState(tablePath, *file, &state) || !(state.identity == current)) return;
    const SummaryStamp stamp{state.identity, state.layout};
    const auto data = IndexData::Open(tablePath, stamp, state.recordCount);
    if (!data) return;
    std::vector<IndexSection> sections;
    CarrySections(*data, *file, ReadIndexDefs(IndexSidecarPath(tablePath)), nullptr, &sections);
    // A fold not written leaves the journal longer, never wrong.
    (void)WriteIndexData(tablePath, stamp, state.recordCount, data->codePage(), sections);
}

}  // namespace kolvio
