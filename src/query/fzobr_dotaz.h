// The result viewer TFZobr_Dotaz ("Zobrazení výsledku dotazu"): VYSLEDEK
// in a grid with readable titles and the display formats of the values,
// sorted by a click on a column title (the highest values first), rows
// deleted from the result, rows and columns swapped, and the column widths
// remembered in "Zobr_Vysledek_1".
//
// The grid reads the rows it shows on demand, so a result of a million rows
// opens as fast as a small one. Closing the viewer brings back the window
// that opened it.
#pragma once

#include "app/child_windows.h"

class QAction;
class QMenu;
class QTabWidget;
class QTableView;

namespace kolvio {

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

    void MVymazClick();
    void MProhodSRClick();
    bool swapped() const;

    // Column widths in "Zobr_Vysledek_1", by field name (not with one column
    // or none).
    void saveWidths();
    void restoreWidths();

protected:
    void FormClose() override;

private:
    explicit TFZobr_Dotaz(TForm_hl& main);
    void buildSortIndexes();
    void showMenu(const QPoint& at);
    Table& result() const;
};

}  // namespace kolvio
