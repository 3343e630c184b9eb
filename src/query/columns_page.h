// The page "Zobrazit" of the query builder: the labels on offer ("Výběr:")
// and the chosen ones in statement order ("Vybráno:"), with the eight
// buttons that move labels between the lists and within "Vybráno:".
#pragma once

#include <string>
#include <vector>

#include "query/chooser_lists.h"

namespace kolvio {

class ColumnsPage final : public ChooserLists {
    Q_OBJECT
public:
    explicit ColumnsPage(QWidget* parent) : ChooserLists(parent) {}

    // Clears "Výběr:" and fills it with the labels of column list `number`.
    void FillColumnList(int number);
    // The labels of "Vybráno:", in order.
    std::vector<std::string> chosen() const;
};

}  // namespace kolvio
