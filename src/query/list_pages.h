// The criteria pages that choose reference rows into a list: "Tratě",
// "Typ tréninku" and "Typ kola" (and the watch types of "Srdce").
//
// The rows are picked from grids over the shared reference tables: the row
// shown as current is added with its code and names; a code is listed once.
// The "Poslední ..." buttons put a grid on the row the latest ride used.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "app/widgets/dataset_model.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace kolvio {

class ChosenList;
class Criterion;
class Database;
class DBGrid;
class Table;
class YesNoChoice;

// A grid over a reference table, the button that adds its current row to a
// chosen list, and the "X" that removes the selected row of the list.
class PickList final : public QWidget {
    Q_OBJECT
public:
    struct Setup {
        QString gridTitle;
        QList<GridColumn> gridColumns;
        const char* codeField;
        // The names listed after the code, read from the current row.
        std::function<QStringList()> names;
        QStringList listColumns;
        QString listTitle;
        QString addCaption;  // ">" or "\/"
        // The list beside the grid, under it, or placed by the page
        // (listBox is then left out of this widget's layout).
        enum class Arrangement { kBeside, kUnder, kApart } arrangement;
    };
    PickList(QWidget* parent, Table& table, const Setup& setup);

    // Adds the current row of the table; false when there is none or its
    // code is listed already.
    bool addCurrent();

    DBGrid* grid;
    QPushButton* add;
    QWidget* listBox;
    ChosenList* list;
    QPushButton* remove;

signals:
    // A row was added by the button or removed by "X".
    void changed();

private:
    Table& table_;
    const char* codeField_;
    std::function<QStringList()> names_;
};

// Moves `table` to the row whose `field` holds `code`; false (and no move)
// when no row does, or when the table could not be read (the store's message
// is shown).
bool PositionOnCode(Table& table, const char* field, const Value& code);
// The values of the code fields in the latest ride; empty when there is no
// ride, or when they could not be read (the store's message is shown).
std::vector<Value> LatestRideCodes(Database& db, const std::vector<std::string_view>& fields);

// "Tratě": routes.
class RoutesPage final : public QWidget {
    Q_OBJECT
public:
    RoutesPage(QWidget* parent, Database& db, std::string* fragment);
    PickList* picks;
    QCheckBox* CBPouzit;
    YesNoChoice* Vyber;
    Criterion* criterion;
    // The grid was ordered by a title click (the ordering is dropped when
    // the builder closes).
    bool ordered = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// "Typ tréninku": primary or secondary ride types.
class RideTypePage final : public QWidget {
    Q_OBJECT
public:
    RideTypePage(QWidget* parent, Database& db, std::string* fragment);
    PickList *primary, *secondary;
    QRadioButton *RBZakladni, *RBVedlejsi;  // "Jaký typ použít:"
    QStackedWidget* lists;
    QPushButton* BPosledni;  // "Poslední použitý typ"
    QCheckBox* CBPouzit;
    YesNoChoice* Vyber;
    Criterion* criterion;

    void BPosledniClick();

private:
    Database& db_;
};

// "Typ kola": bikes.
class BikePage final : public QWidget {
    Q_OBJECT
public:
    BikePage(QWidget* parent, Database& db, std::string* fragment);
    PickList* picks;
    QPushButton* BPosledni;  // "Poslední použité kolo"
    QCheckBox* CBPouzit;
    YesNoChoice* Vyber;
    Criterion* criterion;

    void BPosledniClick();

private:
    Database& db_;
};

}  // namespace kolvio
