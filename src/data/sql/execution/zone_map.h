// What scans learn about a table file (data/summary/block_summaries.h):
// per block of kZoneRows records, the number of live rows and, per numeric,
// date or logical field, the smallest and largest non-null value among the
// live rows.
//
// A later scan of the same, unchanged file skips the blocks whose values
// cannot satisfy its filter, and MIN/MAX/COUNT(*) over a whole table are
// answered from the blocks alone. A diary is written in date order, so a
// date range touches few blocks.
//
// Trust: knowledge is kept per file identity (device, inode, size, change
// times). A file changed within the file system's timestamp granularity of
// the scan could keep its identity, so what a scan learned is only kept when
// the file had been unchanged for a while before the scan started (the
// "racily clean" rule of version control tools), and when its identity is
// still the same after the scan. What is kept goes to the table's sidecar
// (data/summary/summary_file.h) too, for the next process; a table without
// knowledge in this process is looked up there.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "data/summary/block_summaries.h"

namespace kolvio::sql {

using kolvio::CurrentFileIdentity;
using kolvio::FileIdentity;
using kolvio::kZoneRows;
using kolvio::TableZones;
using kolvio::WallClockNs;
using kolvio::Zone;

// Process-wide: what scans learned about table files.
class ZoneCache {
public:
    static ZoneCache& Shared();

    // What is known about the file with this identity; null when nothing.
    std::shared_ptr<const TableZones> find(const std::string& path, const FileIdentity& id) const;
    // Keeps what a scan that started at `scanStartNs` learned about the file
    // that had identity `id` when the statement opened it. Returns everything
    // now known of the file when the scan added to it (for the sidecar), else
    // null.
    std::shared_ptr<const TableZones> learn(const std::string& path, const FileIdentity& id,
                                            int64_t scanStartNs, const TableZones& learned);
    // Takes what the sidecar of the file with this identity holds.
    void adopt(const std::string& path, const FileIdentity& id,
               std::shared_ptr<const TableZones> zones);
    void clear();
    // How long a file must have been unchanged before a scan for what the
    // scan learned to be kept; 3 s by default (some file systems keep times
    // in 2 s steps). Tests that write and query at once set 0.
    void setMinimumAge(int64_t ns);

private:
    struct Entry {
        FileIdentity id;
        std::shared_ptr<const TableZones> zones;
        mutable uint64_t lastUse = 0;
    };

    mutable std::mutex mu_;
    std::map<std::string, Entry> entries_;
    mutable uint64_t clock_ = 0;
    int64_t minimumAgeNs_ = 3'000'000'000;
};

}  // namespace kolvio::sql
