// The common part of the new-bike and the new-watch-type screens: a new row
// of a list whose rows are identified by a pair of texts, typed or picked
// from preset lists, with the existing rows shown beside them.
//
// Both screens are also opened by the new-ride screen for a side task;
// after a stored row the dataset stands on it, so the caller can take it.
#pragma once

#include <QString>
#include <QStringList>

#include "app/child_windows.h"
#include "lists/list_screen.h"

class QComboBox;
class QPushButton;

namespace kolvio {

class DBGrid;
class Table;

class TPairAdder : public TFData_Zakl {
    Q_OBJECT
public:
    QComboBox *ComboBox1, *ComboBox2;
    DBGrid* DBGrid1;
    QPushButton* Button1;  // "PŘIDEJ"

    // Leaving the first list: tells the rider when its text exists already.
    void ComboBox1Exit();
    void Button1Click();

protected:
    struct Field {
        const char* name;
        QString caption;  // "Typ:"
        QString column;   // "typ"
        QString hint;
        QStringList presets;
        int maxLength;
    };
    struct Texts {
        QString group;  // "Nové kolo:"
        QString gridHint;
        QList<int> weights;
        int weightTotal;
        QString addHint;      // of "PŘIDEJ"
        QString firstExists;  // question on leaving the first list
        bool upperCase;       // store the texts upper-cased
    };

    TPairAdder(TForm_hl& main, const ListDescription& list, const Field& first, const Field& second,
               const Texts& texts);
    void FormClose() override;

private:
    const char* field1_;
    const char* field2_;
    Texts texts_;
    ScreenRider rider_;
    ListRule rule_;
    ExitHooks exits_;
    bool closing_ = false;
};

}  // namespace kolvio
