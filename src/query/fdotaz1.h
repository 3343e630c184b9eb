// The query builder TFDotaz1 ("Nastavení dotazu"): the rider chooses the
// output columns and ticks criteria on eight pages; "O.K." assembles one
// select statement, writes its rows into VYSLEDEK and shows them in the
// result viewer, with the builder minimised. Closing the viewer brings the
// builder back with every choice as it was; "ZRUŠ" goes back to the
// navigator.
//
// The navigator opens it with a preset (query_preset.h): the column list on
// offer and the fixed pieces of the statement.
#pragma once

#include <QList>
#include <QPointer>

#include "app/child_windows.h"
#include "query/query_preset.h"
#include "query/statement.h"

class QPushButton;
class QTabWidget;

namespace kolvio {

class BikePage;
class ColumnsPage;
class DatePage;
class HeartPage;
class LocalQuery;
class PersonsPage;
class RideTypePage;
class RoutePage;
class RoutesPage;
class TFZobr_Dotaz;

class TFDotaz1 : public TFVyhod_Zakl {
    Q_OBJECT
public:
    explicit TFDotaz1(TForm_hl& main);
    ~TFDotaz1() override;

    // The column list and the fixed pieces of a navigator button.
    void applyPreset(const QueryPreset& preset);
    // Clears "Výběr:" and offers the labels of column list `number`.
    void FillColumnList(int number);
    const BuilderState& state() const { return state_; }
    // Appends the where part of the current criteria to the query's lines.
    void SQLWherePridej(LocalQuery& query) const;

    QTabWidget* PageControl1;
    ColumnsPage* PageZobrazit;
    DatePage* PageCas;
    RoutesPage* PageTrate;
    RoutePage* PageTrat;
    RideTypePage* PageTyp;
    BikePage* PageKolo;
    PersonsPage* PageOsoby;
    HeartPage* PageSrdce;
    QPushButton* Button1;  // "O.K."

    // Runs the query and shows its result.
    virtual void Button1Click();

protected:
    void FormClose() override;
    // Adds a page with its help topic (0: the window's).
    void addPage(QWidget* page, const QString& caption, int helpContext, int at = -1);
    // Minimises the builder and shows VYSLEDEK in the result viewer, which
    // brings the builder back when it closes.
    void showResult();
    // Run again with the viewer still open (the rider came back to the
    // builder through the window list): the viewer lets go of VYSLEDEK first.
    void closeOpenViewer();

    BuilderState state_;

private:
    void pageChanged(int index);

    QList<int> pageHelp_;
    // The viewer this builder opened, while it is open.
    QPointer<TFZobr_Dotaz> viewer_;
};

}  // namespace kolvio
