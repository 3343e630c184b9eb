#include "query/columns_page.h"

#include <QListWidget>

#include "query/column_catalogue.h"

namespace kolvio {

void ColumnsPage::FillColumnList(int number) {
    ListBox1->clear();
    for (const std::string& label : ColumnListLabels(number))
        ListBox1->addItem(QString::fromStdString(label));
}

std::vector<std::string> ColumnsPage::chosen() const {
    std::vector<std::string> labels;
    for (int i = 0; i < ListBox2->count(); ++i)
        labels.push_back(ListBox2->item(i)->text().toStdString());
    return labels;
}

}  // namespace kolvio
