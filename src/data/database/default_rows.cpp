// The rows every new database starts with.
#include <initializer_list>
#include <utility>

#include "data/database/database.h"

namespace kolvio {

namespace {

using Row = std::initializer_list<std::pair<const char*, Value>>;

Status AppendRows(Table& table, std::initializer_list<Row> rows) {
    for (const Row& row : rows) {
        KOLVIO_RETURN_IF_ERROR(table.append());
        for (const auto& [field, value] : row) {
            const Status st = table.setValue(field, value);
            if (!st.ok()) {
                table.cancel();
                return st;
            }
        }
        KOLVIO_RETURN_IF_ERROR(table.post());
    }
    return Status::Ok();
}

}  // namespace

Status Database::ImplHodNovaDB() {
    KOLVIO_RETURN_IF_ERROR(
        AppendRows(ttrnz_, {
                               {{"TRNZ_C", 1}, {"TRNZ_N", "trenažer"}, {"ZADNE_TRS", true}},
                               {{"TRNZ_C", 2}, {"TRNZ_N", "vyjížďka"}, {"ZADNE_TRS", false}},
                               {{"TRNZ_C", 3}, {"TRNZ_N", "závod"}, {"ZADNE_TRS", false}},
                           }));
    KOLVIO_RETURN_IF_ERROR(
        AppendRows(ttrn_, {
                              {{"TRN_C", 101}, {"TRNZ_C", 1}, {"TRN_N", ""}},
                              {{"TRN_C", 201}, {"TRNZ_C", 2}, {"TRN_N", "NESPECIFIKOVÁNO"}},
                              {{"TRN_C", 202}, {"TRNZ_C", 2}, {"TRN_N", "FREKVENCE"}},
                              {{"TRN_C", 203}, {"TRNZ_C", 2}, {"TRN_N", "KOPCE NA PLNO"}},
                              {{"TRN_C", 204}, {"TRNZ_C", 2}, {"TRN_N", "NA PRŮMĚR"}},
                              {{"TRN_C", 301}, {"TRNZ_C", 3}, {"TRN_N", "JEDNOTLIVCŮ"}},
                              {{"TRN_C", 302}, {"TRNZ_C", 3}, {"TRN_N", "ČASOVKA"}},
                              {{"TRN_C", 303}, {"TRNZ_C", 3}, {"TRN_N", "ČASOVKA DVOJIC"}},
                          }));
    KOLVIO_RETURN_IF_ERROR(
        AppendRows(ttrs_, {
                              {{"TRS_C", 0}, {"TRS_MEZI", "trenažer"}},
                              {{"TRS_C", 1}, {"TRS_MEZI", "NESPECIFIKOVÁNO"}, {"TRS_N2", "NESPEC"}},
                          }));
    KOLVIO_RETURN_IF_ERROR(AppendRows(ttkol_, {
                                                  {{"KOL_C", 1}, {"KOL_TYP", "SILNIČNÍ ZÁVODNÍ"}},
                                                  {{"KOL_C", 2}, {"KOL_TYP", "SILNIČNÍ ZIMNÍ"}},
                                              }));
    return ImplHodNovaDB_TTHLD();
}

Status Database::ImplHodNovaDB_TTHLD() {
    return AppendRows(
        tthld_, {
                    {{"THL_C", 0}, {"THL_ZKR", "neměřeno"}, {"THL_POP", ""}},
                    {{"THL_C", 1}, {"THL_ZKR", "nehlídaný"}, {"THL_POP", "pouze měřeno"}},
                    {{"THL_C", 2}, {"THL_ZKR", "hlídaný"}, {"THL_POP", "při překročení zpomalení"}},
                });
}

}  // namespace kolvio
