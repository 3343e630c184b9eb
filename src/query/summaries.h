// The summaries of a result column (the viewer's context menu): the
// statement that works a sum, average, maximum or minimum out over the
// result table, and the caption the result dialog shows with it.
#pragma once

#include <string>
#include <string_view>

namespace kolvio {

enum class SummaryKind { kSum, kAverage, kMaximum, kMinimum };

// "select SUM (DELKA) AS vysl from VYSLEDEK.dbf" (AVG, MAX, MIN for the
// others). Empty when `field` is not a plain field name (letters, digits and
// "_"), so that no text of a damaged table can become part of a statement.
std::string SummaryStatement(SummaryKind kind, std::string_view field, std::string_view tableFile);

// The result field of SummaryStatement.
inline constexpr char kSummaryField[] = "vysl";

// "Součet-měřená délka:", "Průměr-…:", "Maximum-…:", "Minimum-…:".
std::string SummaryCaption(SummaryKind kind, std::string_view title);

// The caption of the row count.
inline constexpr char kCountCaption[] = "Počet záznamů:";

}  // namespace kolvio
