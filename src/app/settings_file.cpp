#include "app/settings_file.h"

#include <charconv>
#include <cstdint>

#include "data/codepage.h"
#include "data/file.h"

namespace kolvio {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// A settings file is a few kilobytes; anything this large is not one.
constexpr uint64_t kMaxFileSize = 4 * 1024 * 1024;

Status ReadWholeFile(const std::string& path, std::string* out) {
    File file;
    KOLVIO_RETURN_IF_ERROR(File::Open(path, false, &file));
    uint64_t size = 0;
    KOLVIO_RETURN_IF_ERROR(file.size(&size));
    if (size > kMaxFileSize) {
        return Status::Invalid("Soubor nastavení \"" + path + "\" je příliš velký.");
    }
    out->assign(static_cast<size_t>(size), '\0');
    return file.readAt(0, out->size(), out->data());
}

IniDocument Decode(std::string bytes, bool* bom) {
    std::string_view text = bytes;
    *bom = text.substr(0, kBom.size()) == kBom;
    if (*bom) text.remove_prefix(kBom.size());
    if (IsValidUtf8(text)) return IniDocument::Parse(text);
    return IniDocument::Parse(DecodeToUtf8(text, CodePage::kCp1250));
}

std::optional<int> ParseInteger(std::string_view s) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

}  // namespace

Status SettingsFile::loadForWrite(IniDocument* doc, bool* bom) const {
    std::string bytes;
    const Status st = ReadWholeFile(path_, &bytes);
    if (st.code() == Status::Code::kNotFound) {
        *doc = IniDocument();
        *bom = false;
        return Status::Ok();
    }
    KOLVIO_RETURN_IF_ERROR(st);
    *doc = Decode(std::move(bytes), bom);
    return Status::Ok();
}

IniDocument SettingsFile::load() const {
    IniDocument doc;
    bool bom = false;
    if (!loadForWrite(&doc, &bom).ok()) return IniDocument();
    return doc;
}

Status SettingsFile::store(const IniDocument& doc, bool bom) const {
    const std::string tmpPath = RewriteTempPath(path_);
    {
        File tmp;
        KOLVIO_RETURN_IF_ERROR(File::CreateNew(tmpPath, &tmp));
        const std::string text = (bom ? std::string(kBom) : std::string()) + doc.serialize();
        const Status st = tmp.writeAt(0, text);
        if (!st.ok()) {
            tmp.close();
            (void)RemoveFile(tmpPath);  // the write error is the one to report
            return st;
        }
    }
    const Status st = ReplaceFileAtomically(tmpPath, path_);
    if (!st.ok()) (void)RemoveFile(tmpPath);
    return st;
}

Status SettingsFile::update(const std::function<bool(IniDocument&)>& edit) {
    IniDocument doc;
    bool bom = false;
    KOLVIO_RETURN_IF_ERROR(loadForWrite(&doc, &bom));
    if (!edit(doc)) {
        return Status::Invalid("Nastavení nelze zapsat do souboru \"" + path_ + "\".");
    }
    return store(doc, bom);
}

std::string SettingsFile::readString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
    const auto value = load().value(section, key);
    return value ? *value : std::string(defaultValue);
}

int SettingsFile::readInteger(std::string_view section, std::string_view key,
                              int defaultValue) const {
    const auto value = load().value(section, key);
    if (!value) return defaultValue;
    return ParseInteger(*value).value_or(defaultValue);
}

bool SettingsFile::readBool(std::string_view section, std::string_view key,
                            bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

Status SettingsFile::writeString(std::string_view section, std::string_view key,
                                 std::string_view value) {
    return update([&](IniDocument& doc) { return doc.setValue(section, key, value); });
}

Status SettingsFile::writeInteger(std::string_view section, std::string_view key, int value) {
    return writeString(section, key, std::to_string(value));
}

Status SettingsFile::writeBool(std::string_view section, std::string_view key, bool value) {
    return writeString(section, key, value ? "1" : "0");
}

Status SettingsFile::deleteKey(std::string_view section, std::string_view key) {
    if (!load().value(section, key)) return Status::Ok();
    return update([&](IniDocument& doc) {
        doc.removeKey(section, key);
        return true;
    });
}

}  // namespace kolvio
