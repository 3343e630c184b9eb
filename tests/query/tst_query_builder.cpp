// The query builder driven as a rider drives it: the presets of the
// navigator, choosing columns, ticking criteria and changing them, "O.K."
// with the rows of VYSLEDEK checked on disk, and what a refused or blocked
// run leaves behind.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/widgets/db_grid.h"
#include "query/builder_parts.h"
#include "query/column_catalogue.h"
#include "query/date_page.h"
#include "query/limit_pages.h"
#include "query/list_pages.h"
#include "query/route_page.h"
#include "query_gui_support.h"

using namespace kolvio;
using namespace kolvio::testing;

namespace {

const std::string kFrom = "from jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld";
const std::string kWhere =
    "where jizdy.trs_c = typ_trs.trs_c and jizdy.trnz_c = typ_trnz.trnz_c and jizdy.trn_c = "
    "typ_trn.trn_c and jizdy.kol_c = typ_kol.kol_c and jizdy.thl_c = typ_hld.thl_c ";

// A diary of this year and the last: routes 2 (Brno -> Tišnov) and 3
// (Adamov -> Blansko), bikes 1, 2 and 3.
void Seed(QuerySession& s) {
    Table& routes = s.db().TTRS();
    s.addRow(routes, {{"TRS_C", 2},
                      {"TRS_START", "Brno"},
                      {"TRS_CIL", "Tišnov"},
                      {"TRS_MEZI", "Brno-Tišnov"},
                      {"TRS_N2", "BT"}});
    s.addRow(routes, {{"TRS_C", 3},
                      {"TRS_START", "Adamov"},
                      {"TRS_CIL", "Blansko"},
                      {"TRS_MEZI", "Adamov-Blansko"},
                      {"TRS_N2", "AB"}});
    s.addRow(s.db().TTKOL(), {{"KOL_C", 3}, {"KOL_TYP", "HORSKÉ"}});
    const int y = QDate::currentDate().year();
    s.addRide({y, 1, 5, 2, 1, 1, 2, 201, 40, 2});
    s.addRide({y, 1, 9, 2, 2, 2, 2, 202, 42, 2});
    s.addRide({y, 1, 12, 3, 1, 3, 2, 201, 30, 1.5});
    s.addRide({y, 1, 15, 3, 1, 2, 2, 201, 31, 1.5});
    s.addRide({y - 1, 6, 1, 2, 1, 2, 2, 201, 50, 2.5});
}

int PageIndex(TFDotaz1* b, QWidget* page) {
    return b->PageControl1->indexOf(page);
}

void ShowPage(TFDotaz1* b, QWidget* page) {
    b->PageControl1->setCurrentIndex(PageIndex(b, page));
    Settle();
}

// Clicks the grid row whose column shows `text`, then the page's add button.
void Pick(PickList* picks, int column, const QString& text) {
    QAbstractItemModel* model = picks->grid->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, column);
        if (model->data(index).toString() != text) continue;
        QTest::mouseClick(picks->grid->viewport(), Qt::LeftButton, {},
                          picks->grid->visualRect(index).center());
        QTest::mouseClick(picks->add, Qt::LeftButton);
        Settle();
        return;
    }
    QFAIL(qPrintable(QStringLiteral("no grid row shows ") + text));
}

std::vector<std::string> Statement(QuerySession& s) {
    return s.db().Query1().sql();
}

}  // namespace

class TestQueryBuilder : public QObject {
    Q_OBJECT
private slots:
    void eachEvaluationButtonOpensItsPreset_data();
    void eachEvaluationButtonOpensItsPreset();
    void everyPageTabShowsAtTheSmallestWindow();
    void movingLabelsBetweenAndWithinTheLists();
    void workedExampleStatementFromClicksAndItsRowsOnDisk();
    void aChangedPageDropsItsCondition();
    void singleRouteAsksBeforeTurningTheRoutesOff_data();
    void singleRouteAsksBeforeTurningTheRoutesOff();
    void usedYearsAndDateRangeFromTheRides();
    void datePickersKeepTheirOrder();
    void personsNumbersAreCheckedWhenLeft();
    void heartNumbersAreCheckedAndKeptInOrder();
    void latestBikeLeavesTheRidesAsTheyWere();
    void aRefusedStatementLeavesVysledekByteIdentical();
    void aResultHeldByAnotherProgramIsNotTouched();
    void viewerClosesBackToTheBuilderWithEveryChoice();
    void runningAgainWithTheViewerOpenReplacesIt();
    void nothingOnAnyPageCrashesTheBuilder();
};

void TestQueryBuilder::eachEvaluationButtonOpensItsPreset_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("list");
    QTest::addColumn<bool>("grouped");
    QTest::addColumn<int>("rows");  // on the empty diary
    QTest::newRow("Obecné") << "RButton10" << 0 << false << 0;
    QTest::newRow("Statistika") << "RButton11" << 5 << false << 1;  // aggregates of no ride
    QTest::newRow("Statistika tratí") << "RButton12" << 1 << true << 0;
    QTest::newRow("Statistika kol") << "RButton13" << 2 << true << 0;
    QTest::newRow("Statistika hl. t. jízd") << "RButton14" << 3 << true << 0;
    QTest::newRow("Statistika ved. t. jízd") << "RButton15" << 4 << true << 0;
    QTest::newRow("Statistika hlídání tepu") << "RButton18" << 6 << true << 0;
    QTest::newRow("Statistika měsíční") << "RButton16" << 5 << true << 0;
}

void TestQueryBuilder::eachEvaluationButtonOpensItsPreset() {
    QFETCH(QString, button);
    QFETCH(int, list);
    QFETCH(bool, grouped);
    QFETCH(int, rows);
    QuerySession s;
    TFNavig* nav = s.navigator();
    auto* round = nav->findChild<RoundButton*>(button);
    QVERIFY(round->isEnabled());
    QTest::mouseClick(round, Qt::LeftButton);
    Settle();
    auto* b = qobject_cast<TFDotaz1*>(s.form->activeScreen());
    QVERIFY(b);
    QCOMPARE(b->windowTitle(), QStringLiteral("Nastavení dotazu"));
    QCOMPARE(b->Label1->text(), QStringLiteral("NASTAVENÍ DOTAZU"));
    QCOMPARE(b->PageControl1->currentWidget(), b->PageZobrazit);
    QStringList expected;
    for (const std::string& label : ColumnListLabels(list))
        expected.append(QString::fromStdString(label));
    QCOMPARE(Labels(b->PageZobrazit->ListBox1), expected);
    QVERIFY(b->PageZobrazit->ListBox2->count() == 0);
    QCOMPARE(b->state().UseGroupBy, grouped);
    QVERIFY(b->state().SelectPrefix.empty() == (button != "RButton16"));
    // The whole list chosen runs on the empty diary.
    QTest::mouseClick(b->PageZobrazit->BVseVybrat, Qt::LeftButton);
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(s.viewer());
    QCOMPARE(TableRows(s.dir(), "VYSLEDEK.dbf").count(), rows);
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::everyPageTabShowsAtTheSmallestWindow() {
    QuerySession s;
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    s.form->resize(632, 430);
    Settle();
    const QTabBar* tabs = b->PageControl1->tabBar();
    QCOMPARE(tabs->count(), 8);
    for (int i = 0; i < tabs->count(); ++i)
        QVERIFY2(tabs->rect().contains(tabs->tabRect(i)), qPrintable(tabs->tabText(i)));
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::movingLabelsBetweenAndWithinTheLists() {
    QuerySession s;
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    ColumnsPage* p = b->PageZobrazit;
    Choose(b, {"JÍZDA DÉLKA", "DATUM", "KOLO TYP"});
    QCOMPARE(Labels(p->ListBox2), (QStringList{"JÍZDA DÉLKA", "DATUM", "KOLO TYP"}));
    QCOMPARE(p->ListBox1->count(), 28);
    // The chosen label moves and stays selected; moves stop at the ends.
    p->ListBox2->setCurrentRow(2);
    QTest::mouseClick(p->BNaPrvni, Qt::LeftButton);
    QCOMPARE(Labels(p->ListBox2), (QStringList{"KOLO TYP", "JÍZDA DÉLKA", "DATUM"}));
    QCOMPARE(p->ListBox2->currentItem()->text(), QStringLiteral("KOLO TYP"));
    QTest::mouseClick(p->BNahoru, Qt::LeftButton);
    QCOMPARE(p->ListBox2->currentRow(), 0);
    QTest::mouseClick(p->BDolu, Qt::LeftButton);
    QCOMPARE(Labels(p->ListBox2), (QStringList{"JÍZDA DÉLKA", "KOLO TYP", "DATUM"}));
    QTest::mouseClick(p->BNaPosledni, Qt::LeftButton);
    QCOMPARE(Labels(p->ListBox2), (QStringList{"JÍZDA DÉLKA", "DATUM", "KOLO TYP"}));
    QTest::mouseClick(p->BDolu, Qt::LeftButton);
    QCOMPARE(p->ListBox2->currentRow(), 2);
    // Back to the end of "Výběr:".
    QTest::mouseClick(p->BZpet, Qt::LeftButton);
    QCOMPARE(p->ListBox1->item(p->ListBox1->count() - 1)->text(), QStringLiteral("KOLO TYP"));
    QTest::mouseClick(p->BVseZpet, Qt::LeftButton);
    QCOMPARE(p->ListBox2->count(), 0);
    QCOMPARE(p->ListBox1->count(), 31);
    QTest::mouseClick(p->BVseVybrat, Qt::LeftButton);
    QCOMPARE(p->ListBox1->count(), 0);
    QCOMPARE(p->ListBox2->count(), 31);
    // With nothing selected the buttons do nothing.
    p->ListBox2->clearSelection();
    QTest::mouseClick(p->BZpet, Qt::LeftButton);
    QCOMPARE(p->ListBox2->count(), 31);
}

void TestQueryBuilder::workedExampleStatementFromClicksAndItsRowsOnDisk() {
    QuerySession s;
    Seed(s);
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton12);
    QVERIFY(b);
    Choose(b, {"TRASA START", "TRASA CÍL", "POČET PRŮJEZDŮ", "CELK.UJET.DÉLKA"});
    ShowPage(b, b->PageCas);
    QTest::mouseClick(b->PageCas->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(b->PageCas->CBPouzit->isChecked());
    ShowPage(b, b->PageKolo);
    Pick(b->PageKolo->picks, 0, QStringLiteral("SILNIČNÍ ZÁVODNÍ"));
    Pick(b->PageKolo->picks, 0, QStringLiteral("HORSKÉ"));
    Pick(b->PageKolo->picks, 0, QStringLiteral("HORSKÉ"));  // listed once
    QCOMPARE(b->PageKolo->picks->list->topLevelItemCount(), 2);
    QTest::mouseClick(b->PageKolo->Vyber->Ne, Qt::LeftButton);
    QTest::mouseClick(b->PageKolo->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(b->PageKolo->CBPouzit->isChecked());
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();

    const std::string y = std::to_string(QDate::currentDate().year());
    const std::vector<std::string> expected = {
        "select TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, COUNT (JIZDY.TRS_C) AS COUNT_JIZ, SUM "
        "(JIZDY.DELKA) AS SUM_DEL ",
        ", JIZDY.TRS_C",
        kFrom,
        kWhere,
        " and  ( jizdy.datum BETWEEN \"1.1." + y + "\" AND \"31.12." + y + "\" ) ",
        " and  ( jizdy.kol_c NOT IN (\"1\",\"3\" )) ",
        " group by TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, JIZDY.TRS_C",
        " order by TYP_TRS.TRS_START, JIZDY.TRS_C",
    };
    QVERIFY(Statement(s) == expected);
    // This year on bike 2: route 3 once (31 km), route 2 once (42 km).
    QVERIFY(s.viewer());
    TableRows rows(s.dir(), "VYSLEDEK.dbf");
    QCOMPARE(rows.column("TRS_START"), (QStringList{"Adamov", "Brno"}));
    QCOMPARE(rows.column("COUNT_JIZ"), (QStringList{"1", "1"}));
    QCOMPARE(rows.column("SUM_DEL"), (QStringList{"31", "42"}));
    QCOMPARE(rows.column("TRS_C"), (QStringList{"3", "2"}));
    QVERIFY(b->subWindow()->isMinimized());
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::aChangedPageDropsItsCondition() {
    QuerySession s;
    Seed(s);
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    Choose(b, {"DATUM"});
    // Ticking with an empty list leaves the box unticked, silently.
    ShowPage(b, b->PageTrate);
    RoutesPage* routes = b->PageTrate;
    QTest::mouseClick(routes->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(!routes->CBPouzit->isChecked());
    Pick(routes->picks, 3, QStringLiteral("Brno"));
    QTest::mouseClick(routes->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(routes->CBPouzit->isChecked());
    QCOMPARE(b->state().RoutesCriterion, std::string(" ( jizdy.trs_c IN (\"2\" )) "));
    Pick(routes->picks, 3, QStringLiteral("Adamov"));
    QVERIFY(!routes->CBPouzit->isChecked());
    QVERIFY(b->state().RoutesCriterion.empty());
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QCOMPARE(Statement(s).size(), 4u);  // select, from, where, order by: no route condition
    QCOMPARE(TableRows(s.dir(), "VYSLEDEK.dbf").count(), 5);
    QTest::mouseClick(s.viewer()->BKONEC, Qt::LeftButton);
    Settle();

    // Date page: each kind of change drops the condition.
    ShowPage(b, b->PageCas);
    DatePage* date = b->PageCas;
    const auto tick = [&] {
        QTest::mouseClick(date->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
        QVERIFY(date->CBPouzit->isChecked());
        QVERIFY(!b->state().DateCriterion.empty());
    };
    tick();
    QTest::mouseClick(date->Vyber->Ne, Qt::LeftButton);
    QVERIFY(!date->CBPouzit->isChecked());
    QVERIFY(b->state().DateCriterion.empty());
    tick();
    QTest::mouseClick(date->RBObecne, Qt::LeftButton);
    QVERIFY(!date->CBPouzit->isChecked());
    tick();
    QTest::mouseClick(date->BMesic, Qt::LeftButton);
    QVERIFY(!date->CBPouzit->isChecked());
    tick();
    date->DateOd->setDate(date->DateOd->date().addDays(-1));
    QVERIFY(!date->CBPouzit->isChecked());

    // Persons: a valid number typed and left drops the condition.
    ShowPage(b, b->PageOsoby);
    PersonsPage* persons = b->PageOsoby;
    QTest::mouseClick(persons->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(!persons->CBPouzit->isChecked());  // nothing ticked
    QTest::mouseClick(persons->lower.on, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(persons->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(persons->CBPouzit->isChecked());
    QCOMPARE(b->state().PersonsCriterion, std::string(" (  jizdy.osob > \"1\"  ) "));
    persons->lower.number.edit->setFocus();
    QTest::keyClick(persons->lower.number.edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(persons->lower.number.edit, QStringLiteral("2"));
    persons->CBPouzit->setFocus();
    Settle();
    QVERIFY(!persons->CBPouzit->isChecked());
    QVERIFY(b->state().PersonsCriterion.empty());
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::singleRouteAsksBeforeTurningTheRoutesOff_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes: the single route is used") << true;
    QTest::newRow("No: the routes stay in force") << false;
}

void TestQueryBuilder::singleRouteAsksBeforeTurningTheRoutesOff() {
    QFETCH(bool, yes);
    QuerySession s;
    Seed(s);
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    ShowPage(b, b->PageTrate);
    Pick(b->PageTrate->picks, 3, QStringLiteral("Adamov"));
    QTest::mouseClick(b->PageTrate->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    ShowPage(b, b->PageTrat);
    RoutePage* route = b->PageTrat;
    QCOMPARE(route->EStart->text(), QStringLiteral("Adamov"));  // the grid's current route
    QTest::mouseClick(route->RBZobrazeny, Qt::LeftButton);
    s.msgs.expect(QStringLiteral("Mám vypnout použití výběru více tratí ?\nNE=vypnutí použití "
                                 "jediné trati"),
                  MsgKind::kConfirmation, yes ? MsgResult::kYes : MsgResult::kNo);
    QTest::mouseClick(route->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QCOMPARE(route->CBPouzit->isChecked(), yes);
    QCOMPARE(b->PageTrate->CBPouzit->isChecked(), !yes);
    if (yes) {
        QCOMPARE(b->state().RouteCriterion,
                 std::string(" ( jizdy.trs_c = \"3\"  AND jizdy.trs_smer = \"1\" ) "));
        QVERIFY(b->state().RoutesCriterion.empty());
        // Moving in the routes grid elsewhere: the page puts the route back.
        ShowPage(b, b->PageTrate);
        QVERIFY(ClickRowOf(b->PageTrate->picks->grid, 3, QStringLiteral("Brno")));
        ShowPage(b, b->PageTrat);
        QCOMPARE(route->EStart->text(), QStringLiteral("Adamov"));
        // The route navigator is a change of the page.
        QTest::mouseClick(route->BPrvni, Qt::LeftButton);
        QVERIFY(!route->CBPouzit->isChecked());
    } else {
        QVERIFY(b->state().RouteCriterion.empty());
        QCOMPARE(b->state().RoutesCriterion, std::string(" ( jizdy.trs_c IN (\"3\" )) "));
    }
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::usedYearsAndDateRangeFromTheRides() {
    QuerySession s;
    Seed(s);
    const int y = QDate::currentDate().year();
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    Choose(b, {"DATUM"});
    ShowPage(b, b->PageCas);
    DatePage* date = b->PageCas;
    QCOMPARE(Labels(date->CheckListRoky),
             (QStringList{QString::number(y - 1), QString::number(y)}));
    QVERIFY(!date->PanelRoky->isVisible());
    QTest::mouseClick(date->RBPouzite, Qt::LeftButton);
    QVERIFY(date->PanelRoky->isVisible());
    QVERIFY(!date->PanelObecne->isVisible());
    // No year ticked: the box stays ticked and selects nothing by date.
    QTest::mouseClick(date->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(date->CBPouzit->isChecked());
    QVERIFY(b->state().DateCriterion.empty());
    date->CheckListRoky->item(0)->setCheckState(Qt::Checked);
    QVERIFY(!date->CBPouzit->isChecked());
    QTest::mouseClick(date->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QCOMPARE(TableRows(s.dir(), "VYSLEDEK.dbf").count(), 1);
    QTest::mouseClick(s.viewer()->BKONEC, Qt::LeftButton);
    Settle();

    QTest::mouseClick(date->RBObecne, Qt::LeftButton);
    date->SpinPosledni->setValue(2);
    QTest::mouseClick(date->BPosledni, Qt::LeftButton);
    QCOMPARE(date->DateDo->date(), QDate(y, 1, 15));
    QCOMPARE(date->DateOd->date(), QDate(y, 1, 12));
    date->SpinPosledni->setValue(10);
    QTest::mouseClick(date->BPosledni, Qt::LeftButton);
    QCOMPARE(date->DateOd->date(), QDate(y - 1, 6, 1));
    date->SpinMesic->setValue(2);
    QTest::mouseClick(date->BMesic, Qt::LeftButton);
    QCOMPARE(date->DateOd->date(), QDate(y, 2, 1));
    QCOMPARE(date->DateDo->date(), QDate(y, 2, QDate(y, 2, 1).daysInMonth()));
    date->SpinMesic->setValue(1);
    QTest::mouseClick(date->BMesic, Qt::LeftButton);
    QTest::mouseClick(date->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QCOMPARE(b->state().DateCriterion, "( jizdy.datum BETWEEN \"1.1." + std::to_string(y) +
                                           "\" AND \"31.1." + std::to_string(y) + "\" ) ");
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QCOMPARE(TableRows(s.dir(), "VYSLEDEK.dbf").count(), 4);
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::datePickersKeepTheirOrder() {
    QuerySession s;
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    DatePage* date = b->PageCas;
    const QDate today = QDate::currentDate();
    QCOMPARE(date->DateOd->date(), today.addDays(-30));
    QCOMPARE(date->DateDo->date(), today);
    date->DateOd->setDate(today.addDays(5));
    QCOMPARE(date->DateDo->date(), today.addDays(6));
    date->DateDo->setDate(today.addDays(-40));
    QCOMPARE(date->DateOd->date(), today.addDays(-41));
    date->DateOd->setDate(today.addDays(-40));  // equal dates stay
    QCOMPARE(date->DateDo->date(), today.addDays(-40));
    QCOMPARE(date->SpinMesic->value(), today.month());
    QCOMPARE(date->SpinPosledni->value(), 10);
}

void TestQueryBuilder::personsNumbersAreCheckedWhenLeft() {
    QuerySession s;
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    ShowPage(b, b->PageOsoby);
    PersonsPage* p = b->PageOsoby;
    QLineEdit* number = p->upper.number.edit;
    s.msgs.expect(QStringLiteral("Zadané číslo: musí být větší jak 0"), MsgKind::kWarning);
    TypeInto(number, QStringLiteral("0"));
    Leave(p->CBPouzit);
    QCOMPARE(number->text(), QStringLiteral("1"));
    QVERIFY(number->hasFocus());
    s.msgs.expect(QStringLiteral("Toto není přípustné číslo"), MsgKind::kWarning);
    TypeInto(number, QStringLiteral("x"));  // letters do not get in
    QCOMPARE(number->text(), QString());
    Leave(p->CBPouzit);
    QCOMPARE(number->text(), QStringLiteral("1"));
    TypeInto(number, QStringLiteral("12"));
    Leave(p->CBPouzit);
    QCOMPARE(p->upper.number.accepted, QStringLiteral("12"));
    // An operator the list does not offer: the focus goes back, silently.
    p->upper.op->setFocus(Qt::TabFocusReason);
    p->upper.op->setEditText(QStringLiteral("="));
    Leave(p->CBPouzit);
    QVERIFY(p->upper.op->hasFocus());
    p->upper.op->setCurrentIndex(1);
    // The limits and the equality exclude each other.
    QTest::mouseClick(p->upper.on, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(p->equal.on, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(!p->upper.on->isChecked());
    QTest::mouseClick(p->lower.on, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(!p->equal.on->isChecked());
    QTest::mouseClick(p->upper.on, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(p->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QCOMPARE(b->state().PersonsCriterion,
             std::string(" (  jizdy.osob > \"1\"  AND  jizdy.osob <= \"12\"  ) "));
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::heartNumbersAreCheckedAndKeptInOrder() {
    QuerySession s;
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    ShowPage(b, b->PageSrdce);
    HeartPage* p = b->PageSrdce;
    QVERIFY(!p->limits[4].number.edit->isEnabled());
    QTest::mouseClick(p->limits[4].on, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(p->limits[4].number.edit->isEnabled());
    QLineEdit* percent = p->limits[4].number.edit;
    s.msgs.expect(QStringLiteral("Zadané číslo: musí být menší nebo rovno 100"), MsgKind::kWarning);
    TypeInto(percent, QStringLiteral("101"));
    Leave(p->CBPouzit);
    QCOMPARE(percent->text(), QStringLiteral("0"));
    s.msgs.expect(QStringLiteral("Zadané číslo: musí být větší nebo rovno 0"), MsgKind::kWarning);
    TypeInto(percent, QStringLiteral("-1"));
    Leave(p->CBPouzit);
    TypeInto(percent, QStringLiteral("100"));
    Leave(p->CBPouzit);
    QCOMPARE(p->limits[5].number.edit->text(), QStringLiteral("100"));  // upper follows
    TypeInto(percent, QStringLiteral("0"));
    Leave(p->CBPouzit);
    QCOMPARE(p->limits[5].number.edit->text(), QStringLiteral("100"));

    QTest::mouseClick(p->limits[0].on, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(p->limits[1].on, Qt::LeftButton, {}, QPoint(6, 6));
    TypeInto(p->limits[1].number.edit, QStringLiteral("140"));
    Leave(p->CBPouzit);
    QCOMPARE(p->limits[0].number.edit->text(), QStringLiteral("140"));  // lower follows
    TypeInto(p->limits[0].number.edit, QStringLiteral("150"));
    Leave(p->CBPouzit);
    QCOMPARE(p->limits[1].number.edit->text(), QStringLiteral("150"));

    QVERIFY(ClickRowOf(p->picks->grid, 0, QStringLiteral("hlídaný")));
    QTest::mouseClick(p->picks->add, Qt::LeftButton);
    QTest::mouseClick(p->Vyber->Ne, Qt::LeftButton);
    QTest::mouseClick(p->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QCOMPARE(b->state().HeartCriterion,
             std::string(" ( NOT (  ( jizdy.thl_c IN (\"2\" ))  AND  ( jizdy.sr_lim > \"150\" )  "
                         "AND  ( jizdy.sr_lim < \"150\" )  AND  ( jizdy.sr_plp > \"0\" ) )) "));
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::latestBikeLeavesTheRidesAsTheyWere() {
    QuerySession s;
    Seed(s);
    Table& rides = s.db().Table1();
    QVERIFY(rides.setIndexName("DELKA").ok());
    QVERIFY(rides.moveToRow(3).ok());
    const Bookmark before = rides.bookmark();
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    ShowPage(b, b->PageKolo);
    QTest::mouseClick(b->PageKolo->BPosledni, Qt::LeftButton);
    QCOMPARE(s.db().TTKOL().getInt("KOL_C"), 2);
    ShowPage(b, b->PageTyp);
    QTest::mouseClick(b->PageTyp->BPosledni, Qt::LeftButton);
    QCOMPARE(s.db().TTRNZ().getInt("TRNZ_C"), 2);
    QCOMPARE(s.db().TTRN().getInt("TRN_C"), 201);
    ShowPage(b, b->PageTrat);
    QTest::mouseClick(b->PageTrat->BPosledniTrat, Qt::LeftButton);
    QCOMPARE(b->PageTrat->EStart->text(), QStringLiteral("Adamov"));
    ShowPage(b, b->PageSrdce);
    QTest::mouseClick(b->PageSrdce->BPosledni, Qt::LeftButton);
    QCOMPARE(s.db().TTHLD().getInt("THL_C"), 0);
    QCOMPARE(rides.indexName(), std::string("DELKA"));
    QCOMPARE(rides.bookmark(), before);
    // A secondary type picked switches the kind of type used.
    QTest::mouseClick(b->PageTyp->secondary->add, Qt::LeftButton);
    QVERIFY(b->PageTyp->RBVedlejsi->isChecked());
    QCOMPARE(b->PageTyp->secondary->list->topLevelItem(0)->text(2), QStringLiteral("vyjížďka"));
    QTest::mouseClick(b->PageTyp->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    QCOMPARE(b->state().RideTypeCriterion, std::string(" ( jizdy.trn_c IN (\"201\" )) "));
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::aRefusedStatementLeavesVysledekByteIdentical() {
    QuerySession s;
    Seed(s);
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    Choose(b, {"DATUM", "JÍZDA DÉLKA"});
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QTest::mouseClick(s.viewer()->BKONEC, Qt::LeftButton);
    Settle();
    const QByteArray before = FileBytes(s.file("VYSLEDEK.dbf"));
    QVERIFY(!before.isEmpty());
    // An empty select list, sent from another page than "Zobrazit".
    QTest::mouseClick(b->PageZobrazit->BVseZpet, Qt::LeftButton);
    QTest::mouseClick(b->Button1, Qt::LeftButton);  // on "Zobrazit": nothing happens
    Settle();
    QCOMPARE(s.form->activeScreen(), b);
    ShowPage(b, b->PageCas);
    s.msgs.expect(QStringLiteral("*"), MsgKind::kError);
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    CHECK_MESSAGES(s.msgs);
    QVERIFY(s.msgs.shown.back().text.contains(QStringLiteral("řádek")));
    QCOMPARE(FileBytes(s.file("VYSLEDEK.dbf")), before);
    QCOMPARE(s.form->activeScreen(), b);
    QVERIFY(!b->subWindow()->isMinimized());
    QVERIFY(!s.form->findChild<TFZobr_Dotaz*>());
}

void TestQueryBuilder::aResultHeldByAnotherProgramIsNotTouched() {
    QuerySession s;
    Seed(s);
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    Choose(b, {"DATUM"});
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QTest::mouseClick(s.viewer()->BKONEC, Qt::LeftButton);
    Settle();
    const QByteArray before = FileBytes(s.file("VYSLEDEK.dbf"));
    Table other(s.dir().toStdString(), "VYSLEDEK.dbf");
    QVERIFY(other.open().ok());
    Choose(b, {"JÍZDA DÉLKA"});
    s.msgs.expect(QStringLiteral("Tabulku výsledku \"VYSLEDEK.dbf\" má otevřenou jiný program "
                                 "nebo okno.\nZavři ji tam a spusť dotaz znovu."),
                  MsgKind::kError);
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(FileBytes(s.file("VYSLEDEK.dbf")), before);
    QCOMPARE(s.form->activeScreen(), b);
    other.close();
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(s.viewer());
}

void TestQueryBuilder::viewerClosesBackToTheBuilderWithEveryChoice() {
    QuerySession s;
    Seed(s);
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton13);
    QVERIFY(b);
    Choose(b, {"KOLO TYP", "CELK.UJET.DÉLKA"});
    ShowPage(b, b->PageTrate);
    // Ordering the route grid by a title; closing the builder drops it.
    QTest::mouseClick(b->PageTrate->picks->grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(10, 5));
    QCOMPARE(s.db().TTRS().indexName(), std::string("TRS_N1"));
    ShowPage(b, b->PageCas);
    QTest::mouseClick(b->PageCas->CBPouzit, Qt::LeftButton, {}, QPoint(6, 6));
    const std::string date = b->state().DateCriterion;
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    TFZobr_Dotaz* v = s.viewer();
    QVERIFY(v);
    QVERIFY(!v->ReturnToNavigator);
    QTest::mouseClick(v->BKONEC, Qt::LeftButton);
    Settle();
    QCOMPARE(s.form->activeScreen(), b);
    QVERIFY(b->subWindow()->isMaximized());
    QCOMPARE(b->PageControl1->currentWidget(), b->PageCas);
    QVERIFY(b->PageCas->CBPouzit->isChecked());
    QCOMPARE(b->state().DateCriterion, date);
    QCOMPARE(Labels(b->PageZobrazit->ListBox2), (QStringList{"KOLO TYP", "CELK.UJET.DÉLKA"}));
    QTest::mouseClick(b->BKONEC, Qt::LeftButton);
    Settle();
    QVERIFY(s.navigator());
    QCOMPARE(s.db().TTRS().indexName(), std::string());
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::runningAgainWithTheViewerOpenReplacesIt() {
    QuerySession s;
    Seed(s);
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton10);
    QVERIFY(b);
    Choose(b, {"DATUM"});
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(s.viewer());
    // Back to the minimised builder through the window list.
    s.form->mdiArea()->setActiveSubWindow(b->subWindow());
    b->subWindow()->showMaximized();
    Settle();
    Choose(b, {"JÍZDA DÉLKA"});
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QCOMPARE(s.form->findChildren<TFZobr_Dotaz*>().size(), 1);
    TFZobr_Dotaz* v = s.viewer();
    QVERIFY(v);
    QCOMPARE(v->DBGrid1->model()->columnCount(), 2);
    QCOMPARE(v->DBGrid1->model()->rowCount(), 5);
    QTest::mouseClick(v->BKONEC, Qt::LeftButton);
    Settle();
    QCOMPARE(s.form->activeScreen(), b);
    CHECK_MESSAGES(s.msgs);
}

void TestQueryBuilder::nothingOnAnyPageCrashesTheBuilder() {
    QuerySession s;
    Seed(s);
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton12);
    QVERIFY(b);
    for (int round = 0; round < 2; ++round) {
        for (int page = 0; page < b->PageControl1->count(); ++page) {
            QWidget* w = b->PageControl1->widget(page);
            b->PageControl1->setCurrentIndex(page);
            Settle();
            for (QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
                if (!button->isVisible() || !button->isEnabled()) continue;
                QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
                Settle();
                QCOMPARE(s.form->activeScreen(), b);
            }
        }
    }
    QTest::mouseClick(b->PageZobrazit->BVseVybrat, Qt::LeftButton);
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(s.viewer() || s.form->activeScreen() == b);
}

QTEST_MAIN(TestQueryBuilder)
#include "tst_query_builder.moc"
