// The FIT binary protocol: file header, CRCs, definition and data messages.
//
// A FIT file is a header (12 or 14 bytes: its size, protocol and profile
// versions, the size of the data that follows, ".FIT" and, in the long form,
// a CRC of the first 12 bytes), then records, then a CRC of everything
// before it. A record starts with a header byte:
//
//   0b0 1 d r llll   definition of local message type llll; d: developer
//                    fields follow the normal ones
//   0b0 0 0 r llll   data message of local type llll
//   0b1 ll ttttt     data message of local type ll (0-3) whose timestamp is
//                    the last one seen with its five low bits replaced by
//                    ttttt (one wrap of 32 s forward when ttttt is smaller)
//
// A definition names the global message number, the byte order of the
// multi-byte values (0 little-, 1 big-endian), and each field's number, size
// and base type; its data messages then follow in exactly that layout.
// Several FIT files may be chained one after another in one file.
//
// Every length and offset is checked against the bytes present: the decoder
// reads no byte outside `bytes`, keeps at most 16 definitions of at most
// 255 fields each, and does work proportional to the size of the input.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kolvio::activity::fit {

// FIT's CRC-16 (the reflected polynomial 0xA001, starting from `crc`).
uint16_t Crc16(std::string_view bytes, uint16_t crc = 0);

// Seconds from 1970-01-01 UTC to FIT's epoch, 1989-12-31 00:00:00 UTC.
inline constexpr double kEpochOffset = 631065600;

// True when `bytes` begin with a FIT file header.
bool HasFitHeader(std::string_view bytes);

struct FieldDefinition {
    uint8_t number = 0;
    uint8_t size = 0;
    uint8_t baseType = 0;
    uint32_t offset = 0;  // of the field within the data message
};

// A data message as the decoder hands it out; valid during the callback only.
class DataMessage {
public:
    DataMessage(uint16_t global, bool bigEndian, const std::vector<FieldDefinition>& fields,
                const uint8_t* data, std::optional<uint32_t> timestamp)
        : global_(global),
          bigEndian_(bigEndian),
          fields_(fields),
          data_(data),
          timestamp_(timestamp) {}

    uint16_t global() const { return global_; }
    const std::vector<FieldDefinition>& fields() const { return fields_; }
    // FIT seconds of the message: its timestamp field (253), else the time
    // of a compressed-timestamp header.
    std::optional<uint32_t> timestamp() const { return timestamp_; }

    // The field's (first) value as a number before scale and offset; none
    // for the base type's invalid value, a field shorter than its base type,
    // a string, or a float that is not finite.
    std::optional<double> value(const FieldDefinition& field) const;

private:
    uint16_t global_;
    bool bigEndian_;
    const std::vector<FieldDefinition>& fields_;
    const uint8_t* data_;
    std::optional<uint32_t> timestamp_;
};

enum class Damage {
    kNone,
    kBadHeaderCrc,  // the header's own CRC does not match
    kBadFileCrc,    // the CRC after the data does not match
    kTruncated,     // the data or its CRC end before the header says
    kBadRecord,     // a record that cannot be decoded: the rest is unreadable
};

struct DecodeReport {
    bool isFit = false;             // the input starts with a usable FIT header
    Damage damage = Damage::kNone;  // the first damage met
    size_t messages = 0;            // data messages handed to the callback
};

// Hands every data message of the `wanted` global numbers that has at least
// one field to `onMessage`, in file order, until the end, the first
// undecodable record, or until `onMessage` returns false. Other messages
// are stepped over at the cost of reading their header byte, so a hostile
// file of millions of tiny messages is decoded in a blink.
using MessageCallback = std::function<bool(const DataMessage&)>;
DecodeReport Decode(std::string_view bytes, std::span<const uint16_t> wanted,
                    const MessageCallback& onMessage);

}  // namespace kolvio::activity::fit
