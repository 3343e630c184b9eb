// The task screens the navigator can open.
//
// Each subsystem registers the screens it provides, under the class name of
// the screen ("TFNovaJizda"); a navigator button whose screen is not
// registered is shown disabled. The query builder is registered apart: the
// evaluation buttons hand it a preset.
#pragma once

#include <QString>
#include <functional>

namespace kolvio {

class TForm_hl;
class TFZakl;

using ScreenFactory = std::function<TFZakl*(TForm_hl& main)>;

// What an evaluation button of the navigator hands the query builder: the
// number of the column list to offer and the fixed statement pieces. The
// builder starts from list 0, OrderByFirstColumn on, UseGroupBy off and all
// pieces empty.
struct QueryPreset {
    int columnList = 0;
    bool orderByFirstColumn = true;
    bool useGroupBy = false;
    QString selectPrefix;
    QString selectSuffix;
    QString groupPrefix;
    QString groupSuffix;
    QString orderPreset;
    QString orderSuffix;

    bool operator==(const QueryPreset&) const = default;
};

using QueryBuilderFactory = std::function<TFZakl*(TForm_hl& main, const QueryPreset& preset)>;

void RegisterScreen(const QString& className, ScreenFactory factory);
// Null when no such screen is registered.
ScreenFactory FindScreen(const QString& className);
void RegisterQueryBuilder(QueryBuilderFactory factory);
QueryBuilderFactory FindQueryBuilder();
// Forgets every registration (tests).
void ClearScreens();

}  // namespace kolvio
