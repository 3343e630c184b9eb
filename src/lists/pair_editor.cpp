#include "lists/pair_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/form_hl.h"
#include "app/widgets/db_grid.h"

namespace kolvio {

TPairEditor::TPairEditor(TForm_hl& main, const ListDescription& list, const Field& first,
                         const Field& second, const Layout& layout)
    : TFData_Zakl(main), rule_(list, main.database(), rider_) {
    PoZasKonec->hide();
    Table& table = rule_.table();

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
    connect(Button1, &QPushButton::clicked, this, &TPairEditor::Button1Click);
    rule_.attachChangeChecks(handlers_);
}

void TPairEditor::DBComboBox1Exit() {
    Table& t = rule_.table();
    if (t.state() == DatasetState::kEdit && !StoreOk(t.post())) t.cancel();
}

void TPairEditor::Button1Click() {
    rule_.deleteCurrent();
}

void TPairEditor::FormClose() {
    // A change typed but not decided on (the screen left with Esc) is
    // decided now rather than stored unchecked by the next screen.
    bindings_.applyAll();
    DBComboBox1Exit();
    handlers_.detachAll();
}

}  // namespace kolvio
