#include "data/sql/execution/zone_map.h"

#include <algorithm>

namespace kolvio::sql {

namespace {

constexpr size_t kMaxCachedFiles = 64;

}  // namespace

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

std::shared_ptr<const TableZones> ZoneCache::learn(const std::string& path, const FileIdentity& id,
                                                   int64_t scanStartNs, const TableZones& learned) {
    if (learned.empty()) return nullptr;
    FileIdentity now;
    std::lock_guard lock(mu_);
    if (scanStartNs - id.lastChangeNs() < minimumAgeNs_) return nullptr;
    if (!CurrentFileIdentity(path, &now) || !(now == id)) return nullptr;
    Entry& e = entries_[path];
    const bool known = e.id == id && e.zones;
    if (known && !learned.knowsMoreThan(*e.zones)) return nullptr;
    auto zones = std::make_shared<TableZones>(learned);
    if (known) zones->merge(*e.zones);
    e.id = id;
    e.zones = std::move(zones);
    e.lastUse = ++clock_;
    std::shared_ptr<const TableZones> all = e.zones;
    while (entries_.size() > kMaxCachedFiles) {
        auto oldest = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse) oldest = it;
        }
        entries_.erase(oldest);
    }
    return all;
}

void ZoneCache::adopt(const std::string& path, const FileIdentity& id,
                      std::shared_ptr<const TableZones> zones) {
    std::lock_guard lock(mu_);
    Entry& e = entries_[path];
    e.id = id;
    e.zones = std::move(zones);
    e.lastUse = ++clock_;
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
