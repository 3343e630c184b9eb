#include "app/ini_document.h"

#include "app/text_case.h"
#include "data/codepage.h"

namespace kolvio {

namespace {

// A carriage return left before a line end (a file of mixed line ends)
// counts as a blank: it would be lost the next time the file is written.
std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view s) {
    return s.size() >= 2 && IsQuote(s.front()) && s.front() == s.back();
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// A section header: the name between '[' and the first ']' (or the line end).
std::optional<std::string_view> HeaderName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

bool IsComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// A key line: "name=value"; comment and header lines are not keys.
bool SplitKeyLine(std::string_view line, std::string_view* key, std::string_view* value) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || IsComment(trimmed) || trimmed.front() == '[') return false;
    const size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos) return false;
    *key = Trim(trimmed.substr(0, eq));
    *value = Trim(trimmed.substr(eq + 1));
    return true;
}

// Quotes a value whose outer blanks or outer quotes a reader would strip.
std::string EncodeValue(std::string_view value) {
    if (Trim(value) != value || IsQuoted(value)) return "\"" + std::string(value) + "\"";
    return std::string(value);
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view utf8) {
    IniDocument doc;
    const size_t firstLf = utf8.find('\n');
    doc.crlf_ = firstLf != std::string_view::npos && firstLf > 0 && utf8[firstLf - 1] == '\r';
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view line = utf8.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        doc.lines_.emplace_back(line);
        start = end + 1;
    }
    return doc;
}

std::string IniDocument::serialize() const {
    const char* eol = crlf_ ? "\r\n" : "\n";
    std::string out;
    for (const std::string& line : lines_)
        out += line + eol;
    return out;
}

std::optional<size_t> IniDocument::findSection(std::string_view section) const {
    const std::string wanted = FoldCase(Trim(section));
    for (size_t i = 0; i < lines_.size(); ++i) {
        const auto name = HeaderName(lines_[i]);
        if (name && FoldCase(*name) == wanted) return i;
    }
    return std::nullopt;
}

size_t IniDocument::sectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && !HeaderName(lines_[i]))
        ++i;
    return i;
}

std::optional<IniDocument::KeyLine> IniDocument::findKey(std::string_view section,
                                                         std::string_view key) const {
    const auto header = findSection(section);
    if (!header) return std::nullopt;
    const std::string wanted = FoldCase(Trim(key));
    const size_t end = sectionEnd(*header);
    for (size_t i = *header + 1; i < end; ++i) {
        std::string_view name, value;
        if (SplitKeyLine(lines_[i], &name, &value) && FoldCase(name) == wanted) {
            return KeyLine{i, std::string(name)};
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const auto found = findKey(section, key);
    if (!found) return std::nullopt;
    std::string_view name, value;
    SplitKeyLine(lines_[found->index], &name, &value);
    if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
    return std::string(value);
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (key.empty() || key.front() == '[' || IsComment(key) ||
        key.find('=') != std::string_view::npos || section.find(']') != std::string_view::npos ||
        HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
        return false;
    }
    // Bytes that are not UTF-8 would make the whole file read back as
    // Windows-1250 and garble the letters of every other setting.
    if (!IsValidUtf8(section) || !IsValidUtf8(key) || !IsValidUtf8(value)) return false;
    if (const auto found = findKey(section, key)) {
        // Keep the key as it was spelt; only the value changes.
        lines_[found->index] = found->key + "=" + EncodeValue(value);
        return true;
    }
    const std::string line = std::string(key) + "=" + EncodeValue(value);
    if (const auto header = findSection(section)) {
        // After the last non-blank line of the section, so that the blank
        // line separating it from the next section stays in place.
        size_t at = sectionEnd(*header);
        while (at > *header + 1 && Trim(lines_[at - 1]).empty())
            --at;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), line);
        return true;
    }
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(line);
    return true;
}

bool IniDocument::removeKey(std::string_view section, std::string_view key) {
    const auto found = findKey(section, key);
    if (!found) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(found->index));
    return true;
}

}  // namespace kolvio
