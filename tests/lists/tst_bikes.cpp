// The bike screens driven as a rider uses them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/widgets/db_grid.h"
#include "lists/feditkolo.h"
#include "lists/fnovekolo.h"
#include "tests/lists/list_gui_support.h"

namespace kolvio::testing {

namespace {

const QString kAdd = QStringLiteral("Opravdu přidat do databáze?");
const QString kTypeExists = QStringLiteral("Zadaný typ již existuje\nje to v pořádku");
const QString kEmpty = QStringLiteral("Typ kola nebo značka kola jsou prázdné,\nje to v pořádku?");
const QString kExists = QStringLiteral("Zadané nové kolo již existuje!\n=> nelze přidat");
const QString kStore = QStringLiteral("Zapsat provedenou změnu?");
const QString kSilnicni = QStringLiteral("SILNIČNÍ ZÁVODNÍ");

MsgResult Answer(const QString& yesNo) {
    return yesNo == QLatin1String("Y") ? MsgResult::kYes : MsgResult::kNo;
}

// Expects messages given as (text, "W" for a warning or "Y"/"N" for the
// answer to a question).
void ExpectAll(ScriptedMessages& msgs, const QStringList& messages) {
    for (int i = 0; i + 1 < messages.size(); i += 2) {
        if (messages[i + 1] == "W") {
            msgs.expect(messages[i], MsgKind::kWarning);
        } else {
            msgs.expect(messages[i], MsgKind::kConfirmation, Answer(messages[i + 1]));
        }
    }
}

}  // namespace

class TestBikes : public QObject {
    Q_OBJECT
private slots:
    void addsABikeInUpperCase();
    void addingChecksThePair_data();
    void addingChecksThePair();
    void existingTypeMayBeTypedAgain();
    void editorWritesBackADuplicatePair();
    void editorDecidesAPendingChangeOnClosing();
    void editorAsksNothingWhenNothingChanged_data();
    void editorAsksNothingWhenNothingChanged();
    void deletesOnlyWhatMayGo();
};

void TestBikes::addsABikeInUpperCase() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNoveKolo>(&TFNavig::RButton3);
    QVERIFY(screen);
    QCOMPARE(screen->Label1->text(), QStringLiteral("NOVÉ KOLO"));
    QVERIFY(screen->ComboBox1->currentText().isEmpty());
    QCOMPARE(screen->ComboBox1->count(), 4);
    QCOMPARE(screen->ComboBox2->count(), 7);
    msgs.expect(kTypeExists, MsgKind::kConfirmation, MsgResult::kYes);
    Enter(screen->ComboBox1, QStringLiteral("silniční závodní"), screen->ComboBox2);
    TypeInto(screen->ComboBox2, QStringLiteral("author"));
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    screen->Button1->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_kol.dbf", "KOL_C"), (QStringList{"1", "2", "3"}));
    QCOMPARE(s.column("typ_kol.dbf", "KOL_TYP").last(), kSilnicni);
    QCOMPARE(s.column("typ_kol.dbf", "KOL_ZNA").last(), QStringLiteral("AUTHOR"));
    // The bikes dataset stands on the new bike, for the new-ride screen.
    QCOMPARE(s.db().TTKOL().getInt("KOL_C"), 3);
    QVERIFY(s.navigatorScreen());
}

void TestBikes::addingChecksThePair_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("make");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("bikes");  // stored afterwards
    // Bikes: 1 SILNIČNÍ ZÁVODNÍ, 2 SILNIČNÍ ZIMNÍ (no makes), 3 A/X, 4 B/Y.
    QTest::newRow("empty make matches an empty make")
        << kSilnicni << QString() << QStringList{kEmpty, "Y", kExists, "W"} << 4;
    QTest::newRow("empty make, No") << "TREK" << QString() << QStringList{kEmpty, "N"} << 4;
    QTest::newRow("same pair in another case") << "a"
                                               << "x" << QStringList{kExists, "W"} << 4;
    QTest::newRow("type of one, make of another") << "A"
                                                  << "Y" << QStringList{kAdd, "Y"} << 5;
    QTest::newRow("not added") << "C"
                               << "Z" << QStringList{kAdd, "N"} << 4;
}

void TestBikes::addingChecksThePair() {
    QFETCH(QString, type);
    QFETCH(QString, make);
    QFETCH(QStringList, messages);
    QFETCH(int, bikes);
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    AddRow(s.db().TTKOL(), {{"KOL_C", 3}, {"KOL_TYP", "A"}, {"KOL_ZNA", "X"}});
    AddRow(s.db().TTKOL(), {{"KOL_C", 4}, {"KOL_TYP", "B"}, {"KOL_ZNA", "Y"}});
    auto* screen = s.press<TFNoveKolo>(&TFNavig::RButton3);
    screen->PoZasKonec->setChecked(false);
    // Typed without leaving the type list: its question is tested apart.
    screen->ComboBox1->setEditText(type);
    screen->ComboBox2->setEditText(make);
    ExpectAll(msgs, messages);
    screen->Button1->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.count("typ_kol.dbf"), bikes);
}

void TestBikes::existingTypeMayBeTypedAgain() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNoveKolo>(&TFNavig::RButton3);
    msgs.expect(kTypeExists, MsgKind::kConfirmation, MsgResult::kNo);
    Enter(screen->ComboBox1, QStringLiteral("Silniční Zimní"), screen->ComboBox2);
    Settle();
    QVERIFY(HasFocus(screen->ComboBox1));
    QCOMPARE(screen->ComboBox1->currentText(), QStringLiteral("Silniční Zimní"));
    Enter(screen->ComboBox1, QStringLiteral("HORSKÉ ZÁVODNÍ"), screen->ComboBox2);
    CHECK_MESSAGES(msgs);
}

void TestBikes::editorWritesBackADuplicatePair() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFEditKolo>(&TFNavig::RButton5);
    QVERIFY(screen);
    QVERIFY(screen->PoZasKonec->isHidden());
    QVERIFY(ClickRow(screen->DBGrid1, 0, QStringLiteral("SILNIČNÍ ZIMNÍ")));

    msgs.expect(kStore, MsgKind::kConfirmation, MsgResult::kYes);
    msgs.expect(QStringLiteral("Takové kolo již existuje!\n=> nelze změnit"), MsgKind::kWarning);
    Enter(screen->DBComboBox1, QStringLiteral("silniční závodní"), screen->DBComboBox2);
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_kol.dbf", "KOL_TYP"), (QStringList{kSilnicni, "SILNIČNÍ ZIMNÍ"}));
    QCOMPARE(screen->DBComboBox1->currentText(), QStringLiteral("SILNIČNÍ ZIMNÍ"));

    msgs.expect(kStore, MsgKind::kConfirmation, MsgResult::kNo);
    Enter(screen->DBComboBox2, QStringLiteral("Favorit"), screen->DBComboBox1);
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_kol.dbf", "KOL_ZNA"), (QStringList{"", ""}));
    QVERIFY(screen->DBComboBox2->currentText().isEmpty());

    // Stored as typed: the editor does not upper-case.
    msgs.expect(kStore, MsgKind::kConfirmation, MsgResult::kYes);
    Enter(screen->DBComboBox2, QStringLiteral("Favorit"), screen->DBComboBox1);
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_kol.dbf", "KOL_ZNA"), (QStringList{"", "Favorit"}));
}

void TestBikes::editorDecidesAPendingChangeOnClosing() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFEditKolo>(&TFNavig::RButton5);
    TypeInto(screen->DBComboBox2, QStringLiteral("Author"));
    // Left with Esc: the change is not stored behind the rider's back.
    msgs.expect(kStore, MsgKind::kConfirmation, MsgResult::kNo);
    QTest::keyClick(screen, Qt::Key_Escape);
    Settle();
    CHECK_MESSAGES(msgs);
    QVERIFY(s.navigatorScreen());
    QCOMPARE(s.db().TTKOL().state(), DatasetState::kBrowse);
    QCOMPARE(s.column("typ_kol.dbf", "KOL_ZNA"), (QStringList{"", ""}));
}

void TestBikes::editorAsksNothingWhenNothingChanged_data() {
    QTest::addColumn<QString>("type");  // of the current bike, one of the preset types
    QTest::newRow("first preset") << kSilnicni;
    QTest::newRow("another preset") << "SILNIČNÍ ZIMNÍ";
}

void TestBikes::editorAsksNothingWhenNothingChanged() {
    QFETCH(QString, type);
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    AddRow(s.db().TTKOL(), {{"KOL_C", 3}, {"KOL_TYP", "HORSKÉ ZÁVODNÍ"}, {"KOL_ZNA", "FORT"}});
    for (int round = 0; round < 2; ++round) {  // opened, then opened again
        auto* screen = s.press<TFEditKolo>(&TFNavig::RButton5);
        QVERIFY(screen);
        QVERIFY(ClickRow(screen->DBGrid1, 0, type));
        // The list shows the preset as its item, not as typed text.
        QCOMPARE(screen->DBComboBox1->currentText(), type);
        QCOMPARE(screen->DBComboBox1->currentIndex(), screen->DBComboBox1->findText(type));
        FocusOn(screen->DBComboBox1);
        FocusOn(screen->DBComboBox2);
        FocusOn(screen->DBGrid1);
        QCOMPARE(s.db().TTKOL().state(), DatasetState::kBrowse);
        // Every row of the grid shows, also the others.
        QCOMPARE(GridColumnTexts(screen->DBGrid1, 1), (QStringList{"", "", "FORT"}));
        screen->BKONEC->click();
        Settle();
        CHECK_MESSAGES(msgs);
    }
    // A real pick is an edit: the question comes once, and the grid keeps
    // every row while it is pending.
    auto* screen = s.press<TFEditKolo>(&TFNavig::RButton5);
    QVERIFY(ClickRow(screen->DBGrid1, 1, "FORT"));
    FocusOn(screen->DBComboBox2);
    QTest::keyClick(screen->DBComboBox2, Qt::Key_Down);  // FORT -> AUTHOR
    QCOMPARE(s.db().TTKOL().state(), DatasetState::kEdit);
    QCOMPARE(GridColumnTexts(screen->DBGrid1, 0),
             (QStringList{kSilnicni, "SILNIČNÍ ZIMNÍ", "HORSKÉ ZÁVODNÍ"}));
    msgs.expect(kStore, MsgKind::kConfirmation, MsgResult::kYes);
    FocusOn(screen->DBGrid1);
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_kol.dbf", "KOL_ZNA"), (QStringList{"", "", "AUTHOR"}));
}

void TestBikes::deletesOnlyWhatMayGo() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    AddRow(s.db().TTKOL(), {{"KOL_C", 3}, {"KOL_TYP", "A"}, {"KOL_ZNA", "X"}});
    AddRow(s.db().Table1(), {{"KOL_C", 1}});
    auto* screen = s.press<TFEditKolo>(&TFNavig::RButton5);
    QVERIFY(ClickRow(screen->DBGrid1, 0, kSilnicni));
    msgs.expect(QStringLiteral("Kolo je již použito!\n=> nelze smazat"), MsgKind::kWarning);
    screen->Button1->click();
    for (const char* type : {"SILNIČNÍ ZIMNÍ", "A"}) {
        QVERIFY(ClickRow(screen->DBGrid1, 0, QString::fromUtf8(type)));
        msgs.expect(QStringLiteral("Opravdu kolo vymazat?"), MsgKind::kConfirmation,
                    MsgResult::kYes);
        screen->Button1->click();
        Settle();
    }
    QCOMPARE(s.column("typ_kol.dbf", "KOL_C"), QStringList{"1"});
    // The last bike: the count is tested before the rides.
    msgs.expect(QStringLiteral("Alespoň jedno kolo musí zůstat\n=> nelze smazat"),
                MsgKind::kWarning);
    screen->Button1->click();
    screen->BKONEC->click();
    Settle();

    // A freed code above the lowest one is taken by the next bike.
    auto* adder = s.press<TFNoveKolo>(&TFNavig::RButton3);
    adder->ComboBox1->setEditText(QStringLiteral("TREKINGOVÉ"));
    adder->ComboBox2->setEditText(QStringLiteral("FORT"));
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    adder->Button1->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_kol.dbf", "KOL_C"), (QStringList{"1", "2"}));
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestBikes)
#include "tst_bikes.moc"
