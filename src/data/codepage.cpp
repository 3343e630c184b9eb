#include "data/codepage.h"

#include <array>

namespace kolvio {

namespace {

// Unicode code points of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kCp852 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7, 0x0142, 0x00EB, 0x0150, 0x0151,
    0x00EE, 0x0179, 0x00C4, 0x0106, 0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A,
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x0104, 0x0105, 0x017D, 0x017E, 0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A, 0x015E, 0x2563, 0x2551, 0x2557,
    0x255D, 0x017B, 0x017C, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x0111, 0x0110, 0x010E, 0x00CB,
    0x010F, 0x0147, 0x00CD, 0x00CE, 0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161, 0x0154, 0x00DA, 0x0155, 0x0170,
    0x00FD, 0x00DD, 0x0163, 0x00B4, 0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0,
};

// 0x0000 marks the five bytes Windows-1250 leaves undefined.
constexpr std::array<char16_t, 128> kCp1250 = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021, 0x0000, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

const std::array<char16_t, 128>& TableOf(CodePage page) {
    return page == CodePage::kCp852 ? kCp852 : kCp1250;
}

// Byte of each code point below kReverseSize in the page, 0 for none (every
// code point of both pages lies below it, and no byte 0x80.. is 0).
constexpr char32_t kReverseSize = 0x2600;
using ReverseTable = std::array<unsigned char, kReverseSize>;

const ReverseTable& ReverseOf(CodePage page) {
    static const auto build = [](const std::array<char16_t, 128>& t) {
        ReverseTable r{};
        for (int i = 0; i < 128; ++i) {
            const char32_t cp = t[i] ? t[i] : static_cast<char32_t>(0x80 + i);
            r[cp] = static_cast<unsigned char>(0x80 + i);
        }
        return r;
    };
    static const ReverseTable r852 = build(kCp852);
    static const ReverseTable r1250 = build(kCp1250);
    return page == CodePage::kCp852 ? r852 : r1250;
}

// The byte of code point `cp` in the page, '?' when the page has none.
char ByteOf(const ReverseTable& reverse, char32_t cp) {
    const unsigned char b = cp < kReverseSize ? reverse[cp] : 0;
    return b ? static_cast<char>(b) : '?';
}

}  // namespace

void AppendUtf8(std::string* out, char32_t cp) {
    if (cp < 0x80) {
        out->push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char32_t NextCodePoint(std::string_view s, size_t* pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(*pos);
    int len = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        ++*pos;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        ++*pos;
        return 0xFFFD;
    }
    if (*pos + len > s.size()) {
        ++*pos;
        return 0xFFFD;
    }
    for (int i = 1; i < len; ++i) {
        const unsigned char b = byte(*pos + i);
        if ((b & 0xC0) != 0x80) {
            ++*pos;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static const char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++*pos;
        return 0xFFFD;
    }
    *pos += len;
    return cp;
}

bool IsValidUtf8(std::string_view bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t start = pos;
        if (NextCodePoint(bytes, &pos) == 0xFFFD && pos == start + 1 &&
            static_cast<unsigned char>(bytes[start]) >= 0x80) {
            return false;
        }
    }
    return true;
}

void DecodeToUtf8(std::string_view bytes, CodePage page, std::string* out) {
    const auto& table = TableOf(page);
    out->clear();
    size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII, most of any Czech text, are copied whole.
        size_t ascii = i;
        while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80)
            ++ascii;
        out->append(bytes.data() + i, ascii - i);
        if (ascii == bytes.size()) break;
        const auto b = static_cast<unsigned char>(bytes[ascii]);
        const char16_t cp = table[b - 0x80];
        AppendUtf8(out, cp ? cp : static_cast<char32_t>(b));
        i = ascii + 1;
    }
}

std::string DecodeToUtf8(std::string_view bytes, CodePage page) {
    std::string out;
    DecodeToUtf8(bytes, page, &out);
    return out;
}

size_t EncodeFromUtf8(std::string_view utf8, CodePage page, char* out, size_t capacity) {
    const auto& reverse = ReverseOf(page);
    size_t written = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[pos]);
        char c;
        if (b < 0x80) {
            c = static_cast<char>(b);
            ++pos;
        } else {
            c = ByteOf(reverse, NextCodePoint(utf8, &pos));
        }
        if (written < capacity) out[written] = c;
        ++written;
    }
    return written;
}

std::string EncodeFromUtf8(std::string_view utf8, CodePage page) {
    std::string out(utf8.size(), '\0');  // never longer than its UTF-8
    out.resize(EncodeFromUtf8(utf8, page, out.data(), out.size()));
    return out;
}

}  // namespace kolvio
