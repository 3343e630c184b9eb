// The chart widget driven as the result viewer drives it: the property
// sequence with puts out of range, the chart-type menu, the context menu,
// saving pictures and the tooltip.
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "app/chart/chart_export.h"
#include "app/chart/chart_palette.h"
#include "app/chart/chart_type_menu.h"
#include "app/chart/chart_widget.h"
#include "chart_test_support.h"
#include "gui_support.h"

using namespace kolvio;
using namespace kolvio::chart;
using namespace kolvio::chart::testing;

namespace {

class ScriptedFiles final : public ChartFileChooser {
public:
    ScriptedFiles() { previous_ = SetChartFileChooser(this); }
    ~ScriptedFiles() override { SetChartFileChooser(previous_); }
    std::optional<QString> choose(QWidget*, const QString& startPath) override {
        startPaths.append(startPath);
        return answer;
    }
    std::optional<QString> answer;
    QStringList startPaths;

private:
    ChartFileChooser* previous_;
};

const QStringList kLabels{"Praha", "Brno", "Ostrava"};

}  // namespace

class ChartWidgetTest : public QObject {
    Q_OBJECT
private slots:
    void drawsOnlyWhenDrawModeTwoIsPut();
    void putsOutOfRangeAreIgnored();
    void emptyLegendTextTurnsTheLegendOff();
    void chartTypeMenuSetsTypeAndStyle_data();
    void chartTypeMenuSetsTypeAndStyle();
    void lineItemTogglesBetweenPlainAndMarkedLines();
    void contextMenuOffersTheKindsThenSaving();
    void savesThePictureAsPngOrSvg_data();
    void savesThePictureAsPngOrSvg();
    void unwritableFileIsReportedAndCancelSavesNothing();
    void restingMouseShowsLabelAndValue();
};

void ChartWidgetTest::drawsOnlyWhenDrawModeTwoIsPut() {
    ChartWidget chart;
    QVERIFY(!chart.shown());
    QVERIFY(!chart.saveAction()->isEnabled());
    Load(chart, {{1, 2, 3}}, kBar2D, 0, kLabels);
    QVERIFY(chart.shown());
    QCOMPARE(chart.shown()->value(0, 2), 3.0);
    QVERIFY(chart.saveAction()->isEnabled());

    // Loading anew changes nothing drawn until DrawMode 2.
    chart.setDrawMode(1);
    chart.setNumPoints(2);
    chart.setThisSet(1);
    chart.setThisPoint(1);
    chart.setGraphData(99);
    chart.setGraphType(kPie2D);
    QCOMPARE(chart.shown()->numPoints, 3);
    QCOMPARE(chart.shown()->value(0, 0), 1.0);
    QCOMPARE(chart.shown()->graphType, int(kBar2D));
    chart.setDrawMode(3);  // no such mode
    QCOMPARE(chart.shown()->numPoints, 3);
    chart.setDrawMode(2);
    QCOMPARE(chart.shown()->numPoints, 2);
    QCOMPARE(chart.shown()->value(0, 0), 99.0);
    QCOMPARE(chart.shown()->labels, QStringList({"Praha", "Brno"}));
}

void ChartWidgetTest::putsOutOfRangeAreIgnored() {
    GraphProperties chart;
    Load(chart, {{1, 2}, {3, 4}}, kBar2D);
    for (int bad : {-1, 0, kMaxPoints + 1}) {
        chart.setNumSets(bad == 0 ? -1 : bad);
        chart.setNumPoints(bad < 0 ? bad : 70000);
    }
    QCOMPARE(chart.data().numPoints, 2);
    QCOMPARE(chart.data().numSets, 2);
    chart.setNumPoints(kMaxPoints);
    chart.setNumSets(kMaxSets);  // more values than are ever held
    QCOMPARE(chart.data().numSets, 2);
    chart.setNumPoints(2);

    // A current point out of range sends values nowhere, not to another point.
    chart.setThisSet(2);
    chart.setThisPoint(3);
    chart.setGraphData(50);
    chart.setThisPoint(0);
    chart.setGraphData(60);
    chart.setThisSet(9);
    chart.setThisPoint(1);
    chart.setGraphData(70);
    QCOMPARE(chart.data().values, std::vector<double>({1, 2, 3, 4}));
    chart.setLabelText(0, "x");
    chart.setLabelText(3, "x");
    chart.setLegend(-4, "x");
    QVERIFY(!chart.data().labels.contains("x") && !chart.data().legends.contains("x"));
    for (int type : {0, 7, -3, 32767})
        chart.setGraphType(type);
    QCOMPARE(chart.graphType(), int(kBar2D));

    // Shrinking keeps the values that still have a place; growing adds zeros.
    chart.setNumPoints(1);
    chart.setNumPoints(3);
    QCOMPARE(chart.data().values, std::vector<double>({1, 0, 0, 3, 0, 0}));
}

void ChartWidgetTest::emptyLegendTextTurnsTheLegendOff() {
    ChartWidget chart;
    chart.resize(640, 400);
    Load(chart, {{1, 2}, {3, 4}}, kLine, kStylePlainLines, {}, {"délka", "čas"});
    QCOMPARE(chart.currentLayout().legend.size(), 2);
    Load(chart, {{1, 2}, {3, 4}}, kLine, kStylePlainLines);  // LegendText "" for each set
    QVERIFY(!chart.shown()->hasLegend());
    QVERIFY(chart.currentLayout().legend.isEmpty());
}

void ChartWidgetTest::chartTypeMenuSetsTypeAndStyle_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("style");  // after a chart of style 1
    QTest::newRow("lines") << "MTypGraf1"
                           << "čárový" << 6 << 4;
    QTest::newRow("points") << "MTypGraf2"
                            << "bodový" << 6 << 1;
    QTest::newRow("2-D bars") << "MTypGraf3"
                              << "sloupcový 2D" << 3 << 0;
    QTest::newRow("3-D bars") << "MTypGraf4"
                              << "sloupcový 3D" << 4 << 0;
    QTest::newRow("range") << "MTypGraf5"
                           << "rozsahový" << 5 << 0;
    QTest::newRow("2-D pie keeps the style") << "MTypGraf6"
                                             << "kruhový 2D" << 1 << 1;
    QTest::newRow("3-D pie keeps the style") << "MTypGraf7"
                                             << "kruhový 3D" << 2 << 1;
}

void ChartWidgetTest::chartTypeMenuSetsTypeAndStyle() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, type);
    QFETCH(int, style);
    ChartWidget chart;
    AttachChartTypeMenu(&chart);
    Load(chart, {{1, 2, 3}}, kLine, kStylePoints);
    auto* item = chart.findChild<QAction*>(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    item->trigger();
    // The item draws at once, with the data loaded before.
    QCOMPARE(chart.shown()->graphType, type);
    QCOMPARE(chart.shown()->graphStyle, style);
    QCOMPARE(chart.shown()->value(0, 2), 3.0);
}

void ChartWidgetTest::lineItemTogglesBetweenPlainAndMarkedLines() {
    ChartWidget chart;
    AttachChartTypeMenu(&chart);
    Load(chart, {{1, 2, 3}}, kBar2D);
    auto* lines = chart.findChild<QAction*>("MTypGraf1");
    const ChartKind expected[] = {ChartKind::kLines, ChartKind::kMarkedLines, ChartKind::kLines};
    for (ChartKind kind : expected) {
        lines->trigger();
        QCOMPARE(chart.shown()->kind(), kind);
    }
    QCOMPARE(chart.graphStyle(), int(kStylePlainLines));
}

void ChartWidgetTest::contextMenuOffersTheKindsThenSaving() {
    ChartWidget chart;
    chart.resize(400, 300);
    AttachChartTypeMenu(&chart);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QStringList captions;
    QTimer::singleShot(0, [&captions] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* a : menu->actions())
            captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                            chart.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&chart, &event);
    QCOMPARE(captions, QStringList({"čárový", "bodový", "sloupcový 2D", "sloupcový 3D", "rozsahový",
                                    "kruhový 2D", "kruhový 3D", "-", "&Uložit jako obrázek..."}));
}

void ChartWidgetTest::savesThePictureAsPngOrSvg_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("PNG") << "graf.png";
    QTest::newRow("SVG") << "graf.SVG";
}

void ChartWidgetTest::savesThePictureAsPngOrSvg() {
    QFETCH(QString, file);
    QTemporaryDir dir;
    ScriptedFiles files;
    files.answer = dir.filePath(file);
    ChartWidget chart;
    chart.resize(600, 400);
    Load(chart, {{10, 40}}, kBar2D, 0, {"jaro", "léto"});
    chart.saveAction()->trigger();
    const QByteArray bytes = kolvio::testing::FileBytes(*files.answer);
    QVERIFY(!bytes.isEmpty());
    const QSize size = chart.pictureSize();
    QCOMPARE(size, QSize(1200, 800));
    if (file.endsWith(".png")) {
        const QImage image = QImage::fromData(bytes, "PNG");
        QCOMPARE(image.size(), size);
        const ChartLayout layout =
            LayOutChart(*chart.shown(), QRectF(QPointF(0, 0), size), chart.font());
        const QPointF bar(layout.xOf(1), layout.yOf(20));
        QCOMPARE(image.pixelColor(bar.toPoint()), SeriesColor(0));
    } else {
        QVERIFY(bytes.contains("<svg"));
        QVERIFY(bytes.contains("léto"));
        QSvgRenderer svg(bytes);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBoxF(), QRectF(QPointF(0, 0), size));
    }
    // The next dialog starts where this picture went.
    chart.saveAction()->trigger();
    QCOMPARE(files.startPaths.last(), *files.answer);
}

void ChartWidgetTest::unwritableFileIsReportedAndCancelSavesNothing() {
    QTemporaryDir dir;
    ScriptedFiles files;
    kolvio::testing::ScriptedMessages messages;
    ChartWidget chart;
    Load(chart, {{1, 2}}, kPie3D);

    const QString missing = dir.filePath("chybi/graf.png");
    files.answer = missing;
    messages.expect("Graf se nepodařilo uložit do souboru \"" + QDir::toNativeSeparators(missing) +
                        "\".\nZkontrolujte, zda složka existuje, lze do ní zapisovat a je na "
                        "disku místo, a uložte graf znovu.",
                    MsgKind::kError);
    chart.saveAction()->trigger();
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));

    files.answer.reset();  // cancelled
    chart.saveAction()->trigger();
    QVERIFY(QDir(dir.path()).isEmpty());
    QVERIFY(messages.shown.size() == 1);
}

void ChartWidgetTest::restingMouseShowsLabelAndValue() {
    ChartWidget chart;
    chart.resize(600, 400);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    Load(chart, {{10, 40, 20}}, kBar2D, 0, kLabels, {"délka"});
    const ChartLayout& layout = chart.currentLayout();
    const auto rest = [&chart](QPointF at) {
        QHelpEvent help(QEvent::ToolTip, at.toPoint(), chart.mapToGlobal(at.toPoint()));
        QApplication::sendEvent(&chart, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(rest(QPointF(layout.xOf(1), layout.yOf(30))), QStringLiteral("Brno\ndélka: 40"));
    rest(QPointF(layout.xOf(2), layout.yOf(30)));  // above the bar
    QTRY_VERIFY(!QToolTip::isVisible());
    Load(chart, {{1, 3}}, kPie2D, 0, {"jaro", "podzim"});
    const QRectF disc = chart.currentLayout().pies[0].disc;
    QCOMPARE(rest(QPointF(disc.left() + 4, disc.center().y())), QStringLiteral("podzim\n3"));
}

QTEST_MAIN(ChartWidgetTest)
#include "tst_chart_widget.moc"
