// The common part of the bike editor and the watch type editor: lists whose
// rows are identified by a pair of texts (type and make of a bike,
// abbreviation and description of a watch type).
//
// The current row is changed through two bound drop-down lists. Leaving
// either list while the row is being edited asks whether to store the
// change; a stored change that makes the pair equal to another row's is
// written back from the row as the table kept it before the change.
#pragma once

#include <QString>
#include <QStringList>

#include "app/child_windows.h"
#include "app/widgets/field_binding.h"
#include "lists/list_screen.h"

class QComboBox;
class QPushButton;

namespace kolvio {

class DBGrid;

class TPairEditor : public TFData_Zakl {
    Q_OBJECT
public:
    QComboBox *DBComboBox1, *DBComboBox2;
    QPushButton* Button1;  // "&Vymaž"
    DBGrid* DBGrid1;

    // Leaving either list.
    void DBComboBox1Exit();
    virtual void Button1Click() = 0;

protected:
    struct Field {
        const char* name;
        QString caption;  // of the list ("&Typ:")
        QString column;   // title of the grid column ("typ")
        QString hint;
        QStringList presets;
    };
    struct Layout {
        QString changeGroup;  // "Změna a vymazání kola :"
        QString deleteHint;
        QString gridHint;
        QList<int> weights;
        int weightTotal;
        QString duplicate;  // the warning of a stored duplicate pair
    };

    TPairEditor(TForm_hl& main, Table& table, const Field& first, const Field& second,
                const Layout& layout);

    void FormClose() override;
    Table& table() const { return table_; }

private:
    Table& table_;
    const char* field1_;
    const char* field2_;
    QString duplicate_;
    BindingGroup bindings_;
    ExitHooks exits_;
};

}  // namespace kolvio
