// The new-ride-type screen FNovyTypJizd. On the page "Základní typ" it adds
// a primary ride type together with its first secondary type; on the page
// "Vedlejší typ" a secondary type of the primary type selected in the grid.
// A primary type holds at most 99 secondary types (codes p×100+1..p×100+99).
//
// Opened from the navigator, or by the new-ride screen for a side task;
// afterwards the primary and secondary datasets stand on the added rows.
#pragma once

#include "app/child_windows.h"
#include "lists/list_screen.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kolvio {

class DBGrid;

class TFNovyTypJizd final : public TFData_Zakl {
    Q_OBJECT
public:
    explicit TFNovyTypJizd(TForm_hl& main);

    QTabWidget* PageControl1;
    DBGrid *DBGrid1, *DBGrid2;  // primary types; secondary types of the selected one
    QLineEdit* DBEdit1;         // name of the selected primary type
    QLineEdit *Edit1, *Edit2;   // new primary and secondary name
    QLabel* Label2;             // "Základní typ:"
    QCheckBox* CheckBox1;       // "Základní typ bez tras"
    QPushButton* Button1;       // "PŘIDEJ"

    void PageControl1Change();
    void Button1Click();

private:
    void Zmena();

    ScreenRider rider_;
    ListRule primaryRule_, secondaryRule_;
};

}  // namespace kolvio
