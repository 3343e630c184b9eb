// The summaries of the result viewer: the aggregates of the current column
// shown with the column's own format, the count, the result dialog, the
// enabling rule, and VYSLEDEK left as it was.
#include <QLineEdit>

#include "data/database/database.h"
#include "query/fvysledek.h"
#include "result_viewer_support.h"

using namespace kolvio;
using namespace kolvio::testing;

namespace {

// Columns: KOL_TYP, SUM_DEL, SUM_CAS, COUNT_KOL, KOL_C.
const QStringList kLabels = {"KOLO TYP", "CELK.UJET.DÉLKA", "CELK.UJET.ČAS", "POČET POUŽITÍ"};

QAction* ItemOf(TFZobr_Dotaz* v, SummaryKind kind) {
    switch (kind) {
        case SummaryKind::kSum:
            return v->MSoucet;
        case SummaryKind::kAverage:
            return v->MPrumer;
        case SummaryKind::kMaximum:
            return v->MMax;
        case SummaryKind::kMinimum:
            return v->MMin;
    }
    return nullptr;
}

}  // namespace

Q_DECLARE_METATYPE(SummaryKind)

class TestSummaries : public QObject {
    Q_OBJECT
private slots:
    void aggregatesShowTheColumnsOwnFormat_data();
    void aggregatesShowTheColumnsOwnFormat();
    void theDialogIsCentredOverTheMainWindowWithTheButtonFocused();
    void aggregatesNeedASummableColumnInEitherLayout();
    void theCountAndTheSumLeaveOutDeletedRows();
    void summariesOverNoRowsShowAnEmptyValue();
    void summariesNeverChangeTheResultTable();
};

void TestSummaries::aggregatesShowTheColumnsOwnFormat_data() {
    QTest::addColumn<SummaryKind>("kind");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("value");
    using K = SummaryKind;
    QTest::newRow("sum of distances") << K::kSum << 1 << "Součet-celk.ujet.délka:"
                                      << "     89.50";
    QTest::newRow("average of distances") << K::kAverage << 1 << "Průměr-celk.ujet.délka:"
                                          << "     29.83";
    QTest::newRow("maximum of distances") << K::kMaximum << 1 << "Maximum-celk.ujet.délka:"
                                          << "     40.00";
    QTest::newRow("minimum of distances") << K::kMinimum << 1 << "Minimum-celk.ujet.délka:"
                                          << "     18.00";
    // Times add up as times: 0:45 + 2:00 + 1:30.
    QTest::newRow("sum of times") << K::kSum << 2 << "Součet-celk.ujet.čas:"
                                  << "4:15:00";
    QTest::newRow("average of times") << K::kAverage << 2 << "Průměr-celk.ujet.čas:"
                                      << "1:25:00";
    QTest::newRow("maximum of times") << K::kMaximum << 2 << "Maximum-celk.ujet.čas:"
                                      << "2:00:00";
    QTest::newRow("minimum of times") << K::kMinimum << 2 << "Minimum-celk.ujet.čas:"
                                      << "0:45:00";
    // A count has no formatter: the plain number.
    QTest::newRow("sum of counts") << K::kSum << 3 << "Součet-počet použití:"
                                   << "6";
    QTest::newRow("average of counts") << K::kAverage << 3 << "Průměr-počet použití:"
                                       << "2";
}

void TestSummaries::aggregatesShowTheColumnsOwnFormat() {
    QFETCH(SummaryKind, kind);
    QFETCH(int, column);
    QFETCH(QString, caption);
    QFETCH(QString, value);
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    ClickCell(v->DBGrid1, 1, column);
    OpenContextMenu(v, v->DBGrid1);
    const ShownResult r = ReadResultDialog(ItemOf(v, kind));
    QVERIFY(r.shown);
    QCOMPARE(r.title, QStringLiteral("Výsledek"));
    QCOMPARE(r.caption, caption);
    QCOMPARE(r.value, value);
    QVERIFY(r.readOnly);
    QVERIFY(r.bold);
    QVERIFY(r.centred);
    CHECK_MESSAGES(s.msgs);
}

void TestSummaries::theDialogIsCentredOverTheMainWindowWithTheButtonFocused() {
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    ClickCell(v->DBGrid1, 0, 1);
    OpenContextMenu(v, v->DBGrid1);
    bool enterWentOn = false;
    const ShownResult r = ReadResultDialog(v->MSoucet, [&](TFVysledek* d) {
        // The value can be selected; Enter there goes on to "O.K.".
        d->Edit1->setFocus();
        d->Edit1->selectAll();
        QCOMPARE(d->Edit1->selectedText(), QStringLiteral("     89.50"));
        QTest::keyClick(d->Edit1, Qt::Key_Return);
        enterWentOn = d->isVisible() && d->focusWidget() == d->Button1;
    });
    QVERIFY(r.shown);
    QVERIFY(r.buttonFocused);
    QVERIFY(enterWentOn);
    const QRect main = s.form->frameGeometry();
    QCOMPARE(r.position.x(), main.left() + main.width() / 2 - r.size.width() / 2);
    QCOMPARE(r.position.y(), main.top() + main.height() / 2 - r.size.height() / 2);
    CHECK_MESSAGES(s.msgs);
}

void TestSummaries::aggregatesNeedASummableColumnInEitherLayout() {
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    const auto enabled = [v] {
        QList<bool> out;
        for (QAction* a : {v->MSoucet, v->MPrumer, v->MMax, v->MMin})
            out.append(a->isEnabled());
        return out;
    };
    // Four aggregates, the count, deleting, swapping and two separators.
    QCOMPARE(v->PopupMenu1->actions().size(), 9);
    const QList<bool> on = {true, true, true, true};
    const QList<bool> off = {false, false, false, false};
    // Text, number, time, count, and the bike's code.
    const QList<QList<bool>> expected = {off, on, on, on, off};
    for (int c = 0; c < 5; ++c) {
        ClickCell(v->DBGrid1, 0, c);
        OpenContextMenu(v, v->DBGrid1);
        QCOMPARE(enabled(), expected[c]);
        for (QAction* a : {v->MPocet, v->MVymaz, v->MProhodSR})
            QVERIFY(a->isEnabled());
    }
    // Swapped, a field is a row.
    v->MProhodSRClick();
    Settle();
    ClickCell(v->swappedView, 2, 1);
    OpenContextMenu(v, v->swappedView);
    QCOMPARE(enabled(), on);
    ClickCell(v->swappedView, 4, 1);
    OpenContextMenu(v, v->swappedView);
    QCOMPARE(enabled(), off);
    ClickCell(v->swappedView, 2, 0);
    OpenContextMenu(v, v->swappedView);
    const ShownResult r = ReadResultDialog(v->MSoucet);
    QCOMPARE(r.caption, QStringLiteral("Součet-celk.ujet.čas:"));
    QCOMPARE(r.value, QStringLiteral("4:15:00"));
    CHECK_MESSAGES(s.msgs);
}

void TestSummaries::theCountAndTheSumLeaveOutDeletedRows() {
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    QCOMPARE(ReadResultDialog(v->MPocet).value, QStringLiteral("3"));
    QCOMPARE(ReadResultDialog(v->MPocet).caption, QStringLiteral("Počet záznamů:"));
    QVERIFY(ClickRowOf(v->DBGrid1, 0, QStringLiteral("SILNIČNÍ ZÁVODNÍ")));
    s.msgs.expect(QStringLiteral("Vymazat záznam"), MsgKind::kConfirmation, MsgResult::kYes);
    v->MVymaz->trigger();
    Settle();
    QCOMPARE(ReadResultDialog(v->MPocet).value, QStringLiteral("2"));
    ClickCell(v->DBGrid1, 0, 1);
    QCOMPARE(ReadResultDialog(v->MSoucet).value, QStringLiteral("     49.50"));
    CHECK_MESSAGES(s.msgs);
}

void TestSummaries::summariesOverNoRowsShowAnEmptyValue() {
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    ClickCell(v->DBGrid1, 0, 2);
    for (int i = 0; i < 3; ++i) {
        s.msgs.expect(QStringLiteral("Vymazat záznam"), MsgKind::kConfirmation, MsgResult::kYes);
        v->MVymaz->trigger();
        Settle();
    }
    QCOMPARE(v->DBGrid1->model()->rowCount(), 0);
    // The grid keeps its column: the time, whose formatter would show 0:00:00.
    OpenContextMenu(v, v->DBGrid1);
    QVERIFY(v->MSoucet->isEnabled());
    for (QAction* a : {v->MSoucet, v->MPrumer, v->MMax, v->MMin}) {
        const ShownResult r = ReadResultDialog(a);
        QVERIFY(r.shown);
        QCOMPARE(r.value, QString());
    }
    QCOMPARE(ReadResultDialog(v->MPocet).value, QStringLiteral("0"));
    CHECK_MESSAGES(s.msgs);
}

void TestSummaries::summariesNeverChangeTheResultTable() {
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, kLabels);
    QVERIFY(v);
    const QByteArray before = FileBytes(s.file("VYSLEDEK.dbf"));
    const QStringList files = QDir(s.dir()).entryList(QDir::Files);
    for (int c : {1, 2, 3}) {
        ClickCell(v->DBGrid1, 2, c);
        for (QAction* a : {v->MSoucet, v->MPrumer, v->MMax, v->MMin, v->MPocet})
            QVERIFY(ReadResultDialog(a).shown);
    }
    QCOMPARE(FileBytes(s.file("VYSLEDEK.dbf")), before);
    QCOMPARE(QDir(s.dir()).entryList(QDir::Files), files);
    // The grid still shows the row it was on.
    QCOMPARE(v->DBGrid1->currentIndex().row(), 2);
    QCOMPARE(s.db().Query2().isOpen(), false);
    CHECK_MESSAGES(s.msgs);
}

QTEST_MAIN(TestSummaries)
#include "tst_summaries.moc"
