// The result viewer: titles and formats by field, sorting by a title click,
// deleting, swapping rows and columns, the widths remembered, the sort
// indexes built on opening, and the return to the builder.
#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

#include "app/settings_file.h"
#include "app/status_panels.h"
#include "app/widgets/db_grid.h"
#include "data/index/index_def.h"
#include "query_gui_support.h"

using namespace kolvio;
using namespace kolvio::testing;

namespace {

// Three bikes with 1, 2 and 3 rides of different lengths.
void Seed(QuerySession& s) {
    s.addRow(s.db().TTKOL(), {{"KOL_C", 3}, {"KOL_TYP", "HORSKÉ"}});
    s.addRide({2024, 3, 1, 1, 1, 1, 2, 201, 40, 2});
    s.addRide({2024, 3, 2, 1, 1, 2, 2, 201, 10.5, 0.5});
    s.addRide({2024, 3, 3, 1, 1, 2, 2, 201, 21, 1});
    s.addRide({2024, 3, 4, 1, 1, 3, 2, 201, 5, 0.25});
    s.addRide({2024, 3, 5, 1, 1, 3, 2, 201, 6, 0.25});
    s.addRide({2024, 3, 6, 1, 1, 3, 2, 201, 7, 0.25});
}

// "Statistika kol" with the bike, its distance and time: rows of bikes 3, 1, 2
// (in Czech order of the types HORSKÉ, SILNIČNÍ ZÁVODNÍ, SILNIČNÍ ZIMNÍ).
TFZobr_Dotaz* RunBikes(QuerySession& s, const QStringList& labels = {"KOLO TYP", "CELK.UJET.DÉLKA",
                                                                     "CELK.UJET.ČAS"}) {
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton13);
    if (!b) return nullptr;
    Choose(b, labels);
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    return s.viewer();
}

QStringList Titles(QTableView* grid) {
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out.append(grid->model()->headerData(c, Qt::Horizontal).toString());
    return out;
}

QStringList Column(QTableView* grid, int column) {
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out.append(grid->model()->index(r, column).data().toString());
    return out;
}

void ClickTitle(QTableView* grid, int column) {
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, 5));
    Settle();
}

// Chooses a context-menu item the way the menu does.
void Trigger(QAction* action) {
    QVERIFY(action->isEnabled());
    action->trigger();
    Settle();
}

std::vector<IndexDef> IndexesOnDisk(QuerySession& s) {
    return ReadIndexDefs(IndexSidecarPath(s.file("VYSLEDEK.dbf").toStdString()));
}

}  // namespace

class TestResultViewer : public QObject {
    Q_OBJECT
private slots:
    void titlesAlignmentsAndFormatsByField();
    void titleClicksSortHighestFirstThenToggle();
    void deletingAsksAndRemovesTheRowOnDisk();
    void swappingTwiceReturnsWithTheSameWidths();
    void widthsAreRememberedAcrossOpenings();
    void columnsFollowTheScaledFontAndAreRememberedUnscaled();
    void aSingleColumnResultKeepsNoWidths();
    void sortIndexesAreBuiltOnOpeningWhenAsked();
};

void TestResultViewer::titlesAlignmentsAndFormatsByField() {
    QuerySession s;
    Seed(s);
    TFZobr_Dotaz* v = RunBikes(s);
    QVERIFY(v);
    QCOMPARE(v->windowTitle(), QStringLiteral("Zobrazení výsledku dotazu"));
    QCOMPARE(v->Label1->text(), QStringLiteral("ZOBRAZENÍ VÝSLEDKU DOTAZU"));
    QTableView* grid = v->DBGrid1;
    QCOMPARE(Titles(grid),
             (QStringList{"kolo-typ", "celk.ujet.délka", "celk.ujet.čas", "kolo-číslo"}));
    QCOMPARE(Column(grid, 0), (QStringList{"HORSKÉ", "SILNIČNÍ ZÁVODNÍ", "SILNIČNÍ ZIMNÍ"}));
    QCOMPARE(Column(grid, 1), (QStringList{"     18.00", "     40.00", "     31.50"}));
    QCOMPARE(Column(grid, 2), (QStringList{"0:45:00", "2:00:00", "1:30:00"}));
    QCOMPARE(Column(grid, 3), (QStringList{"3", "1", "2"}));
    const auto align = [&](int c) {
        return Qt::Alignment(grid->model()->index(0, c).data(Qt::TextAlignmentRole).toInt()) &
               Qt::AlignHorizontal_Mask;
    };
    QCOMPARE(align(0), Qt::AlignHCenter);
    QCOMPARE(align(1), Qt::AlignRight);
    QCOMPARE(align(2), Qt::AlignHCenter);
    QCOMPARE(align(3), Qt::AlignRight);
    QCOMPARE(v->PageControl1->tabText(0), QStringLiteral("Tabulka"));
    CHECK_MESSAGES(s.msgs);
}

void TestResultViewer::titleClicksSortHighestFirstThenToggle() {
    QuerySession s;
    Seed(s);
    TFZobr_Dotaz* v = RunBikes(s);
    QVERIFY(v);
    QTableView* grid = v->DBGrid1;
    grid->setColumnWidth(0, 150);
    ClickTitle(grid, 1);
    QCOMPARE(Column(grid, 1), (QStringList{"     40.00", "     31.50", "     18.00"}));
    QCOMPARE(s.db().TVYSL().indexName(), std::string("_SUM_DEL"));
    QCOMPARE(grid->columnWidth(0), 150);  // the layout survives the new index
    QCOMPARE(Titles(grid).at(1), QStringLiteral("celk.ujet.délka"));
    ClickTitle(grid, 1);
    QCOMPARE(Column(grid, 1), (QStringList{"     18.00", "     31.50", "     40.00"}));
    ClickTitle(grid, 1);
    QCOMPARE(Column(grid, 1), (QStringList{"     40.00", "     31.50", "     18.00"}));
    // Another column starts highest first again.
    ClickTitle(grid, 3);
    QCOMPARE(Column(grid, 3), (QStringList{"3", "2", "1"}));
    std::vector<std::string> names;
    for (const IndexDef& def : IndexesOnDisk(s))
        names.push_back(def.name);
    QCOMPARE(names, (std::vector<std::string>{"_SUM_DEL", "SUM_DEL", "_KOL_C"}));
    // The result's rows on disk stay in query order.
    QCOMPARE(TableRows(s.dir(), "VYSLEDEK.dbf").column("KOL_C"), (QStringList{"3", "1", "2"}));
    CHECK_MESSAGES(s.msgs);
}

void TestResultViewer::deletingAsksAndRemovesTheRowOnDisk() {
    QuerySession s;
    Seed(s);
    TFZobr_Dotaz* v = RunBikes(s);
    QVERIFY(v);
    QVERIFY(ClickRowOf(v->DBGrid1, 0, QStringLiteral("SILNIČNÍ ZÁVODNÍ")));
    s.msgs.expect(QStringLiteral("Vymazat záznam"), MsgKind::kConfirmation, MsgResult::kNo);
    Trigger(v->MVymaz);
    QCOMPARE(TableRows(s.dir(), "VYSLEDEK.dbf").count(), 3);
    s.msgs.expect(QStringLiteral("Vymazat záznam"), MsgKind::kConfirmation, MsgResult::kYes);
    Trigger(v->MVymaz);
    QCOMPARE(TableRows(s.dir(), "VYSLEDEK.dbf").column("KOL_TYP"),
             (QStringList{"HORSKÉ", "SILNIČNÍ ZIMNÍ"}));
    QCOMPARE(Column(v->DBGrid1, 0), (QStringList{"HORSKÉ", "SILNIČNÍ ZIMNÍ"}));
    // The rides are not touched.
    QCOMPARE(TableRows(s.dir(), "jizdy.dbf").count(), 6);
    for (int i = 0; i < 2; ++i) {
        s.msgs.expect(QStringLiteral("Vymazat záznam"), MsgKind::kConfirmation, MsgResult::kYes);
        Trigger(v->MVymaz);
    }
    // An empty result: asked, and nothing happens.
    s.msgs.expect(QStringLiteral("Vymazat záznam"), MsgKind::kConfirmation, MsgResult::kYes);
    Trigger(v->MVymaz);
    QCOMPARE(TableRows(s.dir(), "VYSLEDEK.dbf").count(), 0);
    CHECK_MESSAGES(s.msgs);
}

void TestResultViewer::swappingTwiceReturnsWithTheSameWidths() {
    QuerySession s;
    Seed(s);
    TFZobr_Dotaz* v = RunBikes(s);
    QVERIFY(v);
    v->DBGrid1->setColumnWidth(0, 140);
    v->DBGrid1->setColumnWidth(2, 70);
    QVERIFY(ClickRowOf(v->DBGrid1, 0, QStringLiteral("SILNIČNÍ ZIMNÍ")));
    Trigger(v->MProhodSR);
    QVERIFY(v->swapped());
    QTableView* swapped = v->swappedView;
    QVERIFY(swapped->isVisible());
    QVERIFY(!v->DBGrid1->isVisible());
    QCOMPARE(swapped->verticalHeader()->width(), 200);
    QCOMPARE(swapped->model()->headerData(1, Qt::Vertical).toString(),
             QStringLiteral("celk.ujet.délka"));
    QCOMPARE(swapped->model()->columnCount(), 3);
    QCOMPARE(swapped->model()->index(1, 2).data().toString(), QStringLiteral("     31.50"));
    QCOMPARE(swapped->currentIndex().column(), 2);  // the current record
    v->DBGrid1->setColumnWidth(0, 10);              // whatever happens meanwhile
    Trigger(v->MProhodSR);
    QVERIFY(!v->swapped());
    QVERIFY(v->DBGrid1->isVisible());
    QCOMPARE(v->DBGrid1->columnWidth(0), 140);
    QCOMPARE(v->DBGrid1->columnWidth(2), 70);
    CHECK_MESSAGES(s.msgs);
}

void TestResultViewer::widthsAreRememberedAcrossOpenings() {
    QuerySession s;
    Seed(s);
    TFZobr_Dotaz* v = RunBikes(s);
    QVERIFY(v);
    v->DBGrid1->setColumnWidth(1, 123);
    QTest::mouseClick(v->BKONEC, Qt::LeftButton);
    Settle();
    SettingsFile ini(s.home.ini().toStdString());
    QCOMPARE(ini.readInteger("Zobr_Vysledek_1", "SUM_DEL", 0), 123);
    QVERIFY(ini.readInteger("Zobr_Vysledek_1", "KOL_TYP", 0) > 0);
    auto* b = qobject_cast<TFDotaz1*>(s.form->activeScreen());
    QVERIFY(b);
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(s.viewer());
    QCOMPARE(s.viewer()->DBGrid1->columnWidth(1), 123);
    // Closing the viewer starts the chart registration afresh next time.
    QVERIFY(ini.writeInteger("Graf-registrace", "cislo", 2).ok());
    QTest::mouseClick(s.viewer()->BKONEC, Qt::LeftButton);
    Settle();
    QCOMPARE(ini.readInteger("Graf-registrace", "cislo", -1), 0);
    CHECK_MESSAGES(s.msgs);
}

void TestResultViewer::columnsFollowTheScaledFontAndAreRememberedUnscaled() {
    QuerySession s;
    Seed(s);
    const QSize normal = s.form->size();
    TFZobr_Dotaz* v = RunBikes(s);
    QVERIFY(v);
    v->DBGrid1->setColumnWidth(1, 123);
    s.form->resize(normal * 2);
    Settle();
    const qreal scale = v->DBGrid1->fontScale();
    QVERIFY(scale > 1.5);
    QVERIFY(qAbs(v->DBGrid1->columnWidth(1) - qRound(123 * scale)) <= 1);
    QTest::mouseClick(v->BKONEC, Qt::LeftButton);
    Settle();
    SettingsFile ini(s.home.ini().toStdString());
    QVERIFY(qAbs(ini.readInteger("Zobr_Vysledek_1", "SUM_DEL", 0) - 123) <= 1);
    // Opened again, scaled: the width kept is scaled again.
    auto* b = qobject_cast<TFDotaz1*>(s.form->activeScreen());
    QVERIFY(b);
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(s.viewer());
    QVERIFY(qAbs(s.viewer()->DBGrid1->columnWidth(1) - qRound(123 * scale)) <= 2);
    s.form->resize(normal);
    Settle();
    QVERIFY(qAbs(s.viewer()->DBGrid1->columnWidth(1) - 123) <= 2);
    CHECK_MESSAGES(s.msgs);
}

void TestResultViewer::aSingleColumnResultKeepsNoWidths() {
    QuerySession s;
    Seed(s);
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton11);
    QVERIFY(b);
    Choose(b, {"POČET JÍZD"});
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    TFZobr_Dotaz* v = s.viewer();
    QVERIFY(v);
    QCOMPARE(Column(v->DBGrid1, 0), (QStringList{"6"}));
    v->DBGrid1->setColumnWidth(0, 77);
    QTest::mouseClick(v->BKONEC, Qt::LeftButton);
    Settle();
    QCOMPARE(
        SettingsFile(s.home.ini().toStdString()).readInteger("Zobr_Vysledek_1", "COUNT_JZD", 0), 0);
    CHECK_MESSAGES(s.msgs);
}

void TestResultViewer::sortIndexesAreBuiltOnOpeningWhenAsked() {
    QuerySession s;
    Seed(s);
    QVERIFY(s.form->settings().writeBool("Zobr_dotaz1", "index_soubory", true).ok());
    TFZobr_Dotaz* v = RunBikes(s);
    QVERIFY(v);
    std::vector<std::string> names;
    for (const IndexDef& def : IndexesOnDisk(s))
        names.push_back(def.name + (def.descending ? " desc" : ""));
    QCOMPARE(names,
             (std::vector<std::string>{"KOL_TYP", "_KOL_TYP desc", "SUM_DEL", "_SUM_DEL desc",
                                       "SUM_CAS", "_SUM_CAS desc", "KOL_C", "_KOL_C desc"}));
    QVERIFY(!s.form->statusPanels()->gaugeVisible());
    QCOMPARE(s.form->statusPanels()->text(), QString());
    // The first click finds its index there.
    ClickTitle(v->DBGrid1, 2);
    QCOMPARE(s.db().TVYSL().indexName(), std::string("_SUM_CAS"));
    QCOMPARE(IndexesOnDisk(s).size(), 8u);
    CHECK_MESSAGES(s.msgs);
}

QTEST_MAIN(TestResultViewer)
#include "tst_result_viewer.moc"
