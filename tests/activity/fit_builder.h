// Builds FIT byte sequences record by record, for tests and benchmarks.
//
// The builder knows nothing of the profile: a test says which bytes it
// wants (global numbers, field numbers, sizes, base types, values), so the
// bytes under test are exactly the ones written here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "activity/fit_decoder.h"

namespace kolvio::activity::testing {

// Base types of the protocol.
enum BaseType : uint8_t {
    kEnum = 0x00,
    kSint8 = 0x01,
    kUint8 = 0x02,
    kSint16 = 0x83,
    kUint16 = 0x84,
    kSint32 = 0x85,
    kUint32 = 0x86,
    kString = 0x07,
    kFloat32 = 0x88,
    kUint8z = 0x0A,
    kUint32z = 0x8C,
};

struct FieldSpec {
    uint8_t number;
    uint8_t size;
    uint8_t baseType;
};

class FitBuilder {
public:
    // A definition of `local` for global message `global`; `developerSizes`
    // adds developer fields of those sizes (data index 0, numbers 0, 1, ...).
    FitBuilder& define(uint8_t local, uint16_t global, std::vector<FieldSpec> fields,
                       bool bigEndian = false, std::vector<uint8_t> developerSizes = {}) {
        const bool developer = !developerSizes.empty();
        records_.push_back(static_cast<char>(0x40 | (developer ? 0x20 : 0) | local));
        records_.push_back(0);  // reserved
        records_.push_back(bigEndian ? 1 : 0);
        put(global, 2, bigEndian);
        records_.push_back(static_cast<char>(fields.size()));
        for (const FieldSpec& f : fields) {
            records_.push_back(static_cast<char>(f.number));
            records_.push_back(static_cast<char>(f.size));
            records_.push_back(static_cast<char>(f.baseType));
        }
        if (developer) {
            records_.push_back(static_cast<char>(developerSizes.size()));
            for (size_t i = 0; i < developerSizes.size(); ++i) {
                records_.push_back(static_cast<char>(i));
                records_.push_back(static_cast<char>(developerSizes[i]));
                records_.push_back(0);
            }
        }
        defs_[local & 0x0F] = {std::move(fields), bigEndian, std::move(developerSizes)};
        return *this;
    }

    // A data message with a normal header; one value per field, written in
    // the field's size and the definition's byte order. Developer fields are
    // filled with 0xAB.
    FitBuilder& data(uint8_t local, const std::vector<uint64_t>& values) {
        records_.push_back(static_cast<char>(local & 0x0F));
        return body(local, values);
    }

    // A data message with a compressed-timestamp header (local 0-3).
    FitBuilder& compressed(uint8_t local, uint8_t timeOffset, const std::vector<uint64_t>& values) {
        records_.push_back(static_cast<char>(0x80 | ((local & 0x03) << 5) | (timeOffset & 0x1F)));
        return body(local, values);
    }

    FitBuilder& raw(const std::string& bytes) {
        records_ += bytes;
        return *this;
    }

    const std::string& records() const { return records_; }

    // The whole file: header (12 or 14 bytes), records, file CRC.
    std::string file(int headerSize = 14) const {
        std::string out;
        out.push_back(static_cast<char>(headerSize));
        out.push_back(0x20);         // protocol 2.0
        PutTo(out, 2132, 2, false);  // profile 21.32
        PutTo(out, records_.size(), 4, false);
        out += ".FIT";
        if (headerSize == 14) PutTo(out, fit::Crc16(out), 2, false);
        out += records_;
        PutTo(out, fit::Crc16(out), 2, false);
        return out;
    }

    static void PutTo(std::string& out, uint64_t value, int size, bool bigEndian) {
        for (int i = 0; i < size; ++i) {
            const int shift = 8 * (bigEndian ? size - 1 - i : i);
            out.push_back(static_cast<char>((value >> shift) & 0xFF));
        }
    }

private:
    struct Def {
        std::vector<FieldSpec> fields;
        bool bigEndian = false;
        std::vector<uint8_t> developerSizes;
    };

    void put(uint64_t value, int size, bool bigEndian) { PutTo(records_, value, size, bigEndian); }

    FitBuilder& body(uint8_t local, const std::vector<uint64_t>& values) {
        const Def& def = defs_[local & 0x0F];
        for (size_t i = 0; i < def.fields.size(); ++i) {
            put(i < values.size() ? values[i] : 0, def.fields[i].size, def.bigEndian);
        }
        for (const uint8_t size : def.developerSizes)
            records_.append(size, '\xAB');
        return *this;
    }

    std::string records_;
    std::array<Def, 16> defs_;
};

}  // namespace kolvio::activity::testing
