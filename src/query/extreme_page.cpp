#include "query/extreme_page.h"

#include <QListWidget>

#include "query/extreme_entries.h"

namespace kolvio {

ExtremePage::ExtremePage(QWidget* parent) : ChooserLists(parent) {
    for (const ExtremeEntry& entry : ExtremeEntries()) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.caption), ListBox1);
        item->setData(Qt::UserRole, entry.code);
    }
}

std::vector<ChosenExtreme> ExtremePage::chosen() const {
    std::vector<ChosenExtreme> entries;
    for (int i = 0; i < ListBox2->count(); ++i) {
        const QListWidgetItem* item = ListBox2->item(i);
        bool isNumber = false;
        const int code = item->data(Qt::UserRole).toInt(&isNumber);
        entries.push_back({item->text().toStdString(), isNumber ? code : 0});
    }
    return entries;
}

}  // namespace kolvio
