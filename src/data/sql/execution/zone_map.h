// What scans learn about a table file: per block of kZoneRows records, the
// number of live rows and, per numeric, date or logical field, the smallest
// and largest non-null value among the live rows.
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
// still the same after the scan.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kolvio::sql {

constexpr uint32_t kZoneRows = 4096;

struct Zone {
    enum class State : uint8_t { kUnknown, kNoValues, kRange };
    State state = State::kUnknown;
    double min = 0;
    double max = 0;
};

class TableZones {
public:
    TableZones() = default;
    TableZones(size_t fieldCount, uint32_t recordCount);

    uint32_t blocks() const { return blocks_; }
    uint32_t recordCount() const { return records_; }
    size_t fieldCount() const { return fields_; }

    const Zone& zone(size_t field, uint32_t block) const { return zones_[field * blocks_ + block]; }
    void setZone(size_t field, uint32_t block, const Zone& z) {
        zones_[field * blocks_ + block] = z;
    }
    // Live rows of a block; -1 when unknown.
    int64_t liveRows(uint32_t block) const { return live_[block]; }
    void setLiveRows(uint32_t block, int64_t n) { live_[block] = n; }

    bool fieldKnown(size_t field) const;
    bool liveRowsKnown() const;
    bool empty() const;
    // Takes what `other` (of the same file) knows and this does not.
    void merge(const TableZones& other);

private:
    size_t fields_ = 0;
    uint32_t records_ = 0;
    uint32_t blocks_ = 0;
    std::vector<Zone> zones_;
    std::vector<int64_t> live_;
};

struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    bool operator==(const FileIdentity&) const = default;
};

// False when the file cannot be examined.
bool CurrentFileIdentity(const std::string& path, FileIdentity* out);
int64_t WallClockNs();

// Process-wide: what scans learned about table files.
class ZoneCache {
public:
    static ZoneCache& Shared();

    // What is known about the file with this identity; null when nothing.
    std::shared_ptr<const TableZones> find(const std::string& path, const FileIdentity& id) const;
    // Keeps what a scan that started at `scanStartNs` learned about the file
    // that had identity `id` when the statement opened it.
    void learn(const std::string& path, const FileIdentity& id, int64_t scanStartNs,
               const TableZones& learned);
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
