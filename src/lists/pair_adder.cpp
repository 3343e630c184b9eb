#include "lists/pair_adder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/widgets/db_grid.h"
#include "lists/list_rules.h"
#include "lists/list_screen.h"

namespace kolvio {

TPairAdder::TPairAdder(TForm_hl& main, Table& table, const char* codeField, const Field& first,
                       const Field& second, const Texts& texts)
    : TFData_Zakl(main),
      table_(table),
      codeField_(codeField),
      field1_(first.name),
      field2_(second.name),
      texts_(texts) {
    QGridLayout* grid = nullptr;
    QGroupBox* added = Group(this, texts.group, &grid);
    ComboBox1 = Named(EditableList(added, first.presets, first.maxLength), "ComboBox1", first.hint);
    ComboBox2 =
        Named(EditableList(added, second.presets, second.maxLength), "ComboBox2", second.hint);
    for (QComboBox* list : {ComboBox1, ComboBox2})
        list->setEditText(QString());
    AddRow(grid, first.caption, ComboBox1);
    AddRow(grid, second.caption, ComboBox2);

    auto* existing = new QGroupBox(QStringLiteral("Stávající typy:"), this);
    DBGrid1 = Named(new DBGrid(table,
                               {{QString::fromLatin1(first.name), first.column},
                                {QString::fromLatin1(second.name), second.column}},
                               existing),
                    "DBGrid1", texts.gridHint);
    DBGrid1->setColumnWeights(texts.weights, texts.weightTotal);
    (new QVBoxLayout(existing))->addWidget(DBGrid1);

    body()->addWidget(added);
    body()->addWidget(existing, 1);

    Button1 = Named(new QPushButton(QStringLiteral("PŘIDEJ"), this), "Button1", texts.addHint);
    buttonRow()->insertWidget(buttonRow()->count() - 1, Button1);

    exits_.on(ComboBox1, [this] { ComboBox1Exit(); });
    connect(Button1, &QPushButton::clicked, this, &TPairAdder::Button1Click);
}

void TPairAdder::ComboBox1Exit() {
    if (closing_) return;
    bool occurs = false;
    if (!StoreOk(
            ValueOccurs(table_, field1_, ComboBox1->currentText().toStdString(), 1, &occurs)) ||
        !occurs) {
        return;
    }
    // Only informs: on Yes the text stays as typed.
    if (!Confirm(texts_.firstExists)) RefocusLater(ComboBox1);
}

void TPairAdder::Button1Click() {
    const QString first = ComboBox1->currentText();
    const QString second = ComboBox2->currentText();
    if ((first.isEmpty() || second.isEmpty()) && !Confirm(texts_.emptyQuestion)) return;
    // Letter case does not count in the test (the texts are compared folded).
    bool occurs = false;
    if (!StoreOk(PairOccurs(table_, field1_, first.toStdString(), field2_, second.toStdString(), 1,
                            &occurs))) {
        return;
    }
    if (occurs) {
        Warn(texts_.duplicate);
        return;
    }
    if (!Confirm(QStringLiteral("Opravdu přidat do databáze?"))) return;

    int64_t code = 0;
    if (!StoreOk(NextFreeCode(table_, codeField_, &code))) return;
    // Locale-aware, so that accented letters are upper-cased too.
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    const auto stored = [&](const QString& text) {
        return (texts_.upperCase ? czech.toUpper(text) : text).toStdString();
    };
    RowEdit row(table_);
    row.append().set(
        {{codeField_, Value(code)}, {field1_, stored(first)}, {field2_, stored(second)}});
    if (!StoreOk(row.commit())) return;
    if (PoZasKonec->isChecked()) {
        closeScreen();
    } else {
        ComboBox1->setEditText(QString());
        ComboBox2->setEditText(QString());
    }
}

void TPairAdder::FormClose() {
    closing_ = true;
    if (table_.state() == DatasetState::kInsert) table_.cancel();
}

}  // namespace kolvio
