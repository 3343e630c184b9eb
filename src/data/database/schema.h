// The six tables of a training database: files, fields, indexes, and the
// columns an older ride table lacks.
//
// This is the one place that knows the layout. Everything else (opening,
// creating, upgrading, packing, checking) iterates over these lists.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "data/dbf/field_def.h"

namespace kolvio {

// The table files of a database, in the order in which their presence is
// counted. A directory holding five or six of them is a database (older
// versions lacked typ_hld.dbf).
inline constexpr std::array<std::string_view, 6> kDatabaseFiles = {
    "jizdy.dbf", "typ_kol.dbf", "typ_trn.dbf", "typ_trnz.dbf", "typ_trs.dbf", "typ_hld.dbf"};

inline constexpr std::string_view kRidesFile = "jizdy.dbf";
inline constexpr std::string_view kWatchTypesFile = "typ_hld.dbf";
inline constexpr std::string_view kResultFile = "VYSLEDEK.dbf";
inline constexpr std::string_view kAuxiliaryFile = "pomocne.dbf";

// The fields of a table as this version creates it, in physical order. Every
// "number" column of a new table is F(20,4): wide enough for month codes
// (2003005) and for worked-out figures kept at four decimals. Empty for a
// file that is not one of the six.
std::vector<FieldDef> CreatedFields(std::string_view fileName);

// The tables with their maintained indexes, in the order in which opening a
// database makes sure they exist. Each index is named like the single field
// it sorts, ascending.
struct IndexedTable {
    std::string_view fileName;
    std::vector<std::string_view> indexes;
};
const std::vector<IndexedTable>& MaintainedIndexes();

// What an upgrade writes into the existing rows of a column it adds.
enum class BackFill {
    kNone,
    kYearOfDate,  // the year of DATUM; a ride without a date gets 1899
    kZero,
    kFalse,
};

// A column that older ride tables lack, with the ALTER TABLE clause that
// adds it (in the order in which they are added).
struct UpgradeColumn {
    std::string_view name;
    std::string_view clause;  // "add column rok Integer"
    BackFill fill;
    std::string_view gaugeText;  // shown while the rows are back-filled
};
const std::vector<UpgradeColumn>& RideUpgradeColumns();

// The year given to a ride without a date: that of the zero date 30.12.1899.
inline constexpr int kZeroDateYear = 1899;

}  // namespace kolvio
