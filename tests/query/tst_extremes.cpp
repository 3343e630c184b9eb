// The extremes window: opened by "Extrémy", its page "Extrém" first with the
// 260 ranks, the moves between and within the lists, and "O.K." writing one
// row per chosen rank into VYSLEDEK and showing it.
#include <QFileInfo>
#include <QTabWidget>
#include <QTextBrowser>

#include "app/help_viewer.h"
#include "data/database/database.h"
#include "query/extreme_page.h"
#include "query/fdotaz2.h"
#include "result_viewer_support.h"

using namespace kolvio;
using namespace kolvio::testing;

namespace {

QStringList Texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

// Clicks the entry `text` of `list` (alone selected), then `button`.
void Pick(QListWidget* list, const QString& text, QPushButton* button = nullptr) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
    if (button) QTest::mouseClick(button, Qt::LeftButton);
    Settle();
}

TFDotaz2* OpenExtremes(QuerySession& s) {
    TFNavig* nav = s.navigator();
    if (!nav || !nav->RButton17->isEnabled()) return nullptr;
    QTest::mouseClick(nav->RButton17, Qt::LeftButton);
    Settle();
    return qobject_cast<TFDotaz2*>(s.form->activeScreen());
}

// Five rides (speeds 20, 30, 25, 20, 24 km/h) on bikes 1 and 2.
void SeedRides(QuerySession& s) {
    s.addRide({2024, 5, 1, 1, 1, 1, 2, 201, 40, 2});
    s.addRide({2024, 5, 2, 1, 1, 2, 2, 201, 60, 2});
    s.addRide({2024, 5, 3, 1, 1, 1, 2, 201, 25, 1});
    s.addRide({2024, 5, 4, 1, 1, 1, 2, 201, 60, 3});
    s.addRide({2024, 5, 5, 1, 1, 2, 2, 201, 12, 0.5});
}

}  // namespace

class TestExtremes : public QObject {
    Q_OBJECT
private slots:
    void extremesButtonOpensTheRanksFirst();
    void ranksMoveWithTheirCodes();
    void okShowsOneRowPerRank();
    void okWithoutRanksOrColumnsDoesNothing();
    void noRidePassingStillGivesEveryRank();
    void f1OpensThePagesOwnHelp();
};

void TestExtremes::extremesButtonOpensTheRanksFirst() {
    QuerySession s;
    TFDotaz2* x = OpenExtremes(s);
    QVERIFY(x);
    QCOMPARE(x->PageControl1->tabText(0), QStringLiteral("Extrém"));
    QCOMPARE(x->PageControl1->tabText(1), QStringLiteral("Zobrazit"));
    QCOMPARE(x->PageControl1->currentIndex(), 0);
    QCOMPARE(x->helpContext(), 910);
    const QStringList offered = Texts(x->PageExtrem->ListBox1);
    QCOMPARE(offered.size(), 260);
    QCOMPARE(offered[0], QStringLiteral("průměr 1. nejvyšší"));
    QCOMPARE(offered[9], QStringLiteral("průměr 10. nejvyšší"));
    QCOMPARE(offered[10], QStringLiteral("průměr 1. nejnižší"));
    QCOMPARE(offered[20], QStringLiteral("délka jízdy 1. nejvyšší"));
    QCOMPARE(offered[259], QStringLiteral("prům./lim.tep[%] 10. nejnižší"));
    QCOMPARE(x->PageExtrem->ListBox1->item(52)->data(Qt::UserRole).toInt(), 353);
    QVERIFY(x->PageExtrem->ListBox2->count() == 0);
    // The builder's pages follow, with their help; the general column list.
    x->PageControl1->setCurrentIndex(1);
    QCOMPARE(x->helpContext(), 920);
    QVERIFY(!x->PageZobrazit->ListBox1->findItems(QStringLiteral("JÍZDA PRŮMER"), Qt::MatchExactly)
                 .isEmpty());
    CHECK_MESSAGES(s.msgs);
}

void TestExtremes::ranksMoveWithTheirCodes() {
    QuerySession s;
    TFDotaz2* x = OpenExtremes(s);
    QVERIFY(x);
    ExtremePage* p = x->PageExtrem;
    Pick(p->ListBox1, QStringLiteral("tep max 3. nejnižší"), p->BVybrat);
    Pick(p->ListBox1, QStringLiteral("průměr 1. nejvyšší"), p->BVybrat);
    Pick(p->ListBox1, QStringLiteral("čas jízdy 2. nejvyšší"), p->BVybrat);
    QCOMPARE(p->ListBox1->count(), 257);
    QVERIFY(
        p->ListBox1->findItems(QStringLiteral("průměr 1. nejvyšší"), Qt::MatchExactly).isEmpty());
    // Up to the top and one further stays there, still selected.
    Pick(p->ListBox2, QStringLiteral("čas jízdy 2. nejvyšší"), p->BNahoru);
    QTest::mouseClick(p->BNaPrvni, Qt::LeftButton);
    QTest::mouseClick(p->BNahoru, Qt::LeftButton);
    QCOMPARE(Texts(p->ListBox2),
             (QStringList{"čas jízdy 2. nejvyšší", "tep max 3. nejnižší", "průměr 1. nejvyšší"}));
    QVERIFY(p->ListBox2->item(0)->isSelected());
    QTest::mouseClick(p->BNaPosledni, Qt::LeftButton);
    QTest::mouseClick(p->BDolu, Qt::LeftButton);
    QCOMPARE(p->ListBox2->row(p->ListBox2->currentItem()), 2);
    std::vector<int> codes;
    for (const ChosenExtreme& e : p->chosen())
        codes.push_back(e.code);
    QCOMPARE(codes, (std::vector<int>{653, 101, 402}));
    // Back at the end of the offer, with its code.
    Pick(p->ListBox2, QStringLiteral("průměr 1. nejvyšší"), p->BZpet);
    QCOMPARE(p->ListBox1->item(p->ListBox1->count() - 1)->text(),
             QStringLiteral("průměr 1. nejvyšší"));
    QCOMPARE(p->ListBox1->item(p->ListBox1->count() - 1)->data(Qt::UserRole).toInt(), 101);
    QTest::mouseClick(p->BVseVybrat, Qt::LeftButton);
    QCOMPARE(p->ListBox2->count(), 260);
    QTest::mouseClick(p->BVseZpet, Qt::LeftButton);
    QCOMPARE(p->ListBox1->count(), 260);
    CHECK_MESSAGES(s.msgs);
}

void TestExtremes::okShowsOneRowPerRank() {
    QuerySession s;
    SeedRides(s);
    TFDotaz2* x = OpenExtremes(s);
    QVERIFY(x);
    ExtremePage* p = x->PageExtrem;
    for (const char* rank : {"průměr 1. nejvyšší", "průměr 1. nejnižší", "průměr 10. nejvyšší",
                             "délka jízdy 1. nejnižší"})
        Pick(p->ListBox1, QString::fromUtf8(rank), p->BVybrat);
    x->PageControl1->setCurrentIndex(1);
    Choose(x, {QStringLiteral("DATUM"), QStringLiteral("JÍZDA PRŮMER")});
    QTest::mouseClick(x->Button1, Qt::LeftButton);
    Settle();
    TFZobr_Dotaz* v = s.viewer();
    QVERIFY(v);
    QVERIFY(x->isMinimized());
    TableRows rows(s.dir(), QStringLiteral("VYSLEDEK.dbf"));
    QCOMPARE(rows.count(), 4);
    QStringList seen;
    for (Status st = rows.table.first(); st.ok() && !rows.table.eof(); st = rows.table.next()) {
        seen.append(QString::fromStdString(rows.table.getString("EXTREM")) + " " +
                    QString::number(rows.table.getDate("DATUM")->day()) + " " +
                    QString::number(rows.table.getDouble("PRUMER")));
    }
    // Ties (20 km/h on the 1st and the 4th) rank in diary order.
    QCOMPARE(seen, (QStringList{"průměr 1. nejvyšší 2 30", "průměr 1. nejnižší 1 20",
                                "průměr 10. nejvyšší 4 20", "délka jízdy 1. nejnižší 5 24"}));
    QCOMPARE(v->DBGrid1->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("extrém"));
    QCOMPARE(v->DBGrid1->model()->columnCount(), 3);
    // Closing the viewer brings the window back as it was.
    v->closeScreen();
    Settle();
    QCOMPARE(s.form->activeScreen(), x);
    QCOMPARE(x->PageExtrem->ListBox2->count(), 4);
    CHECK_MESSAGES(s.msgs);
}

void TestExtremes::okWithoutRanksOrColumnsDoesNothing() {
    QuerySession s;
    SeedRides(s);
    TFDotaz2* x = OpenExtremes(s);
    QVERIFY(x);
    Pick(x->PageExtrem->ListBox1, QStringLiteral("průměr 1. nejvyšší"), x->PageExtrem->BVybrat);
    QTest::mouseClick(x->Button1, Qt::LeftButton);
    Settle();
    QCOMPARE(s.form->activeScreen(), x);
    QVERIFY(!QFile::exists(s.file("VYSLEDEK.dbf")) ||
            TableRows(s.dir(), QStringLiteral("VYSLEDEK.dbf")).count() == 0);
    // Columns but no rank.
    Pick(x->PageExtrem->ListBox2, QStringLiteral("průměr 1. nejvyšší"), x->PageExtrem->BZpet);
    x->PageControl1->setCurrentIndex(1);
    Choose(x, {QStringLiteral("DATUM")});
    QTest::mouseClick(x->Button1, Qt::LeftButton);
    Settle();
    QCOMPARE(s.form->activeScreen(), x);
    QVERIFY(!s.viewer());
    CHECK_MESSAGES(s.msgs);
}

void TestExtremes::noRidePassingStillGivesEveryRank() {
    QuerySession s;
    TFDotaz2* x = OpenExtremes(s);
    QVERIFY(x);
    Pick(x->PageExtrem->ListBox1, QStringLiteral("tep max 1. nejvyšší"), x->PageExtrem->BVybrat);
    Pick(x->PageExtrem->ListBox1, QStringLiteral("délka jízdy 2. nejnižší"),
         x->PageExtrem->BVybrat);
    x->PageControl1->setCurrentIndex(1);
    Choose(x, {QStringLiteral("DATUM"), QStringLiteral("JÍZDA DÉLKA")});
    QTest::mouseClick(x->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(s.viewer());
    TableRows rows(s.dir(), QStringLiteral("VYSLEDEK.dbf"));
    QCOMPARE(rows.count(), 2);
    QVERIFY(rows.table.first().ok());
    QCOMPARE(QString::fromStdString(rows.table.getString("EXTREM")),
             QStringLiteral("tep max 1. nejvyšší"));
    QVERIFY(rows.table.isNull("DATUM"));
    QVERIFY(rows.table.isNull("DELKA"));
    CHECK_MESSAGES(s.msgs);
}

void TestExtremes::f1OpensThePagesOwnHelp() {
    QuerySession s;
    SeedRides(s);
    TFDotaz2* x = OpenExtremes(s);
    QVERIFY(x);
    const auto shownOnF1 = [](QWidget* focus) {
        QTest::keyClick(focus, Qt::Key_F1);
        Settle();
        QWidget* help = HelpWindow();
        auto* browser = help ? help->findChild<QTextBrowser*>() : nullptr;
        const QString page = browser && help->isVisible()
                                 ? QFileInfo(browser->source().toLocalFile()).completeBaseName()
                                 : QString();
        if (help) help->close();
        return page;
    };
    x->PageExtrem->ListBox1->setFocus();
    QCOMPARE(shownOnF1(x->PageExtrem->ListBox1), QStringLiteral("extremy"));
    Pick(x->PageExtrem->ListBox1, QStringLiteral("průměr 1. nejvyšší"), x->PageExtrem->BVybrat);
    x->PageControl1->setCurrentIndex(1);
    Choose(x, {QStringLiteral("DATUM"), QStringLiteral("JÍZDA DÉLKA")});
    QTest::mouseClick(x->Button1, Qt::LeftButton);
    Settle();
    TFZobr_Dotaz* v = s.viewer();
    QVERIFY(v);
    v->DBGrid1->setFocus();
    QCOMPARE(shownOnF1(v->DBGrid1), QStringLiteral("vysledek"));
    CHECK_MESSAGES(s.msgs);
}

QTEST_MAIN(TestExtremes)
#include "tst_extremes.moc"
