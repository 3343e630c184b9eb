// The common part of the bike editor and the watch type editor: lists whose
// rows are identified by a pair of texts (type and make of a bike,
// abbreviation and description of a watch type).
//
// The current row is changed through two bound drop-down lists. Leaving
// either list while the row is being edited stores the change through the
// checks of the list's ListRule (the question, then the pair of another
// row, which writes the change back).
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

    // Leaving either list: stores a change through the checks of the list.
    void DBComboBox1Exit();
    void Button1Click();

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
    };

    TPairEditor(TForm_hl& main, const ListDescription& list, const Field& first,
                const Field& second, const Layout& layout);

    void FormClose() override;

private:
    ScreenRider rider_;
    ListRule rule_;
    BindingGroup bindings_;
    ExitHooks exits_;
    TableHandlers handlers_;  // after what its handlers use: detached first
};

}  // namespace kolvio
