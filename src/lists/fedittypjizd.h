// The ride type editor FEditTypJizd: the primary ride types and, beside
// them, the secondary types of the selected one, each changed through bound
// boxes and deleted with "Vymazat".
//
// A change is checked by the ListRule of its list before it is stored and
// after; the handlers live on the shared datasets only while the screen is
// open.
#pragma once

#include "app/child_windows.h"
#include "app/widgets/field_binding.h"
#include "lists/list_screen.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kolvio {

class DBGrid;

class TFEditTypJizd final : public TFData_Zakl {
    Q_OBJECT
public:
    explicit TFEditTypJizd(TForm_hl& main);
    ~TFEditTypJizd() override;

    DBGrid *DBGrid1, *DBGrid2;  // primary types; secondary types of the selected one
    QLineEdit *DBEdit1, *DBEdit2;
    QCheckBox* DBCheckBox1;          // "Základní typ bez tras"
    QPushButton *Button1, *Button2;  // "Vymazat" primary, secondary

    void Button1Click();
    void Button2Click();

protected:
    void FormClose() override;

private:
    Table& trnz_;
    Table& trn_;
    ScreenRider rider_;
    ListRule primaryRule_, secondaryRule_;
    BindingGroup primaryBindings_, secondaryBindings_;
    TableHandlers handlers_;  // after what its handlers use: detached first
};

}  // namespace kolvio
