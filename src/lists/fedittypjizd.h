// The ride type editor FEditTypJizd: the primary ride types and, beside
// them, the secondary types of the selected one, each changed through bound
// boxes and deleted with "Vymazat".
//
// A change is checked before it is stored (name present, the rider agrees,
// with a stronger question when rides use the type) and after (the name of
// another type); a change rejected after storing is written back from the
// row as the table kept it before the change. The four handlers live on the
// shared datasets only while the screen is open.
#pragma once

#include <optional>

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
    Status TTRNZBeforePost(Table& trnz);
    Status TTRNZAfterPost(Table& trnz);
    Status TTRNBeforePost(Table& trn);
    Status TTRNAfterPost(Table& trn);
    void TTRNZZpet();
    void TTRNZpet();
    // Whether rides use the type; nullopt when the rides cannot be read.
    std::optional<bool> usedInRides(const char* codeField, int64_t code);

    Table& trnz_;
    Table& trn_;
    TableHandlers handlers_;
    BindingGroup primaryBindings_, secondaryBindings_;
};

}  // namespace kolvio
