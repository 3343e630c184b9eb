// The page "Časové omez." of the query builder: the current year, some of
// the years that have rides, or a range between two dates; each with
// "výběr ANO"/"výběr NE".
#pragma once

#include <QDate>
#include <QWidget>
#include <string>

class QCheckBox;
class QDateEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kolvio {

class Criterion;
class Table;
class YesNoChoice;

class DatePage final : public QWidget {
    Q_OBJECT
public:
    // `fragment` is the builder's DateCriterion; `rides` the shared rides
    // table (read through handles of its own); `today` the day the builder
    // opened.
    DatePage(QWidget* parent, std::string* fragment, Table& rides, const QDate& today);

    // Fills "Vyber rok:" with the years that have rides; false with the
    // store's message when they could not be read.
    bool fillYears(std::string* error);

    QRadioButton *RBAktualni, *RBPouzite, *RBObecne;
    QWidget *PanelRoky, *PanelObecne;
    QListWidget* CheckListRoky;  // years with rides, checkable
    QDateEdit *DateOd, *DateDo;
    QPushButton *BPosledni, *BMesic;
    QSpinBox *SpinPosledni, *SpinMesic;
    QCheckBox* CBPouzit;
    YesNoChoice* Vyber;
    Criterion* criterion;

    // "Nastav datum posledních X jízd:" and "Nastav datum měsíce číslo:".
    void BPosledniClick();
    void BMesicClick();

private:
    bool build(std::string* fragment) const;
    void showPanels();
    void odChanged(const QDate& od);
    void doChanged(const QDate& to);

    Table& rides_;
    QDate today_;
};

}  // namespace kolvio
