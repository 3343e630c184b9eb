// What is known about the rows of a table file without reading them: per
// block of kZoneRows records, the number of live rows and, per numeric, date
// or logical field, the smallest and largest non-null value among the live
// rows (dates as day numbers, logicals as 0 and 1).
//
// Every piece may be unknown: a scan learns the fields it decoded for every
// live row of a block. The SQL engine skips blocks that cannot match a filter
// and answers MIN/MAX/COUNT(*) from them (sql/execution/zone_map.h); the
// sidecar file (summary_file.h) keeps them between processes.
//
// Knowledge belongs to one state of one file, named by its identity: device,
// inode, size, modification and change times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kolvio {

constexpr uint32_t kZoneRows = 4096;

struct Zone {
    enum class State : uint8_t { kUnknown, kNoValues, kRange };
    State state = State::kUnknown;
    double min = 0;
    double max = 0;
    // Live rows with a value (not null); 0 unless the zone is known.
    uint32_t values = 0;

    bool operator==(const Zone&) const = default;
    // Widens a known zone by one non-null value; an unknown zone stays unknown.
    void include(double v);
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
    // True when this knows something `other` does not.
    bool knowsMoreThan(const TableZones& other) const;
    // Makes room for records up to `recordCount`: new blocks hold no live
    // rows yet and unknown zones.
    void grow(uint32_t recordCount);

    bool operator==(const TableZones&) const = default;

private:
    size_t fields_ = 0;
    uint32_t records_ = 0;
    uint32_t blocks_ = 0;
    std::vector<Zone> zones_;  // field-major: zones_[field * blocks_ + block]
    std::vector<int64_t> live_;
};

struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    bool operator==(const FileIdentity&) const = default;
    int64_t lastChangeNs() const { return modifiedNs > changedNs ? modifiedNs : changedNs; }
};

// False when the file cannot be examined.
bool CurrentFileIdentity(const std::string& path, FileIdentity* out);
bool IdentityOfDescriptor(int fd, FileIdentity* out);
int64_t WallClockNs();

}  // namespace kolvio
