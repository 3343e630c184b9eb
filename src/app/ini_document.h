// The text of a settings file held line by line.
//
// Lookups follow the Windows profile functions: sections and keys are
// compared without regard to letter case, blanks around names and values are
// ignored, the first section of a name and the first key of a name in it
// win, and a value enclosed in matching quotes loses them. Edits rewrite or
// insert single lines, so comments, blank lines, unknown sections and keys
// and their order stay exactly as they were.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvio {

class IniDocument {
public:
    IniDocument() = default;

    // Accepts LF and CRLF line ends; remembers which one the text used.
    static IniDocument Parse(std::string_view utf8);
    // Every line ends with the remembered line end (LF for a new document).
    std::string serialize() const;

    bool empty() const { return lines_.empty(); }

    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Sets a key, adding it at the end of its section and the section at the
    // end of the document when they are missing. Returns false, changing
    // nothing, when the names or the value cannot be written as one line:
    // an empty key, a key that starts with '[' or ';' or holds '=', a section
    // that holds ']', a line break anywhere, or bytes that are not UTF-8.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    // Removes the first line of the key; false when there was none.
    bool removeKey(std::string_view section, std::string_view key);

private:
    struct KeyLine {
        size_t index;
        std::string key;  // as written, trimmed
    };

    // Index of the header line of the first section of that name.
    std::optional<size_t> findSection(std::string_view section) const;
    // Index just past the last line of the section that starts at `header`.
    size_t sectionEnd(size_t header) const;
    std::optional<KeyLine> findKey(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
    bool crlf_ = false;
};

}  // namespace kolvio
