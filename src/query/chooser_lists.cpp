#include "query/chooser_lists.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "query/builder_parts.h"

namespace kolvio {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint) {
    auto* b =
        Control(new QPushButton(QString::fromUtf8(caption), parent), name, QString::fromUtf8(hint));
    b->setAutoDefault(false);
    return b;
}

// Moves every row of `from`, or its selected ones, to the end of `to`, in
// order.
void MoveRows(QListWidget* from, QListWidget* to, bool all) {
    QList<QListWidgetItem*> moving;
    for (int i = 0; i < from->count(); ++i) {
        if (all || from->item(i)->isSelected()) moving.append(from->item(i));
    }
    for (QListWidgetItem* item : moving)
        to->addItem(from->takeItem(from->row(item)));
}

}  // namespace

ChooserLists::ChooserLists(QWidget* parent) : QWidget(parent) {
    ListBox1 = Control(new QListWidget(this), "ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox2 = Control(new QListWidget(this), "ListBox2");
    ListBox2->setSelectionMode(QAbstractItemView::SingleSelection);

    BVseVybrat = Button(this, "BVseVybrat", ">>", "Vybere vše");
    BVybrat = Button(this, "BVybrat", ">", "Vybere aktivní");
    BZpet = Button(this, "BZpet", "<", "Zpět aktivní");
    BVseZpet = Button(this, "BVseZpet", "<<", "Zpět vše");
    BNaPrvni = Button(this, "BNaPrvni", "/\\/\\", "Aktivní na první místo");
    BNahoru = Button(this, "BNahoru", "/\\", "Aktivní o jednu výše");
    BDolu = Button(this, "BDolu", "\\/", "Aktivní o jednu níže");
    BNaPosledni = Button(this, "BNaPosledni", "\\/\\/", "Aktivní na poslední místo");

    auto* grid = new QGridLayout(this);
    auto* offered = new QLabel(QStringLiteral("Výběr:"), this);
    offered->setBuddy(ListBox1);
    auto* chosen = new QLabel(QStringLiteral("Vybráno:"), this);
    chosen->setBuddy(ListBox2);
    grid->addWidget(offered, 0, 0);
    grid->addWidget(chosen, 0, 2);
    grid->addWidget(ListBox1, 1, 0);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton* b : {BVseVybrat, BVybrat, BZpet, BVseZpet})
        moves->addWidget(b);
    moves->addStretch();
    grid->addLayout(moves, 1, 1);
    grid->addWidget(ListBox2, 1, 2);
    auto* order = new QVBoxLayout;
    order->addStretch();
    for (QPushButton* b : {BNaPrvni, BNahoru, BDolu, BNaPosledni})
        order->addWidget(b);
    order->addStretch();
    grid->addLayout(order, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    connect(BVseVybrat, &QPushButton::clicked, this, &ChooserLists::BVseVybratClick);
    connect(BVybrat, &QPushButton::clicked, this, &ChooserLists::BVybratClick);
    connect(BZpet, &QPushButton::clicked, this, &ChooserLists::BZpetClick);
    connect(BVseZpet, &QPushButton::clicked, this, &ChooserLists::BVseZpetClick);
    connect(BNaPrvni, &QPushButton::clicked, this, [this] { moveChosenTo(0); });
    connect(BNahoru, &QPushButton::clicked, this,
            [this] { moveChosenTo(ListBox2->currentRow() - 1); });
    connect(BDolu, &QPushButton::clicked, this,
            [this] { moveChosenTo(ListBox2->currentRow() + 1); });
    connect(BNaPosledni, &QPushButton::clicked, this,
            [this] { moveChosenTo(ListBox2->count() - 1); });
    // Moving with the keyboard: Enter on a label moves it.
    connect(ListBox1, &QListWidget::itemActivated, this, &ChooserLists::BVybratClick);
    connect(ListBox2, &QListWidget::itemActivated, this, &ChooserLists::BZpetClick);
}

void ChooserLists::BVseVybratClick() {
    MoveRows(ListBox1, ListBox2, true);
}

void ChooserLists::BVybratClick() {
    MoveRows(ListBox1, ListBox2, false);
}

void ChooserLists::BZpetClick() {
    QListWidgetItem* item = ListBox2->currentItem();
    if (!item || !item->isSelected()) return;
    ListBox1->addItem(ListBox2->takeItem(ListBox2->row(item)));
}

void ChooserLists::BVseZpetClick() {
    MoveRows(ListBox2, ListBox1, true);
}

void ChooserLists::moveChosenTo(int target) {
    const int from = ListBox2->currentRow();
    if (from < 0 || !ListBox2->currentItem()->isSelected()) return;
    target = std::clamp(target, 0, ListBox2->count() - 1);
    QListWidgetItem* item = ListBox2->takeItem(from);
    ListBox2->insertItem(target, item);
    ListBox2->setCurrentItem(item);
    item->setSelected(true);
}

}  // namespace kolvio
