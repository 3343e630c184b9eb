// The data-aware widgets over the real shared tables: the grid model (also
// under QAbstractItemModelTester), the grid, ordering by a column title, and
// the field bindings.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/display_format.h"
#include "app/widgets/db_grid.h"
#include "app/widgets/decimal_comma_filter.h"
#include "app/widgets/field_binding.h"
#include "app/widgets/field_formatters.h"
#include "app/widgets/lookup_binding.h"
#include "data/database/database.h"
#include "data/database/index_helpers.h"
#include "gui_support.h"

Q_DECLARE_METATYPE(kolvio::Value)

using namespace kolvio;
using namespace kolvio::testing;

namespace {

// A database with rides whose DELKA is 10, 11, ... and POPIS1 "j<n>" in
// reverse alphabetical order of the distance.
struct Fixture {
    explicit Fixture(int rides = 5) {
        const Status st = db.MOtevriNovaDB(dir.path().toStdString(), OverwritePolicy::kReplace);
        if (!st.ok()) qFatal("%s", st.message().c_str());
        Table& t = db.Table1();
        for (int i = 0; i < rides; ++i) {
            (void)t.append();
            (void)t.setValue("DATUM", *Date::FromYmd(2003, 5, 1 + i % 28));
            (void)t.setValue("DELKA", 10.0 + i);
            (void)t.setValue("POPIS1", "j" + std::to_string(500 - i));
            (void)t.setValue("TRNZ_C", 2);
            (void)t.post();
        }
        (void)t.first();
    }
    QString text(const QAbstractItemModel& m, int row, int column = 0) {
        return m.data(m.index(row, column)).toString();
    }
    QTemporaryDir dir;
    Database db;
};

QList<GridColumn> RideColumns(const DisplaySettings& s) {
    return {{"DATUM", "datum", nullptr, false, Qt::AlignCenter},
            {"DELKA", "délka",
             [&s](const Value& v) { return QString::fromStdString(DELKAGetText(v, s)); }},
            {"POPIS1", "popis"},
            {"SR_MER", "měřeno"}};
}

// A window holding controls, so that focus can move between them.
struct Form {
    Form() {
        layout = new QVBoxLayout(&window);
        other = add(new QLineEdit);
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window)) qWarning("the form did not become active");
    }
    template <typename W>
    W* add(W* w) {
        layout->addWidget(w);
        w->show();
        return w;
    }
    void leave() {
        other->setFocus();
        QApplication::processEvents();
    }
    QWidget window;
    QVBoxLayout* layout;
    QLineEdit* other;
};

}  // namespace

class TestWidgets : public QObject {
    Q_OBJECT
private slots:
    void modelPassesTheModelTester();
    void detailModelFollowsItsMaster();
    void readingRowsLeavesTheCursorAndFlagsAlone();
    void gridShowsEveryRowWhileOneIsEdited();
    void gridAndCursorFollowEachOther();
    void gridEditsADateInPlace_data();
    void gridEditsADateInPlace();
    void columnsReachTheRightEdge_data();
    void columnsReachTheRightEdge();
    void titleClicksToggleTheOrder_data();
    void titleClicksToggleTheOrder();
    void sortingPostsAPendingEditFirst();
    void lineEditWritesWhenLeft_data();
    void lineEditWritesWhenLeft();
    void leavingAnUnchangedBoxKeepsTheStoredValue();
    void refusedEditPutsTheValueBack();
    void checkBoxWritesAtOnce();
    void listShowingAnItemIsNoEdit();
    void lookupWritesTheKeyAndMovesTheList();
    void commaBecomesAPointWhileTheOptionIsOn();
    void fieldsCarryTheirFormatters_data();
    void fieldsCarryTheirFormatters();
};

void TestWidgets::modelPassesTheModelTester() {
    Fixture f(30);
    DisplaySettings s;
    DatasetModel model(f.db.Table1(), RideColumns(s));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 30);
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("délka"));
    QCOMPARE(f.text(model, 2, 1), QStringLiteral("     12.00"));
    QCOMPARE(f.text(model, 2, 0), QStringLiteral("3.5.2003"));
    Table& t = f.db.Table1();
    QVERIFY(t.append().ok() && t.setValue("DELKA", 99.0).ok() && t.post().ok());
    QCOMPARE(model.rowCount(), 31);
    QVERIFY(t.locate("DELKA", 15.0).ok() && t.deleteRecord().ok());
    QCOMPARE(model.rowCount(), 30);
    QVERIFY(t.setIndexName("DELKA").ok());
    QCOMPARE(f.text(model, 0, 1), QStringLiteral("     10.00"));
    QCOMPARE(f.text(model, 29, 1), QStringLiteral("     99.00"));
    t.setFilter([](const Table& r) { return r.getDouble("DELKA") < 20; });
    t.setFiltered(true);
    QCOMPARE(model.rowCount(), 9);
    t.close();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(t.open().ok());
    QCOMPARE(model.rowCount(), 9);
}

void TestWidgets::detailModelFollowsItsMaster() {
    Fixture f(0);
    DatasetModel primary(f.db.TTRNZ(), {{"TRNZ_N", "název"}});
    DatasetModel secondary(f.db.TTRN(), {{"TRN_C", "číslo"}, {"TRN_N", "název"}});
    QAbstractItemModelTester t1(&primary, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester t2(&secondary, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(primary.rowCount(), 3);
    QCOMPARE(secondary.rowCount(), 1);
    QVERIFY(primary.setCurrentRow(2));
    QCOMPARE(secondary.rowCount(), 3);
    QCOMPARE(f.text(secondary, 1, 1), QStringLiteral("ČASOVKA"));
    // Reading the master's rows again does not move the detail's cursor.
    QVERIFY(f.db.TTRN().moveToRow(2).ok());
    primary.data(primary.index(0, 0), Qt::DisplayRole);
    QCOMPARE(f.db.TTRN().rowNumber(), 2);
}

void TestWidgets::readingRowsLeavesTheCursorAndFlagsAlone() {
    Fixture f(5000);
    Table& t = f.db.Table1();
    QVERIFY(t.moveToRow(1234).ok());
    int scrolled = 0;
    const auto id = t.on(TableEvent::kAfterScroll, [&scrolled](Table&) {
        ++scrolled;
        return Status::Ok();
    });
    int notified = 0;
    const auto obs = t.addObserver([&notified](DataChange, int) { ++notified; });
    DisplaySettings s;
    DBGrid grid(t, RideColumns(s));
    grid.resize(500, 300);
    grid.show();
    QCOMPARE(f.text(*grid.datasetModel(), 4100, 1), QStringLiteral("   4110.00"));
    // The grid scrolled and painted from the first row to the last.
    for (int row = 0; row < 5000; row += 250) {
        grid.scrollTo(grid.model()->index(row, 0), QAbstractItemView::PositionAtTop);
        QVERIFY(!grid.grab().isNull());
    }
    grid.scrollToBottom();
    QVERIFY(!grid.grab().isNull());
    QCOMPARE(t.rowNumber(), 1234);
    QCOMPARE(scrolled, 0);  // the screen's handlers did not run for painted rows
    QCOMPARE(notified, 0);
    QVERIFY(!t.bof() && !t.eof());
    t.off(id);
    t.removeObserver(obs);
}

void TestWidgets::gridShowsEveryRowWhileOneIsEdited() {
    Fixture f(3000);
    Table& t = f.db.Table1();
    DisplaySettings s;
    DBGrid grid(t, RideColumns(s));
    grid.resize(500, 300);
    grid.show();
    QVERIFY(t.moveToRow(2500).ok());
    QVERIFY(t.edit().ok() && t.setValue("POPIS1", std::string("rozepsáno")).ok());
    // Rows never read before, far from the edited one, still show.
    QCOMPARE(f.text(*grid.datasetModel(), 10, 2), QStringLiteral("j490"));
    QCOMPARE(f.text(*grid.datasetModel(), 2999, 1), QStringLiteral("   3009.00"));
    QCOMPARE(f.text(*grid.datasetModel(), 2500, 2), QStringLiteral("rozepsáno"));
    QCOMPARE(t.state(), DatasetState::kEdit);  // nothing was posted to read them
    QCOMPARE(grid.datasetModel()->headerData(2500, Qt::Vertical, Qt::DisplayRole).toString(),
             QStringLiteral("I"));
    t.cancel();
    QCOMPARE(grid.datasetModel()->headerData(2500, Qt::Vertical, Qt::DisplayRole).toString(),
             QString(QChar(0x25B6)));
    QCOMPARE(grid.datasetModel()->headerData(10, Qt::Vertical, Qt::DisplayRole).toString(),
             QString());
}

void TestWidgets::gridAndCursorFollowEachOther() {
    Fixture f(10);
    DisplaySettings s;
    DBGrid grid(f.db.Table1(), RideColumns(s));
    grid.resize(400, 300);
    grid.show();
    QVERIFY(f.db.Table1().locate("DELKA", 16.0).ok());
    QCOMPARE(grid.currentIndex().row(), 6);
    const QRect cell = grid.visualRect(grid.datasetModel()->index(3, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(f.db.Table1().rowNumber(), 3);
    QCOMPARE(f.db.Table1().getDouble("DELKA"), 13.0);
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(f.db.Table1().rowNumber(), 4);
}

void TestWidgets::gridEditsADateInPlace_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("stored");
    QTest::newRow("a date") << "24.12.2004"
                            << ""
                            << "20041224";
    QTest::newRow("no such day") << "31.2.2004"
                                 << "\"31.2.2004\" není datum.\nZadej datum ve tvaru "
                                    "den.měsíc.rok (například 24.5.2003)."
                                 << "20030502";
}

void TestWidgets::gridEditsADateInPlace() {
    QFETCH(QString, typed);
    QFETCH(QString, warning);
    QFETCH(QString, stored);
    Fixture f(3);
    ScriptedMessages messages;
    if (!warning.isEmpty()) messages.expect(warning, MsgKind::kWarning);
    DisplaySettings s;
    DBGrid grid(f.db.Table1(), RideColumns(s));
    grid.resize(400, 300);
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setCurrentIndex(grid.datasetModel()->index(1, 0));
    QTest::keyClick(&grid, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(qobject_cast<QLineEdit*>(editor));
    qobject_cast<QLineEdit*>(editor)->selectAll();
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the delegate commits in a queued call
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
    // The row is stored when the cursor moves on.
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(f.db.Table1().state(), DatasetState::kBrowse);
    QCOMPARE(f.db.Table1().rowNumber(), 2);
    QCOMPARE(grid.currentIndex().row(), 2);  // still marked after the post
    Table check(f.dir.path().toStdString(), "jizdy.dbf");
    QVERIFY(check.open().ok() && check.moveToRow(1).ok());
    QCOMPARE(QString::fromStdString(check.value("DATUM").asDate().toDbf()), stored);
}

void TestWidgets::columnsReachTheRightEdge_data() {
    QTest::addColumn<QList<int>>("weights");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("width");
    // The route editor's weights leave 25 of 560 unused, the bikes' 30 of 250.
    QTest::newRow("routes, narrow") << QList<int>{30, 60, 60, 60, 265, 60} << 560 << 400;
    QTest::newRow("routes, wide") << QList<int>{30, 60, 60, 60, 265, 60} << 560 << 1500;
    QTest::newRow("bikes") << QList<int>{110, 110} << 250 << 333;
}

void TestWidgets::columnsReachTheRightEdge() {
    QFETCH(QList<int>, weights);
    QFETCH(int, total);
    QFETCH(int, width);
    Fixture f(3);
    QList<GridColumn> columns;
    for (int i = 0; i < weights.size(); ++i)
        columns.append({QStringLiteral("POPIS1"), QString::number(i)});
    DBGrid grid(f.db.Table1(), columns);
    grid.setColumnWeights(weights, total);
    grid.resize(width, 200);
    grid.show();
    QApplication::processEvents();
    const int viewport = grid.viewport()->width();
    int sum = 0;
    for (int i = 0; i < weights.size(); ++i) {
        // Each column keeps its share; the last one takes the rest.
        const int share = static_cast<int>(static_cast<qint64>(weights[i]) * viewport / total);
        if (i + 1 < weights.size()) QCOMPARE(grid.columnWidth(i), share);
        if (i + 1 == weights.size()) QVERIFY(grid.columnWidth(i) >= share);
        sum += grid.columnWidth(i);
    }
    QCOMPARE(sum, viewport);
}

void TestWidgets::titleClicksToggleTheOrder_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("firstDescending");
    QTest::addColumn<QStringList>("indexes");  // after each of three clicks
    QTest::addColumn<QList<bool>>("created");
    QTest::newRow("text, ascending first")
        << 2 << false << QStringList{"POPIS1", "_POPIS1", "POPIS1"}
        << QList<bool>{true, true, false};
    QTest::newRow("number with its own index, descending first")
        << 1 << true << QStringList{"_DELKA", "DELKA", "_DELKA"} << QList<bool>{true, false, false};
    QTest::newRow("logical: nothing")
        << 3 << false << QStringList{"", "", ""} << QList<bool>{false, false, false};
}

void TestWidgets::titleClicksToggleTheOrder() {
    QFETCH(int, column);
    QFETCH(bool, firstDescending);
    QFETCH(QStringList, indexes);
    QFETCH(QList<bool>, created);
    Fixture f(6);
    ScriptedMessages messages;
    DisplaySettings s;
    DBGrid grid(f.db.Table1(), RideColumns(s));
    grid.resize(500, 300);
    grid.show();
    grid.setColumnWidth(0, 123);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(SortGridByColumn(grid, column, firstDescending), created[i]);
        QCOMPARE(QString::fromStdString(f.db.Table1().indexName()), indexes[i]);
        if (indexes[i].isEmpty()) continue;
        // The rows follow the order; the layout survived the new index.
        const bool descending = indexes[i].startsWith(u'_');
        const QString first = f.text(*grid.datasetModel(), 0, 1).trimmed();
        // POPIS1 runs against DELKA.
        QCOMPARE(first, (column == 2) != descending ? "15.00" : "10.00");
        QCOMPARE(grid.columnWidth(0), 123);
    }
    // The indexes live on in the table's definitions.
    for (const QString& name : indexes) {
        if (!name.isEmpty()) QVERIFY(IndexExists(f.db.Table1(), name.toStdString()));
    }
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
}

void TestWidgets::sortingPostsAPendingEditFirst() {
    Fixture f(3);
    DisplaySettings s;
    DBGrid grid(f.db.Table1(), RideColumns(s));
    grid.setTitleSort(true);
    grid.show();
    Table& t = f.db.Table1();
    QVERIFY(t.edit().ok() && t.setValue("POPIS1", std::string("upraveno")).ok());
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid.horizontalHeader()->sectionViewportPosition(2) + 5, 5));
    QCOMPARE(QString::fromStdString(t.indexName()), QStringLiteral("POPIS1"));
    QCOMPARE(
        TableRows(f.dir.path(), "jizdy.dbf").column("POPIS1").count(QStringLiteral("upraveno")), 1);
}

void TestWidgets::lineEditWritesWhenLeft_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<double>("osob");
    QTest::newRow("a number") << "3"
                              << "" << 3.0;
    QTest::newRow("not a number") << "tri"
                                  << "\"tri\" není číslo.\nZadej číslo, desetinná místa "
                                     "odděl tečkou (například 12.5)."
                                  << 1.0;
    QTest::newRow("refused by the screen") << "0"
                                           << "Zadané číslo: musí být větší jak 0" << 1.0;
}

void TestWidgets::lineEditWritesWhenLeft() {
    QFETCH(QString, typed);
    QFETCH(QString, warning);
    QFETCH(double, osob);
    Fixture f(2);
    Table& t = f.db.Table1();
    QVERIFY(t.edit().ok() && t.setValue("OSOB", 1.0).ok() && t.post().ok());
    ScriptedMessages messages;
    if (!warning.isEmpty()) messages.expect(warning, MsgKind::kWarning);
    Form form;
    auto* edit = form.add(new QLineEdit);
    auto* binding = new LineEditBinding(t, "OSOB", edit);
    binding->setValidator([](const Value& v) {
        return v.asDouble() < 1 ? QStringLiteral("Zadané číslo: musí být větší jak 0") : QString();
    });
    QCOMPARE(edit->text(), QStringLiteral("1"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(t.state(), DatasetState::kEdit);  // typing put the row into edit
    form.leave();
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
    QCOMPARE(t.getDouble("OSOB"), osob);
    if (!warning.isEmpty()) {
        // The value held before is shown and the focus is back in the box.
        QCOMPARE(edit->text(), QStringLiteral("1"));
        QTRY_COMPARE(QApplication::focusWidget(), edit);
    }
    QVERIFY(t.post().ok());
    QCOMPARE(TableRows(f.dir.path(), "jizdy.dbf").column("OSOB").constFirst(),
             QString::number(osob));
    // Another row shows its own value.
    QVERIFY(t.next().ok());
    QCOMPARE(edit->text(), QString());
}

void TestWidgets::leavingAnUnchangedBoxKeepsTheStoredValue() {
    Fixture f(1);
    Table& t = f.db.Table1();
    QVERIFY(t.edit().ok() && t.setValue("DELKA", 42.4999).ok() && t.post().ok());
    Form form;
    auto* edit = form.add(new QLineEdit);
    DisplaySettings s;
    auto* binding = new LineEditBinding(t, "DELKA", edit);
    binding->setFormatter(
        [&s](const Value& v) { return QString::fromStdString(DELKAGetText(v, s)); });
    QCOMPARE(edit->text().trimmed(), QStringLiteral("42.50"));
    edit->setFocus();
    form.leave();
    QCOMPARE(t.state(), DatasetState::kBrowse);
    QCOMPARE(t.getDouble("DELKA"), 42.4999);
}

void TestWidgets::refusedEditPutsTheValueBack() {
    Fixture f(1);
    Table& t = f.db.Table1();
    const auto id = t.on(TableEvent::kBeforeEdit, [](Table&) { return Status::Aborted(); });
    Form form;
    auto* edit = form.add(new QLineEdit);
    new LineEditBinding(t, "POPIS1", edit);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(t.state(), DatasetState::kBrowse);
    QCOMPARE(edit->text(), QStringLiteral("j500"));
    t.off(id);
}

void TestWidgets::checkBoxWritesAtOnce() {
    Fixture f(1);
    Table& t = f.db.Table1();
    Form form;
    auto* box = form.add(new QCheckBox(QStringLiteral("měřeno")));
    new CheckBoxBinding(t, "SR_MER", box);
    QVERIFY(!box->isChecked());
    ClickCheckBox(box);
    QCOMPARE(t.state(), DatasetState::kEdit);
    QVERIFY(t.getBool("SR_MER"));
    QVERIFY(t.post().ok());
    QVERIFY(t.edit().ok() && t.setValue("SR_MER", false).ok());
    QVERIFY(!box->isChecked());  // the box follows the field
    t.cancel();
    QVERIFY(box->isChecked());
}

void TestWidgets::listShowingAnItemIsNoEdit() {
    Fixture f(2);
    Table& t = f.db.Table1();
    QVERIFY(t.edit().ok() && t.setValue("POPIS1", std::string("ZIMNÍ")).ok() && t.post().ok());
    ScriptedMessages messages;
    Form form;
    auto* combo = form.add(new QComboBox);
    combo->addItems({QStringLiteral("ZÁVODNÍ"), QStringLiteral("ZIMNÍ"), QStringLiteral("HORSKÉ")});
    new ComboBoxBinding(t, "POPIS1", combo);
    // The value shown selects its item, so Qt has nothing to "pick" on leaving.
    QCOMPARE(combo->currentText(), QStringLiteral("ZIMNÍ"));
    QCOMPARE(combo->currentIndex(), 1);
    combo->setFocus();
    form.leave();
    QCOMPARE(t.state(), DatasetState::kBrowse);
    // Another row with a text that is no item: shown as text, no item chosen.
    QVERIFY(t.next().ok());
    QCOMPARE(combo->currentText(), QStringLiteral("j499"));
    QCOMPARE(combo->currentIndex(), -1);
    combo->setFocus();
    form.leave();
    QCOMPARE(t.state(), DatasetState::kBrowse);
    // Picking an item is an edit, written when the list is left.
    QVERIFY(t.prior().ok());
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(t.state(), DatasetState::kEdit);
    form.leave();
    QCOMPARE(t.getString("POPIS1"), "HORSKÉ");
    QVERIFY(t.post().ok());
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
}

void TestWidgets::lookupWritesTheKeyAndMovesTheList() {
    Fixture f(2);
    Table& rides = f.db.Table1();
    Form form;
    auto* primary = form.add(new QComboBox);
    auto* secondary = form.add(new QComboBox);
    new LookupBinding(rides, "TRNZ_C", primary, f.db.TTRNZ(), "TRNZ_C", "TRNZ_N");
    new LookupBinding(rides, "TRN_C", secondary, f.db.TTRN(), "TRN_C", "TRN_N");
    QCOMPARE(primary->count(), 3);
    QCOMPARE(primary->currentText(), QStringLiteral("vyjížďka"));
    // The secondary list follows the primary type of the ride.
    QCOMPARE(secondary->count(), 4);
    primary->setFocus();
    QTest::keyClick(primary, Qt::Key_Down);
    QCOMPARE(primary->currentText(), QStringLiteral("závod"));
    QCOMPARE(rides.state(), DatasetState::kEdit);
    QCOMPARE(rides.getDouble("TRNZ_C"), 3.0);
    QCOMPARE(f.db.TTRNZ().getDouble("TRNZ_C"), 3.0);
    QCOMPARE(secondary->count(), 3);
    QCOMPARE(secondary->itemText(2), QStringLiteral("ČASOVKA DVOJIC"));
    secondary->setFocus();
    QTest::keyClick(secondary, Qt::Key_Down);
    QCOMPARE(rides.getDouble("TRN_C"), 301.0);
    QVERIFY(rides.post().ok());
    // The other ride brings its own primary type back.
    QVERIFY(rides.next().ok());
    QCOMPARE(primary->currentText(), QStringLiteral("vyjížďka"));
    QCOMPARE(secondary->count(), 4);
    const QStringList stored = TableRows(f.dir.path(), "jizdy.dbf").column("TRN_C");
    QCOMPARE(stored.constFirst(), QStringLiteral("301"));
}

void TestWidgets::commaBecomesAPointWhileTheOptionIsOn() {
    DisplaySettings settings;
    QLineEdit edit;
    new DecimalCommaFilter(&edit, settings);
    QTest::keyClicks(&edit, QStringLiteral("12,5"));
    QCOMPARE(edit.text(), QStringLiteral("12.5"));
    // The option is read at every key, as the configuration changes it.
    settings.zamenTeckaCarka = false;
    QTest::keyClicks(&edit, QStringLiteral(",7"));
    QCOMPARE(edit.text(), QStringLiteral("12.5,7"));
}

void TestWidgets::fieldsCarryTheirFormatters_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("DELKA") << "DELKA" << Value(42.5) << "     42.50";
    QTest::newRow("rychl_max, any case") << "rychl_max" << Value(55.55) << "      55.6";
    QTest::newRow("SR_MER true") << "SR_MER" << Value(true) << "        -1";
    QTest::newRow("SR_PLP") << "SR_PLP" << Value(12.345) << "   12%";
    QTest::newRow("CAS null") << "CAS" << Value() << "0:00:00";
    QTest::newRow("SR_PLC null") << "SR_PLC" << Value() << "";
    QTest::newRow("ZADNE_TRS") << "ZADNE_TRS" << Value(true) << "ANO";
}

void TestWidgets::fieldsCarryTheirFormatters() {
    QFETCH(QString, field);
    QFETCH(Value, value);
    QFETCH(QString, text);
    DisplaySettings settings;
    const GridColumn::Formatter format = FieldFormatter(field, settings);
    QVERIFY(format);
    QCOMPARE(format(value), text);
    QVERIFY(!FieldFormatter(QStringLiteral("POPIS1"), settings));
    QCOMPARE(FieldLabel(QStringLiteral("RYCHL_MAX")), QStringLiteral("max. rychlost"));
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
