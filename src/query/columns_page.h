// The page "Zobrazit" of the query builder: the labels on offer ("Výběr:")
// and the chosen ones in statement order ("Vybráno:"), with the eight
// buttons that move labels between the lists and within "Vybráno:".
#pragma once

#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace kolvio {

class ColumnsPage final : public QWidget {
    Q_OBJECT
public:
    explicit ColumnsPage(QWidget* parent);

    // Clears "Výběr:" and fills it with the labels of column list `number`.
    void FillColumnList(int number);
    // The labels of "Vybráno:", in order.
    std::vector<std::string> chosen() const;

    QListWidget *ListBox1, *ListBox2;  // "Výběr:", "Vybráno:"
    QPushButton *BVseVybrat, *BVybrat, *BZpet, *BVseZpet;
    QPushButton *BNaPrvni, *BNahoru, *BDolu, *BNaPosledni;

    // ">>", ">", "<", "<<"
    void BVseVybratClick();
    void BVybratClick();
    void BZpetClick();
    void BVseZpetClick();
    // Moves the selected chosen label to `target` (clamped to the list).
    void moveChosenTo(int target);
};

}  // namespace kolvio
