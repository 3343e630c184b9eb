#include "data/summary/summary_file.h"

#include <cstring>

#include "data/dbf/dbf_file.h"
#include "data/file.h"
#include "data/summary/sidecar_codec.h"
#include "data/summary/sidecar_io.h"

namespace kolvio {

namespace {

constexpr char kMagic[8] = {'K', 'O', 'L', 'V', 'I', 'O', 'Z', 'M'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderBytes = 88;
constexpr size_t kChecksumAt = 80;
constexpr size_t kZoneBytes = 21;
// More fields than a dBase table may have: the file is not ours.
constexpr uint32_t kMaxFields = 4096;

bool FieldPresent(const TableZones& zones, size_t field) {
    for (uint32_t b = 0; b < zones.blocks(); ++b) {
        if (zones.zone(field, b).state != Zone::State::kUnknown) return true;
    }
    return false;
}

}  // namespace

std::string SummarySidecarPath(const std::string& tablePath) {
    return SidecarPath(tablePath, ".kzm");
}

uint64_t LayoutFingerprint(const DbfHeader& header) {
    SidecarWriter w;
    w.u32(header.headerLength);
    w.u32(header.recordLength);
    for (const FieldLayout& f : header.fields) {
        w.bytes() += f.name;
        w.u8(0);
        w.u8(static_cast<uint8_t>(f.type));
        w.u32(static_cast<uint32_t>(f.length));
        w.u32(static_cast<uint32_t>(f.decimals));
        w.u32(static_cast<uint32_t>(f.offset));
    }
    return SidecarChecksum(w.bytes());
}

std::string EncodeSummaries(const SummaryStamp& stamp, const TableZones& zones) {
    SidecarWriter w;
    w.bytes().append(kMagic, sizeof kMagic);
    w.u32(kVersion);
    w.u32(kZoneRows);
    w.u64(stamp.identity.device);
    w.u64(stamp.identity.inode);
    w.u64(stamp.identity.size);
    w.i64(stamp.identity.modifiedNs);
    w.i64(stamp.identity.changedNs);
    w.u64(stamp.layout);
    w.u32(zones.recordCount());
    w.u32(static_cast<uint32_t>(zones.fieldCount()));
    w.u32(zones.blocks());
    w.u32(0);
    w.u64(0);  // checksum, filled in below
    for (uint32_t b = 0; b < zones.blocks(); ++b)
        w.i64(zones.liveRows(b));
    for (size_t f = 0; f < zones.fieldCount(); ++f) {
        const bool present = FieldPresent(zones, f);
        w.u8(present ? 1 : 0);
        if (!present) continue;
        for (uint32_t b = 0; b < zones.blocks(); ++b) {
            const Zone& z = zones.zone(f, b);
            w.u8(static_cast<uint8_t>(z.state));
            w.f64(z.min);
            w.f64(z.max);
            w.u32(z.values);
        }
    }
    std::string& bytes = w.bytes();
    const uint64_t sum = SidecarChecksum(bytes);
    std::memcpy(bytes.data() + kChecksumAt, &sum, 8);
    return bytes;
}

std::shared_ptr<TableZones> ReadSummaries(const std::string& tablePath,
                                          const SummaryStamp& expected, uint32_t recordCount,
                                          size_t fieldCount) {
    if (fieldCount > kMaxFields) return nullptr;
    const uint32_t blocks = (recordCount + kZoneRows - 1) / kZoneRows;
    const uint64_t largest = kHeaderBytes + 8ull * blocks + fieldCount * (1 + kZoneBytes * blocks);
    // Through File: a pipe or device of that name is refused, not waited on.
    File file;
    uint64_t size = 0;
    if (!File::Open(SummarySidecarPath(tablePath), false, &file).ok() || !file.size(&size).ok() ||
        size < kHeaderBytes || size > largest) {
        return nullptr;
    }
    std::string bytes(size, '\0');
    if (!file.readAt(0, size, bytes.data()).ok()) return nullptr;
    uint64_t sum = 0;
    std::memcpy(&sum, bytes.data() + kChecksumAt, 8);
    std::memset(bytes.data() + kChecksumAt, 0, 8);
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0 || SidecarChecksum(bytes) != sum) {
        return nullptr;
    }
    SidecarReader r(std::string_view(bytes).substr(sizeof kMagic));
    uint32_t version = 0, blockRows = 0, records = 0, fields = 0, blockCount = 0, reserved = 0;
    SummaryStamp stamp;
    uint64_t checksum = 0;
    if (!r.u32(&version) || !r.u32(&blockRows) || !r.u64(&stamp.identity.device) ||
        !r.u64(&stamp.identity.inode) || !r.u64(&stamp.identity.size) ||
        !r.i64(&stamp.identity.modifiedNs) || !r.i64(&stamp.identity.changedNs) ||
        !r.u64(&stamp.layout) || !r.u32(&records) || !r.u32(&fields) || !r.u32(&blockCount) ||
        !r.u32(&reserved) || !r.u64(&checksum)) {
        return nullptr;
    }
    if (version != kVersion || blockRows != kZoneRows || !(stamp.identity == expected.identity) ||
        stamp.layout != expected.layout || records != recordCount || fields != fieldCount ||
        blockCount != blocks) {
        return nullptr;
    }
    auto zones = std::make_shared<TableZones>(fieldCount, recordCount);
    for (uint32_t b = 0; b < blocks; ++b) {
        int64_t live = 0;
        if (!r.i64(&live) || live < -1 || live > kZoneRows) return nullptr;
        zones->setLiveRows(b, live);
    }
    for (size_t f = 0; f < fieldCount; ++f) {
        uint8_t present = 0;
        if (!r.u8(&present) || present > 1) return nullptr;
        if (!present) continue;
        for (uint32_t b = 0; b < blocks; ++b) {
            uint8_t state = 0;
            Zone z;
            if (!r.u8(&state) || state > static_cast<uint8_t>(Zone::State::kRange) ||
                !r.f64(&z.min) || !r.f64(&z.max) || !r.u32(&z.values)) {
                return nullptr;
            }
            z.state = static_cast<Zone::State>(state);
            const int64_t live = zones->liveRows(b);
            if (z.state == Zone::State::kRange &&
                (!(z.min <= z.max) || z.values == 0 || (live >= 0 && z.values > live))) {
                return nullptr;
            }
            if (z.state != Zone::State::kRange && z.values != 0) return nullptr;
            zones->setZone(f, b, z);
        }
    }
    if (r.left() != 0) return nullptr;
    return zones;
}

Status WriteSummaries(const std::string& tablePath, const SummaryStamp& stamp,
                      const TableZones& zones) {
    return ReplaceSmallFile(SummarySidecarPath(tablePath), EncodeSummaries(stamp, zones));
}

}  // namespace kolvio
