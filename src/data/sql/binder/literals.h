// Reading quoted literals as numbers, dates and logical values.
//
// The statements of the query screens quote every value ("5", "1.1.2024"),
// so a quoted literal takes the type of what it is compared with.
#pragma once

#include <optional>
#include <string_view>

#include "data/value.h"

namespace kolvio::sql {

// "12", " -3.5 ", "2,25" (decimal comma), "1e3"; surrounding blanks allowed.
std::optional<double> ParseNumberLiteral(std::string_view text);

// "d.M.yyyy" as the Czech date pickers write it ("1.1.2024", "01.01.2024",
// "1. 1. 2024") or ISO "yyyy-mm-dd"; the year has four digits. nullopt for
// anything else and for days that do not exist (31.2.2024).
std::optional<Date> ParseDateLiteral(std::string_view text);

// T/F, Y/N, TRUE/FALSE, ANO/NE, 1/0, case-insensitive.
std::optional<bool> ParseBoolLiteral(std::string_view text);

}  // namespace kolvio::sql
