#include "query/fdotaz1.h"

#include <QApplication>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProxyStyle>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/form_hl.h"
#include "app/message_service.h"
#include "data/database/database.h"
#include "data/sql/sql_engine.h"
#include "query/columns_page.h"
#include "query/date_page.h"
#include "query/fzobr_dotaz.h"
#include "query/limit_pages.h"
#include "query/list_pages.h"
#include "query/result_table.h"
#include "query/route_page.h"

namespace kolvio {

namespace {

constexpr char kResultTable[] = "VYSLEDEK.dbf";

// The style's tabs with half the room beside their captions.
class NarrowTabsStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};

void ShowError(const std::string& message) {
    ShowMsgBox(QString::fromStdString(message), MsgKind::kError, MsgButtons::kOk);
}

}  // namespace

TFDotaz1::TFDotaz1(TForm_hl& main) : TFVyhod_Zakl(main) {
    setObjectName(QStringLiteral("FDotaz1"));
    setWindowTitle(QStringLiteral("Nastavení dotazu"));
    Label1->setText(QStringLiteral("NASTAVENÍ DOTAZU"));
    setHelpContext(900);
    Database& db = main.database();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    PageControl1->setUsesScrollButtons(true);
    // All eight tabs fit the smallest window without scrolling.
    auto* narrow = new NarrowTabsStyle;
    narrow->setParent(PageControl1->tabBar());
    PageControl1->tabBar()->setStyle(narrow);
    PageZobrazit = new ColumnsPage(PageControl1);
    PageCas = new DatePage(PageControl1, &state_.DateCriterion, db.Table1(), QDate::currentDate());
    PageTrate = new RoutesPage(PageControl1, db, &state_.RoutesCriterion);
    PageTrat = new RoutePage(PageControl1, db, &state_.RouteCriterion, PageTrate->criterion);
    PageTyp = new RideTypePage(PageControl1, db, &state_.RideTypeCriterion);
    PageKolo = new BikePage(PageControl1, db, &state_.BikeCriterion);
    PageOsoby = new PersonsPage(PageControl1, &state_.PersonsCriterion);
    PageSrdce = new HeartPage(PageControl1, db, &state_.HeartCriterion);
    addPage(PageZobrazit, QStringLiteral("Zobrazit"), 920);
    addPage(PageCas, QStringLiteral("Časové omez."), 930);
    addPage(PageTrate, QStringLiteral("Tratě"), 940);
    addPage(PageTrat, QStringLiteral("Jednotlivá trať"), 950);
    addPage(PageTyp, QStringLiteral("Typ tréninku"), 960);
    addPage(PageKolo, QStringLiteral("Typ kola"), 970);
    addPage(PageOsoby, QStringLiteral("Počet osob"), 980);
    addPage(PageSrdce, QStringLiteral("Srdce"), 0);
    PageControl1->setCurrentIndex(0);
    body()->addWidget(PageControl1, 1);

    Button1 = new QPushButton(QStringLiteral("O.K."), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    buttonRow()->insertWidget(buttonRow()->count() - 1, Button1);
    connect(Button1, &QPushButton::clicked, this, &TFDotaz1::Button1Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TFDotaz1::pageChanged);

    FillColumnList(0);
    std::string error;
    if (!PageCas->fillYears(&error)) ShowError(error);
}

TFDotaz1::~TFDotaz1() = default;

void TFDotaz1::addPage(QWidget* page, const QString& caption, int helpContext, int at) {
    if (at < 0) at = PageControl1->count();
    PageControl1->insertTab(at, page, caption);
    pageHelp_.insert(at, helpContext);
}

void TFDotaz1::pageChanged(int index) {
    const int help = index >= 0 && index < pageHelp_.size() ? pageHelp_[index] : 0;
    setHelpContext(help != 0 ? help : 900);
    if (PageControl1->widget(index) == PageTrat) PageTrat->pageShown();
}

void TFDotaz1::applyPreset(const QueryPreset& preset) {
    FillColumnList(preset.columnList);
    ApplyPreset(&state_, preset);
}

void TFDotaz1::FillColumnList(int number) {
    PageZobrazit->FillColumnList(number);
}

void TFDotaz1::SQLWherePridej(LocalQuery& query) const {
    std::vector<std::string> lines = query.sql();
    kolvio::SQLWherePridej(state_, &lines);
    query.setSql(std::move(lines));
}

void TFDotaz1::Button1Click() {
    const std::vector<std::string> chosen = PageZobrazit->chosen();
    if (chosen.empty() && PageControl1->currentWidget() == PageZobrazit) return;
    Database& db = mainWindow().database();
    closeOpenViewer();
    LocalQuery& query = db.Query1();
    query.setSql(AssembleStatement(&state_, chosen));

    QApplication::setOverrideCursor(Qt::WaitCursor);
    mainWindow().applyDriverSettings();
    // The viewer is closed while the builder is in front; VYSLEDEK with it.
    db.TVYSL().close();
    ResultTableReport report;
    const Status st =
        WriteResultTable(db.DataDir(), sql::JoinStatementLines(query.sql()), kResultTable, &report);
    QApplication::restoreOverrideCursor();
    if (!st.ok()) {
        ShowError(st.message());
        return;
    }
    showResult();
}

void TFDotaz1::closeOpenViewer() {
    if (viewer_) viewer_->closeScreen();
}

void TFDotaz1::showResult() {
    TFZobr_Dotaz* viewer = TFZobr_Dotaz::Create(mainWindow());
    if (!viewer) return;
    viewer->ReturnToNavigator = false;
    viewer->ReturnForm = this;
    viewer_ = viewer;
    if (QMdiSubWindow* sub = subWindow()) sub->showMinimized();
    mainWindow().showScreen(viewer);
}

void TFDotaz1::FormClose() {
    Table& routes = mainWindow().database().TTRS();
    if (routes.isOpen() && !routes.indexName().empty()) {
        const Status st = routes.setIndexName("");
        if (st.failed()) ShowError(st.message());
    }
}

}  // namespace kolvio
