// The ride editor FEditJizd: the stored rides by date in a grid, and every
// figure of the current ride in boxes.
//
// The editor holds no figures of its own. A box left with another value
// writes it into the current ride at once (the ride enters edit), together
// with what is worked out from it (ride_edit_rules); the ride is stored when
// the rider moves to another ride or leaves the screen, after "Zapsat
// provedené změny?" and the check that a measured ride has a watch type.
// A change that check refuses never survives unchecked: "ZRUŠ" keeps the
// rider on the screen, and a closing program drops it with a message.
#pragma once

#include <map>

#include "app/child_windows.h"
#include "app/table_handlers.h"
#include "lists/list_screen.h"
#include "rides/ride_controls.h"

class QLineEdit;
class QPushButton;

namespace kolvio {

class DBGrid;
class Table;

class TFEditJizd final : public TFData_Zakl, public RideControls {
    Q_OBJECT
public:
    explicit TFEditJizd(TForm_hl& main);

    DBGrid* DBGrid1;       // the dates of the rides
    QLineEdit* DBEdit1;    // riders
    QLineEdit* DBEdit2;    // description, bound to POPIS1
    QPushButton* Button1;  // "Vymaž"

    // Fills every box from the current ride (after each move and change).
    void Table1AfterScroll();
    Status TTable1BeforePost(Table& rides);
    void ETRPExit(RideBox box);  // every figure box and the riders (DBEdit1Exit)
    void sr_merClick();
    void DBLookupComboBox6Click();
    void ArrowButton1Click();
    void Button1Click();

protected:
    void FormClose() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    Table& rides() const;
    bool editing() const;
    // Writes changed fields into the ride, putting it into edit first.
    bool write(const FieldChanges& changes);
    // Checks the box that has the focus as if it were left; false when it
    // was refused.
    bool leaveFocusedBox();
    QLineEdit* editBox(RideBox which) const;
    // Resolves a pending change before the screen goes: stored, cancelled,
    // or (false) refused, with the rider kept on the screen.
    bool settleChange();
    void enableHeartBoxes(bool on);

    TableHandlers handlers_;
    ExitHooks exits_;
    std::map<RideBox, QString> shown_;  // what each box was filled with
    bool refused_ = false;              // the last box left was refused
    bool closing_ = false;
    bool leaving_ = false;  // "ZRUŠ" is resolving the change
};

}  // namespace kolvio
