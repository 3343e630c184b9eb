// Opening, closing and packing a table, and the handlers of its events.
#include "data/table.h"

#include <algorithm>
#include <utility>

#include "data/dbf/dbf_file.h"
#include "data/dbf/memo_file.h"
#include "data/dbf/record_codec.h"
#include "data/engine_settings.h"
#include "data/file.h"
#include "data/index/table_index.h"
#include "data/summary/summary_upkeep.h"
#include "data/table_rewrite.h"

namespace kolvio {

Table::Table() = default;

Table::Table(std::string directory, std::string fileName)
    : directory_(std::move(directory)), fileName_(std::move(fileName)) {}

Table::~Table() {
    clearMaster();
    close();
}

void Table::setDirectory(std::string directory) {
    close();
    directory_ = std::move(directory);
}

void Table::setFileName(std::string fileName) {
    close();
    fileName_ = std::move(fileName);
}

std::string Table::path() const {
    if (isOpen()) return path_;
    return ResolveInDirectory(directory_, fileName_);
}

bool Table::fileExists() const {
    return PathExists(path());
}

Status Table::Create(const std::string& directory, const std::string& fileName,
                     const std::vector<FieldDef>& fields) {
    DbfHeader header;
    KOLVIO_RETURN_IF_ERROR(MakeHeader(fields, &header));
    const std::string path = ResolveInDirectory(directory, fileName);
    if (header.hasMemoFields()) {
        KOLVIO_RETURN_IF_ERROR(MemoFile::Create(MemoFile::PathFor(path)));
    }
    KOLVIO_RETURN_IF_ERROR(DbfFile::Create(path, header));
    // A new table starts without indexes.
    return WriteIndexDefs(IndexSidecarPath(path), {});
}

Status Table::open(bool exclusive) {
    if (isOpen()) return Status::Ok();
    KOLVIO_RETURN_IF_ERROR(runHandlers(TableEvent::kBeforeOpen));
    const std::string path = ResolveInDirectory(directory_, fileName_);
    std::unique_ptr<DbfFile> file;
    const LockMode lock = exclusive ? LockMode::kExclusive : LockMode::kShared;
    // A file marked read-only is opened so; rows can then be read, not changed.
    Status st = Status::IoError("");
    if (IsWritableFile(path)) st = DbfFile::Open(path, true, lock, &file);
    if (st.code() == Status::Code::kIoError) st = DbfFile::Open(path, false, lock, &file);
    KOLVIO_RETURN_IF_ERROR(st);

    std::unique_ptr<MemoFile> memo;
    if (file->header().hasMemoFields()) {
        const std::string memoPath = MemoFile::PathFor(path);
        // Without its memo file the table still opens; memo fields read as null.
        if (PathExists(memoPath)) {
            KOLVIO_RETURN_IF_ERROR(MemoFile::Open(
                memoPath, file->writable(), file->header().version == kVersionDb3Memo, &memo));
        }
    }
    std::vector<std::unique_ptr<TableIndex>> indexes;
    for (const IndexDef& def : ReadIndexDefs(IndexSidecarPath(path))) {
        // A damaged sidecar may name an index twice: the first one counts.
        const bool named = std::any_of(indexes.begin(), indexes.end(), [&](const auto& index) {
            return EqualsIgnoreCase(index->def().name, def.name);
        });
        std::unique_ptr<TableIndex> index;
        if (!named && TableIndex::Make(def, file->header().fields, &index).ok()) {
            indexes.push_back(std::move(index));
        }
    }

    path_ = path;
    summaries_ = std::make_unique<SummaryUpkeep>(path, file->header());
    file_ = std::move(file);
    memo_ = std::move(memo);
    indexes_ = std::move(indexes);
    exclusive_ = exclusive;
    codePage_ = codePageOverride_.value_or(CodePageOfDriver(EngineDriverSettings().languageDriver));
    order_ = indexName_.empty() ? nullptr : findIndex(indexName_);
    if (!order_) indexName_.clear();
    liveKnown_ = false;
    viewChanged();
    enterState(DatasetState::kBrowse);
    notify(DataChange::kStateChanged);
    return first();
}

void Table::close() {
    if (!isOpen()) return;
    if (refuseInBeforeHandler("close()").failed()) return;
    enterState(DatasetState::kInactive);
    file_.reset();
    memo_.reset();
    summaries_.reset();
    indexes_.clear();
    order_ = nullptr;
    exclusive_ = false;
    cache_.clear();
    cacheCount_ = 0;
    lastRead_ = UINT32_MAX;
    setEmpty();
    notify(DataChange::kStateChanged);
}

bool Table::isOpen() const {
    return file_ != nullptr;
}

const std::vector<FieldLayout>& Table::fields() const {
    static const std::vector<FieldLayout> kNone;
    return file_ ? file_->header().fields : kNone;
}

uint8_t Table::languageDriver() const {
    return file_ ? file_->header().languageDriver : 0;
}

Status Table::refresh() {
    if (!isOpen()) return Status::Ok();
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    KOLVIO_RETURN_IF_ERROR(file_->refresh());
    forgetRows();
    notify(DataChange::kDataChanged);
    return first();
}

// --- packing ---------------------------------------------------------------

Status Table::reopenAfterRewrite() {
    const bool exclusive = exclusive_;
    const std::string index = indexName_;
    file_.reset();
    memo_.reset();
    indexes_.clear();
    order_ = nullptr;
    enterState(DatasetState::kInactive);
    indexName_ = index;
    Status st = open(exclusive);
    return st;
}

Status Table::pack() {
    KOLVIO_RETURN_IF_ERROR(requireExclusive("Komprese"));
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    // The block summaries the table had are made again for the packed file.
    const std::vector<bool> summarised = SummarisedFields(path_);
    // The original header bytes are kept (padding, language byte); only the
    // count changes, to the live records written.
    std::string headerBytes;
    KOLVIO_RETURN_IF_ERROR(ReadHeaderBytes(*file_, &headerBytes));
    TableRewrite rewrite;
    KOLVIO_RETURN_IF_ERROR(rewrite.begin(*file_, path_, std::move(headerBytes)));
    KOLVIO_RETURN_IF_ERROR(
        rewrite.writeRecords([](const RecordBatch& batch, std::string* kept) -> Status {
            for (uint32_t i = 0; i < batch.count; ++i) {
                if (!batch.deleted(i)) kept->append(batch.record(i), batch.length);
            }
            return Status::Ok();
        }));
    KOLVIO_RETURN_IF_ERROR(rewrite.commit());
    KOLVIO_RETURN_IF_ERROR(reopenAfterRewrite());
    if (!summarised.empty()) (void)SummariseTable(path_, summarised);  // without it only slower
    return Status::Ok();
}

// --- events ----------------------------------------------------------------

Table::HandlerId Table::on(TableEvent event, Handler handler) {
    handlers_.push_back({nextHandlerId_, event, std::move(handler)});
    return nextHandlerId_++;
}

void Table::off(HandlerId id) {
    std::erase_if(handlers_, [id](const HandlerEntry& e) { return e.id == id; });
}

Status Table::runHandlers(TableEvent event) {
    // A handler may attach or detach others: run over a copy.
    const auto handlers = handlers_;
    for (const HandlerEntry& h : handlers) {
        if (h.event != event) continue;
        Status st = h.fn(*this);
        if (!st.ok()) return st;
    }
    return Status::Ok();
}

}  // namespace kolvio
