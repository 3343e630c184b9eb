// The controls of the ride editor.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "app/form_hl.h"
#include "app/widgets/db_grid.h"
#include "app/widgets/field_binding.h"
#include "data/database/database.h"
#include "rides/feditjizd.h"

namespace kolvio {

namespace {

constexpr int kRidersLength = 6;
// The date column takes this share of the grid's width on every resize.
constexpr int kDateColumnPercent = 75;
// Characters the type and bike boxes keep at the smallest window: as many
// as fit beside the dates without a scroll bar.
constexpr int kNameLength = 4;

QLabel* Buddy(const char* caption, QWidget* control, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setBuddy(control);
    return label;
}

// Beside the dates there is no room for the computer figures' labels beside
// their boxes at the reference size: each label goes above its box, the
// two columns kept.
void LabelsAboveBoxes(QGroupBox* box) {
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    if (!grid) return;
    struct Placed {
        QLabel* label;
        QWidget* control;
        int row, column;
    };
    QList<Placed> pairs;
    for (QLabel* label : box->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const int at = grid->indexOf(label->buddy());
        if (at < 0) continue;
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(at, &row, &column, &rows, &columns);
        pairs.append({label, label->buddy(), row, column});
    }
    for (const Placed& p : pairs) {
        grid->removeWidget(p.label);
        grid->removeWidget(p.control);
    }
    for (const Placed& p : pairs) {
        grid->addWidget(p.label, 2 * p.row, p.column / 2, Qt::AlignLeft | Qt::AlignBottom);
        grid->addWidget(p.control, 2 * p.row + 1, p.column / 2, Qt::AlignLeft);
    }
}

}  // namespace

void TFEditJizd::buildLayout() {
    Database& db = mainWindow().database();
    auto* page = new QWidget;
    BuildRideControls(this, page, db, mainWindow().displaySettings());

    LabelsAboveBoxes(GBCyklo);
    for (QComboBox* names : {DBLookupComboBox6, DBLookupComboBox7, DBLookupComboBox9})
        names->setMinimumContentsLength(kNameLength);

    auto* ridesBox = new QGroupBox(QStringLiteral("Zadané jízdy:"), page);
    ridesBox->setObjectName(QStringLiteral("GBJizdy"));
    DBGrid1 = new DBGrid(
        db.Table1(),
        {GridColumn(QStringLiteral("DATUM"), QStringLiteral("datum"), {}, false, Qt::AlignCenter)},
        ridesBox);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumnWeights({kDateColumnPercent}, 100);
    // The date column keeps its share; the rest of the grid stays empty.
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    // Room for a whole date in the date column, beside the scroll bar.
    const int date = DBGrid1->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")) + 8;
    DBGrid1->setMinimumWidth(date * 100 / kDateColumnPercent +
                             DBGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    auto* ridesLayout = new QVBoxLayout(ridesBox);
    ridesLayout->setContentsMargins(2, 2, 2, 2);
    ridesLayout->addWidget(DBGrid1);

    DBEdit1 = new QLineEdit(GBTyp);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setMaxLength(kRidersLength);
    typeGrid->addWidget(Buddy("Počet osob:", DBEdit1, GBTyp), 2, 0);
    typeGrid->addWidget(DBEdit1, 2, 1);

    DBEdit2 = new QLineEdit(page);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    new LineEditBinding(db.Table1(), QStringLiteral("POPIS1"), DBEdit2);
    new CheckBoxBinding(db.Table1(), QStringLiteral("SR_MER"), sr_mer);
    auto* description = new QHBoxLayout;
    description->addWidget(Buddy("Popis:", DBEdit2, page));
    description->addWidget(DBEdit2, 1);
    auto* bikeAndDescription = new QVBoxLayout;
    bikeAndDescription->addWidget(GBKolo);
    bikeAndDescription->addLayout(description);
    bikeAndDescription->addStretch();

    // The dates beside the route and the types; the bike with the
    // description and the computer figures; the heart across the width,
    // at the bottom.
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    grid->addWidget(ridesBox, 0, 0, 2, 1);
    grid->addWidget(GBTrat, 0, 1, 1, 3);
    grid->addWidget(GBTyp, 1, 1, Qt::AlignTop);
    grid->addLayout(bikeAndDescription, 1, 2);
    grid->addWidget(GBCyklo, 1, 3, Qt::AlignTop);
    grid->addWidget(GBSrdce, 2, 0, 1, 4);
    for (int column = 1; column < 4; ++column)
        grid->setColumnStretch(column, 1);
    // A taller window shows more dates.
    grid->setRowStretch(1, 1);

    layout()->setContentsMargins(4, 2, 4, 4);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    body()->addWidget(scroll, 1);

    Button1 = new QPushButton(QStringLiteral("Vymaž"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral("Vymaže aktivní jízdu z databáze"));
    Button1->setStatusTip(Button1->toolTip());
    buttonRow()->insertWidget(buttonRow()->count() - 1, Button1);
}

}  // namespace kolvio
