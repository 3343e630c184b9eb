#include "lists/pair_adder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/form_hl.h"
#include "app/widgets/db_grid.h"
#include "lists/list_screen.h"

namespace kolvio {

TPairAdder::TPairAdder(TForm_hl& main, const ListDescription& list, const Field& first,
                       const Field& second, const Texts& texts)
    : TFData_Zakl(main),
      field1_(first.name),
      field2_(second.name),
      texts_(texts),
      rule_(list, main.database(), rider_) {
    Table& table = rule_.table();
    QGridLayout* grid = nullptr;
    QGroupBox* added = Group(this, texts.group, &grid);
    ComboBox1 = Named(EditableList(added, first.presets, first.maxLength), "ComboBox1", first.hint);
    ComboBox2 =
        Named(EditableList(added, second.presets, second.maxLength), "ComboBox2", second.hint);
    for (QComboBox* combo : {ComboBox1, ComboBox2})
        combo->setEditText(QString());
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
    if (closing_ || rule_.occurs(field1_, ComboBox1->currentText().toStdString()) != true) return;
    // Only informs: on Yes the text stays as typed.
    if (!Confirm(texts_.firstExists)) RefocusLater(ComboBox1);
}

void TPairAdder::Button1Click() {
    const QString first = ComboBox1->currentText();
    const QString second = ComboBox2->currentText();
    if (!rule_.mayAdd({{field1_, first.toStdString()}, {field2_, second.toStdString()}}) ||
        !rule_.confirmAdd()) {
        return;
    }
    // Locale-aware, so that accented letters are upper-cased too.
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    const auto stored = [&](const QString& text) {
        return (texts_.upperCase ? czech.toUpper(text) : text).toStdString();
    };
    RowEdit row(rule_.table());
    if (!StoreOk(rule_.add({{field1_, stored(first)}, {field2_, stored(second)}}, row))) return;
    if (PoZasKonec->isChecked()) {
        closeScreen();
    } else {
        ComboBox1->setEditText(QString());
        ComboBox2->setEditText(QString());
    }
}

void TPairAdder::FormClose() {
    closing_ = true;
    if (rule_.table().state() == DatasetState::kInsert) rule_.table().cancel();
}

}  // namespace kolvio
