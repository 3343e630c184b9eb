// A dBase table opened as an editable dataset.
//
// State machine of the current row:
//
//        open()                edit()                 post() / cancel()
//   kInactive ---> kBrowse ----------------> kEdit ------------------> kBrowse
//       ^            |  \      append()                                  ^
//       |  close()   |   `-------------> kInsert ------------------------'
//       `------------'                          post() / cancel()
//
// close() in kEdit or kInsert drops the row being edited. setValue() and
// setNull() belong to kEdit and kInsert. While the kBeforeEdit or kBeforePost
// handlers run the state stays put: a handler that calls edit(), append(),
// post(), deleteRecord() or close(), or moves the cursor, is refused. A
// kBeforePost handler may cancel(): the post then ends, aborted. Debug builds stop at every use the
// machine does not allow (KOLVIO_CHECK_STATE in dataset.h), so that a screen making one fails its
// tests.
//
// Moving the cursor while in kEdit or kInsert posts the row first, as the
// classic table components did. A posted row is written to the file before
// post() returns (visible to every other reader; not forced to the platter).
//
// Rows marked deleted are never visible. The visible rows follow the current
// ordering index (or the physical order), restricted by the master range and
// by the filter callback while filtering is on.
//
// Events let a screen veto or follow what happens to the rows. A handler
// returns Status::Ok() to go on, Status::Aborted() to abandon the operation
// silently, or any other status to abandon it with that error. Handlers are
// attached while a screen is open and detached when it closes.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/codepage.h"
#include "data/dataset.h"
#include "data/index/index_def.h"

namespace kolvio {

class DbfFile;
class MemoFile;
class SummaryUpkeep;
class TableIndex;

enum class TableEvent {
    kBeforeOpen,
    kAfterScroll,
    kBeforeEdit,
    kAfterEdit,
    kBeforePost,
    kAfterPost,
    kAfterDelete,
};

// Physical record number; stays valid until the table is packed.
using Bookmark = uint32_t;

class Table final : public Dataset {
public:
    using Handler = std::function<Status(Table&)>;
    using HandlerId = int;
    using FilterFn = std::function<bool(const Table&)>;

    Table();
    Table(std::string directory, std::string fileName);
    ~Table() override;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Binding: directory and file name ("jizdy.dbf"; names match case-insensitively).
    // Changing either closes the table.
    void setDirectory(std::string directory);
    void setFileName(std::string fileName);
    const std::string& directory() const { return directory_; }
    const std::string& fileName() const { return fileName_; }
    // Path of the table file as found on disk (or as it would be created).
    std::string path() const;
    bool fileExists() const;

    // Creates (or replaces) a table file with the given fields and no rows. A
    // table with a blob or memo field also gets an empty memo file.
    static Status Create(const std::string& directory, const std::string& fileName,
                         const std::vector<FieldDef>& fields);

    // Opens the table. With exclusive access no other handle, of this process
    // or another, may have it open; it is needed to add or delete indexes and
    // to pack. Runs kBeforeOpen handlers first. A missing file fails with an
    // error that names it.
    Status open(bool exclusive = false);
    void close();
    bool isOpen() const override;
    bool isExclusive() const { return exclusive_; }
    DatasetState state() const override { return state_; }
    const std::vector<FieldLayout>& fields() const override;
    // The language byte of the header (0x1F: code page 852).
    uint8_t languageDriver() const;
    // Code page used to decode and encode text. Unless set, the engine's
    // language driver decides when the table opens (code page 852 normally).
    void setCodePage(CodePage page) { codePageOverride_ = page; }

    // Rereads the header after another handle changed the file.
    Status refresh();
    // Rows that other handles (of this process or another) append become
    // visible when this handle next goes to its first or last row, refreshes,
    // or appends a row of its own.

    int64_t recordCount() override;
    bool isEmpty() override;
    Status first() override;
    Status last() override;
    Status next() override;
    Status prior() override;
    bool eof() const override { return eof_; }
    bool bof() const override { return bof_; }
    int64_t rowNumber() override;
    Status moveToRow(int64_t row) override;
    Status moveBy(int64_t n) override;
    Value value(int index) const override;
    using Dataset::value;
    Status valuesAt(int64_t row, const std::vector<int>& fields, std::vector<Value>* out) override;
    // The same for the last stored row in the order of index `name`, whatever
    // order the table shows (`out` is left empty when no row is stored). The
    // index is built on the first read and kept up to date as rows are
    // stored, so that later reads cost the same however many rows there are.
    Status lastInIndex(std::string_view name, const std::vector<int>& fields,
                       std::vector<Value>* out);

    // Editing. setValue and setNull need kEdit or kInsert.
    Status edit();
    Status append();
    Status post();
    void cancel();
    Status deleteRecord();
    Status setValue(std::string_view field, const Value& value);
    Status setValue(int field, const Value& value);
    Status setNull(std::string_view field) { return setValue(field, Value()); }
    // True when a field was set since edit() or append().
    bool modified() const { return modified_; }
    // A field of the row as it was stored before the current edit: while the
    // row is being edited, and in the kAfterPost handlers of a stored edit
    // (so that a change refused after storing can be written back). While a
    // row is inserted there is no such row and every field reads as null;
    // otherwise the current row's value is given.
    Value oldValue(int field) const;
    Value oldValue(std::string_view field) const;
    // Changes each time the table enters edit or insert, so that whoever
    // began an edit can tell it from a later one once its own was stored or
    // cancelled by someone else (moving the cursor posts a row).
    uint64_t editSerial() const { return editSerial_; }

    // Moves to the first visible row (in the current order) whose field
    // equals `value`; text compares exactly, numbers numerically. Posts a
    // row being edited first. Stays put and returns kNotFound when there is
    // none; a failed read or post is returned as the error it is (naming
    // the file), never taken for "not found", and the cursor stays put too.
    Status locate(std::string_view field, const Value& value);
    // Moves to the first visible row whose key in the current index equals
    // `key` (one value per field of the index expression), with the outcomes
    // of locate(). Without a current index the search is refused (kInvalid).
    Status findKey(const std::vector<Value>& key);

    // Filter callback; acts only while filtering is on.
    void setFilter(FilterFn filter);
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    // Master/detail: only rows whose key in `indexName` equals the master's
    // current `masterField` are visible, following the master as it moves.
    void setMaster(Table* master, std::string masterField, std::string indexName);
    void clearMaster();
    Table* master() const { return master_; }

    // Indexes. addIndex and deleteIndex need exclusive access.
    std::vector<IndexDef> indexDefs() const;
    bool hasIndex(std::string_view name) const;
    Status addIndex(const IndexDef& def);
    Status deleteIndex(std::string_view name);
    // Orders the rows by the named index; an empty name means physical order.
    Status setIndexName(std::string_view name);
    const std::string& indexName() const { return indexName_; }

    Bookmark bookmark() const { return recno_; }
    Status gotoBookmark(Bookmark bookmark);
    uint32_t recno() const { return recno_; }

    // Removes deleted rows and rebuilds the indexes. Needs exclusive access.
    // The file is rewritten beside the old one and replaces it atomically.
    Status pack();

    HandlerId on(TableEvent event, Handler handler);
    void off(HandlerId id);

private:
    // Positions of the visible rows (see table_view.cpp).
    size_t baseSize();
    uint32_t baseAt(size_t pos);
    std::optional<size_t> basePositionOf(uint32_t recno, const std::string& record);
    size_t viewSize();
    uint32_t viewAt(size_t pos);
    std::optional<size_t> viewPositionOf(uint32_t recno, const std::string& record);
    size_t nearestPosition(uint32_t recno, const std::string& record);
    void ensureLive();
    bool walksPhysically() const;
    // The first live row from `from` on in the direction of `step` (none
    // at the end); a failed read is returned, not taken for the end.
    Status nextLive(uint32_t from, int step, std::optional<uint32_t>* out);
    Status walkTo(std::optional<uint32_t> recno);
    Status ensureOrderIndex();
    void ensureRange();
    void ensureFiltered();
    void viewChanged();
    void noteAppended(uint32_t recno);
    Status followAppends();
    void absorbAppended(uint32_t from, uint32_t to);
    void forgetRows();
    void noteDeleted(uint32_t recno);

    Status readRow(uint32_t recno, std::string* out);
    // The `wanted` fields of record `recno` (null for an index out of range).
    Status readValues(uint32_t recno, const std::vector<int>& wanted, std::vector<Value>* out);
    Status moveToPosition(size_t pos, bool scrollEvent = true);
    std::optional<size_t> currentPosition();
    Status runHandlers(TableEvent event);
    Status ensurePosted();
    bool accepts(uint32_t recno, const std::string& record);
    bool isVisible(uint32_t recno, const std::string& record);
    TableIndex* findIndex(std::string_view name) const;
    Status buildIndex(TableIndex* index);
    Status saveIndexDefs();
    Status requireExclusive(const char* what) const;
    Status requireEditing() const;
    // Every change of state_ goes through here, checked against the drawing.
    void enterState(DatasetState next);
    Status refuseInBeforeHandler(const char* what) const;
    Status runBeforeHandlers(TableEvent event);
    void onMasterChange(DataChange change);
    std::optional<Value> masterKey() const;
    void afterScroll();
    void setEmpty();
    Status reopenAfterRewrite();

    std::string directory_;
    std::string fileName_;
    std::string path_;  // resolved when opened
    std::unique_ptr<DbfFile> file_;
    std::unique_ptr<MemoFile> memo_;
    // Keeps the block summaries' sidecar current across our writes.
    std::unique_ptr<SummaryUpkeep> summaries_;
    bool exclusive_ = false;
    std::optional<CodePage> codePageOverride_;
    CodePage codePage_ = CodePage::kCp852;
    DatasetState state_ = DatasetState::kInactive;
    bool inBeforeHandler_ = false;  // kBeforeEdit or kBeforePost handlers running

    std::vector<std::unique_ptr<TableIndex>> indexes_;
    std::string indexName_;
    TableIndex* order_ = nullptr;  // ordering index, or null for physical order

    // Physical order: the live record numbers, known after one scan.
    bool liveKnown_ = false;
    bool liveIdentity_ = false;  // no deleted rows: position == record number
    // A read that failed while the rows of the view were worked out; the
    // next move reports it instead of showing fewer rows.
    Status viewError_;
    std::vector<uint32_t> live_;
    // Index order: the master range [rangeLo_, rangeHi_) of the index.
    bool rangeValid_ = false;
    size_t rangeLo_ = 0, rangeHi_ = 0;
    // Filter on: the accepted rows in order.
    bool filteredValid_ = false;
    std::vector<uint32_t> filteredRows_;

    uint32_t recno_ = 0;       // current physical record
    bool hasCurrent_ = false;  // false on an empty view
    bool posValid_ = false;
    size_t pos_ = 0;
    bool eof_ = true;
    bool bof_ = true;
    std::string row_;      // bytes of the current record
    std::string editRow_;  // bytes being edited or inserted
    // The record before edit(), for index upkeep and oldValue(); kept until
    // the kAfterPost handlers of the edit have run.
    std::string savedRow_;
    bool modified_ = false;
    uint64_t editSerial_ = 0;
    // While the filter callback runs, values are read from the candidate row.
    const std::string* candidate_ = nullptr;

    // Read-ahead for sequential scans.
    std::string cache_;
    uint32_t cacheFirst_ = 0, cacheCount_ = 0;
    uint32_t lastRead_ = UINT32_MAX;

    FilterFn filter_;
    bool filtered_ = false;

    Table* master_ = nullptr;
    std::string masterField_;
    ObserverId masterObserver_ = 0;
    std::optional<Value> shownMasterKey_;  // the key the current range was made for

    struct HandlerEntry {
        HandlerId id;
        TableEvent event;
        Handler fn;
    };
    std::vector<HandlerEntry> handlers_;
    HandlerId nextHandlerId_ = 1;
};

}  // namespace kolvio
