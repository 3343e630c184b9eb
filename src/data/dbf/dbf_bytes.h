// Byte-level pieces of the .dbf format that the header code (dbf_header.cpp)
// and the record I/O (dbf_file.cpp) share: little-endian numbers, the fixed
// sizes and marks, today's date as the header stores it, and the message
// for a file that does not add up. Internal to data/dbf.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace kolvio::dbf {

constexpr size_t kHeaderSize = 32;
constexpr size_t kDescriptorSize = 32;
constexpr char kTerminator = 0x0D;
constexpr char kEndOfFile = 0x1A;

inline uint16_t Get16(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) |
                                 (static_cast<uint8_t>(b[at + 1]) << 8));
}

inline uint32_t Get32(std::string_view b, size_t at) {
    return static_cast<uint32_t>(Get16(b, at)) | (static_cast<uint32_t>(Get16(b, at + 2)) << 16);
}

inline void Put16(std::string* b, size_t at, uint16_t v) {
    (*b)[at] = static_cast<char>(v & 0xFF);
    (*b)[at + 1] = static_cast<char>(v >> 8);
}

inline void Put32(std::string* b, size_t at, uint32_t v) {
    Put16(b, at, static_cast<uint16_t>(v & 0xFFFF));
    Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

inline void Today(int* y, int* m, int* d) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    *y = tm.tm_year + 1900;
    *m = tm.tm_mon + 1;
    *d = tm.tm_mday;
}

inline std::string Damaged(const std::string& path, const std::string& why) {
    return "Tabulka \"" + path + "\" je poškozená (" + why +
           "). Obnovte ji ze zálohy nebo ji nechte zkontrolovat příkazem kolvio-db check.";
}

}  // namespace kolvio::dbf
