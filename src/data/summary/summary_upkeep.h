// Keeps a table's block summaries (summary_file.h) and the journal of its
// index data (index/index_data.h) current across this program's own writes,
// so that the next process need not read the table again to learn them.
//
// Around each append, edit and deletion the table takes the summary lock
// (one byte far beyond the records, shared by every writer of this program),
// notes the file's identity, writes, and then updates each sidecar only
// when it described the file exactly as it was before the write. Otherwise the
// sidecar is stale already and stays so; a reader ignores it.
//
// Timestamps are coarse (a clock tick, on some file systems two seconds), so
// another program writing right after us, within the same tick and without
// changing the size, would leave the identity we record unchanged. After our
// write the modification time is therefore set one nanosecond before the
// time the write gave it: any later write by anybody sets the clock's time,
// never an earlier one, and so differs from the recorded identity. Where the
// time cannot be set (a file of another owner) the sidecar is not updated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/dbf/field_def.h"
#include "data/status.h"
#include "data/summary/block_summaries.h"
#include "data/summary/sidecar_io.h"

namespace kolvio {

struct DbfHeader;

// Reads the whole table and writes its sidecar with every numeric, date and
// logical field known (after a pack, for a benchmark), and the contents of
// its indexes (index/index_data.h) when asked for every field or when it
// had them before. The modification time is set back first and the
// identity compared after the read, so a write by anybody during the read
// leaves no sidecar. Only the fields `fields` names when it is not empty.
Status SummariseTable(const std::string& tablePath, const std::vector<bool>& fields = {});

// The fields a valid sidecar of the table knows anything of; empty when
// there is none.
std::vector<bool> SummarisedFields(const std::string& tablePath);

class SummaryUpkeep {
public:
    // Does nothing for a file that cannot be opened for writing.
    SummaryUpkeep(std::string path, const DbfHeader& header);

    // Held from before a write until the summaries have followed it.
    class Change {
    public:
        Change() = default;
        ~Change();
        Change(Change&& other) noexcept;
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;
        Change& operator=(Change&&) = delete;

    private:
        friend class SummaryUpkeep;
        SummaryUpkeep* owner_ = nullptr;
        FileIdentity before_;
    };

    Change begin();
    // The record `recno` was appended after every earlier one.
    void appended(Change& change, uint32_t recno, const char* record);
    // The record `recno` was rewritten from `before` to `after`, or deleted
    // (`after` null).
    void rewritten(Change& change, uint32_t recno, const char* before, const char* after);

private:
    bool summarised(size_t field) const;
    bool recompute(TableZones* zones, uint32_t block, const std::vector<size_t>& fields) const;
    bool followRewrite(TableZones* zones, uint32_t recno, const char* before,
                       const char* after) const;
    // Stamps the file once and brings both sidecars to the identity it now
    // has: the summaries (when `zones` is not null) and the index journal.
    void commit(Change& change, const TableZones* zones, uint32_t recno);

    std::string path_;
    uint64_t layout_ = 0;
    uint32_t headerLength_ = 0;
    uint32_t recordLength_ = 0;
    std::vector<FieldLayout> fields_;
    std::string indexDataPath_;
    TableFileHandle file_;
};

}  // namespace kolvio
