#include "tests/data/database/old_database.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "data/codepage.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/memo_file.h"
#include "data/dbf/record_codec.h"
#include "data/file.h"

namespace kolvio::testing {

std::string RecordingShell::shortenPath(const std::string& dir, int max) {
    log.push_back("shorten " + std::to_string(max));
    return dir;
}

std::vector<std::string> RecordingShell::lines(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : log) {
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    }
    return out;
}

namespace {

std::string Number(double v, int width, int decimals) {
    return *FormatNumberField(v, width, decimals);
}

std::string Record(const std::vector<FieldLayout>& fields, const std::vector<std::string>& values,
                   const std::string& blobBlock, int recordLength) {
    std::string record(static_cast<size_t>(recordLength), ' ');
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldLayout& f = fields[i];
        std::string bytes = values[i];
        if (f.type == FieldType::kChar) bytes = EncodeFromUtf8(bytes, CodePage::kCp1250);
        if (f.type == FieldType::kBlob) bytes = blobBlock;
        if (bytes.size() < static_cast<size_t>(f.length) && f.type != FieldType::kChar) {
            bytes.insert(0, static_cast<size_t>(f.length) - bytes.size(), ' ');  // right-aligned
        }
        bytes.resize(static_cast<size_t>(f.length), ' ');
        record.replace(static_cast<size_t>(f.offset), bytes.size(), bytes);
    }
    return record;
}

}  // namespace

Status WriteRawTable(const std::string& dir, const RawTable& table, uint8_t language) {
    DbfHeader header;
    KOLVIO_RETURN_IF_ERROR(MakeHeader(table.fields, &header));
    header.languageDriver = language;
    const std::string path = JoinPath(dir, table.fileName);
    std::unique_ptr<MemoFile> memo;
    if (header.hasMemoFields()) {
        KOLVIO_RETURN_IF_ERROR(MemoFile::Create(MemoFile::PathFor(path)));
        KOLVIO_RETURN_IF_ERROR(MemoFile::Open(MemoFile::PathFor(path), true, false, &memo));
    }
    KOLVIO_RETURN_IF_ERROR(DbfFile::Create(path, header));
    std::unique_ptr<DbfFile> file;
    KOLVIO_RETURN_IF_ERROR(DbfFile::Open(path, true, LockMode::kShared, &file));
    for (size_t r = 0; r < table.rows.size(); ++r) {
        std::string block;
        if (memo && r < table.blobs.size() && !table.blobs[r].empty()) {
            uint32_t first = 0;
            KOLVIO_RETURN_IF_ERROR(memo->write(table.blobs[r], &first));
            block = std::to_string(first);
        }
        uint32_t recno = 0;
        KOLVIO_RETURN_IF_ERROR(file->appendRecord(
            Record(header.fields, table.rows[r], block, header.recordLength), &recno));
        if (r < table.deleted.size() && table.deleted[r]) {
            KOLVIO_RETURN_IF_ERROR(file->markDeleted(recno, true));
        }
    }
    return Status::Ok();
}

const char* const kOldRouteNames[] = {"trenažer", "NESPECIFIKOVÁNO",
                                      "Žďár nad Sázavou;Třebíč;Jihlava"};
const int kOldRouteCount = 3;
const std::string kOldRoutePicture = std::string("\x89PNG\r\n\x1a\n\x8a\xe8\x9a\xff\x00\x9e", 14);

std::vector<OldRide> SampleOldRides() {
    std::vector<OldRide> rides(5);
    rides[0] = {2001, 4,    28,  2,    1,     2, 201,
                1,    42.5, 1.5, 51.2, 28.33, 3, "Příliš žluťoučký kůň úpěl ďábelské ódy",
                false};
    rides[1] = {2001, 12,    31,  2,  2,    3, 302,
                2,    18.25, 0.5, 60, 36.5, 1, "ŽĎÁR – TŘEBÍČ: ĚŠČŘŽÝÁÍÉÚŮŤĎŇÓ ÄÖÜ äöü ôÔ ĹĺĽľŕŔ",
                false};
    rides[2] = {std::nullopt, 1, 1, 0, 0, 1, 101, 1, 20, 1, 0, 20, 1, "bez data", false};
    rides[3] = {2002, 2,     3,    1,    1,      2, 204,
                2,    75.75, 2.75, 65.5, 27.545, 2, "«teplota» 5° ±2 ÷ ß đ · • Ą Ł Ś Ź Ż § „x“",
                false};
    rides[4] = {2002, 3, 1, 1, 1, 2, 203, 1, 5, 0.25, 30, 20, 1, "smazaná", true};
    return rides;
}

Status WriteOldDatabase(const std::string& dir, const std::vector<OldRide>& rides) {
    RawTable jizdy{"jizdy.dbf",
                   {FieldDef::DateField("DATUM"), FieldDef::Numeric("MESIC_C", 10, 0),
                    FieldDef::Numeric("TRS_C", 5, 0), FieldDef::Numeric("TRS_SMER", 2, 0),
                    FieldDef::Numeric("TRNZ_C", 5, 0), FieldDef::Numeric("TRN_C", 6, 0),
                    FieldDef::Numeric("KOL_C", 5, 0), FieldDef::Numeric("DELKA", 10, 2),
                    FieldDef::Numeric("CAS", 12, 6), FieldDef::Numeric("RYCHL_MAX", 8, 2),
                    FieldDef::Numeric("PRUMER", 8, 3), FieldDef::Numeric("OSOB", 4, 0),
                    FieldDef::Char("POPIS1", 100)},
                   {},
                   {},
                   {}};
    for (const OldRide& r : rides) {
        char date[16] = "";
        if (r.year) std::snprintf(date, sizeof date, "%04d%02d%02d", *r.year, r.month, r.day);
        jizdy.rows.push_back(
            {date, r.year ? std::to_string(*r.year * 1000 + r.month) : "", std::to_string(r.route),
             std::to_string(r.direction), std::to_string(r.type), std::to_string(r.subtype),
             std::to_string(r.bike), Number(r.km, 10, 2), Number(r.hours, 12, 6),
             Number(r.vmax, 8, 2), Number(r.avg, 8, 3), std::to_string(r.persons), r.text});
        jizdy.deleted.push_back(r.deleted);
    }
    KOLVIO_RETURN_IF_ERROR(WriteRawTable(dir, jizdy));

    RawTable trs{
        "typ_trs.dbf",
        {FieldDef::Numeric("TRS_C", 5, 0), FieldDef::Char("TRS_N1", 20),
         FieldDef::Char("TRS_N2", 20), FieldDef::Char("TRS_MEZI", 80),
         FieldDef::Char("TRS_START", 20), FieldDef::Char("TRS_CIL", 20), FieldDef::Blob("TRS_OBR")},
        {{"0", "", "", kOldRouteNames[0], "", "", ""},
         {"1", "", "NESPEC", kOldRouteNames[1], "", "", ""},
         {"2", "Vysočina", "ŽĎÁR", kOldRouteNames[2], "Žďár", "Jihlava", ""}},
        {},
        {"", "", kOldRoutePicture}};
    KOLVIO_RETURN_IF_ERROR(WriteRawTable(dir, trs));
    KOLVIO_RETURN_IF_ERROR(
        WriteRawTable(dir, {"typ_trnz.dbf",
                            {FieldDef::Numeric("TRNZ_C", 3, 0), FieldDef::Char("TRNZ_N", 20),
                             FieldDef::Logical("ZADNE_TRS")},
                            {{"1", "trenažer", "T"}, {"2", "vyjížďka", "F"}, {"3", "závod", "F"}},
                            {},
                            {}}));
    KOLVIO_RETURN_IF_ERROR(WriteRawTable(
        dir, {"typ_trn.dbf",
              {FieldDef::Numeric("TRN_C", 5, 0), FieldDef::Numeric("TRNZ_C", 3, 0),
               FieldDef::Char("TRN_N", 20)},
              {{"101", "1", ""}, {"201", "2", "NESPECIFIKOVÁNO"}, {"302", "3", "ČASOVKA"}},
              {},
              {}}));
    return WriteRawTable(dir, {"typ_kol.dbf",
                               {FieldDef::Numeric("KOL_C", 3, 0), FieldDef::Char("KOL_TYP", 20),
                                FieldDef::Char("KOL_ZNA", 20)},
                               {{"1", "SILNIČNÍ ZÁVODNÍ", "Author"}, {"2", "horské", "Škoda"}},
                               {},
                               {}});
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::map<std::string, std::string> Snapshot(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
        }
    }
    return files;
}

}  // namespace kolvio::testing
