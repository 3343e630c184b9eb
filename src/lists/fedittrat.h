// The route editor FEditTrat: the routes in a read-only grid, the current
// route changed through five bound boxes, deleted, ordered by a click on a
// column title, and its waypoints reversed (with the directions of the rides
// that use it, when the rider wants).
//
// A change is checked by the routes' ListRule before it is stored and after;
// its handlers live on the shared routes dataset only while the screen is
// open.
#pragma once

#include <QString>

#include "app/child_windows.h"
#include "app/widgets/field_binding.h"
#include "lists/list_screen.h"

class QLineEdit;
class QMenu;
class QPushButton;
class QAction;

namespace kolvio {

class DBGrid;

class TFEditTrat final : public TFData_Zakl {
    Q_OBJECT
public:
    explicit TFEditTrat(TForm_hl& main);
    ~TFEditTrat() override;

    DBGrid* DBGrid1;
    QLineEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit5, *DBEdit4;  // N1, N2, start, waypoints, finish
    QPushButton* Button1;                                        // "Vymaž"
    QMenu* PMenu1;
    QAction* MOtocPoradi;

    void Button1Click();
    void MOtocPoradiClick();
    void DBGrid1TitleClick(int column);

protected:
    void FormClose() override;

private:
    Table& routes() const;

    ScreenRider rider_;
    ListRule rule_;
    BindingGroup bindings_;
    TableHandlers handlers_;  // after what its handlers use: detached first
    bool ordered_ = false;    // a title click chose an ordering
};

}  // namespace kolvio
