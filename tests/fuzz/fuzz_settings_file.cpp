// libFuzzer harness: any bytes as the settings file, read, then one key
// written and removed the way the program stores a setting.
//
// Input: the first line is the edit, "section TAB key TAB value"; the rest
// is the settings file's bytes.
//
// Guarantees checked on every input:
//  - a stored value reads back as stored;
//  - storing or removing one key never changes what another key reads;
//  - a refused write leaves the file byte for byte as it was.
// Seeds: corpus/settings_file.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ini_document.h"
#include "app/settings_file.h"
#include "app/text_case.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace kolvio;
using fuzz::Require;

struct Key {
    std::string section, key;
};

// Blanks as the settings file counts them: a carriage return is one, so
// section "a\r" is section "a".
std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameKey(const Key& a, const Key& b) {
    return EqualsFolded(Trim(a.section), Trim(b.section)) && EqualsFolded(Trim(a.key), Trim(b.key));
}

// The section and key names the text mentions, to be looked up afterwards
// with the document's own rules.
std::vector<Key> NamesIn(std::string_view text) {
    std::vector<Key> keys;
    std::string section;
    while (!text.empty() && keys.size() < 64) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.front() == '[') {
            section = std::string(line.substr(1, line.find(']') - 1));
        } else if (const size_t eq = line.find('='); eq != std::string_view::npos) {
            keys.push_back({section, std::string(line.substr(0, eq))});
        }
    }
    return keys;
}

std::vector<std::optional<std::string>> ValuesOf(const IniDocument& doc,
                                                 const std::vector<Key>& keys) {
    std::vector<std::optional<std::string>> values;
    for (const Key& k : keys)
        values.push_back(doc.value(k.section, k.key));
    return values;
}

void RequireOthersUnchanged(const SettingsFile& file, const Key& edited,
                            const std::vector<Key>& keys,
                            const std::vector<std::optional<std::string>>& before,
                            const char* guarantee) {
    const auto after = ValuesOf(file.load(), keys);
    for (size_t i = 0; i < keys.size(); ++i) {
        if (SameKey(keys[i], edited) || after[i] == before[i]) continue;
        std::fprintf(stderr, "[%s] %s: \"%s\" became \"%s\"\n", keys[i].section.c_str(),
                     keys[i].key.c_str(), before[i].value_or("(none)").c_str(),
                     after[i].value_or("(none)").c_str());
        Require(false, guarantee);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzz::AsText(data, size);
    const size_t lineEnd = std::min(input.find('\n'), input.size());
    std::string_view edit = input.substr(0, lineEnd);
    const std::string_view fileBytes = input.substr(std::min(lineEnd + 1, input.size()));
    Key key;
    std::string value;
    {
        const size_t tab1 = edit.find('\t');
        const size_t tab2 = tab1 == std::string_view::npos ? tab1 : edit.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos) return 0;
        key = {std::string(edit.substr(0, tab1)), std::string(edit.substr(tab1 + 1, tab2 - tab1 - 1))};
        value = std::string(edit.substr(tab2 + 1));
    }
    const std::string path = fuzz::ScratchDir() + "/kolvio.ini";
    fuzz::WriteWholeFile(path, fileBytes);
    SettingsFile file(path);

    const IniDocument before = file.load();
    const std::vector<Key> keys = NamesIn(before.serialize());
    const auto values = ValuesOf(before, keys);
    (void)file.readInteger(key.section, key.key, 7);

    const Status stored = file.writeString(key.section, key.key, value);
    if (!stored.ok()) {
        Require(fuzz::ReadFile(path) == fileBytes, "a refused write changes nothing");
        return 0;
    }
    Require(file.readString(key.section, key.key, "") == value, "a stored value reads back");
    RequireOthersUnchanged(file, key, keys, values, "storing a key changes no other key");

    Require(file.deleteKey(key.section, key.key).ok(), "a stored key can be removed");
    RequireOthersUnchanged(file, key, keys, values, "removing a key changes no other key");
    return 0;
}
