// The statements bench_sql and bench_session time: the texts the screens
// write, and the same in SQLite's dialect.
#pragma once

#include <string>
#include <vector>

namespace kolvio::bench {

inline const char kJoin[] =
    "from jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld\n"
    "where jizdy.trs_c = typ_trs.trs_c and jizdy.trnz_c = typ_trnz.trnz_c and jizdy.trn_c = "
    "typ_trn.trn_c and jizdy.kol_c = typ_kol.kol_c and jizdy.thl_c = typ_hld.thl_c \n";

// The aggregates of the monthly statistics list: MAX.DÉLKA, MIN.DÉLKA,
// POČET JÍZD and the 35 common aggregates.
inline const char kMonthlyAggregates[] =
    "MAX (JIZDY.DELKA) AS MAX_DEL, MIN (JIZDY.DELKA) AS MIN_DEL, COUNT (JIZDY.TRS_C) AS "
    "COUNT_JZD, MAX (JIZDY.PRUMER) AS MAX_PRU, MIN (JIZDY.PRUMER) AS MIN_PRU, MAX (JIZDY.CAS) "
    "AS MAX_CAS, MIN (JIZDY.CAS) AS MIN_CAS, MAX (JIZDY.RYCHL_MAX) AS MAX_RYC, MIN "
    "(JIZDY.RYCHL_MAX) AS MIN_RYC, MAX (JIZDY.OSOB) AS MAX_OSO, MIN (JIZDY.OSOB) AS MIN_OSO, "
    "SUM (JIZDY.DELKA) AS SUM_DEL, SUM (JIZDY.CAS) AS SUM_CAS, (SUM (JIZDY.DELKA) / SUM "
    "(JIZDY.CAS)) AS AVG_PRU, MAX (JIZDY.SR_AVG) AS MAX_SAV, MIN (JIZDY.SR_AVG) AS MIN_SAV, "
    "MAX (JIZDY.SR_MAX) AS MAX_SMA, MIN (JIZDY.SR_MAX) AS MIN_SMA, MAX (JIZDY.SR_KCAL) AS "
    "MAX_SKC, MIN (JIZDY.SR_KCAL) AS MIN_SKC, MAX (JIZDY.SR_LIM) AS MAX_SLI, MIN "
    "(JIZDY.SR_LIM) AS MIN_SLI, MAX (JIZDY.SR_PLP) AS MAX_SPP, MIN (JIZDY.SR_PLP) AS MIN_SPP, "
    "MAX (JIZDY.SR_PLC) AS MAX_SPC, MIN (JIZDY.SR_PLC) AS MIN_SPC, MAX (JIZDY.SR_X) AS MAX_SX, "
    "MIN (JIZDY.SR_X) AS MIN_SX, MAX (JIZDY.SR_AXP) AS MAX_SAX, MIN (JIZDY.SR_AXP) AS "
    "MIN_SAX, MAX (JIZDY.SR_MXP) AS MAX_SMX, MIN (JIZDY.SR_MXP) AS MIN_SMX, MAX "
    "(JIZDY.SR_MLP) AS MAX_SML, MIN (JIZDY.SR_MLP) AS MIN_SML, MAX (JIZDY.SR_ALP) AS MAX_SAL, "
    "MIN (JIZDY.SR_ALP) AS MIN_SAL, SUM (JIZDY.SR_PLC) AS SUM_SPC, SUM (JIZDY.SR_KCAL) AS "
    "SUM_SKC ";

struct Statement {
    const char* name;
    std::string ours;
    std::string sqlite;
};

// The same statements in both dialects: SQLite gets dates as ISO text and
// numbers unquoted; everything else is the text the screens write.
inline std::vector<Statement> Statements() {
    const std::string join = kJoin;
    std::vector<Statement> s;
    s.push_back({"worked example (routes, 2024, bikes)",
                 "select TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, COUNT (JIZDY.TRS_C) AS COUNT_JIZ, SUM "
                 "(JIZDY.DELKA) AS SUM_DEL \n, JIZDY.TRS_C\n" +
                     join +
                     " and  ( jizdy.datum BETWEEN \"1.1.2024\" AND \"31.12.2024\" ) \n"
                     " and  ( jizdy.kol_c NOT IN (\"1\",\"3\" )) \n"
                     " group by TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, JIZDY.TRS_C\n"
                     " order by TYP_TRS.TRS_START, JIZDY.TRS_C\n",
                 "select TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, COUNT (JIZDY.TRS_C) AS COUNT_JIZ, SUM "
                 "(JIZDY.DELKA) AS SUM_DEL \n, JIZDY.TRS_C\n" +
                     join +
                     " and  ( jizdy.datum BETWEEN '2024-01-01' AND '2024-12-31' ) \n"
                     " and  ( jizdy.kol_c NOT IN (1,3 )) \n"
                     " group by TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, JIZDY.TRS_C\n"
                     " order by TYP_TRS.TRS_START, JIZDY.TRS_C\n"});
    const std::string monthly = "select JIZDY.MESIC_C AS MESIC\n , " +
                                std::string(kMonthlyAggregates) + "\n" + join +
                                " group by JIZDY.MESIC_C\n order by JIZDY.MESIC_C\n";
    s.push_back({"monthly statistics (38 aggregates)", monthly, monthly});
    const std::string listing =
        "select JIZDY.DATUM, TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, JIZDY.DELKA, JIZDY.CAS, "
        "JIZDY.PRUMER, TYP_KOL.KOL_TYP, JIZDY.POPIS1 \n" +
        join;
    s.push_back({"listing (dates, routes, bikes)",
                 listing + " and ( jizdy.datum BETWEEN \"1.4.2023\" AND \"30.9.2023\" ) \n"
                           " and  ( jizdy.trs_c IN (\"2\",\"7\",\"8\",\"14\" )) \n"
                           " and  ( jizdy.kol_c IN (\"1\",\"3\" )) \n order by JIZDY.DATUM\n",
                 listing + " and ( jizdy.datum BETWEEN '2023-04-01' AND '2023-09-30' ) \n"
                           " and  ( jizdy.trs_c IN (2,7,8,14 )) \n"
                           " and  ( jizdy.kol_c IN (1,3 )) \n order by JIZDY.DATUM\n"});
    s.push_back({"one year of rides (count)",
                 "select count(*) from jizdy where jizdy.datum BETWEEN \"1.1.2024\" AND "
                 "\"31.12.2024\"",
                 "select count(*) from jizdy where jizdy.datum BETWEEN '2024-01-01' AND "
                 "'2024-12-31'"});
    s.push_back(
        {"one route ordered by date",
         "select JIZDY.DATUM, JIZDY.DELKA, JIZDY.CAS, JIZDY.PRUMER, JIZDY.POPIS1 from jizdy "
         "where jizdy.trs_c = 7 order by JIZDY.DATUM",
         "select JIZDY.DATUM, JIZDY.DELKA, JIZDY.CAS, JIZDY.PRUMER, JIZDY.POPIS1 from jizdy "
         "where jizdy.trs_c = 7 order by JIZDY.DATUM"});
    s.push_back({"min(datum) of all rides", "select min(datum) from jizdy",
                 "select min(datum) from jizdy"});
    s.push_back({"max(datum) of all rides", "select max(datum) from jizdy",
                 "select max(datum) from jizdy"});
    return s;
}

}  // namespace kolvio::bench
