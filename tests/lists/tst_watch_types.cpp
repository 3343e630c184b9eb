// The heart-rate limit watch type screens driven as a rider uses them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/widgets/db_grid.h"
#include "lists/feditthl.h"
#include "lists/fnovethl.h"
#include "tests/lists/list_gui_support.h"

namespace kolvio::testing {

namespace {

const QString kAdd = QStringLiteral("Opravdu přidat do databáze?");
const QString kAbbreviationExists = QStringLiteral("Zadaná zkratka již existuje\nje to v pořádku");
const QString kDelete = QStringLiteral("Opravdu typ vymazat?");

}  // namespace

class TestWatchTypes : public QObject {
    Q_OBJECT
private slots:
    void addsATypeAsTypedUnlessThePairExists();
    void emptyTextsAreAskedAbout();
    void editorWritesBackADuplicatePair();
    void editorAsksNothingWhenAPresetIsOnlyShown();
    void deletesOnlyWhatMayGo();
};

void TestWatchTypes::addsATypeAsTypedUnlessThePairExists() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNoveTHL>(&TFNavig::RBTHL);
    QVERIFY(screen);
    QCOMPARE(screen->Label1->text(), QStringLiteral("NOVÝ TYP HLÍDÁNÍ LIMITU TEPOVÉ FREKVENCE"));
    QCOMPARE(screen->ComboBox1->lineEdit()->maxLength(), 15);
    QCOMPARE(screen->ComboBox2->lineEdit()->maxLength(), 50);
    screen->PoZasKonec->setChecked(false);

    msgs.expect(kAbbreviationExists, MsgKind::kConfirmation, MsgResult::kYes);
    Enter(screen->ComboBox1, QStringLiteral("Hlídaný"), screen->ComboBox2);
    TypeInto(screen->ComboBox2, QStringLiteral("při překročení zpomalení"));
    msgs.expect(
        QStringLiteral("Zadaný nový typ hlídání limitu tep. fr. již existuje!\n=> nelze přidat"),
        MsgKind::kWarning);
    screen->Button1->click();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.count("typ_hld.dbf"), 3);

    msgs.expect(kAbbreviationExists, MsgKind::kConfirmation, MsgResult::kYes);
    Enter(screen->ComboBox1, QStringLiteral("hlídaný"), screen->ComboBox2);
    TypeInto(screen->ComboBox2, QStringLiteral("Zpomalit až nad limitem"));
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    screen->Button1->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_hld.dbf", "THL_C"), (QStringList{"0", "1", "2", "3"}));
    QCOMPARE(s.column("typ_hld.dbf", "THL_ZKR").last(), QStringLiteral("hlídaný"));
    QCOMPARE(s.column("typ_hld.dbf", "THL_POP").last(), QStringLiteral("Zpomalit až nad limitem"));
    // Open for the next type, with the lists emptied.
    QCOMPARE(s.form->activeScreen(), screen);
    QVERIFY(screen->ComboBox1->currentText().isEmpty());
    QVERIFY(screen->ComboBox2->currentText().isEmpty());
    QCOMPARE(s.db().TTHLD().getInt("THL_C"), 3);
}

void TestWatchTypes::emptyTextsAreAskedAbout() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNoveTHL>(&TFNavig::RBTHL);
    screen->ComboBox1->setEditText(QStringLiteral("pulzmetr"));
    msgs.expect(QStringLiteral("Zkratka nebo popis jsou prázdné,\nje to v pořádku?"),
                MsgKind::kConfirmation, MsgResult::kYes);
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    screen->Button1->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_hld.dbf", "THL_ZKR").last(), QStringLiteral("pulzmetr"));
    QCOMPARE(s.column("typ_hld.dbf", "THL_POP").last(), QString());
    QVERIFY(s.navigatorScreen());
}

void TestWatchTypes::editorWritesBackADuplicatePair() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFEditthl>(&TFNavig::RBETHL);
    QVERIFY(screen);
    QCOMPARE(screen->Label1->text(),
             QStringLiteral("EDITACE A ODSTRANĚNÍ TYPU HLÍDÁNÍ LIMITU TEP. FR."));
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("hlídaný")));
    // Type 2 becomes type 1 in two steps; the second one collides.
    msgs.expect(QStringLiteral("Zapsat provedenou změnu?"), MsgKind::kConfirmation,
                MsgResult::kYes);
    Enter(screen->DBComboBox1, QStringLiteral("nehlídaný"), screen->DBComboBox2);
    msgs.expect(QStringLiteral("Zapsat provedenou změnu?"), MsgKind::kConfirmation,
                MsgResult::kYes);
    msgs.expect(QStringLiteral("Takový typ již existuje!\n=> nelze změnit"), MsgKind::kWarning);
    Enter(screen->DBComboBox2, QStringLiteral("POUZE MĚŘENO"), screen->DBComboBox1);
    CHECK_MESSAGES(msgs);
    // Written back to what the row held when its second change began.
    QCOMPARE(s.column("typ_hld.dbf", "THL_ZKR"),
             (QStringList{"neměřeno", "nehlídaný", "nehlídaný"}));
    QCOMPARE(s.column("typ_hld.dbf", "THL_POP").last(), QStringLiteral("při překročení zpomalení"));
}

void TestWatchTypes::editorAsksNothingWhenAPresetIsOnlyShown() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    for (int round = 0; round < 2; ++round) {  // opened, then opened again
        auto* screen = s.press<TFEditthl>(&TFNavig::RBETHL);
        QVERIFY(screen);
        // "hlídaný" / "při překročení zpomalení" are the second items of the
        // preset lists.
        QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("hlídaný")));
        for (QWidget* w :
             {static_cast<QWidget*>(screen->DBComboBox1),
              static_cast<QWidget*>(screen->DBComboBox2), static_cast<QWidget*>(screen->DBGrid1)}) {
            FocusOn(w);
        }
        QCOMPARE(s.db().TTHLD().state(), DatasetState::kBrowse);
        QCOMPARE(GridColumnTexts(screen->DBGrid1, 0),
                 (QStringList{"neměřeno", "nehlídaný", "hlídaný"}));
        QTest::keyClick(screen, Qt::Key_Escape);
        Settle();
        CHECK_MESSAGES(msgs);
    }
    QCOMPARE(s.column("typ_hld.dbf", "THL_ZKR"), (QStringList{"neměřeno", "nehlídaný", "hlídaný"}));
}

void TestWatchTypes::deletesOnlyWhatMayGo() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    AddRow(s.db().Table1(), {{"THL_C", 2}});
    auto* screen = s.press<TFEditthl>(&TFNavig::RBETHL);
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("neměřeno")));
    msgs.expect(QStringLiteral("Tento typ musí zůstat\n=> nelze smazat"), MsgKind::kWarning);
    screen->Button1->click();
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("hlídaný")));
    msgs.expect(QStringLiteral("Typ je již použit!\n=> nelze smazat"), MsgKind::kWarning);
    screen->Button1->click();
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("nehlídaný")));
    msgs.expect(kDelete, MsgKind::kConfirmation, MsgResult::kNo);
    screen->Button1->click();
    QCOMPARE(s.count("typ_hld.dbf"), 3);
    msgs.expect(kDelete, MsgKind::kConfirmation, MsgResult::kYes);
    screen->Button1->click();
    Settle();
    QCOMPARE(s.column("typ_hld.dbf", "THL_C"), (QStringList{"0", "2"}));
    // Two types left: type 2 may not go either, used or not.
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("hlídaný")));
    msgs.expect(QStringLiteral("Alespoň dva typy musí zůstat\n=> nelze smazat"), MsgKind::kWarning);
    screen->Button1->click();
    screen->BKONEC->click();
    Settle();

    auto* adder = s.press<TFNoveTHL>(&TFNavig::RBTHL);
    adder->ComboBox1->setEditText(QStringLiteral("měřený"));
    adder->ComboBox2->setEditText(QStringLiteral("bez hlídání"));
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    adder->Button1->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_hld.dbf", "THL_C"), (QStringList{"0", "2", "1"}));
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestWatchTypes)
#include "tst_watch_types.moc"
