#include "data/sql/execution/zone_map.h"

#include <sys/stat.h>

#include <chrono>

namespace kolvio::sql {

namespace {

constexpr size_t kMaxCachedFiles = 64;

}  // namespace

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
    for (int64_t n : live_) {
        if (n < 0) return false;
    }
    return true;
}

bool TableZones::empty() const {
    for (int64_t n : live_) {
        if (n >= 0) return false;
    }
    for (const Zone& z : zones_) {
        if (z.state != Zone::State::kUnknown) return false;
    }
    return true;
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

bool CurrentFileIdentity(const std::string& path, FileIdentity* out) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    out->device = static_cast<uint64_t>(st.st_dev);
    out->inode = static_cast<uint64_t>(st.st_ino);
    out->size = static_cast<uint64_t>(st.st_size);
    out->modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    out->changedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    return true;
}

int64_t WallClockNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

ZoneCache& ZoneCache::Shared() {
    static ZoneCache cache;
    return cache;
}

std::shared_ptr<const TableZones> ZoneCache::find(const std::string& path,
                                                  const FileIdentity& id) const {
    std::lock_guard lock(mu_);
    const auto it = entries_.find(path);
    if (it == entries_.end() || !(it->second.id == id)) return nullptr;
    it->second.lastUse = ++clock_;
    // Entries are never changed in place (learn() replaces them), so the
    // statement may keep this one while others learn more.
    return it->second.zones;
}

void ZoneCache::learn(const std::string& path, const FileIdentity& id, int64_t scanStartNs,
                      const TableZones& learned) {
    if (learned.empty()) return;
    const int64_t lastChange = std::max(id.modifiedNs, id.changedNs);
    FileIdentity now;
    std::lock_guard lock(mu_);
    if (scanStartNs - lastChange < minimumAgeNs_) return;
    if (!CurrentFileIdentity(path, &now) || !(now == id)) return;
    Entry& e = entries_[path];
    auto zones = std::make_shared<TableZones>(learned);
    if (e.id == id && e.zones) zones->merge(*e.zones);
    e.id = id;
    e.zones = std::move(zones);
    e.lastUse = ++clock_;
    while (entries_.size() > kMaxCachedFiles) {
        auto oldest = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse) oldest = it;
        }
        entries_.erase(oldest);
    }
}

void ZoneCache::clear() {
    std::lock_guard lock(mu_);
    entries_.clear();
}

void ZoneCache::setMinimumAge(int64_t ns) {
    std::lock_guard lock(mu_);
    minimumAgeNs_ = ns;
}

}  // namespace kolvio::sql
