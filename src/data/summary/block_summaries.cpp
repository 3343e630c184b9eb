#include "data/summary/block_summaries.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>

#include "data/file_system.h"

namespace kolvio {

namespace {

void FromStat(const struct stat& st, FileIdentity* out) {
    out->device = static_cast<uint64_t>(st.st_dev);
    out->inode = static_cast<uint64_t>(st.st_ino);
    out->size = static_cast<uint64_t>(st.st_size);
    out->modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    out->changedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
}

}  // namespace

void Zone::include(double v) {
    if (state == State::kRange) {
        min = std::min(min, v);
        max = std::max(max, v);
        ++values;
    } else if (state == State::kNoValues) {
        state = State::kRange;
        min = max = v;
        values = 1;
    }
}

TableZones::TableZones(size_t fieldCount, uint32_t recordCount)
    : fields_(fieldCount),
      records_(recordCount),
      blocks_((recordCount + kZoneRows - 1) / kZoneRows),
      zones_(fieldCount * blocks_),
      live_(blocks_, -1) {}

bool TableZones::fieldKnown(size_t field) const {
    for (uint32_t b = 0; b < blocks_; ++b) {
        if (zone(field, b).state == Zone::State::kUnknown) return false;
    }
    return true;
}

bool TableZones::liveRowsKnown() const {
    return std::none_of(live_.begin(), live_.end(), [](int64_t n) { return n < 0; });
}

bool TableZones::empty() const {
    return std::none_of(live_.begin(), live_.end(), [](int64_t n) { return n >= 0; }) &&
           std::none_of(zones_.begin(), zones_.end(),
                        [](const Zone& z) { return z.state != Zone::State::kUnknown; });
}

void TableZones::merge(const TableZones& other) {
    if (other.fields_ != fields_ || other.records_ != records_) return;
    for (size_t i = 0; i < zones_.size(); ++i) {
        if (zones_[i].state == Zone::State::kUnknown) zones_[i] = other.zones_[i];
    }
    for (size_t b = 0; b < live_.size(); ++b) {
        if (live_[b] < 0) live_[b] = other.live_[b];
    }
}

bool TableZones::knowsMoreThan(const TableZones& other) const {
    if (other.fields_ != fields_ || other.records_ != records_) return !empty();
    for (size_t i = 0; i < zones_.size(); ++i) {
        if (zones_[i].state != Zone::State::kUnknown &&
            other.zones_[i].state == Zone::State::kUnknown) {
            return true;
        }
    }
    for (size_t b = 0; b < live_.size(); ++b) {
        if (live_[b] >= 0 && other.live_[b] < 0) return true;
    }
    return false;
}

void TableZones::grow(uint32_t recordCount) {
    if (recordCount <= records_) return;
    const uint32_t blocks = (recordCount + kZoneRows - 1) / kZoneRows;
    if (blocks != blocks_) {
        std::vector<Zone> zones(fields_ * blocks);
        for (size_t f = 0; f < fields_; ++f) {
            for (uint32_t b = 0; b < blocks_; ++b)
                zones[f * blocks + b] = zone(f, b);
        }
        zones_ = std::move(zones);
        live_.resize(blocks, 0);
        blocks_ = blocks;
    }
    records_ = recordCount;
}

bool CurrentFileIdentity(const std::string& path, FileIdentity* out) {
    struct stat st {};
    if (Fs().stat(path.c_str(), &st) != 0) return false;
    FromStat(st, out);
    return true;
}

bool IdentityOfDescriptor(int fd, FileIdentity* out) {
    struct stat st {};
    if (Fs().fstat(fd, &st) != 0) return false;
    FromStat(st, out);
    return true;
}

int64_t WallClockNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace kolvio
