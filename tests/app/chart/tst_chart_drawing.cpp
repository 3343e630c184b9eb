// The seven kinds of chart drawn into an image and read back pixel by
// pixel: bar heights and colours, lines and marks, range bars, the angles
// of pie slices, and charts of values that could break the arithmetic.
#include <QApplication>
#include <QTest>
#include <cmath>

#include "app/chart/chart_painter.h"
#include "app/chart/chart_palette.h"
#include "chart_test_support.h"

using namespace kolvio::chart;
using namespace kolvio::chart::testing;

Q_DECLARE_METATYPE(QVector<double>)

namespace {

const QSize kSize(800, 500);

struct Drawn {
    explicit Drawn(const ChartData& d)
        : data(d),
          layout(LayOutChart(data, QRectF(QPointF(0, 0), kSize), QApplication::font())),
          image(RenderChart(data, kSize, QApplication::font())) {}
    ChartData data;
    ChartLayout layout;
    QImage image;
};

}  // namespace

class ChartDrawingTest : public QObject {
    Q_OBJECT
private slots:
    void barsAreAsTallAsTheirValuesInTheirSetsColours_data();
    void barsAreAsTallAsTheirValuesInTheirSetsColours();
    void negativeBarsHangBelowTheZeroLine();
    void lineStyleFiveAddsMarksThatStyleFourLacks();
    void pointsAreMarksWithoutJoiningLines();
    void rangeBarRunsFromLowestToHighestValueWithTicksOfTheSets();
    void pieSlicesCoverTheAnglesOfTheirShares_data();
    void pieSlicesCoverTheAnglesOfTheirShares();
    void pieLeavesOutValuesOfZeroAndBelow();
    void eachSetGetsAPieOfItsOwn();
    void awkwardValuesDrawWithoutBreakingTheScale_data();
    void awkwardValuesDrawWithoutBreakingTheScale();
};

void ChartDrawingTest::barsAreAsTallAsTheirValuesInTheirSetsColours_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("unit");
    QTest::newRow("2-D") << int(kBar2D) << 1.0;
    QTest::newRow("3-D") << int(kBar3D) << 1.0;
    QTest::newRow("2-D, values of a billion") << int(kBar2D) << 1e8;
    QTest::newRow("3-D, small fractions") << int(kBar3D) << 1e-3;
}

// Two sets over three points: set A 10, 20, 40 and set B 40, 20, 10 (times
// the unit). Each bar, measured upwards from the axis, has its set's
// colour and a height proportional to its value.
void ChartDrawingTest::barsAreAsTallAsTheirValuesInTheirSetsColours() {
    QFETCH(int, type);
    QFETCH(double, unit);
    const Drawn d(
        Loaded({{10 * unit, 20 * unit, 40 * unit}, {40 * unit, 20 * unit, 10 * unit}}, type));
    QCOMPARE(d.layout.scale.lo, 0.0);
    double heights[2][3];
    for (int s = 0; s < 2; ++s) {
        for (int p = 0; p < 3; ++p) {
            const double x = d.layout.barRect(s, 2, p, d.data.value(s, p)).center().x();
            // Counted from just above the axis line, which is drawn over
            // the foot of the bars.
            const int h = RunLength(d.image, x, d.layout.plot.bottom() - 2, SeriesColor(s), -1);
            QVERIFY2(h > 10, qPrintable(QStringLiteral("set %1 point %2").arg(s).arg(p)));
            heights[s][p] = h + 2;
        }
    }
    for (int s = 0; s < 2; ++s) {
        QVERIFY(std::abs(heights[s][1] - heights[1 - s][1]) <= 1);  // equal values
    }
    // 40 is four times and 20 twice as tall as 10, within a pixel or so.
    QVERIFY(std::abs(heights[0][2] - 4 * heights[0][0]) <= 3);
    QVERIFY(std::abs(heights[0][1] - 2 * heights[0][0]) <= 2);
    QVERIFY(std::abs(heights[1][0] - heights[0][2]) <= 1);
    QVERIFY(std::abs(heights[0][2] - d.layout.plot.height() * 40 * unit / d.layout.scale.hi) <= 3);
}

void ChartDrawingTest::negativeBarsHangBelowTheZeroLine() {
    const Drawn d(Loaded({{-10, 30}}, kBar2D));
    const double zero = d.layout.yOf(0);
    const double x0 = d.layout.xOf(0), x1 = d.layout.xOf(1);
    QVERIFY(zero > d.layout.plot.top() && zero < d.layout.plot.bottom());
    const int down = RunLength(d.image, x0, zero + 2, SeriesColor(0), 1);
    const int up = RunLength(d.image, x1, zero - 2, SeriesColor(0), -1);
    QVERIFY(down > 10);
    QVERIFY(std::abs(up - 3 * down) <= 5);
    QCOMPARE(Pixel(d.image, x0, zero - 4), QColor(Qt::white));  // nothing above zero
}

void ChartDrawingTest::lineStyleFiveAddsMarksThatStyleFourLacks() {
    const Series flat{10, 10, 10, 10};
    const Drawn plain(Loaded({flat}, kLine, kStylePlainLines));
    const Drawn marked(Loaded({flat}, kLine, kStyleMarkedLines));
    QCOMPARE(plain.data.kind(), ChartKind::kLines);
    QCOMPARE(marked.data.kind(), ChartKind::kMarkedLines);
    for (int p = 0; p < 4; ++p) {
        const QPointF at(plain.layout.xOf(p), plain.layout.yOf(10));
        // The line itself is two pixels thick in both styles ...
        QCOMPARE(Pixel(plain.image, at.x(), at.y()), SeriesColor(0));
        QCOMPARE(Pixel(marked.image, at.x(), at.y()), SeriesColor(0));
        // ... and the marks add a disc, square or other shape around it.
        const int line = CountAround(plain.image, at, 4, SeriesColor(0));
        QVERIFY(line <= 3 * 9);
        QVERIFY(CountAround(marked.image, at, 4, SeriesColor(0)) >= line + 12);
        QCOMPARE(Pixel(plain.image, at.x(), at.y() + 3), QColor(Qt::white));
    }
}

void ChartDrawingTest::pointsAreMarksWithoutJoiningLines() {
    const Drawn d(Loaded({{10, 30, 10}, {20, 20, 20}}, kLine, kStylePoints));
    QCOMPARE(d.data.kind(), ChartKind::kPoints);
    for (int s = 0; s < 2; ++s) {
        for (int p = 0; p < 3; ++p) {
            const QPointF at(d.layout.xOf(p), d.layout.yOf(d.data.value(s, p)));
            QVERIFY(CountAround(d.image, at, 3, SeriesColor(s)) >= 9);
        }
    }
    // Half-way between two points of a set there is no line.
    const QPointF between((d.layout.xOf(0) + d.layout.xOf(1)) / 2, d.layout.yOf(20));
    QCOMPARE(CountAround(d.image, between, 3, SeriesColor(0)), 0);
    QCOMPARE(CountAround(d.image, between, 3, SeriesColor(1)), 0);
}

// Point 1 spans 0..10 and point 2 spans 0..40 over three sets; the top of
// each bar carries the tick of the set that reaches highest.
void ChartDrawingTest::rangeBarRunsFromLowestToHighestValueWithTicksOfTheSets() {
    const Drawn d(Loaded({{0, 20}, {10, 0}, {5, 40}}, kRange));
    QCOMPARE(d.data.kind(), ChartKind::kRange);
    int extent[2];
    for (int p = 0; p < 2; ++p) {
        // Off-centre to miss nothing but the bar: the column from just
        // above the axis up to the first white pixel.
        const double x = d.layout.xOf(p) + d.layout.slotWidth * 0.2;
        int top = int(d.layout.plot.bottom()) - 3;
        while (top > 0 && d.image.pixelColor(int(x), top - 1) != QColor(Qt::white))
            --top;
        extent[p] = int(d.layout.plot.bottom()) - top;
        const int highest = p == 0 ? 1 : 2;
        QCOMPARE(Pixel(d.image, x, d.layout.yOf(d.data.value(highest, p))), SeriesColor(highest));
    }
    QVERIFY(std::abs(extent[1] - 4 * extent[0]) <= 8);
    const QColor inside = Pixel(d.image, d.layout.xOf(1), d.layout.yOf(30));
    QVERIFY(inside != QColor(Qt::white));
}

void ChartDrawingTest::pieSlicesCoverTheAnglesOfTheirShares_data() {
    QTest::addColumn<int>("type");
    QTest::newRow("2-D") << int(kPie2D);
    QTest::newRow("3-D") << int(kPie3D);
}

// Shares 1, 1, 2: clockwise from twelve o'clock the first slice ends at
// three o'clock, the second at six, the third fills the left half.
void ChartDrawingTest::pieSlicesCoverTheAnglesOfTheirShares() {
    QFETCH(int, type);
    const Drawn d(Loaded({{1, 1, 2}}, type));
    QCOMPARE(d.layout.pies.size(), 1);
    const QRectF disc = d.layout.pies[0].disc;
    const auto at = [&](double degrees) {
        const double a = degrees * M_PI / 180;
        return QPointF(disc.center().x() + 0.85 * disc.width() / 2 * std::sin(a),
                       disc.center().y() - 0.85 * disc.height() / 2 * std::cos(a));
    };
    const struct {
        double angle;
        int slice;
    } samples[] = {{5, 0}, {85, 0}, {95, 1}, {175, 1}, {185, 2}, {265, 2}, {355, 2}};
    for (const auto& sample : samples) {
        const QPointF p = at(sample.angle);
        QVERIFY2(Pixel(d.image, p.x(), p.y()) == SliceColor(sample.slice, 3),
                 qPrintable(QStringLiteral("at %1 degrees").arg(sample.angle)));
    }
    if (type == kPie3D) {
        // The rim below the front shows the slices' darker sides: a little
        // right of six o'clock, half the depth below the top face's edge.
        const double x = 0.2 * disc.width();
        const double edge =
            disc.height() / 2 * std::sqrt(1 - 4 * x * x / (disc.width() * disc.width()));
        const QPointF below(disc.center().x() + x,
                            disc.center().y() + edge + d.layout.pies[0].depth / 2);
        QCOMPARE(Pixel(d.image, below.x(), below.y()), SideFace(SliceColor(1, 3)));
    }
}

void ChartDrawingTest::pieLeavesOutValuesOfZeroAndBelow() {
    const Drawn d(Loaded({{-5, 0, 7}}, kPie2D));
    const QRectF disc = d.layout.pies[0].disc;
    for (double degrees : {10.0, 100.0, 200.0, 300.0}) {
        const double a = degrees * M_PI / 180;
        const QPointF p(disc.center().x() + disc.width() * 0.4 * std::sin(a),
                        disc.center().y() - disc.height() * 0.4 * std::cos(a));
        QCOMPARE(Pixel(d.image, p.x(), p.y()), SliceColor(2, 3));
    }
}

void ChartDrawingTest::eachSetGetsAPieOfItsOwn() {
    const Drawn d(Loaded({{1, 3}, {3, 1}}, kPie2D, 0, {"jaro", "podzim"}, {"délka", "čas"}));
    QCOMPARE(d.layout.pies.size(), 2);
    QVERIFY(!d.layout.pies[0].disc.intersects(d.layout.pies[1].disc));
    // Set 1 gives point 2 the last three quarters of the turn, set 2 gives
    // it the last quarter: 200 degrees lies in point 2's slice only in set 1.
    for (int s = 0; s < 2; ++s) {
        const QRectF disc = d.layout.pies[s].disc;
        const double a = 200 * M_PI / 180;
        const QPointF at(disc.center().x() + disc.width() * 0.4 * std::sin(a),
                         disc.center().y() - disc.height() * 0.4 * std::cos(a));
        QCOMPARE(Pixel(d.image, at.x(), at.y()), SliceColor(s == 0 ? 1 : 0, 2));
    }
    // The key beside the pies names the points in their slice colours.
    QCOMPARE(d.layout.legend.size(), 2);
    QCOMPARE(d.layout.legend[1].text, QStringLiteral("podzim"));
    QCOMPARE(d.layout.legend[1].color, SliceColor(1, 2));
}

void ChartDrawingTest::awkwardValuesDrawWithoutBreakingTheScale_data() {
    QTest::addColumn<QVector<double>>("values");
    const double nan = std::nan("");
    const double inf = INFINITY;
    QTest::newRow("all zero") << Series{0, 0, 0};
    QTest::newRow("all negative") << Series{-3, -8, -1};
    QTest::newRow("one value everywhere") << Series{7, 7, 7};
    QTest::newRow("huge") << Series{1e9, 2e9, 1e9};
    QTest::newRow("beyond single precision") << Series{1e300, -1e300, 5};
    QTest::newRow("not a number and infinite") << Series{nan, inf, -inf};
    QTest::newRow("tiny") << Series{1e-30, 2e-30, 0};
}

// Every kind, for every input: the scale is finite and ordered, every tick
// and point falls inside the picture, and the picture is drawn.
void ChartDrawingTest::awkwardValuesDrawWithoutBreakingTheScale() {
    QFETCH(QVector<double>, values);
    for (int type = kPie2D; type <= kLine; ++type) {
        const Drawn d(Loaded({values, values}, type));
        const QString kind = QStringLiteral("type %1").arg(type);
        QVERIFY2(!d.image.isNull(), qPrintable(kind));
        if (d.layout.isPie()) continue;
        const ValueScale& s = d.layout.scale;
        QVERIFY2(std::isfinite(s.lo) && std::isfinite(s.hi) && s.lo < s.hi, qPrintable(kind));
        QVERIFY2(s.tickCount() >= 2 && s.tickCount() <= 60, qPrintable(kind));
        for (const auto& [y, text] : d.layout.ticks)
            QVERIFY2(y >= 0 && y <= kSize.height() && !text.contains(u'n'), qPrintable(text));
        for (int p = 0; p < 3; ++p) {
            const double y = d.layout.yOf(d.data.value(0, p));
            QVERIFY2(y >= d.layout.plot.top() - 5 && y <= d.layout.plot.bottom() + 5,
                     qPrintable(kind));
        }
    }
}

QTEST_MAIN(ChartDrawingTest)
#include "tst_chart_drawing.moc"
