// The ride type screens driven as a rider uses them.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/widgets/db_grid.h"
#include "lists/fedittypjizd.h"
#include "lists/fnovytypjizd.h"
#include "tests/lists/list_gui_support.h"

namespace kolvio::testing {

namespace {

const QString kAdd = QStringLiteral("Opravdu přidat do databáze?");
const QString kLimit =
    QStringLiteral("Překročen max. počet {99} vedlejších typů!\n=> nelze přidat");
const QString kStoreSecondary = QStringLiteral("Zapsat provedenou změnu\nve vedlejším typu?");

// The secondary codes stored for primary type `primary`.
QStringList SecondaryCodes(ListSession& s, int primary) {
    TableRows rows(s.dir(), QStringLiteral("typ_trn.dbf"));
    QStringList out;
    for (Status st = rows.table.first(); st.ok() && !rows.table.eof(); st = rows.table.next()) {
        if (rows.table.getInt("TRNZ_C") == primary)
            out.append(QString::number(rows.table.getInt("TRN_C")));
    }
    return out;
}

void DeleteSecondary(Database& db, int code) {
    QVERIFY(db.TTRNZ().locate("TRNZ_C", code / 100).ok());
    QVERIFY(db.TTRN().locate("TRN_C", code).ok());
    QVERIFY(db.TTRN().deleteRecord().ok());
}

}  // namespace

class TestRideTypes : public QObject {
    Q_OBJECT
private slots:
    void addsAPrimaryTypeWithItsFirstSecondaryType();
    void primaryTypeIsNotStoredWithoutItsSecondaryType();
    void addsASecondaryTypeIntoAHole();
    void refusesWhatCannotBeAdded_data();
    void refusesWhatCannotBeAdded();
    void ninetyNineSecondaryTypesAtMost();
    void editorAsksAboutNamesAndWritesBack();
    void editorKeepsTheNamesOfPrimaryTypes();
    void deletesOnlyWhatMayGo();
};

void TestRideTypes::addsAPrimaryTypeWithItsFirstSecondaryType() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNovyTypJizd>(&TFNavig::RButton4);
    QVERIFY(screen);
    QCOMPARE(screen->PageControl1->currentIndex(), 0);
    QVERIFY(!screen->Edit1->isHidden() && !screen->CheckBox1->isHidden());
    TypeInto(screen->Edit1, QStringLiteral("Silnice"));
    TypeInto(screen->Edit2, QStringLiteral("tempo"));
    screen->CheckBox1->click();
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    screen->Button1->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_trnz.dbf", "TRNZ_C"), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(s.column("typ_trnz.dbf", "TRNZ_N").last(), QStringLiteral("Silnice"));
    TableRows primary(s.dir(), QStringLiteral("typ_trnz.dbf"));
    QVERIFY(primary.table.last().ok());
    QVERIFY(primary.table.getBool("ZADNE_TRS"));
    QCOMPARE(SecondaryCodes(s, 4), QStringList{"401"});
    QCOMPARE(s.column("typ_trn.dbf", "TRN_N").last(), QStringLiteral("tempo"));
    // Both datasets stand on the new rows, for the new-ride screen.
    QCOMPARE(s.db().TTRNZ().getInt("TRNZ_C"), 4);
    QCOMPARE(s.db().TTRN().getInt("TRN_C"), 401);
    QVERIFY(s.navigatorScreen());
}

// The store refuses the secondary row after the primary row went in: the
// primary row is taken back, so no primary type is left without one.
void TestRideTypes::primaryTypeIsNotStoredWithoutItsSecondaryType() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNovyTypJizd>(&TFNavig::RButton4);
    const Table::HandlerId full = s.db().TTRN().on(
        TableEvent::kBeforePost, [](Table&) { return Status::IoError("Na disku není místo."); });
    TypeInto(screen->Edit1, QStringLiteral("Dráha"));
    TypeInto(screen->Edit2, QStringLiteral("sprint"));
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    msgs.expect(QStringLiteral("Na disku není místo."), MsgKind::kError);
    screen->Button1->click();
    Settle();
    s.db().TTRN().off(full);
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_trnz.dbf", "TRNZ_N"), (QStringList{"trenažer", "vyjížďka", "závod"}));
    QCOMPARE(s.count("typ_trn.dbf"), 8);
    // The screen stays open for another try.
    QCOMPARE(s.form->activeScreen(), screen);
}

void TestRideTypes::addsASecondaryTypeIntoAHole() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    DeleteSecondary(s.db(), 203);
    auto* screen = s.press<TFNovyTypJizd>(&TFNavig::RButton4);
    screen->PoZasKonec->setChecked(false);
    QVERIFY(ClickRow(screen->DBGrid1, 1, QStringLiteral("vyjížďka")));
    TypeInto(screen->Edit1, QStringLiteral("Dráha"));
    screen->PageControl1->setCurrentIndex(1);
    QVERIFY(screen->Edit1->isHidden() && screen->Label2->isHidden() &&
            screen->CheckBox1->isHidden());
    QCOMPARE(screen->DBEdit1->text(), QStringLiteral("vyjížďka"));
    QCOMPARE(GridColumnTexts(screen->DBGrid2, 0), (QStringList{"201", "202", "204"}));
    // The primary name left in the hidden box plays no part.
    TypeInto(screen->Edit2, QStringLiteral("sprint"));
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    screen->Button1->click();
    Settle();
    TypeInto(screen->Edit2, QStringLiteral("sprint 2"));
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    screen->Button1->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(SecondaryCodes(s, 2), (QStringList{"201", "202", "204", "203", "205"}));
    QCOMPARE(s.count("typ_trnz.dbf"), 3);
    QCOMPARE(GridColumnTexts(screen->DBGrid2, 1),
             (QStringList{"NESPECIFIKOVÁNO", "FREKVENCE", "NA PRŮMĚR", "sprint", "sprint 2"}));
}

void TestRideTypes::refusesWhatCannotBeAdded_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("secondary");
    QTest::addColumn<QString>("warning");
    QTest::newRow("empty primary")
        << 0 << QString() << "x" << QStringLiteral("Název základního typu nesmí být prázdný!");
    QTest::newRow("existing primary")
        << 0 << QStringLiteral("ZÁVOD") << "x"
        << QStringLiteral("Zadaný nový základní typ již existuje!\n=> nelze přidat");
    QTest::newRow("empty secondary") << 1 << QString() << QString()
                                     << QStringLiteral("Název vedlejšího typu nesmí být prázdný!");
    // The selected primary type is "vyjížďka".
    QTest::newRow("existing secondary")
        << 1 << QString() << QStringLiteral("frekvence")
        << QStringLiteral("Zadaný nový vedlejší typ již existuje!\n=> nelze přidat");
    QTest::newRow("secondary of the selected type, with a new primary")
        << 0 << QStringLiteral("nový") << QStringLiteral("Kopce na plno")
        << QStringLiteral("Zadaný nový vedlejší typ již existuje!\n=> nelze přidat");
}

void TestRideTypes::refusesWhatCannotBeAdded() {
    QFETCH(int, page);
    QFETCH(QString, primary);
    QFETCH(QString, secondary);
    QFETCH(QString, warning);
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNovyTypJizd>(&TFNavig::RButton4);
    QVERIFY(ClickRow(screen->DBGrid1, 1, QStringLiteral("vyjížďka")));
    screen->PageControl1->setCurrentIndex(page);
    screen->Edit1->setText(primary);
    screen->Edit2->setText(secondary);
    msgs.expect(warning, MsgKind::kWarning);
    screen->Button1->click();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.count("typ_trnz.dbf"), 3);
    QCOMPARE(s.count("typ_trn.dbf"), 8);
}

void TestRideTypes::ninetyNineSecondaryTypesAtMost() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    Database& db = s.db();
    QVERIFY(db.TTRNZ().locate("TRNZ_C", 3).ok());
    for (int k = 4; k <= 98; ++k)
        AddRow(db.TTRN(), {{"TRN_C", 300 + k}, {"TRNZ_C", 3}, {"TRN_N", std::to_string(k)}});
    auto* screen = s.press<TFNovyTypJizd>(&TFNavig::RButton4);
    screen->PoZasKonec->setChecked(false);
    QVERIFY(ClickRow(screen->DBGrid1, 1, QStringLiteral("závod")));
    screen->PageControl1->setCurrentIndex(1);
    // The 99th is still accepted and gets the last code.
    screen->Edit2->setText(QStringLiteral("99"));
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    screen->Button1->click();
    Settle();
    QCOMPARE(SecondaryCodes(s, 3).last(), QStringLiteral("399"));
    screen->Edit2->setText(QStringLiteral("100"));
    msgs.expect(kLimit, MsgKind::kWarning);
    screen->Button1->click();
    // A new primary type is refused too while the full one is selected.
    screen->PageControl1->setCurrentIndex(0);
    screen->Edit1->setText(QStringLiteral("dráha"));
    msgs.expect(kLimit, MsgKind::kWarning);
    screen->Button1->click();
    CHECK_MESSAGES(msgs);
    QCOMPARE(SecondaryCodes(s, 3).size(), 99);
    QCOMPARE(s.count("typ_trnz.dbf"), 3);
}

void TestRideTypes::editorAsksAboutNamesAndWritesBack() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    AddRow(s.db().Table1(), {{"TRNZ_C", 3}, {"TRN_C", 302}});
    auto* screen = s.press<TFEditTypJizd>(&TFNavig::RButton7);
    QVERIFY(screen);
    QCOMPARE(GridColumnTexts(screen->DBGrid1, 1), (QStringList{"ANO", "NE", "NE"}));
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("závod")));
    QVERIFY(ClickRow(screen->DBGrid2, 0, QStringLiteral("JEDNOTLIVCŮ")));

    // The name of another secondary type of the same primary type: asked.
    TypeInto(screen->DBEdit2, QStringLiteral("ČASOVKA"));
    msgs.expect(kStoreSecondary, MsgKind::kConfirmation, MsgResult::kYes);
    msgs.expect(
        QStringLiteral("Zadaný vedlejší typ je již použit \npro daný základní typ - pokračovat?"),
        MsgKind::kConfirmation, MsgResult::kNo);
    QVERIFY(ClickRow(screen->DBGrid2, 0, QStringLiteral("ČASOVKA DVOJIC")));
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_trn.dbf", "TRN_N")[5], QStringLiteral("JEDNOTLIVCŮ"));

    // Another letter case, or another primary type's name: not asked.
    QVERIFY(ClickRow(screen->DBGrid2, 0, QStringLiteral("JEDNOTLIVCŮ")));
    TypeInto(screen->DBEdit2, QStringLiteral("časovka"));
    msgs.expect(kStoreSecondary, MsgKind::kConfirmation, MsgResult::kYes);
    QVERIFY(ClickRow(screen->DBGrid2, 0, QStringLiteral("ČASOVKA DVOJIC")));
    TypeInto(screen->DBEdit2, QStringLiteral("FREKVENCE"));
    msgs.expect(kStoreSecondary, MsgKind::kConfirmation, MsgResult::kYes);
    QVERIFY(ClickRow(screen->DBGrid2, 0, QStringLiteral("časovka")));
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_trn.dbf", "TRN_N").mid(5),
             (QStringList{"časovka", "ČASOVKA", "FREKVENCE"}));

    // A type rides use asks more sternly; an empty name is allowed on Yes.
    QVERIFY(ClickRow(screen->DBGrid2, 0, QStringLiteral("ČASOVKA")));
    TypeInto(screen->DBEdit2, QString());
    msgs.expect(QStringLiteral("Opravdu prázdný vedlejší typ?"), MsgKind::kConfirmation,
                MsgResult::kYes);
    msgs.expect(
        QStringLiteral("Vedlejší typ je již použit v jízdách,\npřesto zapsat provedenou změnu?"),
        MsgKind::kConfirmation, MsgResult::kYes);
    QVERIFY(ClickRow(screen->DBGrid2, 0, QStringLiteral("časovka")));
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_trn.dbf", "TRN_N")[6], QString());
}

void TestRideTypes::editorKeepsTheNamesOfPrimaryTypes() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    AddRow(s.db().Table1(), {{"TRNZ_C", 2}, {"TRN_C", 201}});
    auto* screen = s.press<TFEditTypJizd>(&TFNavig::RButton7);
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("závod")));
    TypeInto(screen->DBEdit1, QString());
    msgs.expect(QStringLiteral("Základní typ nesmí být prázdný!\nruším změny!"), MsgKind::kWarning);
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("trenažer")));
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_trnz.dbf", "TRNZ_N")[2], QStringLiteral("závod"));

    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("vyjížďka")));
    TypeInto(screen->DBEdit1, QStringLiteral("ZÁVOD"));
    msgs.expect(
        QStringLiteral("Základní typ je již použit v jízdách,\npřesto zapsat provedenou změnu?"),
        MsgKind::kConfirmation, MsgResult::kYes);
    msgs.expect(QStringLiteral("Zadaný základní typ je již použit \n - pokračovat?"),
                MsgKind::kConfirmation, MsgResult::kNo);
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("trenažer")));
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_trnz.dbf", "TRNZ_N")[1], QStringLiteral("vyjížďka"));

    // The no-route flag is a change like any other.
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("závod")));
    screen->DBCheckBox1->click();
    msgs.expect(QStringLiteral("Zapsat provedenou změnu\nv základním typu?"),
                MsgKind::kConfirmation, MsgResult::kYes);
    screen->BKONEC->click();
    Settle();
    CHECK_MESSAGES(msgs);
    TableRows primary(s.dir(), QStringLiteral("typ_trnz.dbf"));
    QVERIFY(primary.table.last().ok());
    QVERIFY(primary.table.getBool("ZADNE_TRS"));
}

void TestRideTypes::deletesOnlyWhatMayGo() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    AddRow(s.db().Table1(), {{"TRNZ_C", 2}, {"TRN_C", 203}});
    auto* screen = s.press<TFEditTypJizd>(&TFNavig::RButton7);
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("trenažer")));
    msgs.expect(QStringLiteral("Alespoň jeden vedlejší typ musí zůstat\n=> nelze smazat"),
                MsgKind::kWarning);
    screen->Button2->click();
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("vyjížďka")));
    msgs.expect(QStringLiteral("Základní typ je již použit v jízdách,\n=> nelze smazat!"),
                MsgKind::kWarning);
    screen->Button1->click();
    QVERIFY(ClickRow(screen->DBGrid2, 0, QStringLiteral("KOPCE NA PLNO")));
    msgs.expect(QStringLiteral("Vedlejší typ je již použit v jízdách,\n=> nelze smazat!"),
                MsgKind::kWarning);
    screen->Button2->click();
    QVERIFY(ClickRow(screen->DBGrid2, 0, QStringLiteral("FREKVENCE")));
    msgs.expect(QStringLiteral("Opravdu vedlejší typ vymazat?"), MsgKind::kConfirmation,
                MsgResult::kYes);
    screen->Button2->click();
    Settle();
    QCOMPARE(SecondaryCodes(s, 2), (QStringList{"201", "203", "204"}));

    // A primary type goes with all its secondary types.
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("závod")));
    msgs.expect(QStringLiteral("Opravdu základní typ vymazat?"), MsgKind::kConfirmation,
                MsgResult::kYes);
    screen->Button1->click();
    Settle();
    QCOMPARE(s.column("typ_trnz.dbf", "TRNZ_C"), (QStringList{"1", "2"}));
    QCOMPARE(s.column("typ_trn.dbf", "TRN_C"), (QStringList{"101", "201", "203", "204"}));
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("trenažer")));
    msgs.expect(QStringLiteral("Opravdu základní typ vymazat?"), MsgKind::kConfirmation,
                MsgResult::kYes);
    screen->Button1->click();
    Settle();
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("vyjížďka")));
    msgs.expect(QStringLiteral("Alespoň jeden základní typ musí zůstat\n=> nelze smazat"),
                MsgKind::kWarning);
    screen->Button1->click();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_trn.dbf", "TRN_C"), (QStringList{"201", "203", "204"}));
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestRideTypes)
#include "tst_ride_types.moc"
