// The new-route screen FNovaTrat: start, finish, two short codes and the
// waypoints of a route, picked from preset places and from the places of the
// latest rides, stored as a new row of the routes table.
//
// Opened from the navigator, or by the new-ride screen for a side task (with
// ReturnToNavigator off and itself as ReturnForm); after a stored route the
// routes dataset stands on its last row, the new route.
#pragma once

#include "app/child_windows.h"
#include "lists/list_screen.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kolvio {

class Table;

class TFNovaTrat final : public TFData_Zakl {
    Q_OBJECT
public:
    explicit TFNovaTrat(TForm_hl& main);

    QComboBox *CBStart, *CBCil, *CBPrujezd;
    QLineEdit *Edit1, *Edit2, *Edit3;  // waypoints, "Kód 1", "Kód 2"
    QPushButton *BPridej, *Button1, *Button2;

    void CBStartExit(QComboBox* list);
    void Edit2Exit();
    void Edit3Exit();
    void BPridejClick();
    void Button1Click();
    void Button2Click();

protected:
    void FormClose() override;

private:
    void FormCreate();
    void Nacti50Poslednich();
    Table& routes() const;

    ScreenRider rider_;
    ListRule rule_;
    ExitHooks exits_;
    bool closing_ = false;
};

}  // namespace kolvio
