#include "gen_diary.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "data/database/schema.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/file.h"
#include "data/table_writer.h"

namespace kolvio::bench {

namespace {

// A whole table written in one go (the store's TableWriter), with fields
// set by name. The memo file of a table with memo fields comes with it.
class BulkTableWriter {
public:
    BulkTableWriter(std::string path, std::vector<FieldDef> fields, uint32_t rows)
        : path_(std::move(path)), fields_(std::move(fields)), rows_(rows) {}

    Status open() { return writer_.begin(path_, fields_); }

    // Field values of the next record; fields not set stay blank.
    Status set(const char* field, const Value& v) {
        const int i = FindField(writer_.fields(), field);
        if (i < 0) return Status::Invalid(std::string("pole ") + field + " chybí");
        return writer_.setValue(i, v);
    }

    Status endRecord() { return writer_.addRecord(); }

    Status close() {
        if (writer_.recordCount() != rows_) return Status::Invalid("počet řádků nesouhlasí");
        return writer_.commit();
    }

private:
    std::string path_;
    std::vector<FieldDef> fields_;
    uint32_t rows_;
    TableWriter writer_;
};

using Cells = std::vector<std::pair<const char*, Value>>;

Status WriteSmallTable(const std::string& dir, const char* file, const std::vector<Cells>& rows) {
    BulkTableWriter w(JoinPath(dir, file), CreatedFields(file), static_cast<uint32_t>(rows.size()));
    KOLVIO_RETURN_IF_ERROR(w.open());
    for (const Cells& row : rows) {
        for (const auto& [field, value] : row)
            KOLVIO_RETURN_IF_ERROR(w.set(field, value));
        KOLVIO_RETURN_IF_ERROR(w.endRecord());
    }
    return w.close();
}

struct Route {
    int code;
    const char* n1;
    const char* n2;
    const char* mezi;
    const char* start;
    const char* cil;
    double km;
};

// Routes beyond the two every database has (0 trainer, 1 unspecified).
const Route kRoutes[] = {
    {2, "B1", "BRNO-TIŠ", "Brno;Kuřim;Tišnov", "Brno", "Tišnov", 34},
    {3, "B2", "BRNO-BLA", "Brno;Adamov;Blansko", "Brno", "Blansko", 28},
    {4, "B3", "BRNO-MIK", "Brno;Židlochovice;Mikulov", "Brno", "Mikulov", 52},
    {5, "B4", "BRNO-VYŠ", "Brno;Slavkov;Bučovice;Vyškov", "Brno", "Vyškov", 48},
    {6, "B5", "BRNO-ZNO", "Brno;Pohořelice;Znojmo", "Brno", "Znojmo", 68},
    {7, "K1", "PŘEHRADA", "Brno;Bystrc;Rozdrojovice;Brno", "Brno", "Brno", 26},
    {8, "K2", "OKR-ČH", "Brno;Lelekovice;Černá Hora;Brno", "Brno", "Brno", 61},
    {9, "K3", "MOR-KRAS", "Blansko;Skalní mlýn;Macocha;Jedovnice", "Blansko", "Jedovnice", 31},
    {10, "B6", "BRNO-IVA", "Brno;Rajhrad;Pohořelice;Ivančice", "Brno", "Ivančice", 57},
    {11, "B7", "BRNO-BOS", "Brno;Ostrovačice;Rosice;Zastávka", "Brno", "Zastávka", 29},
    {12, "V1", "VRCH-SOK", "Brno;Soběšice;Útěchov;Vranov", "Brno", "Vranov", 22},
    {13, "V2", "VRCH-KOJ", "Brno;Kohoutovice;Kníničky", "Brno", "Kníničky", 18},
    {14, "D1", "DLOUHÁ-JIH", "Brno;Hustopeče;Břeclav;Lednice;Valtice", "Brno", "Valtice", 112},
    {15, "D2", "DLOUHÁ-SEV", "Brno;Tišnov;Nedvědice;Bystřice", "Brno", "Bystřice n. P.", 96},
    {16, "D3", "PÁLAVA", "Mikulov;Pavlov;Dolní Věstonice;Mikulov", "Mikulov", "Mikulov", 45},
    {17, "Z1", "ŽIDL-KOL", "Židlochovice;Nosislav;Velké Němčice", "Židlochovice", "Velké Němčice",
     24},
    {18, "T1", "TIŠ-DOUB", "Tišnov;Doubravník;Nedvědice", "Tišnov", "Nedvědice", 27},
    {19, "S1", "SLAV-AUST", "Slavkov;Křenovice;Šlapanice", "Slavkov", "Šlapanice", 21},
    {20, "C1", "ČASOVKA-1", "Pohořelice;Ivaň;Pohořelice", "Pohořelice", "Pohořelice", 40},
    {21, "C2", "ČASOVKA-2", "Vyškov;Rousínov;Vyškov", "Vyškov", "Vyškov", 20},
    {22, "O1", "OKOLÍ-JIH", "Brno;Modřice;Želešice;Brno", "Brno", "Brno", 33},
    {23, "O2", "OKOLÍ-VÝCH", "Brno;Líšeň;Mokrá;Brno", "Brno", "Brno", 38},
    {24, "O3", "OKOLÍ-ZÁP", "Brno;Popůvky;Troubsko;Brno", "Brno", "Brno", 31},
    {25, "H1", "HORY-JES", "Jeseník;Ramzová;Červenohorské sedlo", "Jeseník", "Kouty", 55},
};

const char* const kDescriptions[] = {
    "vyjížďka kolem přehrady",
    "intervaly do kopce",
    "regenerace po závodě",
    "protivítr celou cestu",
    "s klubem",
    "déšť, mokro",
    "výborná forma",
    "defekt u Kuřimi",
    "tempo na rovině",
    "kopce na plno",
    "večerní kolečko",
    "rodinný výlet",
    "trénink frekvence",
    "závod – hromadný start",
    "časovka jednotlivců",
};

double Round(double v, int decimals) {
    const double p = std::pow(10.0, decimals);
    return std::round(v * p) / p;
}

class RideMaker {
public:
    RideMaker(uint64_t seed, int64_t rides) : rng_(seed), rides_(rides) {
        // About 250 rides a year for a small diary; big ones fill 2000-2024.
        const int years = static_cast<int>(std::clamp<int64_t>(rides / 250, 1, 25));
        first_ = Date::FromYmd(2025 - years, 1, 1)->dayNumber();
        days_ = Date::FromYmd(2024, 12, 31)->dayNumber() - first_ + 1;
        age_ = 28 + static_cast<int>(rng_() % 15);
    }

    Status write(BulkTableWriter& w, int64_t i) {
        const Date day = Date::FromDayNumber(first_ + static_cast<int32_t>(i * days_ / rides_));
        const double r = uniform();
        int trnz = 2, trn = 201 + static_cast<int>(rng_() % 6), trs = 0, smer = 0;
        double speed = normal(27.5, 2.5);
        double km;
        int osob = uniform() < 0.7 ? 1 : 2 + static_cast<int>(rng_() % 4);
        if (r < 0.10 || (day.month() <= 2 && r < 0.5)) {  // trainer, mostly in winter
            trnz = 1;
            trn = 101;
            km = Round(normal(30, 6), 1);
            speed = normal(30, 1.5);
            osob = 1;
        } else {
            const Route& route = kRoutes[favouriteRoute()];
            trs = route.code;
            smer = 1 + static_cast<int>(rng_() % 2);
            km = Round(route.km * normal(1.0, 0.03), 1);
            if (r < 0.15) {  // race
                trnz = 3;
                trn = 301 + static_cast<int>(rng_() % 4);
                speed = normal(37, 3);
                osob = 20 + static_cast<int>(rng_() % 120);
            } else if (r < 0.2) {
                trs = 1;  // unspecified route
            }
        }
        km = std::max(km, 5.0);
        speed = std::clamp(speed, 15.0, 48.0);
        const double hours = Round(km / speed, 4);
        const double avg = km / hours;

        KOLVIO_RETURN_IF_ERROR(w.set("DATUM", day));
        KOLVIO_RETURN_IF_ERROR(w.set("MESIC_C", day.year() * 1000 + day.month()));
        KOLVIO_RETURN_IF_ERROR(w.set("ROK", day.year()));
        KOLVIO_RETURN_IF_ERROR(w.set("TRS_C", trs));
        KOLVIO_RETURN_IF_ERROR(w.set("TRS_SMER", smer));
        KOLVIO_RETURN_IF_ERROR(w.set("TRNZ_C", trnz));
        KOLVIO_RETURN_IF_ERROR(w.set("TRN_C", trn));
        KOLVIO_RETURN_IF_ERROR(w.set("KOL_C", bikeFor(day, trnz)));
        KOLVIO_RETURN_IF_ERROR(w.set("DELKA", km));
        KOLVIO_RETURN_IF_ERROR(w.set("CAS", hours));
        KOLVIO_RETURN_IF_ERROR(w.set("RYCHL_MAX", Round(avg + 12 + uniform() * 30, 1)));
        KOLVIO_RETURN_IF_ERROR(w.set("PRUMER", avg));
        KOLVIO_RETURN_IF_ERROR(w.set("OSOB", osob));
        if (uniform() < 0.4) {
            KOLVIO_RETURN_IF_ERROR(
                w.set("POPIS1", kDescriptions[rng_() % std::size(kDescriptions)]));
        }
        return heart(w, hours);
    }

private:
    double uniform() { return std::uniform_real_distribution<double>(0, 1)(rng_); }
    double normal(double mean, double sd) {
        return std::normal_distribution<double>(mean, sd)(rng_);
    }

    size_t favouriteRoute() {
        // A few favourites take most rides.
        const double u = uniform();
        const size_t n = std::size(kRoutes);
        return std::min(n - 1, static_cast<size_t>(u * u * u * static_cast<double>(n)));
    }

    int bikeFor(const Date& day, int trnz) {
        if (trnz == 3)
            return 1 + 2 * static_cast<int>(rng_() % 2) * (day.year() >= 2015);  // 1 or 3
        if (day.month() <= 3 || day.month() >= 11) return uniform() < 0.7 ? 2 : 4;
        return uniform() < 0.6 ? 1 : 3 + static_cast<int>(rng_() % 4);
    }

    Status heart(BulkTableWriter& w, double hours) {
        if (uniform() >= 0.5) {
            KOLVIO_RETURN_IF_ERROR(w.set("THL_C", 0));
            return w.set("SR_MER", false);
        }
        const int watch = 1 + static_cast<int>(rng_() % 2);
        const int x = 220 - age_;
        const int lim = 150 + static_cast<int>(rng_() % 21);
        const int avg = 120 + static_cast<int>(rng_() % 46);
        const int max = avg + 15 + static_cast<int>(rng_() % 25);
        const double plp = Round(std::clamp(normal(20, 15), 0.0, 100.0), 2);
        KOLVIO_RETURN_IF_ERROR(w.set("THL_C", watch));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_MER", true));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_AVG", avg));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_MAX", max));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_KCAL", std::round(hours * (550 + rng_() % 300))));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_LIM", lim));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_PLP", plp));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_PLC", hours * plp / 100));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_X", x));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_AXP", 100.0 * avg / x));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_ALP", 100.0 * avg / lim));
        KOLVIO_RETURN_IF_ERROR(w.set("SR_MXP", 100.0 * max / x));
        return w.set("SR_MLP", 100.0 * max / lim);
    }

    std::mt19937_64 rng_;
    int64_t rides_;
    int32_t first_ = 0;
    int64_t days_ = 1;
    int age_ = 35;
};

Status WriteReferenceTables(const std::string& dir) {
    std::vector<Cells> routes = {
        {{"TRS_C", 0}, {"TRS_MEZI", "trenažer"}},
        {{"TRS_C", 1}, {"TRS_MEZI", "NESPECIFIKOVÁNO"}, {"TRS_N2", "NESPEC"}},
    };
    for (const Route& r : kRoutes) {
        routes.push_back({{"TRS_C", r.code},
                          {"TRS_N1", r.n1},
                          {"TRS_N2", r.n2},
                          {"TRS_MEZI", r.mezi},
                          {"TRS_START", r.start},
                          {"TRS_CIL", r.cil}});
    }
    KOLVIO_RETURN_IF_ERROR(WriteSmallTable(dir, "typ_trs.dbf", routes));
    KOLVIO_RETURN_IF_ERROR(
        WriteSmallTable(dir, "typ_trnz.dbf",
                        {{{"TRNZ_C", 1}, {"TRNZ_N", "trenažer"}, {"ZADNE_TRS", true}},
                         {{"TRNZ_C", 2}, {"TRNZ_N", "vyjížďka"}, {"ZADNE_TRS", false}},
                         {{"TRNZ_C", 3}, {"TRNZ_N", "závod"}, {"ZADNE_TRS", false}}}));
    KOLVIO_RETURN_IF_ERROR(
        WriteSmallTable(dir, "typ_trn.dbf",
                        {{{"TRN_C", 101}, {"TRNZ_C", 1}, {"TRN_N", ""}},
                         {{"TRN_C", 201}, {"TRNZ_C", 2}, {"TRN_N", "NESPECIFIKOVÁNO"}},
                         {{"TRN_C", 202}, {"TRNZ_C", 2}, {"TRN_N", "FREKVENCE"}},
                         {{"TRN_C", 203}, {"TRNZ_C", 2}, {"TRN_N", "KOPCE NA PLNO"}},
                         {{"TRN_C", 204}, {"TRNZ_C", 2}, {"TRN_N", "NA PRŮMĚR"}},
                         {{"TRN_C", 205}, {"TRNZ_C", 2}, {"TRN_N", "REGENERACE"}},
                         {{"TRN_C", 206}, {"TRNZ_C", 2}, {"TRN_N", "VYTRVALOST"}},
                         {{"TRN_C", 301}, {"TRNZ_C", 3}, {"TRN_N", "JEDNOTLIVCŮ"}},
                         {{"TRN_C", 302}, {"TRNZ_C", 3}, {"TRN_N", "ČASOVKA"}},
                         {{"TRN_C", 303}, {"TRNZ_C", 3}, {"TRN_N", "ČASOVKA DVOJIC"}},
                         {{"TRN_C", 304}, {"TRNZ_C", 3}, {"TRN_N", "KRITÉRIUM"}}}));
    KOLVIO_RETURN_IF_ERROR(
        WriteSmallTable(dir, "typ_kol.dbf",
                        {{{"KOL_C", 1}, {"KOL_TYP", "SILNIČNÍ ZÁVODNÍ"}},
                         {{"KOL_C", 2}, {"KOL_TYP", "SILNIČNÍ ZIMNÍ"}},
                         {{"KOL_C", 3}, {"KOL_TYP", "SILNIČNÍ KARBON"}, {"KOL_ZNA", "Author"}},
                         {{"KOL_C", 4}, {"KOL_TYP", "CYKLOKROS"}, {"KOL_ZNA", "Favorit"}},
                         {{"KOL_C", 5}, {"KOL_TYP", "HORSKÉ"}, {"KOL_ZNA", "Specialized"}},
                         {{"KOL_C", 6}, {"KOL_TYP", "ČASOVKÁŘSKÉ"}, {"KOL_ZNA", "Merida"}}}));
    return WriteSmallTable(
        dir, "typ_hld.dbf",
        {{{"THL_C", 0}, {"THL_ZKR", "neměřeno"}, {"THL_POP", ""}},
         {{"THL_C", 1}, {"THL_ZKR", "nehlídaný"}, {"THL_POP", "pouze měřeno"}},
         {{"THL_C", 2}, {"THL_ZKR", "hlídaný"}, {"THL_POP", "při překročení zpomalení"}}});
}

}  // namespace

Status GenerateDiary(const std::string& dir, const DiaryOptions& options) {
    if (options.rides < 0 || options.rides > UINT32_MAX) {
        return Status::Invalid("Počet jízd musí být 0 až 4294967295.");
    }
    KOLVIO_RETURN_IF_ERROR(MakeDirectories(dir));
    KOLVIO_RETURN_IF_ERROR(WriteReferenceTables(dir));
    const auto rides = static_cast<uint32_t>(options.rides);
    BulkTableWriter w(JoinPath(dir, "jizdy.dbf"), CreatedFields(kRidesFile), rides);
    KOLVIO_RETURN_IF_ERROR(w.open());
    RideMaker maker(options.seed, std::max<int64_t>(options.rides, 1));
    for (uint32_t i = 0; i < rides; ++i) {
        KOLVIO_RETURN_IF_ERROR(maker.write(w, i));
        KOLVIO_RETURN_IF_ERROR(w.endRecord());
    }
    return w.close();
}

}  // namespace kolvio::bench
