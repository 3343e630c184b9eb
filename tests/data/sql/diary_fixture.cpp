#include "diary_fixture.h"

#include <memory>
#include <stdexcept>

#include "data/dbf/dbf_file.h"
#include "data/dbf/memo_file.h"
#include "data/dbf/record_codec.h"
#include "data/file.h"

namespace kolvio::sqltest {

namespace {

FieldDef Number(const char* name) {
    return FieldDef::Float(name, 20, 4);
}

void Check(const Status& st) {
    if (!st.ok()) throw std::runtime_error(st.message());
}

Value D(int y, int m, int d) {
    return Value(*Date::FromYmd(y, m, d));
}

struct Ride {
    Value date;
    int trs, smer, trnz, trn, kol;
    Value delka, cas, rmax;
    int osob;
    const char* popis;
    int thl;
    Value srAvg, srMax, srLim, srPlp;
    bool deleted = false;
};

std::vector<Value> RideRow(const Ride& r) {
    const Date date = r.date.asDate();
    Value prumer;
    if (!r.delka.isNull() && !r.cas.isNull()) prumer = Value(r.delka.asDouble() / r.cas.asDouble());
    const bool measured = !r.srAvg.isNull();
    return {r.date,         Value(date.year() * 1000 + date.month()),
            Value(r.trs),   Value(r.smer),
            Value(r.trnz),  Value(r.trn),
            Value(r.kol),   r.delka,
            r.cas,          r.rmax,
            prumer,         Value(r.osob),
            Value(r.popis), Value(date.year()),
            Value(r.thl),   Value(measured),
            r.srAvg,        r.srMax,
            Value(),  // SR_KCAL
            r.srLim,        r.srPlp,
            Value(),   // SR_PLC
            Value(),   // SR_X
            Value(),   // SR_AXP
            Value(),   // SR_ALP
            Value(),   // SR_MXP
            Value()};  // SR_MLP
}

}  // namespace

void WriteTable(const std::string& dir, const TableSpec& spec) {
    DbfHeader header;
    Check(MakeHeader(spec.fields, &header));
    const std::string path = JoinPath(dir, spec.file);
    Check(DbfFile::Create(path, header));
    if (header.hasMemoFields()) Check(MemoFile::Create(MemoFile::PathFor(path)));
    std::unique_ptr<DbfFile> file;
    Check(DbfFile::Open(path, true, LockMode::kExclusive, &file));
    const auto& layout = file->header().fields;
    for (size_t r = 0; r < spec.rows.size(); ++r) {
        std::string record(file->recordLength(), ' ');
        if (r < spec.deleted.size() && spec.deleted[r]) record[0] = '*';
        for (size_t f = 0; f < layout.size(); ++f) {
            Check(EncodeField(layout[f], spec.rows[r].at(f), record.data(), CodePage::kCp852,
                              nullptr));
        }
        uint32_t recno = 0;
        Check(file->appendRecord(record, &recno));
    }
}

std::vector<FieldDef> RideFields() {
    return {FieldDef::DateField("DATUM"),
            Number("MESIC_C"),
            Number("TRS_C"),
            Number("TRS_SMER"),
            Number("TRNZ_C"),
            Number("TRN_C"),
            Number("KOL_C"),
            Number("DELKA"),
            Number("CAS"),
            Number("RYCHL_MAX"),
            Number("PRUMER"),
            Number("OSOB"),
            FieldDef::Char("POPIS1", 100),
            Number("ROK"),
            Number("THL_C"),
            FieldDef::Logical("SR_MER"),
            Number("SR_AVG"),
            Number("SR_MAX"),
            Number("SR_KCAL"),
            Number("SR_LIM"),
            Number("SR_PLP"),
            Number("SR_PLC"),
            Number("SR_X"),
            Number("SR_AXP"),
            Number("SR_ALP"),
            Number("SR_MXP"),
            Number("SR_MLP")};
}

void WriteDiary(const std::string& dir) {
    WriteTable(dir,
               {"typ_trnz.dbf",
                {Number("TRNZ_C"), FieldDef::Char("TRNZ_N", 20), FieldDef::Logical("ZADNE_TRS")},
                {{Value(1), Value("trenažer"), Value(true)},
                 {Value(2), Value("vyjížďka"), Value(false)},
                 {Value(3), Value("závod"), Value(false)}},
                {}});
    WriteTable(dir, {"typ_trn.dbf",
                     {Number("TRN_C"), Number("TRNZ_C"), FieldDef::Char("TRN_N", 20)},
                     {{Value(101), Value(1), Value("")},
                      {Value(201), Value(2), Value("NESPECIFIKOVÁNO")},
                      {Value(202), Value(2), Value("FREKVENCE")},
                      {Value(203), Value(2), Value("KOPCE NA PLNO")},
                      {Value(301), Value(3), Value("JEDNOTLIVCŮ")}},
                     {}});
    const Value e("");
    WriteTable(dir, {"typ_trs.dbf",
                     {Number("TRS_C"), FieldDef::Char("TRS_N1", 20), FieldDef::Char("TRS_N2", 20),
                      FieldDef::Char("TRS_MEZI", 80), FieldDef::Char("TRS_START", 20),
                      FieldDef::Char("TRS_CIL", 20), FieldDef::Blob("TRS_OBR")},
                     {{Value(0), e, e, Value("trenažer"), e, e, Value()},
                      {Value(1), e, Value("NESPEC"), Value("NESPECIFIKOVÁNO"), e, e, Value()},
                      {Value(2), Value("K1"), Value("BRNO-TIŠ"), Value("Brno;Kuřim;Tišnov"),
                       Value("Brno"), Value("Tišnov"), Value()},
                      {Value(3), e, Value("CH-B"), Value("Černá Hora;Brno"), Value("Černá Hora"),
                       Value("Brno"), Value()},
                      {Value(4), e, Value("AD-BK"), Value("Adamov;Blansko"), Value("Adamov"),
                       Value("Blansko"), Value()}},
                     {}});
    WriteTable(dir,
               {"typ_kol.dbf",
                {Number("KOL_C"), FieldDef::Char("KOL_TYP", 20), FieldDef::Char("KOL_ZNA", 20)},
                {{Value(1), Value("SILNIČNÍ ZÁVODNÍ"), Value("Author")},
                 {Value(2), Value("SILNIČNÍ ZIMNÍ"), Value("Favorit")},
                 {Value(3), Value("HORSKÉ"), Value("Specialized")}},
                {}});
    WriteTable(dir,
               {"typ_hld.dbf",
                {Number("THL_C"), FieldDef::Char("THL_ZKR", 15), FieldDef::Char("THL_POP", 50)},
                {{Value(0), Value("neměřeno"), e},
                 {Value(1), Value("nehlídaný"), Value("pouze měřeno")},
                 {Value(2), Value("hlídaný"), Value("při překročení zpomalení")}},
                {}});
    const Value n;
    const std::vector<Ride> rides = {
        {D(2024, 1, 2), 0, 0, 1, 101, 2, Value(20), Value(1.0), Value(0), 1, "válce", 0, n, n, n,
         n},
        {D(2024, 3, 14), 2, 1, 2, 201, 1, Value(60), Value(2.0), Value(52.3), 2, "Brno-Tišnov", 1,
         Value(140), Value(172), n, n},
        {D(2024, 3, 20), 2, 2, 2, 202, 2, Value(62), Value(2.5), Value(48), 1, "", 2, Value(150),
         Value(180), Value(160), Value(25)},
        {D(2024, 5, 5), 3, 1, 3, 301, 1, Value(45), Value(1.25), Value(61.5), 40, "závod", 2,
         Value(165), Value(190), Value(170), Value(55)},
        {D(2024, 5, 6), 4, 1, 2, 201, 2, Value(30), Value(1.5), Value(40), 3, "", 0, n, n, n, n},
        {D(2023, 6, 15), 2, 1, 2, 201, 1, Value(58), Value(2.0), Value(50), 1, "", 1, Value(138),
         Value(170), n, n},
        {D(2023, 7, 1), 3, 2, 2, 202, 3, Value(40), Value(2.0), Value(45), 2, "", 0, n, n, n, n},
        {D(2024, 12, 31), 1, 1, 2, 201, 2, n, n, n, 1, "bez tachometru", 0, n, n, n, n},
        {D(2024, 3, 10), 2, 1, 2, 201, 1, Value(999), Value(9), Value(99), 1, "smazaná", 0, n, n, n,
         n, true},
        {D(2025, 1, 1), 4, 2, 2, 201, 1, Value(35), Value(1.75), Value(44), 1, "", 1, Value(130),
         Value(150), n, n},
        {D(2024, 8, 25), 2, 1, 2, 203, 2, Value(61), Value(2.2), Value(55), 1, "", 0, n, n, n, n},
    };
    TableSpec jizdy{"jizdy.dbf", RideFields(), {}, {}};
    for (const Ride& r : rides) {
        jizdy.rows.push_back(RideRow(r));
        jizdy.deleted.push_back(r.deleted);
    }
    WriteTable(dir, jizdy);
}

}  // namespace kolvio::sqltest
