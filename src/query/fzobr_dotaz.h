// The result viewer TFZobr_Dotaz ("Zobrazení výsledku dotazu"): VYSLEDEK
// in a grid with readable titles and the display formats of the values,
// sorted by a click on a column title (the highest values first), rows
// deleted from the result, rows and columns swapped, and the column widths
// remembered in "Zobr_Vysledek_1".
//
// Its context menu also sums up the current column (sum, average, maximum,
// minimum, shown as the column shows its values) and counts the rows; the
// pages "Graf-příprava" and "Graf-zobrazení" draw the result as a chart.
// A drawn chart is shown only while the choices and rows it was drawn from
// stay as they were.
//
// The grid reads the rows it shows on demand, so a result of a million rows
// opens as fast as a small one. Closing the viewer brings back the window
// that opened it.
#pragma once

#include "app/child_windows.h"
#include "app/table_handlers.h"
#include "query/summaries.h"

class QAction;
class QMenu;
class QTabWidget;
class QTableView;

namespace kolvio {

namespace chart {
class ChartWidget;
}

class ChartPreparationPage;
class DBGrid;
class Table;

class TFZobr_Dotaz final : public TFVyhod_Zakl {
    Q_OBJECT
public:
    // Opens VYSLEDEK (building its sort indexes first when "index_soubory"
    // asks for it) and makes the viewer; null, after telling the rider why,
    // when the table cannot be opened.
    static TFZobr_Dotaz* Create(TForm_hl& main);
    ~TFZobr_Dotaz() override;

    QTabWidget* PageControl1;
    DBGrid* DBGrid1;
    QTableView* swappedView;  // the swapped layout: one column per row of the result
    QMenu* PopupMenu1;
    QAction *MSoucet, *MPrumer, *MMax, *MMin, *MPocet, *MVymaz, *MProhodSR;
    ChartPreparationPage* TabGrafPriprava;  // "Graf-příprava"
    QWidget* TabGrafZobrazeni;              // "Graf-zobrazení"
    chart::ChartWidget* Graf1;

    void MVymazClick();
    void MProhodSRClick();
    bool swapped() const;

    // The four aggregates of the current column and the row count, each in
    // the result dialog.
    void summary(SummaryKind kind);
    void MPocetClick();
    // Enables the aggregates for a summable current column only.
    void enableSummaries();

    // Hides the chart page (and the preparation page too while the result
    // has fewer than two rows).
    void Zmena();
    // "Zobrazit graf": draws the chosen fields and shows the chart page.
    void Button1Click();

    // Column widths in "Zobr_Vysledek_1", by field name (not with one column
    // or none).
    void saveWidths();
    void restoreWidths();

protected:
    void FormClose() override;

private:
    explicit TFZobr_Dotaz(TForm_hl& main);
    void buildSortIndexes();
    void buildChartPages();
    void showMenu(const QPoint& at);
    void pageChanged(int index);
    Table& result() const;
    // The grid column of the current field (in either layout), or -1.
    int currentColumn() const;

    TableHandlers handlers_;
    int lastColumn_ = 0;  // the current field while the grid has no rows
};

}  // namespace kolvio
