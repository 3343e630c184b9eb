#include "query/chart_pages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>

#include "app/chart/chart_widget.h"
#include "query/builder_parts.h"

namespace kolvio {

namespace {

constexpr int kFieldRole = Qt::UserRole;

QTreeWidget* FieldList(QWidget* parent, const char* name, const char* column,
                       const char* hint = "") {
    auto* list = Control(new QTreeWidget(parent), name, QString::fromUtf8(hint));
    list->setHeaderLabels({QString::fromUtf8(column)});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->header()->setStretchLastSection(true);
    return list;
}

QPushButton* SmallButton(QWidget* parent, const char* name, const char* caption, const char* hint) {
    auto* b =
        Control(new QPushButton(QString::fromUtf8(caption), parent), name, QString::fromUtf8(hint));
    b->setAutoDefault(false);
    return b;
}

void AddEntry(QTreeWidget* list, const ChartField& f) {
    auto* item = new QTreeWidgetItem(list, {f.title});
    item->setData(0, kFieldRole, f.field);
}

ChartField EntryOf(const QTreeWidgetItem* item) {
    return {item->data(0, kFieldRole).toString(), item->text(0)};
}

bool Lists(const QTreeWidget* list, const QString& title) {
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == title) return true;
    }
    return false;
}

// The selected entries of a list, in list order.
QList<QTreeWidgetItem*> Selected(const QTreeWidget* list) {
    QList<QTreeWidgetItem*> out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->isSelected()) out.append(list->topLevelItem(i));
    }
    return out;
}

}  // namespace

ChartPreparationPage::ChartPreparationPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabGrafPriprava"));
    ListView1 = FieldList(this, "ListView1", "výběr pro osu X", "Výběr dat pro popis osy X");
    ListView4 = FieldList(this, "ListView4", "výběr pro osy Y", "Výběr dat pro osy Y");
    ListView3 = FieldList(this, "ListView3", "popis osy X");
    ListView2 = FieldList(this, "ListView2", "data osy Y");
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView4->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView2->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView3->setSelectionMode(QAbstractItemView::NoSelection);
    ListView3->setFocusPolicy(Qt::NoFocus);
    SpeedButton3 = SmallButton(this, "SpeedButton3", ">", "Vybere aktivní - osa x");
    SpeedButton2 = SmallButton(this, "SpeedButton2", ">", "Vybere aktivní osa y");
    SpeedButton4 = SmallButton(this, "SpeedButton4", "X", "Vymaže aktivní");
    CheckBox1 = Control(new QCheckBox(QStringLiteral("Zobrazit popis"), this), "CheckBox1",
                        QStringLiteral("Zobrazí / nezobrazí legendu"));
    Button1 = SmallButton(this, "Button1", "Zobrazit graf", "");

    // X above Y: the list on offer, its button, the chosen ones.
    auto* grid = new QGridLayout(this);
    grid->addWidget(ListView1, 0, 0);
    grid->addWidget(SpeedButton3, 0, 1, Qt::AlignVCenter);
    grid->addWidget(ListView3, 0, 2);
    grid->addWidget(ListView4, 1, 0);
    grid->addWidget(SpeedButton2, 1, 1, Qt::AlignVCenter);
    grid->addWidget(ListView2, 1, 2);
    auto* side = new QVBoxLayout;
    side->addWidget(SpeedButton4);
    side->addStretch();
    side->addWidget(CheckBox1);
    side->addWidget(Button1);
    grid->addLayout(side, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(0, 2);
    grid->setRowStretch(1, 3);

    connect(SpeedButton3, &QPushButton::clicked, this, &ChartPreparationPage::SpeedButton3Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &ChartPreparationPage::SpeedButton2Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &ChartPreparationPage::SpeedButton4Click);
    connect(CheckBox1, &QCheckBox::toggled, this, &ChartPreparationPage::choicesChanged);
    // Choosing with the keyboard: Enter on an entry chooses it.
    connect(ListView1, &QTreeWidget::itemActivated, this, &ChartPreparationPage::SpeedButton3Click);
    connect(ListView4, &QTreeWidget::itemActivated, this, &ChartPreparationPage::SpeedButton2Click);
}

void ChartPreparationPage::offer(const QList<ChartField>& all, const QList<ChartField>& summable) {
    for (QTreeWidget* list : {ListView1, ListView4, ListView3, ListView2})
        list->clear();
    for (const ChartField& f : all)
        AddEntry(ListView1, f);
    for (const ChartField& f : summable)
        AddEntry(ListView4, f);
}

void ChartPreparationPage::SpeedButton3Click() {
    for (QTreeWidgetItem* item : Selected(ListView1)) {
        if (Lists(ListView3, item->text(0))) continue;
        ListView3->clear();
        AddEntry(ListView3, EntryOf(item));
        emit choicesChanged();
    }
}

void ChartPreparationPage::SpeedButton2Click() {
    for (QTreeWidgetItem* item : Selected(ListView4)) {
        if (Lists(ListView2, item->text(0))) continue;
        AddEntry(ListView2, EntryOf(item));
        emit choicesChanged();
    }
}

void ChartPreparationPage::SpeedButton4Click() {
    const QList<QTreeWidgetItem*> selected = Selected(ListView2);
    if (selected.isEmpty()) return;
    delete selected.front();
    emit choicesChanged();
}

std::optional<ChartField> ChartPreparationPage::labelField() const {
    if (ListView3->topLevelItemCount() == 0) return std::nullopt;
    return EntryOf(ListView3->topLevelItem(0));
}

QList<ChartField> ChartPreparationPage::valueFields() const {
    QList<ChartField> out;
    for (int i = 0; i < ListView2->topLevelItemCount(); ++i)
        out.append(EntryOf(ListView2->topLevelItem(i)));
    return out;
}

bool ChartPreparationPage::legend() const {
    return CheckBox1->isChecked();
}

int MaxChartPoints() {
    return chart::kMaxPoints;
}

bool LoadChart(chart::ChartWidget& chart, Dataset& rows, const GridColumn& label,
               const QList<ChartField>& values, bool legend) {
    const int64_t n = rows.recordCount();
    if (n > MaxChartPoints()) return false;
    const std::vector<FieldLayout>& fields = rows.fields();
    // Field 0 of a read row is the label, then one per set.
    std::vector<int> read = {FindField(fields, label.field.toStdString())};
    for (const ChartField& f : values)
        read.push_back(FindField(fields, f.field.toStdString()));

    // Read by position: the cursor stays where the rider left it.
    QStringList labels;
    std::vector<std::vector<double>> sets(values.size());
    std::vector<Value> row;
    for (int64_t r = 0; r < n; ++r) {
        if (rows.valuesAt(r, read, &row).failed()) return false;
        labels.append(label.format ? label.format(row[0]) : FormatValue(row[0]));
        // An empty value is drawn at 0.
        for (size_t s = 0; s < sets.size(); ++s)
            sets[s].push_back(row[s + 1].isNumber() ? row[s + 1].asDouble() : 0);
    }

    const int points = static_cast<int>(labels.size());
    chart.setDrawMode(1);
    chart.setNumPoints(points);
    for (int p = 0; p < points; ++p)
        chart.setLabelText(p + 1, labels[p]);
    chart.setNumSets(static_cast<int>(sets.size()));
    for (int s = 0; s < static_cast<int>(sets.size()); ++s) {
        chart.setThisSet(s + 1);
        if (legend)
            chart.setLegend(s + 1, values[s].title);
        else
            chart.setLegendText(QString());
        for (int p = 0; p < points; ++p) {
            chart.setThisPoint(p + 1);
            chart.setGraphData(sets[s][static_cast<size_t>(p)]);
        }
    }
    chart.setDrawMode(2);
    return true;
}

}  // namespace kolvio
