#include "query/statement.h"

#include "query/column_catalogue.h"

namespace kolvio {

namespace {

// Appends `item` to a comma-separated list, with no separator next to an
// empty list or an empty item.
void Join(std::string* list, const std::string& item) {
    if (item.empty()) return;
    if (!list->empty()) *list += ", ";
    *list += item;
}

}  // namespace

void ApplyPreset(BuilderState* state, const QueryPreset& preset) {
    state->OrderByFirstColumn = preset.orderByFirstColumn;
    state->UseGroupBy = preset.useGroupBy;
    state->SelectPrefix = preset.selectPrefix;
    state->SelectSuffix = preset.selectSuffix;
    state->GroupPrefix = preset.groupPrefix;
    state->GroupSuffix = preset.groupSuffix;
    state->OrderPreset = preset.orderPreset;
    state->OrderSuffix = preset.orderSuffix;
}

void SQLWherePridej(const BuilderState& state, std::vector<std::string>* lines) {
    lines->push_back("where " + state.JoinCondition);
    for (const std::string* fragment :
         {&state.DateCriterion, &state.RoutesCriterion, &state.RouteCriterion,
          &state.RideTypeCriterion, &state.BikeCriterion, &state.PersonsCriterion,
          &state.HeartCriterion}) {
        if (!fragment->empty()) lines->push_back(" and " + *fragment);
    }
}

std::vector<std::string> AssembleStatement(BuilderState* state,
                                           const std::vector<std::string>& chosen) {
    state->SelectList.clear();
    std::string groups;
    for (size_t i = 0; i < chosen.size(); ++i) {
        const std::string expression = ColumnExpression(chosen[i]);
        state->SelectList += expression;
        state->SelectList += i + 1 < chosen.size() ? ", " : " ";
        if (IsPlainColumn(chosen[i])) Join(&groups, expression);
    }

    state->OrderList = state->OrderPreset;
    if (!chosen.empty() && state->OrderByFirstColumn)
        Join(&state->OrderList, ColumnOrderKey(chosen.front()));
    Join(&state->OrderList, state->OrderSuffix);

    std::vector<std::string> lines;
    if (!state->SelectPrefix.empty()) {
        lines.push_back("select " + state->SelectPrefix);
        lines.push_back(" , " + state->SelectList);
    } else {
        lines.push_back("select " + state->SelectList);
    }
    if (!state->SelectSuffix.empty()) lines.push_back(", " + state->SelectSuffix);
    lines.push_back("from " + state->TableList);
    SQLWherePridej(*state, &lines);
    if (state->UseGroupBy) {
        std::string list = state->GroupPrefix;
        Join(&list, groups);
        Join(&list, state->GroupSuffix);
        lines.push_back(" group by " + list);
    }
    if (!state->OrderList.empty()) lines.push_back(" order by " + state->OrderList);
    return lines;
}

}  // namespace kolvio
