// The contents of a table's maintained indexes kept between processes, in a
// sidecar of our own beside the table: "jizdy.kid" for "jizdy.dbf" (the
// definitions stay in "jizdy.kix", index_def.h). No dBase tool reads it. The
// layout is in docs/file_formats.md.
//
// The file is a snapshot followed by a journal. The snapshot holds, per
// index, the record numbers in index order and the distinct keys with the
// number of records of each; it names the identity and layout of the table
// file it describes (summary_file.h). Each of our writes to the table then
// appends one journal entry: the record it changed and the table's identity
// before and after the write. The file describes the table as it is now only
// when the entries chain from the snapshot's identity to the table's current
// one; a write by any other program breaks the chain and the file is rebuilt
// from the table instead, never misread. The records a journal names are
// read again from the table when an index is loaded; once the journal grows
// long it is folded into a new snapshot (index_store.h).
//
// The snapshot is written to a unique temporary file and renamed over the
// old one. Header, directory, each section and each journal entry carry a
// checksum: a damaged or foreign file is ignored and replaced by the next
// writer, a torn last entry breaks the chain.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/codepage.h"
#include "data/file.h"
#include "data/index/index_def.h"
#include "data/status.h"
#include "data/summary/summary_file.h"

namespace kolvio {

std::string IndexDataPath(const std::string& tablePath);

// One index in the file: runs of equal keys in index order and the record
// numbers of those runs one after another.
struct IndexSection {
    IndexDef def;
    bool textKeys = false;             // collation keys (texts, several fields)
    std::vector<double> numbers;       // one per run when !textKeys
    std::vector<std::string> texts;    // one per run when textKeys
    std::vector<uint32_t> runLengths;  // records per run, each at least 1
    std::vector<uint32_t> recnos;

    size_t runs() const { return runLengths.size(); }
    bool operator==(const IndexSection&) const = default;
};

// A file found to describe the table as it is now; its sections are read
// one at a time, so that a statement reading one index pays for that one.
class IndexData {
public:
    // The index data of the table at `tablePath` when the snapshot and its
    // journal lead to `current` (identity and layout) and agree with
    // `recordCount`; null otherwise.
    static std::unique_ptr<IndexData> Open(const std::string& tablePath,
                                           const SummaryStamp& current, uint32_t recordCount);

    size_t sectionCount() const { return directory_.size(); }
    const IndexDef& def(size_t section) const { return directory_[section].def; }
    std::optional<size_t> find(const IndexDef& def) const;
    // Reads one section; false when it is damaged or out of order. With
    // `keepRun`, asked once per run after every key is read, only the record
    // numbers of the runs it keeps end up in out->recnos (all are checked).
    using RunFilter = std::function<bool(const IndexSection& keys, size_t run)>;
    bool read(size_t section, IndexSection* out, const RunFilter& keepRun = {}) const;
    // The records written since the snapshot, ascending, each once. Their
    // entries in the sections are out of date: read them from the table.
    const std::vector<uint32_t>& changed() const { return changed_; }
    // Records the table had when the snapshot was taken.
    uint32_t snapshotRecords() const { return snapshotRecords_; }
    // The code page the text keys were made in.
    CodePage codePage() const { return codePage_; }
    size_t journalEntries() const { return journalEntries_; }

private:
    struct Entry {
        IndexDef def;
        bool textKeys = false;
        uint32_t entries = 0;
        uint32_t runs = 0;
        uint64_t offset = 0;
        uint64_t bytes = 0;
        uint64_t checksum = 0;
    };
    File file_;
    std::vector<Entry> directory_;
    std::vector<uint32_t> changed_;
    uint32_t snapshotRecords_ = 0;
    CodePage codePage_ = CodePage::kCp852;
    size_t journalEntries_ = 0;
};

// Replaces the file atomically with a snapshot of `sections` describing the
// table as `stamp` says, with `recordCount` records, text keys made in code
// page `page`, and no journal.
Status WriteIndexData(const std::string& tablePath, const SummaryStamp& stamp, uint32_t recordCount,
                      CodePage page, const std::vector<IndexSection>& sections);

// Appends the journal entry of a write that changed record `recno` and took
// the table from `before` to `after`, when the file (snapshot and journal)
// ends at `before`: the entries in the journal afterwards. Nothing is
// written, and 0 returned, when there is no such file or it ends elsewhere.
// The caller orders the writers (the summary lock, summary_upkeep.h).
size_t AppendIndexJournal(const std::string& tablePath, const FileIdentity& before,
                          const FileIdentity& after, uint32_t recno);

}  // namespace kolvio
