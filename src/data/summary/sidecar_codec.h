// Little-endian encoding and the checksum shared by the sidecar files of our
// own beside a table (block summaries, index contents).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kolvio {

class SidecarWriter {
public:
    void u8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u16(uint16_t v) { put(&v, 2); }
    void u32(uint32_t v) { put(&v, 4); }
    void u64(uint64_t v) { put(&v, 8); }
    void i64(int64_t v) { put(&v, 8); }
    void f64(double v) { put(&v, 8); }
    std::string& bytes() { return out_; }

private:
    void put(const void* p, size_t n) {
        // The format is little endian, as every machine the program runs on.
        out_.append(static_cast<const char*>(p), n);
    }
    std::string out_;
};

class SidecarReader {
public:
    explicit SidecarReader(std::string_view bytes) : in_(bytes) {}
    bool u8(uint8_t* v) { return get(v, 1); }
    bool u16(uint16_t* v) { return get(v, 2); }
    bool u32(uint32_t* v) { return get(v, 4); }
    bool u64(uint64_t* v) { return get(v, 8); }
    bool i64(int64_t* v) { return get(v, 8); }
    bool f64(double* v) { return get(v, 8); }
    bool text(size_t n, std::string* out) {
        if (left() < n) return false;
        out->assign(in_.data() + pos_, n);
        pos_ += n;
        return true;
    }
    size_t left() const { return in_.size() - pos_; }
    size_t position() const { return pos_; }

private:
    bool get(void* p, size_t n) {
        if (left() < n) return false;
        std::memcpy(p, in_.data() + pos_, n);
        pos_ += n;
        return true;
    }
    std::string_view in_;
    size_t pos_ = 0;
};

// A 64-bit checksum, eight bytes at a time; damage detection, not security.
// Fed in pieces of whole words (only the last may end in a part of one).
class SidecarChecksumStream {
public:
    explicit SidecarChecksumStream(uint64_t totalBytes) : h_(0x4B4F4C56494F5A4Dull ^ totalBytes) {}
    void add(const char* data, size_t n) {
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t w;
            std::memcpy(&w, data + i, 8);
            h_ = (h_ ^ w) * 0x9E3779B97F4A7C15ull;
            h_ ^= h_ >> 29;
        }
        for (; i < n; ++i)
            h_ = (h_ ^ static_cast<uint8_t>(data[i])) * 0x100000001B3ull;
    }
    uint64_t value() const { return h_ ^ (h_ >> 32); }

private:
    uint64_t h_;
};

inline uint64_t SidecarChecksum(std::string_view bytes) {
    SidecarChecksumStream sum(bytes.size());
    sum.add(bytes.data(), bytes.size());
    return sum.value();
}

}  // namespace kolvio
