#include "app/shorten_path.h"

#include <algorithm>

#include "data/codepage.h"

namespace kolvio {

namespace {

std::u32string ToCodePoints(std::string_view utf8) {
    std::u32string out;
    size_t pos = 0;
    while (pos < utf8.size())
        out.push_back(NextCodePoint(utf8, &pos));
    return out;
}

std::string ToUtf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text)
        AppendUtf8(&out, c);
    return out;
}

bool IsSeparator(char32_t c) {
    return c == U'\\' || c == U'/';
}

// "C:\" on Windows, "/" on Linux, nothing for a relative path.
size_t RootLength(const std::u32string& p) {
    if (p.size() >= 3 && p[1] == U':' && IsSeparator(p[2])) return 3;
    if (p.size() >= 2 && p[1] == U':') return 2;
    if (!p.empty() && IsSeparator(p[0])) return 1;
    return 0;
}

}  // namespace

std::string ShortenPath(std::string_view path, int max) {
    const std::u32string p = ToCodePoints(path);
    const size_t limit = static_cast<size_t>(std::max(max, 0));
    if (p.size() < limit) {
        if (p.size() == 2 && p[1] == U':') return std::string(path) + "\\";
        return std::string(path);
    }
    const size_t root = RootLength(p);
    const std::u32string prefix = p.substr(0, root) + U"..";
    const std::u32string remainder = p.substr(root);
    // Drop leading folders one at a time; each kept remainder starts with a
    // separator, which the search of the next pass steps over.
    std::u32string rest = remainder;
    do {
        const auto next =
            std::find_if(rest.begin() + (rest.empty() ? 0 : 1), rest.end(), IsSeparator);
        rest.erase(rest.begin(), next);
    } while (!rest.empty() && prefix.size() + rest.size() >= limit);
    if (rest.empty()) {
        const size_t tail = std::min(remainder.size(), limit > 4 ? limit - 4 : 0);
        rest = remainder.substr(remainder.size() - tail);
    }
    return ToUtf8(prefix + rest);
}

}  // namespace kolvio
