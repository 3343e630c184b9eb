#include "lists/pair_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/widgets/db_grid.h"
#include "lists/list_rules.h"

namespace kolvio {

TPairEditor::TPairEditor(TForm_hl& main, Table& table, const Field& first, const Field& second,
                         const Layout& layout)
    : TFData_Zakl(main),
      table_(table),
      field1_(first.name),
      field2_(second.name),
      duplicate_(layout.duplicate) {
    PoZasKonec->hide();

    QGridLayout* grid = nullptr;
    QGroupBox* change = Group(this, layout.changeGroup, &grid);
    DBComboBox1 = Named(EditableList(change, first.presets, 0), "DBComboBox1", first.hint);
    DBComboBox2 = Named(EditableList(change, second.presets, 0), "DBComboBox2", second.hint);
    AddRow(grid, first.caption, DBComboBox1);
    AddRow(grid, second.caption, DBComboBox2);
    for (QComboBox* list : {DBComboBox1, DBComboBox2}) {
        // Before the binding: the binding writes the field first, then the
        // exit decides about storing it.
        exits_.on(list, [this] { DBComboBox1Exit(); });
    }
    // The bindings limit each list to its field's width.
    bindings_.add(new ComboBoxBinding(table, QString::fromLatin1(first.name), DBComboBox1));
    bindings_.add(new ComboBoxBinding(table, QString::fromLatin1(second.name), DBComboBox2));
    Button1 =
        Named(new QPushButton(QStringLiteral("&Vymaž"), change), "Button1", layout.deleteHint);
    grid->addWidget(Button1, grid->rowCount(), 1, Qt::AlignRight);

    auto* existing = new QGroupBox(QStringLiteral("Stávající typy:"), this);
    DBGrid1 = Named(new DBGrid(table,
                               {{QString::fromLatin1(first.name), first.column},
                                {QString::fromLatin1(second.name), second.column}},
                               existing),
                    "DBGrid1", layout.gridHint);
    DBGrid1->setColumnWeights(layout.weights, layout.weightTotal);
    DBGrid1->setRowIndicator(true);
    (new QVBoxLayout(existing))->addWidget(DBGrid1);

    body()->addWidget(change);
    body()->addWidget(existing, 1);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TPairEditor::DBComboBox1Exit() {
    Table& t = table_;
    if (t.state() != DatasetState::kEdit) return;
    if (!Confirm(QStringLiteral("Zapsat provedenou změnu?"))) {
        t.cancel();
        return;
    }
    // The pair as stored before the change, for a write-back.
    const Value old1 = t.oldValue(field1_);
    const Value old2 = t.oldValue(field2_);
    if (!StoreOk(t.post())) {
        t.cancel();
        return;
    }
    bool occurs = false;
    if (!StoreOk(PairOccurs(t, field1_, t.getString(field1_), field2_, t.getString(field2_), 2,
                            &occurs)) ||
        !occurs) {
        return;
    }
    Warn(duplicate_);
    RowEdit back(t);
    StoreOk(back.edit().set({{field1_, old1}, {field2_, old2}}).commit());
}

void TPairEditor::FormClose() {
    // A change typed but not decided on (the screen left with Esc) is
    // decided now rather than stored unchecked by the next screen.
    bindings_.applyAll();
    DBComboBox1Exit();
}

}  // namespace kolvio
