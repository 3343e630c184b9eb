// Two lists side by side: what is on offer ("Výběr:", several may be
// selected) and what is chosen, in order ("Vybráno:"), with the eight
// buttons that move entries between them and within "Vybráno:". Entries
// moved are appended at the end of the other list and keep what they carry
// (the extremes' codes). The builder's page "Zobrazit" and the extremes'
// page "Extrém" are made of it.
#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace kolvio {

class ChooserLists : public QWidget {
    Q_OBJECT
public:
    explicit ChooserLists(QWidget* parent);

    QListWidget *ListBox1, *ListBox2;  // "Výběr:", "Vybráno:"
    QPushButton *BVseVybrat, *BVybrat, *BZpet, *BVseZpet;
    QPushButton *BNaPrvni, *BNahoru, *BDolu, *BNaPosledni;

    // ">>", ">", "<", "<<"
    void BVseVybratClick();
    void BVybratClick();
    void BZpetClick();
    void BVseZpetClick();
    // Moves the selected chosen entry to `target` (clamped to the list); it
    // stays selected.
    void moveChosenTo(int target);
};

}  // namespace kolvio
