// Writes the tables that the interoperability test reads with a dBase
// library no one here wrote. Usage: kolvio_interop_writer DIR
#include <cstdio>

#include "data/table.h"

namespace {

using kolvio::Date;
using kolvio::FieldDef;
using kolvio::Status;
using kolvio::Table;
using kolvio::Value;

bool Check(const Status& st) {
    if (!st.ok()) std::fprintf(stderr, "%s\n", st.message().c_str());
    return st.ok();
}

bool WriteRides(const std::string& dir) {
    if (!Check(Table::Create(dir, "jizdy.dbf",
                             {FieldDef::DateField("DATUM"), FieldDef::Float("DELKA", 20, 4),
                              FieldDef::Numeric("OSOB", 3, 0), FieldDef::Char("POPIS1", 100),
                              FieldDef::Logical("SR_MER"), FieldDef::Float("SR_AVG", 20, 4)}))) {
        return false;
    }
    Table t(dir, "jizdy.dbf");
    if (!Check(t.open())) return false;
    struct Ride {
        int day;
        double km;
        int riders;
        const char* text;
        Value measured;
        Value pulse;
    };
    const Ride rides[] = {
        {1, 42.5, 1, "Příliš žluťoučký kůň úpěl ďábelské ódy", true, 142.25},
        {2, 0.1234, 2, "smazaná jízda", false, Value()},
        {3, 105.0, 12, "", Value(), Value()},
    };
    for (const Ride& r : rides) {
        if (!Check(t.append()) || !Check(t.setValue("DATUM", *Date::FromYmd(2003, 5, r.day))) ||
            !Check(t.setValue("DELKA", r.km)) || !Check(t.setValue("OSOB", r.riders)) ||
            !Check(t.setValue("POPIS1", r.text)) || !Check(t.setValue("SR_MER", r.measured)) ||
            !Check(t.setValue("SR_AVG", r.pulse)) || !Check(t.post())) {
            return false;
        }
    }
    // The second ride is deleted: readers must skip it.
    return Check(t.moveToRow(1)) && Check(t.deleteRecord());
}

bool WriteRoutes(const std::string& dir) {
    if (!Check(Table::Create(dir, "typ_trs.dbf",
                             {FieldDef::Float("TRS_C", 20, 4), FieldDef::Char("TRS_MEZI", 80),
                              FieldDef::Blob("TRS_OBR")}))) {
        return false;
    }
    Table t(dir, "typ_trs.dbf");
    if (!Check(t.open())) return false;
    const std::string picture("GIF89a\x01\x00\x01\x00\x80\xff", 12);
    return Check(t.append()) && Check(t.setValue("TRS_C", 1)) &&
           Check(t.setValue("TRS_MEZI", "Brno;Tišnov;Nedvědice")) &&
           Check(t.setValue("TRS_OBR", picture)) && Check(t.post()) && Check(t.append()) &&
           Check(t.setValue("TRS_C", 2)) && Check(t.post());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kolvio_interop_writer DIR\n");
        return 2;
    }
    return WriteRides(argv[1]) && WriteRoutes(argv[1]) ? 0 : 1;
}
