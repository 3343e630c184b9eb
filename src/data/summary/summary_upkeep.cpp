#include "data/summary/summary_upkeep.h"

#include <cmath>
#include <limits>
#include <memory>
#include <optional>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/dbf/record_reader.h"
#include "data/engine_settings.h"
#include "data/file.h"
#include "data/index/index_data.h"
#include "data/index/index_store.h"
#include "data/index/table_index.h"
#include "data/summary/summary_file.h"

namespace kolvio {

namespace {

bool Summarised(FieldType type) {
    switch (type) {
        case FieldType::kNumeric:
        case FieldType::kFloat:
        case FieldType::kInteger:
        case FieldType::kDate:
        case FieldType::kLogical:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<bool> SummarisedFields(const std::string& tablePath) {
    std::unique_ptr<DbfFile> file;
    SummaryStamp stamp;
    if (!DbfFile::Open(tablePath, false, LockMode::kNone, &file).ok() ||
        !CurrentFileIdentity(tablePath, &stamp.identity)) {
        return {};
    }
    stamp.layout = LayoutFingerprint(file->header());
    const size_t n = file->header().fields.size();
    const auto zones = ReadSummaries(tablePath, stamp, file->recordCount(), n);
    if (!zones) return {};
    std::vector<bool> known(n);
    for (size_t f = 0; f < n; ++f) {
        for (uint32_t b = 0; b < zones->blocks() && !known[f]; ++b)
            known[f] = zones->zone(f, b).state != Zone::State::kUnknown;
    }
    return known;
}

Status SummariseTable(const std::string& tablePath, const std::vector<bool>& fields) {
    std::unique_ptr<DbfFile> file;
    KOLVIO_RETURN_IF_ERROR(DbfFile::Open(tablePath, false, LockMode::kNone, &file));
    TableFileHandle handle;
    if (!handle.open(tablePath) || !handle.lockSummaries()) return Status::Ok();
    FileIdentity before, after;
    if (!handle.stampBeforeLastWrite() || !handle.identity(&before)) {
        handle.unlockSummaries();
        return Status::Ok();
    }
    const DbfHeader& h = file->header();
    std::vector<size_t> summarised;
    for (size_t f = 0; f < h.fields.size(); ++f) {
        if (Summarised(h.fields[f].type) && (fields.empty() || (f < fields.size() && fields[f])))
            summarised.push_back(f);
    }
    TableZones zones(h.fields.size(), file->recordCount());
    // One batch is one block of the summaries.
    RecordReader reader(*file, static_cast<size_t>(kZoneRows) * h.recordLength);
    const Status st = reader.forEach([&](const RecordBatch& batch) {
        const uint32_t b = batch.first / kZoneRows;
        int64_t live = 0;
        std::vector<Zone> z(summarised.size(), Zone{Zone::State::kNoValues});
        for (uint32_t i = 0; i < batch.count; ++i) {
            if (batch.deleted(i)) continue;
            ++live;
            const char* rec = batch.record(i);
            for (size_t k = 0; k < summarised.size(); ++k) {
                if (auto v = DecodeNumber(h.fields[summarised[k]], rec)) z[k].include(*v);
            }
        }
        zones.setLiveRows(b, live);
        for (size_t k = 0; k < summarised.size(); ++k)
            zones.setZone(summarised[k], b, z[k]);
        return Status::Ok();
    });
    if (!st.ok()) {
        handle.unlockSummaries();
        return st;
    }
    // The index contents from the same state of the file, when the table
    // keeps any and had them beside it (or a full summary is asked for).
    const CodePage page = h.languageDriver == kLanguageCp852
                              ? CodePage::kCp852
                              : CodePageOfDriver(EngineDriverSettings().languageDriver);
    std::vector<IndexSection> sections;
    if (fields.empty() || PathExists(IndexDataPath(tablePath))) {
        for (const IndexDef& def : ReadIndexDefs(IndexSidecarPath(tablePath))) {
            std::unique_ptr<TableIndex> index;
            if (!TableIndex::Make(def, h.fields, &index).ok()) continue;
            const Status st = index->build(*file, page);
            if (!st.ok()) {
                handle.unlockSummaries();
                return st;
            }
            sections.push_back(index->section());
        }
    }
    const bool unchanged = handle.identity(&after) && after == before;
    // Sidecars not written leave the next statement only slower, never wrong.
    const SummaryStamp stamp{before, LayoutFingerprint(h)};
    if (unchanged) (void)WriteSummaries(tablePath, stamp, zones);
    if (unchanged && !sections.empty()) {
        (void)WriteIndexData(tablePath, stamp, file->recordCount(), page, sections);
    }
    handle.unlockSummaries();
    return Status::Ok();
}

SummaryUpkeep::SummaryUpkeep(std::string path, const DbfHeader& header)
    : path_(std::move(path)),
      layout_(LayoutFingerprint(header)),
      headerLength_(header.headerLength),
      recordLength_(header.recordLength),
      fields_(header.fields),
      indexDataPath_(IndexDataPath(path_)) {
    file_.open(path_);
}

SummaryUpkeep::Change::~Change() {
    if (owner_) owner_->file_.unlockSummaries();
}

SummaryUpkeep::Change::Change(Change&& other) noexcept
    : owner_(other.owner_), before_(other.before_) {
    other.owner_ = nullptr;
}

SummaryUpkeep::Change SummaryUpkeep::begin() {
    Change change;
    if (!file_.lockSummaries()) return change;
    change.owner_ = this;
    if (!file_.identity(&change.before_)) change.before_ = {};
    return change;
}

bool SummaryUpkeep::summarised(size_t field) const {
    return Summarised(fields_[field].type);
}

void SummaryUpkeep::appended(Change& change, uint32_t recno, const char* record) {
    if (!change.owner_) return;
    auto zones = ReadSummaries(path_, {change.before_, layout_}, recno, fields_.size());
    if (zones) {
        const uint32_t block = recno / kZoneRows;
        const bool newBlock = block >= zones->blocks();
        std::vector<bool> known(fields_.size());
        for (size_t f = 0; f < fields_.size(); ++f)
            known[f] = summarised(f) && zones->blocks() > 0 && zones->fieldKnown(f);
        zones->grow(recno + 1);
        if (record[0] != '*') zones->setLiveRows(block, zones->liveRows(block) + 1);
        for (size_t f = 0; f < fields_.size(); ++f) {
            if (!summarised(f)) continue;
            Zone z = zones->zone(f, block);
            if (newBlock && known[f]) z.state = Zone::State::kNoValues;
            if (record[0] != '*') {
                if (const std::optional<double> v = DecodeNumber(fields_[f], record)) z.include(*v);
            }
            zones->setZone(f, block, z);
        }
    }
    commit(change, zones.get(), recno);
}

void SummaryUpkeep::rewritten(Change& change, uint32_t recno, const char* before,
                              const char* after) {
    if (!change.owner_) return;
    FileIdentity now;
    if (!file_.identity(&now)) return;
    const uint32_t count =
        recordLength_ == 0 ? 0 : static_cast<uint32_t>((now.size - headerLength_) / recordLength_);
    auto zones = ReadSummaries(path_, {change.before_, layout_}, count, fields_.size());
    if (zones &&
        (recno >= zones->recordCount() || !followRewrite(zones.get(), recno, before, after)))
        zones.reset();
    commit(change, zones.get(), recno);
}

bool SummaryUpkeep::followRewrite(TableZones* zones, uint32_t recno, const char* before,
                                  const char* after) const {
    const uint32_t block = recno / kZoneRows;
    const bool wasLive = before[0] != '*';
    const bool isLive = after && after[0] != '*';
    if (zones->liveRows(block) >= 0) {
        zones->setLiveRows(block, zones->liveRows(block) - wasLive + isLive);
    }
    // A new value only widens a zone; a value that leaves a zone's edge may
    // narrow it, and only the block's records tell by how much.
    std::vector<size_t> reread;
    for (size_t f = 0; f < fields_.size(); ++f) {
        if (!summarised(f)) continue;
        Zone z = zones->zone(f, block);
        if (z.state == Zone::State::kUnknown) continue;
        const double kNull = std::numeric_limits<double>::quiet_NaN();
        const double old = wasLive ? DecodeNumber(fields_[f], before).value_or(kNull) : kNull;
        const double value = isLive ? DecodeNumber(fields_[f], after).value_or(kNull) : kNull;
        if (old == value || (std::isnan(old) && std::isnan(value))) continue;
        if (z.state == Zone::State::kRange && (old == z.min || old == z.max)) {
            reread.push_back(f);
            continue;
        }
        if (!std::isnan(old)) --z.values;  // strictly inside the range: others remain
        if (!std::isnan(value)) z.include(value);
        zones->setZone(f, block, z);
    }
    return reread.empty() || recompute(zones, block, reread);
}

void SummaryUpkeep::commit(Change& change, const TableZones* zones, uint32_t recno) {
    const bool indexed = PathExists(indexDataPath_);
    if (!zones && !indexed) return;
    // One stamp for both sidecars: each names the identity it leaves.
    SummaryStamp stamp;
    stamp.layout = layout_;
    if (!file_.stampBeforeLastWrite() || !file_.identity(&stamp.identity)) return;
    if (zones) (void)WriteSummaries(path_, stamp, *zones);  // a sidecar not written is only slower
    if (!indexed) return;
    const size_t entries = AppendIndexJournal(path_, change.before_, stamp.identity, recno);
    FoldIndexJournalIfLong(path_, stamp.identity, entries);
}

bool SummaryUpkeep::recompute(TableZones* zones, uint32_t block,
                              const std::vector<size_t>& fields) const {
    const uint32_t first = block * kZoneRows;
    const uint32_t n = std::min(kZoneRows, zones->recordCount() - first);
    std::string bytes(static_cast<size_t>(n) * recordLength_, '\0');
    if (!file_.readAt(headerLength_ + static_cast<uint64_t>(first) * recordLength_, bytes.size(),
                      bytes.data())) {
        return false;
    }
    for (size_t f : fields) {
        Zone z;
        z.state = Zone::State::kNoValues;
        for (uint32_t i = 0; i < n; ++i) {
            const char* rec = bytes.data() + static_cast<size_t>(i) * recordLength_;
            if (rec[0] == '*') continue;
            if (const std::optional<double> v = DecodeNumber(fields_[f], rec)) z.include(*v);
        }
        zones->setZone(f, block, z);
    }
    return true;
}

}  // namespace kolvio
