// The page "Jednotlivá trať" of the query builder: the rides of the route
// shown, in both directions or in one.
#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "app/widgets/field_binding.h"
#include "data/table.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kolvio {

class Criterion;
class Database;

class RoutePage final : public QWidget {
    Q_OBJECT
public:
    // `routesCriterion` is the one of the page "Tratě": only one of the two
    // route conditions is used at a time.
    RoutePage(QWidget* parent, Database& db, std::string* fragment, Criterion* routesCriterion);

    // The page became the one shown: with its box ticked, the route table
    // goes back to the route the condition was built for.
    void pageShown();

    QLineEdit *EKod1, *EKod2, *EStart, *ECil, *EMezi;
    QPushButton *BPrvni, *BPredchozi, *BDalsi, *BPosledni;  // the route navigator
    QRadioButton *RBObaSmery, *RBZobrazeny, *RBOpacny;      // "Omezení směru:"
    QPushButton* BPosledniTrat;                             // "Poslední projetá trať"
    QCheckBox* CBPouzit;
    Criterion* criterion;
    // Where the route of the condition is in the route table.
    std::optional<Bookmark> RememberedRoute;

    void BPosledniTratClick();

private:
    bool build(std::string* fragment);
    void move(Status (Table::*step)());

    Database& db_;
    Criterion* routes_;
    BindingGroup bindings_;
};

}  // namespace kolvio
