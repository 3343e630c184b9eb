#include "app/text_case.h"

#include "data/codepage.h"

namespace kolvio {

namespace {

char32_t FoldCodePoint(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 32;
    // Latin-1: À..Þ map to à..þ, except the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    // Latin Extended-A pairs its letters upper-then-lower, except in the
    // stretch Ĺ..Ň and Ÿ..Ž, where the upper case sits on odd code points.
    if (c >= 0x100 && c <= 0x137) return (c % 2 == 0 && c != 0x130) ? c + 1 : c;
    if (c >= 0x139 && c <= 0x148) return c % 2 == 1 ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177) return c % 2 == 0 ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E) return c % 2 == 1 ? c + 1 : c;
    return c;
}

}  // namespace

std::string FoldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size())
        AppendUtf8(&out, FoldCodePoint(NextCodePoint(utf8, &pos)));
    return out;
}

bool EqualsFolded(std::string_view a, std::string_view b) {
    return FoldCase(a) == FoldCase(b);
}

}  // namespace kolvio
