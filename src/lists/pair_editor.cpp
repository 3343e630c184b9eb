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
    (new QVBoxLayout(existing))->addWidget(DBGrid1);

    body()->addWidget(change);
    body()->addWidget(existing, 1);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

Status TPairEditor::SaveState(Table& table) {
    saved1_ = table.getString(field1_);
    saved2_ = table.getString(field2_);
    return Status::Ok();
}

void TPairEditor::DBComboBox1Exit() {
    Table& t = table_;
    if (t.state() != DatasetState::kEdit) return;
    if (!Confirm(QStringLiteral("Zapsat provedenou změnu?"))) {
        t.cancel();
        return;
    }
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
    // The after-edit handler must not take the stored pair as the old one.
    StoreOk(handlers_.without(t, TableEvent::kAfterEdit, [&] {
        return WriteBack(t, {{field1_, saved1_}, {field2_, saved2_}});
    }));
}

void TPairEditor::FormClose() {
    // A change typed but not decided on (the screen left with Esc) is
    // decided now rather than stored unchecked by the next screen.
    bindings_.applyAll();
    DBComboBox1Exit();
    handlers_.detachAll();
}

}  // namespace kolvio
