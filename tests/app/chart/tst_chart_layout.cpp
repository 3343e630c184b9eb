// The value axis, the point labels, the legend and finding the point
// under the mouse, without a widget.
#include <QApplication>
#include <QTest>
#include <cmath>

#include "app/chart/chart_hit.h"
#include "app/chart/chart_scale.h"
#include "chart_test_support.h"

using namespace kolvio::chart;
using namespace kolvio::chart::testing;

namespace {

QStringList Labels(int count, int longEvery) {
    QStringList labels;
    for (int i = 0; i < count; ++i) {
        labels.append(i % longEvery == 0 ? QStringLiteral("Okruh kolem Máchova jezera %1").arg(i)
                                         : QStringLiteral("j%1").arg(i));
    }
    return labels;
}

}  // namespace

class ChartLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void axisRunsInNiceStepsOverEveryValue_data();
    void axisRunsInNiceStepsOverEveryValue();
    void numbersReadAsARiderWritesThem_data();
    void numbersReadAsARiderWritesThem();
    void pointLabelsNeverOverlapNorLeaveThePicture_data();
    void pointLabelsNeverOverlapNorLeaveThePicture();
    void legendShowsSetsOnlyWhileAnyHasText();
    void legendOfManyEntriesTellsHowManyAreLeftOut();
    void mouseFindsTheBarMarkOrSliceUnderIt();
};

void ChartLayoutTest::axisRunsInNiceStepsOverEveryValue_data() {
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<bool>("forceZero");
    QTest::addColumn<double>("lo");  // NaN: only lo <= min is checked
    QTest::addColumn<double>("hi");
    const double any = std::nan("");
    QTest::newRow("distances") << 3.0 << 97.0 << false << 0.0 << 100.0;
    QTest::newRow("heart rates close together") << 140.0 << 168.0 << false << 140.0 << 170.0;
    QTest::newRow("bars stand on zero") << 140.0 << 168.0 << true << 0.0 << 200.0;
    QTest::newRow("all zero, a line in the middle") << 0.0 << 0.0 << false << -1.0 << 1.0;
    QTest::newRow("all zero, bars") << 0.0 << 0.0 << true << 0.0 << 1.0;
    QTest::newRow("one negative value") << -5.0 << -5.0 << true << any << 0.0;
    QTest::newRow("both signs") << -3.0 << 7.0 << false << -4.0 << 8.0;
    QTest::newRow("a billion") << 0.0 << 1e9 << true << 0.0 << 1e9;
    QTest::newRow("fractions") << 0.12 << 0.37 << false << 0.0 << 0.4;
}

void ChartLayoutTest::axisRunsInNiceStepsOverEveryValue() {
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(bool, forceZero);
    QFETCH(double, lo);
    QFETCH(double, hi);
    const ValueScale s = NiceScale(min, max, 6, forceZero);
    QVERIFY(s.lo <= min && s.hi >= max);
    if (!std::isnan(lo)) QCOMPARE(s.lo, lo);
    QCOMPARE(s.hi, hi);
    QVERIFY(s.tickCount() >= 2 && s.tickCount() <= 7);
    const double mantissa = s.step / std::pow(10.0, std::floor(std::log10(s.step) + 1e-9));
    QVERIFY2(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                 std::abs(mantissa - 5) < 1e-9,
             qPrintable(QString::number(s.step)));
    // Tick texts tell neighbours apart.
    QStringList texts;
    for (int i = 0; i < s.tickCount(); ++i)
        texts.append(FormatNumber(s.tick(i), s.decimals));
    QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), texts.size());
}

void ChartLayoutTest::numbersReadAsARiderWritesThem_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    const QString nbsp(QChar(0x00A0));
    QTest::newRow("billion") << 1e9 << QStringList({"1", "000", "000", "000"}).join(nbsp);
    QTest::newRow("single-precision distance") << double(12.3f) << QStringLiteral("12.3");
    QTest::newRow("negative") << -1250.5 << "-1" + nbsp + "250.5";
    QTest::newRow("almost zero") << -1e-9 << QStringLiteral("0");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
}

void ChartLayoutTest::numbersReadAsARiderWritesThem() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FormatValue(value), text);
}

void ChartLayoutTest::pointLabelsNeverOverlapNorLeaveThePicture_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("minShown");
    QTest::newRow("2 points") << 2 << 800 << 2;
    QTest::newRow("30 points") << 30 << 800 << 15;
    QTest::newRow("1,000 points") << 1000 << 800 << 20;
    QTest::newRow("1,000 points, narrow") << 1000 << 300 << 5;
    QTest::newRow("10,000 points, wide") << 10000 << 1920 << 50;
}

void ChartLayoutTest::pointLabelsNeverOverlapNorLeaveThePicture() {
    QFETCH(int, points);
    QFETCH(int, width);
    QFETCH(int, minShown);
    const QStringList labels = Labels(points, 7);
    const ChartData data = Loaded({Series(points, 1.0)}, kBar2D, 0, labels);
    const QRectF bounds(0, 0, width, 500);
    const ChartLayout layout = LayOutChart(data, bounds, QApplication::font());
    const QVector<PlacedLabel>& placed = layout.labels.labels;
    QVERIFY2(placed.size() >= minShown, qPrintable(QString::number(placed.size())));
    QCOMPARE(placed.first().point, 0);
    for (int i = 0; i < placed.size(); ++i) {
        const QRectF& box = placed[i].box;
        QVERIFY(bounds.contains(box));
        QVERIFY(box.top() >= layout.plot.bottom());
        QVERIFY(labels[placed[i].point].startsWith(placed[i].text.chopped(1)));
        if (i > 0) {
            QVERIFY(placed[i].point > placed[i - 1].point);
            QVERIFY2(box.left() >= placed[i - 1].box.right() + 1,
                     qPrintable(QStringLiteral("labels %1 and %2 touch")
                                    .arg(placed[i - 1].point)
                                    .arg(placed[i].point)));
        }
    }
}

void ChartLayoutTest::legendShowsSetsOnlyWhileAnyHasText() {
    const QRectF bounds(0, 0, 800, 500);
    const QFont font = QApplication::font();
    const ChartData off = Loaded({{1, 2}, {3, 4}}, kBar2D);
    QVERIFY(LayOutChart(off, bounds, font).legend.isEmpty());
    const ChartData on = Loaded({{1, 2}, {3, 4}}, kBar2D, 0, {}, {"délka", "čas"});
    const ChartLayout layout = LayOutChart(on, bounds, font);
    QCOMPARE(layout.legend.size(), 2);
    QCOMPARE(layout.legend[1].text, QStringLiteral("čas"));
    QVERIFY(layout.plot.right() <= layout.legendBox.left());
    // Points without labels are numbered from 1.
    QCOMPARE(on.labels, QStringList({"1", "2"}));
}

void ChartLayoutTest::legendOfManyEntriesTellsHowManyAreLeftOut() {
    QStringList labels;
    for (int i = 0; i < 500; ++i)
        labels.append(QStringLiteral("trasa %1").arg(i));
    const ChartData data = Loaded({Series(500, 1.0)}, kPie2D, 0, labels);
    const ChartLayout layout = LayOutChart(data, QRectF(0, 0, 800, 300), QApplication::font());
    const int shown = int(layout.legend.size()) - 1;
    QVERIFY(shown > 3 && shown < 30);
    QCOMPARE(layout.legend.last().text, QStringLiteral("… (+%1)").arg(500 - shown));
    QVERIFY(layout.legendBox.bottom() <= 300);
}

void ChartLayoutTest::mouseFindsTheBarMarkOrSliceUnderIt() {
    const QRectF bounds(0, 0, 800, 500);
    const QFont font = QApplication::font();
    const QStringList labels{"Praha", "Brno", "Ostrava"};
    const QStringList legends{"délka", "čas"};
    const QVector<Series> sets{{10, 20, 40}, {5, 30, 15}};

    ChartData data = Loaded(sets, kBar2D, 0, labels, legends);
    ChartLayout layout = LayOutChart(data, bounds, font);
    const QPointF bar = layout.barRect(1, 2, 1, 30).center();
    const auto barHit = HitTest(layout, data, bar);
    QVERIFY(barHit && barHit->set == 1 && barHit->point == 1);
    QCOMPARE(HitText(data, *barHit), QStringLiteral("Brno\nčas: 30"));
    QVERIFY(!HitTest(layout, data, QPointF(bar.x(), layout.yOf(38))));  // above the bar

    data = Loaded(sets, kLine, kStyleMarkedLines, labels, legends);
    layout = LayOutChart(data, bounds, font);
    const auto mark = HitTest(layout, data, QPointF(layout.xOf(2) + 3, layout.yOf(15) - 2));
    QVERIFY(mark && mark->set == 1 && mark->point == 2);

    data = Loaded(sets, kRange, 0, labels, legends);
    layout = LayOutChart(data, bounds, font);
    const auto range = HitTest(layout, data, QPointF(layout.xOf(0), layout.yOf(7)));
    QVERIFY(range && range->set == -1);
    QCOMPARE(HitText(data, *range), QStringLiteral("Praha\ndélka: 10\nčas: 5"));

    data = Loaded(sets, kPie3D, 0, labels, legends);
    layout = LayOutChart(data, bounds, font);
    const QRectF disc = layout.pies[0].disc;
    // Set 1: Praha 10/70 of the turn, Brno 20/70, Ostrava the rest, so
    // three o'clock lies in Brno's slice and nine o'clock in Ostrava's.
    const auto east = HitTest(layout, data, QPointF(disc.right() - 5, disc.center().y()));
    const auto west = HitTest(layout, data, QPointF(disc.left() + 5, disc.center().y()));
    QVERIFY(east && east->set == 0 && east->point == 1);
    QVERIFY(west && west->set == 0 && west->point == 2);
    QVERIFY(!HitTest(layout, data, disc.topLeft()));
}

QTEST_MAIN(ChartLayoutTest)
#include "tst_chart_layout.moc"
