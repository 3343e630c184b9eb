#include "activity/fit_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace kolvio::activity::fit {

namespace {

// Tables for the CRC eight bytes at a time ("slicing by 8"): table k gives
// the CRC of a byte followed by k zero bytes.
using CrcTables = std::array<std::array<uint16_t, 256>, 8>;
constexpr CrcTables MakeCrcTables() {
    CrcTables t{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = static_cast<uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
        }
        t[0][i] = crc;
    }
    for (size_t k = 1; k < t.size(); ++k) {
        for (unsigned i = 0; i < 256; ++i) {
            t[k][i] = static_cast<uint16_t>((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
        }
    }
    return t;
}
constexpr CrcTables kCrc = MakeCrcTables();

constexpr size_t kShortHeader = 12;
constexpr uint8_t kTimestampField = 253;

// An unsigned value of 1, 2, 4 or 8 bytes in the given byte order.
uint64_t ReadUnsigned(const uint8_t* p, int size, bool bigEndian) {
    const bool swap = bigEndian != (std::endian::native == std::endian::big);
    switch (size) {
        case 1:
            return p[0];
        case 2: {
            uint16_t v;
            std::memcpy(&v, p, sizeof v);
            return swap ? __builtin_bswap16(v) : v;
        }
        case 4: {
            uint32_t v;
            std::memcpy(&v, p, sizeof v);
            return swap ? __builtin_bswap32(v) : v;
        }
        default: {
            uint64_t v;
            std::memcpy(&v, p, sizeof v);
            return swap ? __builtin_bswap64(v) : v;
        }
    }
}

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(ReadUnsigned(p, 4, false));
}
uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(ReadUnsigned(p, 2, false));
}

struct Definition {
    bool defined = false;
    bool bigEndian = false;
    uint16_t global = 0;
    std::vector<FieldDefinition> fields;
    int timestampIndex = -1;  // of field 253 in `fields`
    bool wanted = false;      // its data messages go to the callback
    uint32_t size = 0;        // of one data message, developer fields included
};

// Decodes the records of one FIT file's data; false at an undecodable record.
class RecordDecoder {
public:
    RecordDecoder(std::span<const uint16_t> wanted, const MessageCallback& onMessage,
                  DecodeReport& report)
        : wanted_(wanted), onMessage_(onMessage), report_(report) {}

    // Returns false when a record cannot be decoded; `stopped` is set when
    // the callback asked to stop.
    bool run(const uint8_t* p, const uint8_t* end, bool& stopped) {
        while (p < end) {
            const uint8_t header = *p++;
            std::optional<uint32_t> compressedTime;
            unsigned local;
            if (header & 0x80) {
                local = (header >> 5) & 0x03;
                compressedTime = advanceCompressed(header & 0x1F);
            } else if (header & 0x40) {
                if (!define(header, p, end)) return false;
                continue;
            } else {
                local = header & 0x0F;
            }
            const Definition& def = defs_[local];
            if (!def.defined || def.size > static_cast<size_t>(end - p)) return false;
            std::optional<uint32_t> timestamp = compressedTime;
            if (def.timestampIndex >= 0) {
                DataMessage probe(def.global, def.bigEndian, def.fields, p, std::nullopt);
                // Any base type may be declared; only a whole 32-bit count is a time.
                const auto t = probe.value(def.fields[def.timestampIndex]);
                if (t && *t >= 0 && *t <= 0xFFFFFFFF && *t == std::floor(*t)) {
                    timestamp = static_cast<uint32_t>(*t);
                    lastTimestamp_ = timestamp;
                }
            }
            if (!def.wanted) {
                p += def.size;
                continue;
            }
            ++report_.messages;
            if (!onMessage_(DataMessage(def.global, def.bigEndian, def.fields, p, timestamp))) {
                stopped = true;
                return true;
            }
            p += def.size;
        }
        return true;
    }

private:
    std::optional<uint32_t> advanceCompressed(unsigned offset) {
        // Without an earlier full timestamp the offset has nothing to count from.
        if (!lastTimestamp_) return std::nullopt;
        const uint32_t last = *lastTimestamp_;
        uint32_t time = (last & ~uint32_t{0x1F}) + offset;
        if (offset < (last & 0x1F)) time += 0x20;
        lastTimestamp_ = time;
        return time;
    }

    bool define(uint8_t header, const uint8_t*& p, const uint8_t* end) {
        if (end - p < 5) return false;
        const uint8_t architecture = p[1];
        if (architecture > 1) return false;
        Definition def;
        def.defined = true;
        def.bigEndian = architecture == 1;
        def.global = static_cast<uint16_t>(ReadUnsigned(p + 2, 2, def.bigEndian));
        const size_t fieldCount = p[4];
        p += 5;
        if (static_cast<size_t>(end - p) < fieldCount * 3) return false;
        def.fields.reserve(fieldCount);
        for (size_t i = 0; i < fieldCount; ++i, p += 3) {
            FieldDefinition field{p[0], p[1], p[2], def.size};
            if (field.number == kTimestampField) def.timestampIndex = static_cast<int>(i);
            def.fields.push_back(field);
            def.size += field.size;
        }
        if (header & 0x20) {  // developer fields: only their sizes matter here
            if (end - p < 1) return false;
            const size_t developerCount = *p++;
            if (static_cast<size_t>(end - p) < developerCount * 3) return false;
            for (size_t i = 0; i < developerCount; ++i, p += 3)
                def.size += p[1];
        }
        def.wanted = !def.fields.empty() &&
                     std::find(wanted_.begin(), wanted_.end(), def.global) != wanted_.end();
        defs_[header & 0x0F] = std::move(def);
        return true;
    }

    std::span<const uint16_t> wanted_;
    const MessageCallback& onMessage_;
    DecodeReport& report_;
    std::array<Definition, 16> defs_;
    std::optional<uint32_t> lastTimestamp_;
};

}  // namespace

uint16_t Crc16(std::string_view bytes, uint16_t crc) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    size_t n = bytes.size();
    for (; n >= 8; n -= 8, p += 8) {
        const unsigned c = crc ^ (p[0] | (p[1] << 8));
        crc = kCrc[7][c & 0xFF] ^ kCrc[6][c >> 8] ^ kCrc[5][p[2]] ^ kCrc[4][p[3]] ^ kCrc[3][p[4]] ^
              kCrc[2][p[5]] ^ kCrc[1][p[6]] ^ kCrc[0][p[7]];
    }
    for (; n > 0; --n, ++p)
        crc = static_cast<uint16_t>((crc >> 8) ^ kCrc[0][(crc ^ *p) & 0xFF]);
    return crc;
}

bool HasFitHeader(std::string_view bytes) {
    if (bytes.size() < kShortHeader) return false;
    const auto headerSize = static_cast<uint8_t>(bytes[0]);
    return headerSize >= kShortHeader && bytes.substr(8, 4) == ".FIT";
}

std::optional<double> DataMessage::value(const FieldDefinition& field) const {
    const uint8_t* p = data_ + field.offset;
    const auto fits = [&](int size) { return field.size >= size; };
    const auto unsignedOf = [&](int size) { return ReadUnsigned(p, size, bigEndian_); };
    switch (field.baseType & 0x1F) {
        case 0:   // enum
        case 2:   // uint8
        case 13:  // byte
            if (!fits(1) || p[0] == 0xFF) return std::nullopt;
            return p[0];
        case 10:  // uint8z
            if (!fits(1) || p[0] == 0) return std::nullopt;
            return p[0];
        case 1:  // sint8
            if (!fits(1) || p[0] == 0x7F) return std::nullopt;
            return static_cast<int8_t>(p[0]);
        case 3: {  // sint16
            if (!fits(2)) return std::nullopt;
            const auto v = static_cast<uint16_t>(unsignedOf(2));
            if (v == 0x7FFF) return std::nullopt;
            return static_cast<int16_t>(v);
        }
        case 4:     // uint16
        case 11: {  // uint16z
            if (!fits(2)) return std::nullopt;
            const auto v = unsignedOf(2);
            if (v == ((field.baseType & 0x1F) == 4 ? 0xFFFF : 0)) return std::nullopt;
            return static_cast<double>(v);
        }
        case 5: {  // sint32
            if (!fits(4)) return std::nullopt;
            const auto v = static_cast<uint32_t>(unsignedOf(4));
            if (v == 0x7FFFFFFF) return std::nullopt;
            return static_cast<int32_t>(v);
        }
        case 6:     // uint32
        case 12: {  // uint32z
            if (!fits(4)) return std::nullopt;
            const auto v = unsignedOf(4);
            if (v == ((field.baseType & 0x1F) == 6 ? 0xFFFFFFFF : 0)) return std::nullopt;
            return static_cast<double>(v);
        }
        case 14: {  // sint64
            if (!fits(8)) return std::nullopt;
            const auto v = unsignedOf(8);
            if (v == 0x7FFFFFFFFFFFFFFF) return std::nullopt;
            return static_cast<double>(static_cast<int64_t>(v));
        }
        case 15:    // uint64
        case 16: {  // uint64z
            if (!fits(8)) return std::nullopt;
            const auto v = unsignedOf(8);
            if (v == ((field.baseType & 0x1F) == 15 ? ~uint64_t{0} : 0)) return std::nullopt;
            return static_cast<double>(v);
        }
        case 8: {  // float32
            if (!fits(4)) return std::nullopt;
            const auto bits = static_cast<uint32_t>(unsignedOf(4));
            float v;
            std::memcpy(&v, &bits, sizeof v);
            if (bits == 0xFFFFFFFF || !std::isfinite(v)) return std::nullopt;
            return v;
        }
        case 9: {  // float64
            if (!fits(8)) return std::nullopt;
            const uint64_t bits = unsignedOf(8);
            double v;
            std::memcpy(&v, &bits, sizeof v);
            if (bits == ~uint64_t{0} || !std::isfinite(v)) return std::nullopt;
            return v;
        }
        default:  // string (7) and unknown base types carry no number
            return std::nullopt;
    }
}

DecodeReport Decode(std::string_view bytes, std::span<const uint16_t> wanted,
                    const MessageCallback& onMessage) {
    DecodeReport report;
    const auto* base = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto note = [&](Damage damage) {
        if (report.damage == Damage::kNone) report.damage = damage;
    };
    size_t pos = 0;
    // One pass per chained file; each starts with its own definitions.
    while (pos < bytes.size()) {
        const std::string_view rest = bytes.substr(pos);
        if (!HasFitHeader(rest)) {
            if (pos == 0) return report;
            break;  // bytes after a complete file that are no FIT file: ignored
        }
        report.isFit = true;
        const uint8_t* header = base + pos;
        const size_t headerSize = header[0];
        if (headerSize > rest.size()) {
            note(Damage::kTruncated);
            break;
        }
        if (headerSize >= 14) {
            const uint16_t stored = Le16(header + 12);
            if (stored != 0 && stored != Crc16(rest.substr(0, kShortHeader))) {
                note(Damage::kBadHeaderCrc);
            }
        }
        const size_t dataSize = Le32(header + 4);
        const size_t available = rest.size() - headerSize;
        const bool truncated = dataSize + 2 > available;
        const size_t dataEnd = headerSize + std::min(dataSize, available);
        if (!truncated && Crc16(rest.substr(0, dataEnd)) != Le16(header + dataEnd)) {
            note(Damage::kBadFileCrc);
        }
        RecordDecoder records(wanted, onMessage, report);
        bool stopped = false;
        if (!records.run(header + headerSize, header + dataEnd, stopped)) {
            note(Damage::kBadRecord);
            break;
        }
        if (stopped) break;
        if (truncated) {
            note(Damage::kTruncated);
            break;
        }
        pos += dataEnd + 2;
    }
    return report;
}

}  // namespace kolvio::activity::fit
