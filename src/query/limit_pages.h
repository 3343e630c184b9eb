// The criteria pages with number limits: "Počet osob" (riders on the ride)
// and "Srdce" (watch types and heart-rate limits).
//
// A number field is checked when it is left: a text that is not a whole
// number, or one out of range, is refused with a warning and the field gets
// the focus back with the number it held before. An operator list that is
// left holding a text it does not offer gets the focus back, silently.
// Every change of an input drops the page's condition and unticks "Použít".
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "query/builder_parts.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kolvio {

class Database;
class PickList;

// A number field and the number it last held that passed its check.
struct NumberField {
    QLineEdit* edit = nullptr;
    QString accepted;
};

// One limit: a tick box, an operator list (none for the equality) and a number.
struct LimitControls {
    QCheckBox* on = nullptr;
    QComboBox* op = nullptr;
    NumberField number;
};

class PersonsPage final : public QWidget {
    Q_OBJECT
public:
    PersonsPage(QWidget* parent, std::string* fragment);

    LimitControls lower, upper, equal;  // "Spodní limit", "Horní limit", "Rovnost"
    QCheckBox* CBPouzit;
    Criterion* criterion;

private:
    void numberExit(NumberField* field);

    ExitChecks exits_;
};

class HeartPage final : public QWidget {
    Q_OBJECT
public:
    HeartPage(QWidget* parent, Database& db, std::string* fragment);

    PickList* picks;         // watch types
    QPushButton* BPosledni;  // "Poslední použitý typ"
    // Lower and upper limit of "Stanovený limit:", "Maximální tep:",
    // "Doba překročení limitu %:", in this order.
    std::array<LimitControls, 6> limits;
    QCheckBox* CBPouzit;
    YesNoChoice* Vyber;
    Criterion* criterion;

    void BPosledniClick();

private:
    void numberExit(int limit);

    Database& db_;
    ExitChecks exits_;
};

}  // namespace kolvio
