#include "data/database/codepage_upgrade.h"

#include <array>
#include <memory>

#include "data/codepage.h"
#include "data/dbf/dbf_file.h"
#include "data/file.h"
#include "data/index/index_def.h"
#include "data/table_rewrite.h"

namespace kolvio {

namespace {

// The characters of the upper half of the Kamenický code page that
// Windows-1250 also has, in Kamenický order.
constexpr std::string_view kKamenicky = "ČüéďäĎŤčěĚĹÍľĺÄÁÉžŽôöÓůÚýÖÜŠĽÝŘťáíóúňŇŮÔšřŕŔ«»ßđ±÷°·•";

// Code page 852 has no place for these; they get substitutes.
struct Substitute {
    std::string_view character;
    unsigned char cp852;
};
constexpr Substitute kSubstitutes[] = {{"đ", 'd'}, {"±", '-'}, {"·", 0xF9}, {"•", 0xFA}};

unsigned char SingleByte(std::string_view utf8, CodePage page) {
    return static_cast<unsigned char>(EncodeFromUtf8(utf8, page).at(0));
}

std::array<unsigned char, 256> BuildConversion() {
    std::array<unsigned char, 256> map{};
    for (int b = 0; b < 256; ++b)
        map[b] = static_cast<unsigned char>(b);
    size_t pos = 0;
    while (pos < kKamenicky.size()) {
        const size_t start = pos;
        NextCodePoint(kKamenicky, &pos);
        const std::string_view ch = kKamenicky.substr(start, pos - start);
        unsigned char to = SingleByte(ch, CodePage::kCp852);
        for (const Substitute& s : kSubstitutes) {
            if (s.character == ch) to = s.cp852;
        }
        map[SingleByte(ch, CodePage::kCp1250)] = to;
    }
    return map;
}

const std::array<unsigned char, 256>& Conversion() {
    static const std::array<unsigned char, 256> kMap = BuildConversion();
    return kMap;
}

}  // namespace

std::string ConvertText(std::string_view windows1250) {
    const auto& map = Conversion();
    std::string out(windows1250);
    for (char& c : out)
        c = static_cast<char>(map[static_cast<unsigned char>(c)]);
    return out;
}

Status ConvertTableCodepage(const std::string& dir, const std::string& fileName, bool* converted) {
    if (converted) *converted = false;
    const std::string path = ResolveInDirectory(dir, fileName);
    {
        File file;
        Status st = File::Open(path, false, &file);
        if (st.code() == Status::Code::kNotFound) {
            return Status::NotFound("Tabulka \"" + path + "\" neexistuje.");
        }
        KOLVIO_RETURN_IF_ERROR(st);
        char language = 0;
        KOLVIO_RETURN_IF_ERROR(file.readAt(29, 1, &language));
        if (static_cast<uint8_t>(language) == kLanguageCp852) return Status::Ok();
    }
    std::unique_ptr<DbfFile> source;
    KOLVIO_RETURN_IF_ERROR(DbfFile::Open(path, false, LockMode::kExclusive, &source));
    std::string headerBytes;
    KOLVIO_RETURN_IF_ERROR(ReadHeaderBytes(*source, &headerBytes));
    headerBytes[29] = static_cast<char>(kLanguageCp852);
    TableRewrite rewrite;
    KOLVIO_RETURN_IF_ERROR(rewrite.begin(*source, path, std::move(headerBytes)));

    // Dropped before the table is replaced, so that whatever moment a crash
    // hits, the next opening ends with the same definitions.
    KOLVIO_RETURN_IF_ERROR(WriteIndexDefs(IndexSidecarPath(path), {}));

    std::vector<FieldLayout> texts;
    for (const FieldLayout& f : source->header().fields) {
        if (f.type == FieldType::kChar) texts.push_back(f);
    }
    const auto& map = Conversion();
    KOLVIO_RETURN_IF_ERROR(
        rewrite.writeRecords([&](const RecordBatch& batch, std::string* out) -> Status {
            for (uint32_t r = 0; r < batch.count; ++r) {
                char* record = batch.record(r);
                for (const FieldLayout& f : texts) {
                    for (int i = 0; i < f.length; ++i) {
                        char& c = record[f.offset + i];
                        c = static_cast<char>(map[static_cast<unsigned char>(c)]);
                    }
                }
            }
            out->assign(batch.data, batch.bytes());
            return Status::Ok();
        }));
    KOLVIO_RETURN_IF_ERROR(rewrite.commit());
    if (converted) *converted = true;
    return Status::Ok();
}

}  // namespace kolvio
