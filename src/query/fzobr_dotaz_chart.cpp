// The chart pages of the result viewer.
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/chart/chart_type_menu.h"
#include "app/chart/chart_widget.h"
#include "app/form_hl.h"
#include "app/message_service.h"
#include "app/widgets/db_grid.h"
#include "data/database/database.h"
#include "query/chart_pages.h"
#include "query/fzobr_dotaz.h"
#include "query/result_columns.h"

namespace kolvio {

namespace {

constexpr int kPreparationTab = 1;
constexpr int kChartTab = 2;

}  // namespace

void TFZobr_Dotaz::buildChartPages() {
    TabGrafPriprava = new ChartPreparationPage(PageControl1);
    QList<ChartField> all, summable;
    for (const FieldLayout& field : result().fields()) {
        const std::string_view title = ResultColumnTitle(field.name);
        const ChartField entry{
            QString::fromStdString(field.name),
            QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()))};
        all.append(entry);
        if (IsSummableColumn(field.name, field.type)) summable.append(entry);
    }
    TabGrafPriprava->offer(all, summable);
    connect(TabGrafPriprava, &ChartPreparationPage::choicesChanged, this, &TFZobr_Dotaz::Zmena);
    connect(TabGrafPriprava->Button1, &QPushButton::clicked, this, &TFZobr_Dotaz::Button1Click);
    PageControl1->addTab(TabGrafPriprava, QStringLiteral("Graf-příprava"));

    TabGrafZobrazeni = new QWidget(PageControl1);
    TabGrafZobrazeni->setObjectName(QStringLiteral("TabGrafZobrazeni"));
    Graf1 = new chart::ChartWidget(TabGrafZobrazeni);
    Graf1->setObjectName(QStringLiteral("Graf1"));
    Graf1->setMenuActions(chart::AttachChartTypeMenu(Graf1));
    auto* layout = new QVBoxLayout(TabGrafZobrazeni);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Graf1);
    PageControl1->addTab(TabGrafZobrazeni, QStringLiteral("Graf-zobrazení"));
}

void TFZobr_Dotaz::Zmena() {
    PageControl1->setTabVisible(kChartTab, false);
    PageControl1->setTabVisible(kPreparationTab, result().recordCount() > 1);
}

void TFZobr_Dotaz::Button1Click() {
    const std::optional<ChartField> label = TabGrafPriprava->labelField();
    const QList<ChartField> values = TabGrafPriprava->valueFields();
    Table& table = result();
    const int64_t rows = table.recordCount();
    if (values.isEmpty() || !label || rows < 2) return;
    if (rows > MaxChartPoints()) {
        ShowMsgBox(QStringLiteral("Výsledek má %1 řádků, graf jich pojme nejvýše %2.\n"
                                  "Zúž dotaz (například časovým omezením) a zobraz graf znovu.")
                       .arg(rows)
                       .arg(MaxChartPoints()),
                   MsgKind::kWarning, MsgButtons::kOk);
        return;
    }
    // The labels as the grid shows them.
    DatasetModel* model = DBGrid1->datasetModel();
    GridColumn labelColumn(label->field, label->title);
    for (int c = 0; c < model->columnCount(); ++c) {
        if (model->column(c).field == label->field) labelColumn = model->column(c);
    }
    if (!LoadChart(*Graf1, table, labelColumn, values, TabGrafPriprava->legend())) return;
    PageControl1->setTabVisible(kChartTab, true);
    PageControl1->setCurrentIndex(kChartTab);
}

}  // namespace kolvio
