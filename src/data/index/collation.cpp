#include "data/index/collation.h"

#include <array>

#include "data/codepage.h"

namespace kolvio {

namespace {

struct Weights {
    unsigned primary;      // base letter or symbol
    unsigned char accent;  // 1 = none
    unsigned char upper;   // 1 = lower case (or not a letter), 2 = upper case
};

// Base letters in Czech order; CH sits between H and I.
constexpr std::string_view kAlphabet =
    "A B C Č D E F G H CH I J K L M N O P Q R Ř S Š T U V W X Y Z Ž";
constexpr unsigned kLetterBase = 400;

unsigned LetterSlot(std::u32string_view letter) {
    unsigned slot = 0;
    size_t pos = 0;
    while (pos < kAlphabet.size()) {
        size_t end = kAlphabet.find(' ', pos);
        if (end == std::string_view::npos) end = kAlphabet.size();
        std::u32string word;
        size_t p = pos;
        while (p < end)
            word.push_back(NextCodePoint(kAlphabet, &p));
        if (word == letter) return slot;
        ++slot;
        pos = end + 1;
    }
    return ~0u;
}

// Accented letters that sort with their base letter: {letter, base, accent}.
struct Accented {
    char32_t letter;
    char32_t base;
    unsigned char accent;
};
constexpr Accented kAccented[] = {
    {U'á', U'a', 2}, {U'ä', U'a', 3}, {U'ď', U'd', 2}, {U'é', U'e', 2}, {U'ě', U'e', 3},
    {U'ë', U'e', 4}, {U'í', U'i', 2}, {U'ľ', U'l', 2}, {U'ĺ', U'l', 3}, {U'ň', U'n', 2},
    {U'ó', U'o', 2}, {U'ô', U'o', 3}, {U'ö', U'o', 4}, {U'ŕ', U'r', 2}, {U'ť', U't', 2},
    {U'ú', U'u', 2}, {U'ů', U'u', 3}, {U'ü', U'u', 4}, {U'ý', U'y', 2}, {U'ś', U's', 2},
    {U'ź', U'z', 2}, {U'ż', U'z', 3}, {U'ł', U'l', 4}, {U'ą', U'a', 4}, {U'ę', U'e', 5},
    {U'ć', U'c', 2}, {U'ń', U'n', 3},
};
// Letters with their own place in the alphabet.
constexpr char32_t kOwnLetters[][2] = {{U'č', U'Č'}, {U'ř', U'Ř'}, {U'š', U'Š'}, {U'ž', U'Ž'}};

char32_t Lower(char32_t c, bool* wasUpper) {
    *wasUpper = false;
    if (c >= U'A' && c <= U'Z') {
        *wasUpper = true;
        return c + 32;
    }
    // Latin-1 and Latin Extended-A upper case letters used in Czech texts.
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        *wasUpper = true;
        return c + 32;
    }
    if (c >= 0x100 && c <= 0x17F) {
        const bool oddLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        const bool isUpper = oddLower ? (c % 2 == 1) : (c % 2 == 0);
        if (isUpper && c != 0x138 && c != 0x149) {
            *wasUpper = true;
            return c + 1;
        }
    }
    return c;
}

unsigned PrimaryOfLetter(char32_t lower) {
    for (const auto& own : kOwnLetters) {
        if (own[0] == lower) {
            const std::u32string upper(1, own[1]);
            return kLetterBase + 10 * LetterSlot(upper);
        }
    }
    if (lower >= U'a' && lower <= U'z') {
        const std::u32string upper(1, lower - 32);
        return kLetterBase + 10 * LetterSlot(upper);
    }
    return 0;
}

Weights WeightsOf(char32_t c) {
    bool upper = false;
    const char32_t lower = Lower(c, &upper);
    const unsigned char up = upper ? 2 : 1;
    if (const unsigned p = PrimaryOfLetter(lower)) return {p, 1, up};
    for (const auto& a : kAccented) {
        if (a.letter == lower) return {PrimaryOfLetter(a.base), a.accent, up};
    }
    if (c >= U'0' && c <= U'9') return {300 + static_cast<unsigned>(c - U'0'), 1, 1};
    if (c < 0x80) return {10 + static_cast<unsigned>(c), 1, 1};   // blanks and punctuation first
    return {kLetterBase + 400 + static_cast<unsigned>(c), 1, 1};  // other characters last
}

// The weights of the Latin letters, worked out once; collation keys are made
// for every row a query sorts or compares.
constexpr char32_t kCachedRange = 0x180;

Weights CachedWeightsOf(char32_t c) {
    static const auto table = [] {
        std::array<Weights, kCachedRange> t{};
        for (char32_t i = 0; i < kCachedRange; ++i)
            t[i] = WeightsOf(i);
        return t;
    }();
    return c < kCachedRange ? table[c] : WeightsOf(c);
}

void AppendPrimary(std::string* out, unsigned w) {
    // Three bytes of base 250 offset by 3: above the level separator 0x02.
    out->push_back(static_cast<char>(3 + (w / 62500) % 250));
    out->push_back(static_cast<char>(3 + (w / 250) % 250));
    out->push_back(static_cast<char>(3 + w % 250));
}

}  // namespace

std::string CollationKey(std::string_view utf8) {
    static const unsigned kC = PrimaryOfLetter(U'c');
    static const unsigned kCh = kLetterBase + 10 * LetterSlot(U"CH");
    std::string primary, accents, cases;
    primary.reserve(3 * utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = NextCodePoint(utf8, &pos);
        Weights w = CachedWeightsOf(c);
        if (w.primary == kC && w.accent == 1 && pos < utf8.size()) {
            size_t next = pos;
            bool hUpper = false;
            if (Lower(NextCodePoint(utf8, &next), &hUpper) == U'h') {
                w.primary = kCh;
                pos = next;
            }
        }
        AppendPrimary(&primary, w.primary);
        accents.push_back(static_cast<char>(2 + w.accent));
        cases.push_back(static_cast<char>(2 + w.upper));
    }
    // Levels are separated by 0x02, below every weight byte of a level.
    std::string key = primary;
    key.push_back('\x02');
    key += accents;
    key.push_back('\x02');
    key += cases;
    return key;
}

int CompareCzech(std::string_view a, std::string_view b) {
    return CollationKey(a).compare(CollationKey(b));
}

}  // namespace kolvio
