// The settings file "kolvio.ini" beside the program.
//
// Every read and every write goes to the file at the moment of use, as the
// Windows profile functions did: nothing is cached, so two parts of the
// program never see different settings. A missing file, section or key, or
// a value that does not read as the asked type, gives the caller's default.
//
// Each write is on disk when it returns and replaces the file atomically
// (a new file beside it is renamed over it), so a crash leaves either the old
// or the new settings whole. The first write creates the file.
//
// The file is UTF-8. A file written by the older Windows version is
// Windows-1250; it is recognised by not being valid UTF-8, read as such, and
// rewritten as UTF-8 by the next write. A leading byte-order mark is kept.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/ini_document.h"
#include "data/status.h"

namespace kolvio {

// The name of the file in the program's directory.
inline constexpr char kSettingsFileName[] = "kolvio.ini";

class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The whole value must be a decimal integer (optional sign); anything
    // else, or a number outside int, gives the default.
    int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // Stored as 0/1; any other integer reads as true, a non-integer as the default.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    Status writeString(std::string_view section, std::string_view key, std::string_view value);
    Status writeInteger(std::string_view section, std::string_view key, int value);
    Status writeBool(std::string_view section, std::string_view key, bool value);
    // Removing a key that is not there succeeds without touching the file.
    Status deleteKey(std::string_view section, std::string_view key);

    // Several edits in one read and one atomic write. `edit` returns false to
    // refuse (an edit IniDocument could not make); the file is then unchanged.
    Status update(const std::function<bool(IniDocument&)>& edit);

    // The current contents; an unreadable or missing file reads as empty.
    IniDocument load() const;

private:
    // Fails only when the file exists but cannot be read, so that a write
    // never replaces settings it could not see.
    Status loadForWrite(IniDocument* doc, bool* bom) const;
    Status store(const IniDocument& doc, bool bom) const;

    std::string path_;
};

}  // namespace kolvio
