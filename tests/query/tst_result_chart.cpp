// The chart pages of the result viewer: the choices on "Graf-příprava", the
// chart drawn from every row of VYSLEDEK with the grid's label texts, and
// the rule that hides a drawn chart once its choices or rows change.
#include <QCheckBox>
#include <QImage>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/chart/chart_widget.h"
#include "data/database/database.h"
#include "query/chart_pages.h"
#include "result_viewer_support.h"

using namespace kolvio;
using namespace kolvio::testing;

namespace {

// Columns: KOL_TYP, SUM_DEL, SUM_CAS, COUNT_KOL, KOL_C.
const QStringList kLabels = {"KOLO TYP", "CELK.UJET.DÉLKA", "CELK.UJET.ČAS", "POČET POUŽITÍ"};

constexpr int kPreparation = 1;
constexpr int kChart = 2;

QStringList Entries(const QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out.append(list->topLevelItem(i)->text(0));
    return out;
}

// Clicks the entry `title` of `list` (alone selected) and presses `button`.
void Pick(QTreeWidget* list, const QString& title, QPushButton* button) {
    const QList<QTreeWidgetItem*> found = list->findItems(title, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(title));
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
    if (button) QTest::mouseClick(button, Qt::LeftButton);
    Settle();
}

bool Shows(TFZobr_Dotaz* v, int tab) {
    return v->PageControl1->isTabVisible(tab);
}

// The viewer over three bikes with the label field and `values` chosen and
// the chart drawn.
TFZobr_Dotaz* DrawnChart(QuerySession& s, const QString& label, const QStringList& values) {
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    if (!v) return nullptr;
    ChartPreparationPage* p = v->TabGrafPriprava;
    v->PageControl1->setCurrentIndex(kPreparation);
    Pick(p->ListView1, label, p->SpeedButton3);
    for (const QString& value : values)
        Pick(p->ListView4, value, p->SpeedButton2);
    QTest::mouseClick(p->Button1, Qt::LeftButton);
    Settle();
    return v;
}

}  // namespace

class TestResultChart : public QObject {
    Q_OBJECT
private slots:
    void listsOfferEveryFieldForLabelsAndSummableOnesForData();
    void chartTakesEveryRowWithTheGridsLabels();
    void legendShowsTheTitlesOnlyWhenTicked();
    void chartIsHiddenAfterEveryChange_data();
    void chartIsHiddenAfterEveryChange();
    void nothingIsDrawnWithoutLabelOrData();
    void aResultOfOneRowHasNoChartPages();
    void anEmptyValueIsDrawnAtZero();
};

void TestResultChart::listsOfferEveryFieldForLabelsAndSummableOnesForData() {
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    QCOMPARE(v->PageControl1->tabText(kPreparation), QStringLiteral("Graf-příprava"));
    QCOMPARE(v->PageControl1->tabText(kChart), QStringLiteral("Graf-zobrazení"));
    QVERIFY(Shows(v, kPreparation));
    QVERIFY(!Shows(v, kChart));
    ChartPreparationPage* p = v->TabGrafPriprava;
    QCOMPARE(Entries(p->ListView1), (QStringList{"kolo-typ", "celk.ujet.délka", "celk.ujet.čas",
                                                 "počet použití", "kolo-číslo"}));
    // Neither the text nor the bike's code can be drawn as data.
    QCOMPARE(Entries(p->ListView4),
             (QStringList{"celk.ujet.délka", "celk.ujet.čas", "počet použití"}));
    // The same field chosen twice is there once; a new label replaces the old.
    v->PageControl1->setCurrentIndex(kPreparation);
    Pick(p->ListView4, QStringLiteral("celk.ujet.čas"), p->SpeedButton2);
    Pick(p->ListView4, QStringLiteral("celk.ujet.čas"), p->SpeedButton2);
    Pick(p->ListView4, QStringLiteral("celk.ujet.délka"), p->SpeedButton2);
    QCOMPARE(Entries(p->ListView2), (QStringList{"celk.ujet.čas", "celk.ujet.délka"}));
    Pick(p->ListView1, QStringLiteral("kolo-typ"), p->SpeedButton3);
    Pick(p->ListView1, QStringLiteral("kolo-číslo"), p->SpeedButton3);
    QCOMPARE(Entries(p->ListView3), (QStringList{"kolo-číslo"}));
    // "X" removes the selected data field only.
    Pick(p->ListView2, QStringLiteral("celk.ujet.čas"), p->SpeedButton4);
    QCOMPARE(Entries(p->ListView2), (QStringList{"celk.ujet.délka"}));
    CHECK_MESSAGES(s.msgs);
}

void TestResultChart::chartTakesEveryRowWithTheGridsLabels() {
    QuerySession s;
    // Labelled by the times, as the grid shows them.
    TFZobr_Dotaz* v =
        DrawnChart(s, QStringLiteral("celk.ujet.čas"),
                   {QStringLiteral("celk.ujet.délka"), QStringLiteral("počet použití")});
    QVERIFY(v);
    QVERIFY(Shows(v, kChart));
    QCOMPARE(v->PageControl1->currentIndex(), kChart);
    const auto& shown = v->Graf1->shown();
    QVERIFY(shown.has_value());
    QCOMPARE(shown->numPoints, 3);
    QCOMPARE(shown->numSets, 2);
    QCOMPARE(shown->labels, (QStringList{"0:45:00", "2:00:00", "1:30:00"}));
    QCOMPARE(shown->value(0, 0), 18.0);
    QCOMPARE(shown->value(0, 1), 40.0);
    QCOMPARE(shown->value(0, 2), 31.5);
    QCOMPARE(shown->value(1, 0), 3.0);
    QCOMPARE(shown->value(1, 2), 2.0);
    QVERIFY(!shown->hasLegend());
    // Drawing read the rows without moving the grid off its row.
    QCOMPARE(v->DBGrid1->currentIndex().row(), 0);
    // Something was painted on the page.
    QImage picture(v->Graf1->size(), QImage::Format_RGB32);
    v->Graf1->render(&picture);
    QVERIFY(picture.pixel(0, 0) != 0);
    int coloured = 0;
    for (int y = 0; y < picture.height(); y += 4) {
        for (int x = 0; x < picture.width(); x += 4) {
            const QColor c = picture.pixelColor(x, y);
            if (c.saturation() > 80) ++coloured;
        }
    }
    QVERIFY(coloured > 20);
    CHECK_MESSAGES(s.msgs);
}

void TestResultChart::legendShowsTheTitlesOnlyWhenTicked() {
    QuerySession s;
    TFZobr_Dotaz* v =
        DrawnChart(s, QStringLiteral("kolo-typ"),
                   {QStringLiteral("celk.ujet.délka"), QStringLiteral("celk.ujet.čas")});
    QVERIFY(v);
    v->PageControl1->setCurrentIndex(kPreparation);
    QTest::mouseClick(v->TabGrafPriprava->CheckBox1, Qt::LeftButton);
    QTest::mouseClick(v->TabGrafPriprava->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(v->Graf1->shown()->hasLegend());
    QCOMPARE(v->Graf1->shown()->legends, (QStringList{"celk.ujet.délka", "celk.ujet.čas"}));
    QCOMPARE(v->Graf1->shown()->labels,
             (QStringList{"HORSKÉ", "SILNIČNÍ ZÁVODNÍ", "SILNIČNÍ ZIMNÍ"}));
    CHECK_MESSAGES(s.msgs);
}

void TestResultChart::chartIsHiddenAfterEveryChange_data() {
    QTest::addColumn<int>("change");
    QTest::newRow("another label field") << 0;
    QTest::newRow("a data field added") << 1;
    QTest::newRow("a data field removed") << 2;
    QTest::newRow("legend ticked") << 3;
    QTest::newRow("a row deleted") << 4;
}

void TestResultChart::chartIsHiddenAfterEveryChange() {
    QFETCH(int, change);
    QuerySession s;
    TFZobr_Dotaz* v =
        DrawnChart(s, QStringLiteral("kolo-typ"), {QStringLiteral("celk.ujet.délka")});
    QVERIFY(v);
    QVERIFY(Shows(v, kChart));
    ChartPreparationPage* p = v->TabGrafPriprava;
    v->PageControl1->setCurrentIndex(kPreparation);
    switch (change) {
        case 0:
            Pick(p->ListView1, QStringLiteral("kolo-číslo"), p->SpeedButton3);
            break;
        case 1:
            Pick(p->ListView4, QStringLiteral("celk.ujet.čas"), p->SpeedButton2);
            break;
        case 2:
            Pick(p->ListView2, QStringLiteral("celk.ujet.délka"), p->SpeedButton4);
            break;
        case 3:
            QTest::mouseClick(p->CheckBox1, Qt::LeftButton);
            break;
        case 4:
            v->PageControl1->setCurrentIndex(0);
            Settle();
            ClickCell(v->DBGrid1, 0, 0);
            s.msgs.expect(QStringLiteral("Vymazat záznam"), MsgKind::kConfirmation,
                          MsgResult::kYes);
            v->MVymaz->trigger();
            break;
    }
    Settle();
    QVERIFY(!Shows(v, kChart));
    QVERIFY(Shows(v, kPreparation));
    // Choosing the same label again changes nothing and hides nothing.
    QTest::mouseClick(p->Button1, Qt::LeftButton);
    Settle();
    if (change != 2) {
        QVERIFY(Shows(v, kChart));
        Pick(p->ListView1, p->ListView3->topLevelItem(0)->text(0), p->SpeedButton3);
        QVERIFY(Shows(v, kChart));
    }
    CHECK_MESSAGES(s.msgs);
}

void TestResultChart::nothingIsDrawnWithoutLabelOrData() {
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    ChartPreparationPage* p = v->TabGrafPriprava;
    v->PageControl1->setCurrentIndex(kPreparation);
    Pick(p->ListView4, QStringLiteral("celk.ujet.délka"), p->SpeedButton2);
    QTest::mouseClick(p->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(!Shows(v, kChart));
    QVERIFY(!v->Graf1->shown().has_value());
    Pick(p->ListView2, QStringLiteral("celk.ujet.délka"), p->SpeedButton4);
    Pick(p->ListView1, QStringLiteral("kolo-typ"), p->SpeedButton3);
    QTest::mouseClick(p->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(!Shows(v, kChart));
    CHECK_MESSAGES(s.msgs);
}

void TestResultChart::aResultOfOneRowHasNoChartPages() {
    {
        QuerySession s;
        SeedBikes(s);
        TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
        QVERIFY(v);
        ClickCell(v->DBGrid1, 0, 0);
        for (int i = 0; i < 2; ++i) {
            QVERIFY(Shows(v, kPreparation));
            s.msgs.expect(QStringLiteral("Vymazat záznam"), MsgKind::kConfirmation,
                          MsgResult::kYes);
            v->MVymaz->trigger();
            Settle();
        }
        QVERIFY(!Shows(v, kPreparation));
        QVERIFY(!Shows(v, kChart));
        CHECK_MESSAGES(s.msgs);
    }
    // Opened over one row: only the table.
    QuerySession s;
    s.addRide({2024, 3, 1, 1, 1, 1, 2, 201, 40, 2});
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    QCOMPARE(v->DBGrid1->model()->rowCount(), 1);
    QVERIFY(!Shows(v, kPreparation));
    QVERIFY(!Shows(v, kChart));
    CHECK_MESSAGES(s.msgs);
}

void TestResultChart::anEmptyValueIsDrawnAtZero() {
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    Table& result = s.db().TVYSL();
    QVERIFY(result.first().ok());
    QVERIFY(result.next().ok());
    QVERIFY(result.edit().ok());
    QVERIFY(result.setNull("SUM_DEL").ok());
    QVERIFY(result.post().ok());
    ChartPreparationPage* p = v->TabGrafPriprava;
    v->PageControl1->setCurrentIndex(kPreparation);
    Pick(p->ListView1, QStringLiteral("kolo-typ"), p->SpeedButton3);
    Pick(p->ListView4, QStringLiteral("celk.ujet.délka"), p->SpeedButton2);
    QTest::mouseClick(p->Button1, Qt::LeftButton);
    Settle();
    QVERIFY(Shows(v, kChart));
    QCOMPARE(v->Graf1->shown()->value(0, 0), 18.0);
    QCOMPARE(v->Graf1->shown()->value(0, 1), 0.0);
    QCOMPARE(v->Graf1->shown()->value(0, 2), 31.5);
    CHECK_MESSAGES(s.msgs);
}

QTEST_MAIN(TestResultChart)
#include "tst_result_chart.moc"
