// The presets with which the navigator's evaluation buttons open the query
// builder.
//
// A preset names the column list the builder offers and the fixed pieces of
// its statement. The statistics presets group by the code of the thing they
// count (or by the month code) and put that code into the result as an
// extra column, so that the result viewer can label the rows.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kolvio {

struct QueryPreset {
    int columnList = 0;
    bool orderByFirstColumn = true;
    bool useGroupBy = false;
    std::string selectPrefix;
    std::string selectSuffix;
    std::string groupPrefix;
    std::string groupSuffix;
    std::string orderPreset;
    std::string orderSuffix;

    bool operator==(const QueryPreset&) const = default;
};

// One evaluation button of the navigator and the preset it hands the builder.
struct EvaluationButton {
    std::string_view name;  // "RButton12"
    QueryPreset preset;
};

// The eight buttons that open the builder, in the navigator's order
// ("Extrémy" opens a screen of its own and is not among them).
std::span<const EvaluationButton> EvaluationButtons();
// The preset of a button; the general preset (list 0, nothing fixed) for a
// name that is not one of the eight.
QueryPreset PresetOfButton(std::string_view buttonName);

}  // namespace kolvio
