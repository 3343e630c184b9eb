// Browsing, correcting and deleting rides in the ride editor as a rider
// does it: clicking dates in the grid, typing into boxes and leaving them,
// answering the questions; each flow ends with a look at the table on disk.
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/widgets/db_grid.h"
#include "rides/feditjizd.h"
#include "rides/ride_widgets.h"
#include "tests/rides/ride_gui_support.h"

namespace kolvio::testing {

class TestRideEditor : public QObject {
    Q_OBJECT
private slots:
    void emptyDiaryIsRefusedByTheNavigator();
    void opensOnTheLastRideWithItsFigures();
    void browsingAndLeavingBoxesUnchangedAsksNothing();
    void distanceChangeReworksTheAverageAndIsStoredOnYes();
    void answeringNoRestoresTheStoredRide();
    void ridingTimeWithinATenThousandthOfAnHourIsUnchanged();
    void limitsReworkThePercentagesButEnergyDoesNot();
    void overLimitShareAndTimeFollowEachOther();
    void refusalsOfTheEditor_data();
    void refusalsOfTheEditor();
    void unmeasuredRideIsStoredWithoutHeartRate();
    void measuredRideWithoutWatchTypeIsNotStored();
    void closingProgramDropsARefusedChangeWithAMessage();
    void dateEditedInTheGridKeepsMonthAndYearInStep();
    void primaryTypeDecidesTheRoute();
    void deletingTheOnlyRideLeavesAnEmptyScreen();
    void watchTypesAreWholeAtTheSmallestWindow();
    void dateColumnTakesThreeQuartersOfTheGrid();

private:
    // Three rides: a trainer ride, a measured road ride and a long one.
    static void addRides(RideSession& s);
    static TFEditJizd* open(RideSession& s) { return s.press<TFEditJizd>(&TFNavig::RButton8); }
    static void expectStore(RideSession& s, MsgResult answer) {
        s.msgs.expect(QStringLiteral("Zapsat provedené změny?"), MsgKind::kConfirmation, answer);
    }
    static QString ridesFile(RideSession& s) { return s.dir() + QStringLiteral("/jizdy.dbf"); }
};

void TestRideEditor::addRides(RideSession& s) {
    Table& rides = s.db().Table1();
    AddRow(rides, {{"DATUM", *Date::FromYmd(2024, 5, 1)},
                   {"MESIC_C", 2024005},
                   {"ROK", 2024},
                   {"TRNZ_C", 1},
                   {"TRN_C", 101},
                   {"TRS_C", 0},
                   {"TRS_SMER", 0},
                   {"KOL_C", 1},
                   {"DELKA", 30.0},
                   {"CAS", 1.0},
                   {"RYCHL_MAX", 35.0},
                   {"PRUMER", 30.0},
                   {"OSOB", 1},
                   {"SR_MER", false},
                   {"THL_C", 0}});
    AddRow(rides, {{"DATUM", *Date::FromYmd(2024, 5, 3)},
                   {"MESIC_C", 2024005},
                   {"ROK", 2024},
                   {"TRNZ_C", 2},
                   {"TRN_C", 201},
                   {"TRS_C", 1},
                   {"TRS_SMER", 2},
                   {"KOL_C", 2},
                   {"DELKA", 42.123},
                   {"CAS", 1.5},
                   {"RYCHL_MAX", 48.4},
                   {"PRUMER", 28.082},
                   {"OSOB", 2},
                   {"POPIS1", "Okolo Brna"},
                   {"SR_MER", true},
                   {"THL_C", 2},
                   {"SR_AVG", 150.0},
                   {"SR_MAX", 180.0},
                   {"SR_KCAL", 900.0},
                   {"SR_X", 190.0},
                   {"SR_LIM", 160.0},
                   {"SR_PLP", 20.0},
                   {"SR_PLC", 0.3},
                   {"SR_AXP", 78.9474},
                   {"SR_ALP", 93.75},
                   {"SR_MXP", 94.7368},
                   {"SR_MLP", 112.5}});
    AddRow(rides, {{"DATUM", *Date::FromYmd(2024, 5, 20)},
                   {"MESIC_C", 2024005},
                   {"ROK", 2024},
                   {"TRNZ_C", 2},
                   {"TRN_C", 202},
                   {"TRS_C", 1},
                   {"TRS_SMER", 1},
                   {"KOL_C", 1},
                   {"DELKA", 600.0},
                   {"CAS", 25.25},
                   {"RYCHL_MAX", 55.0},
                   {"PRUMER", 600 / 25.25},
                   {"OSOB", 1},
                   {"SR_MER", false},
                   {"THL_C", 0}});
}

void TestRideEditor::emptyDiaryIsRefusedByTheNavigator() {
    RideSession s;
    QVERIFY(s.navigatorScreen()->RButton8->isEnabled());
    s.msgs.expect(QStringLiteral("Databáze neobsahuje žádnou jízdu\n=> nelze editovat."),
                  MsgKind::kInformation);
    s.navigatorScreen()->RButton8->click();
    Settle();
    CHECK_MESSAGES(s.msgs);
    QVERIFY(!s.msgs.shown.constLast().beep);
    QVERIFY(s.navigatorScreen());
}

void TestRideEditor::opensOnTheLastRideWithItsFigures() {
    RideSession s;
    addRides(s);
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QCOMPARE(e->windowTitle(), QStringLiteral("Editace jízdy"));
    QCOMPARE(e->Label1->text(), QStringLiteral("EDITACE A ODSTRANĚNÍ JÍZD"));
    QVERIFY(e->PoZasKonec->isHidden());
    QCOMPARE(e->DBGrid1->model()->rowCount(), 3);
    QCOMPARE(e->DBGrid1->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("datum"));
    QCOMPARE(s.db().Table1().rowNumber(), 2);
    // The long ride: its time in the days form, its average worked out.
    QCOMPARE(e->ETRP->text(), QStringLiteral("600.00"));
    QCOMPARE(e->ESTP->text(), QStringLiteral("1den 1:15:00"));
    QCOMPARE(e->EAVS->text(), QStringLiteral("23.76"));
    QCOMPARE(e->EMAX->text(), QStringLiteral("55.0"));
    QCOMPARE(e->DBEdit1->text(), QStringLiteral("1"));
    QVERIFY(!e->sr_mer->isChecked());
    QVERIFY(!e->sr_avg->isEnabled());
    QCOMPARE(e->sr_avg->text(), QString());
    QVERIFY(e->ArrowButton1->pointsRight());
    // The measured ride, one click up.
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("3.5.2024")));
    QCOMPARE(e->ETRP->text(), QStringLiteral("42.12"));
    QCOMPARE(e->ESTP->text(), QStringLiteral("1:30:00"));
    QCOMPARE(e->sr_avg->text(), QStringLiteral("150"));
    QCOMPARE(e->sr_plp->text(), QStringLiteral("20"));
    QCOMPARE(e->sr_plc->text(), QStringLiteral("0:18:00"));
    QCOMPARE(e->DBEdit2->text(), QStringLiteral("Okolo Brna"));
    QVERIFY(e->sr_mer->isChecked() && e->sr_avg->isEnabled());
    QVERIFY(!e->ArrowButton1->pointsRight());
    QCOMPARE(e->LStart->text(), QStringLiteral("&Cíl:"));
    QCOMPARE(e->hl_c_1->currentText(), QStringLiteral("hlídaný"));
    // The trainer ride has no route.
    QVERIFY(!e->GBTrat->isHidden());
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("1.5.2024")));
    QVERIFY(e->GBTrat->isHidden());
    CHECK_MESSAGES(s.msgs);
}

void TestRideEditor::browsingAndLeavingBoxesUnchangedAsksNothing() {
    RideSession s;
    addRides(s);
    const QByteArray before = FileBytes(ridesFile(s));
    TFEditJizd* e = open(s);
    QVERIFY(e);
    for (const char* date : {"3.5.2024", "20.5.2024", "1.5.2024", "3.5.2024"}) {
        QVERIFY(ClickRow(e->DBGrid1, 0, QString::fromLatin1(date)));
        // Every box shown, left as it is: 42.12 stands for 42.123.
        for (QLineEdit* box : {e->ETRP, e->ESTP, e->EMAX, e->DBEdit1, e->sr_avg, e->sr_max,
                               e->sr_kcal, e->sr_lim, e->sr_x, e->sr_plp, e->sr_plc}) {
            if (box->isEnabled()) FocusOn(box);
        }
        FocusOn(e->DBEdit2);
        QCOMPARE(s.db().Table1().state(), DatasetState::kBrowse);
    }
    e->BKONEC->click();
    Settle();
    QVERIFY(s.navigatorScreen());
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(FileBytes(ridesFile(s)), before);
}

void TestRideEditor::distanceChangeReworksTheAverageAndIsStoredOnYes() {
    RideSession s;
    addRides(s);
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("3.5.2024")));
    Enter(e->ETRP, QStringLiteral("45"), e->DBEdit2);
    QCOMPARE(e->EAVS->text(), QStringLiteral("30.00"));
    QCOMPARE(s.db().Table1().state(), DatasetState::kEdit);
    expectStore(s, MsgResult::kYes);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("20.5.2024")));
    CHECK_MESSAGES(s.msgs);
    const std::vector<StoredRide> rides = ReadRides(s.dir());
    QCOMPARE(rides[1].at("DELKA").asDouble(), 45.0);
    QCOMPARE(rides[1].at("PRUMER").asDouble(), 30.0);
    QCOMPARE(rides[1].at("CAS").asDouble(), 1.5);
    QCOMPARE(s.db().Table1().rowNumber(), 2);
}

void TestRideEditor::answeringNoRestoresTheStoredRide() {
    RideSession s;
    addRides(s);
    const QByteArray before = FileBytes(ridesFile(s));
    TFEditJizd* e = open(s);
    QVERIFY(e);
    Enter(e->EMAX, QStringLiteral("60"), e->DBEdit2);
    TypeInto(e->DBEdit2, QStringLiteral("jiný popis"));
    expectStore(s, MsgResult::kNo);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("1.5.2024")));
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(s.db().Table1().state(), DatasetState::kBrowse);
    QCOMPARE(s.db().Table1().rowNumber(), 2);  // the move did not happen
    QCOMPARE(e->EMAX->text(), QStringLiteral("55.0"));
    QCOMPARE(e->DBEdit2->text(), QString());
    QCOMPARE(FileBytes(ridesFile(s)), before);
}

void TestRideEditor::ridingTimeWithinATenThousandthOfAnHourIsUnchanged() {
    RideSession s;
    addRides(s);
    QVERIFY(s.db().Table1().edit().ok());
    QVERIFY(s.db().Table1().setValue("CAS", 25.25 + 0.00009).ok());
    QVERIFY(s.db().Table1().post().ok());
    TFEditJizd* e = open(s);
    QVERIFY(e);
    // Typed again as the rider reads it: no change.
    Enter(e->ESTP, QStringLiteral("25:15:00"), e->DBEdit2);
    QCOMPARE(s.db().Table1().state(), DatasetState::kBrowse);
    // One second more is a change of the time and the average.
    Enter(e->ESTP, QStringLiteral("25:15:01"), e->DBEdit2);
    QCOMPARE(e->ESTP->text(), QStringLiteral("1den 1:15:01"));
    expectStore(s, MsgResult::kYes);
    e->BKONEC->click();
    Settle();
    CHECK_MESSAGES(s.msgs);
    StoredRide r = ReadRides(s.dir()).at(2);
    QCOMPARE(r["CAS"].asDouble(), 25.2503);  // kept to four decimals by the table
    QVERIFY(qAbs(r["PRUMER"].asDouble() - 600 / (25.25 + 1 / 3600.0)) < 1e-4);
}

void TestRideEditor::limitsReworkThePercentagesButEnergyDoesNot() {
    RideSession s;
    addRides(s);
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("3.5.2024")));
    Enter(e->sr_kcal, QStringLiteral("950"), e->DBEdit2);
    QCOMPARE(s.db().Table1().getDouble("SR_ALP"), 93.75);
    Enter(e->sr_lim, QStringLiteral("150"), e->DBEdit2);
    expectStore(s, MsgResult::kYes);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("1.5.2024")));
    CHECK_MESSAGES(s.msgs);
    StoredRide r = ReadRides(s.dir()).at(1);
    QCOMPARE(r["SR_KCAL"].asDouble(), 950.0);
    QCOMPARE(r["SR_LIM"].asDouble(), 150.0);
    QCOMPARE(r["SR_ALP"].asDouble(), 100.0);
    QCOMPARE(r["SR_MLP"].asDouble(), 120.0);
    QCOMPARE(r["SR_AXP"].asDouble(), 78.9474);
}

void TestRideEditor::overLimitShareAndTimeFollowEachOther() {
    RideSession s;
    addRides(s);
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("3.5.2024")));
    Enter(e->sr_plp, QStringLiteral("0"), e->DBEdit2);
    QCOMPARE(e->sr_plc->text(), QStringLiteral("0:00:00"));
    Enter(e->sr_plc, QStringLiteral("0:45:00"), e->DBEdit2);
    QCOMPARE(e->sr_plp->text(), QStringLiteral("50"));
    // A ride of no riding time takes no time above the limit but 0:00:00.
    Enter(e->ESTP, QStringLiteral("0:00:00"), e->DBEdit2);
    QCOMPARE(e->EAVS->text(), QStringLiteral("0.00"));
    s.msgs.expect(QStringLiteral("Zadaný čas nesmí být delší než čas jízdy"), MsgKind::kWarning);
    Enter(e->sr_plc, QStringLiteral("0:00:01"), e->DBEdit2);
    CHECK_MESSAGES(s.msgs);
    QVERIFY(HasFocus(e->sr_plc));
    Enter(e->sr_plc, QStringLiteral("0:00:00"), e->DBEdit2);
    QCOMPARE(e->sr_plp->text(), QStringLiteral("0"));
    expectStore(s, MsgResult::kYes);
    e->BKONEC->click();
    Settle();
    CHECK_MESSAGES(s.msgs);
    StoredRide r = ReadRides(s.dir()).at(1);
    QCOMPARE(r["CAS"].asDouble(), 0.0);
    QCOMPARE(r["PRUMER"].asDouble(), 0.0);
    QCOMPARE(r["SR_PLC"].asDouble(), 0.0);
    QCOMPARE(r["SR_PLP"].asDouble(), 0.0);
}

void TestRideEditor::refusalsOfTheEditor_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("beep");
    const int warning = static_cast<int>(MsgKind::kWarning);
    QTest::newRow("distance 0") << "ETRP"
                                << "0"
                                << "Zadané číslo: musí být větší jak 0" << warning << false;
    QTest::newRow("distance above 10000")
        << "ETRP"
        << "10001"
        << "Zadané číslo: musí být menší jak 10000" << warning << false;
    QTest::newRow("maximum above 500")
        << "EMAX"
        << "500.1"
        << "Zadané číslo: musí být menší jak 500" << warning << false;
    QTest::newRow("riders 0") << "DBEdit1"
                              << "0"
                              << "Zadané číslo: musí být větší jak 0" << warning << false;
    QTest::newRow("heart rate, not a number") << "sr_max"
                                              << "18O"
                                              << "Toto není přípustné číslo" << warning << true;
    QTest::newRow("share above 100")
        << "sr_plp"
        << "101"
        << "Zadané číslo musí být menší, nebo rovno 100" << warning << true;
    QTest::newRow("time, seconds above 59")
        << "ESTP"
        << "1:30:60"
        << "'1:30:60' is not a valid time" << static_cast<int>(MsgKind::kError) << true;
}

void TestRideEditor::refusalsOfTheEditor() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, kind);
    QFETCH(bool, beep);
    RideSession s;
    addRides(s);
    const QByteArray before = FileBytes(ridesFile(s));
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("3.5.2024")));
    auto* edit = e->findChild<QLineEdit*>(box);
    QVERIFY(edit);
    s.msgs.expect(message, static_cast<MsgKind>(kind));
    Enter(edit, text, e->DBEdit2);
    Settle();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(s.msgs.shown.constLast().beep, beep);
    QVERIFY(HasFocus(edit));
    QCOMPARE(s.db().Table1().state(), DatasetState::kBrowse);  // nothing written
    e->BKONEC->click();
    Settle();
    QVERIFY(s.navigatorScreen());
    QCOMPARE(FileBytes(ridesFile(s)), before);
}

void TestRideEditor::unmeasuredRideIsStoredWithoutHeartRate() {
    RideSession s;
    addRides(s);
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("3.5.2024")));
    ClickCheckBox(e->sr_mer);
    QVERIFY(!e->sr_avg->isEnabled());
    expectStore(s, MsgResult::kYes);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("1.5.2024")));
    CHECK_MESSAGES(s.msgs);
    StoredRide r = ReadRides(s.dir()).at(1);
    QCOMPARE(r["SR_MER"].asBool(), false);
    QCOMPARE(r["THL_C"].asInt(), 0);
    for (const char* field : {"SR_AVG", "SR_MAX", "SR_KCAL", "SR_X", "SR_LIM", "SR_PLP", "SR_PLC",
                              "SR_AXP", "SR_ALP", "SR_MXP", "SR_MLP"}) {
        QVERIFY2(r[field].isNull(), field);
    }
    QCOMPARE(r["DELKA"].asDouble(), 42.123);
}

void TestRideEditor::measuredRideWithoutWatchTypeIsNotStored() {
    RideSession s;
    addRides(s);
    const QByteArray before = FileBytes(ridesFile(s));
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("3.5.2024")));
    QVERIFY(PickItem(e->hl_c_1, QStringLiteral("neměřeno")));
    const QString refusal =
        QStringLiteral("Nelze zapsat aktuální typ hlídání překročení limitu\nvyber jiný typ");
    expectStore(s, MsgResult::kYes);
    s.msgs.expect(refusal, MsgKind::kInformation);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("20.5.2024")));
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(s.db().Table1().rowNumber(), 1);  // kept on the ride
    QCOMPARE(s.db().Table1().state(), DatasetState::kEdit);
    // "ZRUŠ" does not leave the change pending: the rider stays.
    expectStore(s, MsgResult::kYes);
    s.msgs.expect(refusal, MsgKind::kInformation);
    e->BKONEC->click();
    Settle();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(s.form->activeScreen(), e);
    QCOMPARE(FileBytes(ridesFile(s)), before);
    // No: the change is dropped and the screen closes.
    expectStore(s, MsgResult::kNo);
    e->BKONEC->click();
    Settle();
    CHECK_MESSAGES(s.msgs);
    QVERIFY(s.navigatorScreen());
    QCOMPARE(s.db().Table1().state(), DatasetState::kBrowse);
    QCOMPARE(FileBytes(ridesFile(s)), before);
}

void TestRideEditor::closingProgramDropsARefusedChangeWithAMessage() {
    RideSession s;
    addRides(s);
    const QByteArray before = FileBytes(ridesFile(s));
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("3.5.2024")));
    QVERIFY(PickItem(e->hl_c_1, QStringLiteral("neměřeno")));
    expectStore(s, MsgResult::kYes);
    s.msgs.expect(QStringLiteral("Nelze zapsat aktuální typ hlídání překročení limitu\n"
                                 "vyber jiný typ"),
                  MsgKind::kInformation);
    s.msgs.expect(QStringLiteral("Změny aktuální jízdy nebylo možné zapsat, proto byly zrušeny."),
                  MsgKind::kWarning);
    s.form->close();
    Settle();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(FileBytes(ridesFile(s)), before);
}

void TestRideEditor::dateEditedInTheGridKeepsMonthAndYearInStep() {
    RideSession s;
    addRides(s);
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("3.5.2024")));
    const QModelIndex cell = e->DBGrid1->currentIndex();
    QVERIFY(cell.isValid());
    e->DBGrid1->setFocus();
    QTest::keyClick(e->DBGrid1, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != e->DBGrid1);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("15.3.2021"));
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    QCOMPARE(s.db().Table1().state(), DatasetState::kEdit);
    expectStore(s, MsgResult::kYes);
    e->BKONEC->click();
    Settle();
    CHECK_MESSAGES(s.msgs);
    StoredRide r = ReadRides(s.dir()).at(1);
    QCOMPARE(r["DATUM"].asDate().dayNumber(), Date::FromYmd(2021, 3, 15)->dayNumber());
    QCOMPARE(r["MESIC_C"].asInt(), 2021003);
    QCOMPARE(r["ROK"].asInt(), 2021);
}

void TestRideEditor::primaryTypeDecidesTheRoute() {
    RideSession s;
    addRides(s);
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(ClickRow(e->DBGrid1, 0, QStringLiteral("1.5.2024")));
    Table& ride = s.db().Table1();
    QVERIFY(PickItem(e->DBLookupComboBox6, QStringLiteral("vyjížďka")));
    QVERIFY(!e->GBTrat->isHidden());
    QCOMPARE(ride.getInt("TRS_C"), 1);  // as new entry does
    QCOMPARE(ride.getInt("TRS_SMER"), 1);
    QCOMPARE(ride.getInt("TRN_C"), 201);  // 101 belongs to the trainer rides
    QVERIFY(e->ArrowButton1->pointsRight());
    QTest::mouseClick(e->ArrowButton1, Qt::LeftButton);
    QCOMPARE(ride.getInt("TRS_SMER"), 2);
    QVERIFY(PickItem(e->DBLookupComboBox6, QStringLiteral("trenažer")));
    QVERIFY(e->GBTrat->isHidden());
    QCOMPARE(ride.getInt("TRS_C"), 0);
    QCOMPARE(ride.getInt("TRS_SMER"), 0);
    QVERIFY(PickItem(e->DBLookupComboBox6, QStringLiteral("závod")));
    expectStore(s, MsgResult::kYes);
    e->BKONEC->click();
    Settle();
    CHECK_MESSAGES(s.msgs);
    StoredRide r = ReadRides(s.dir()).at(0);
    QCOMPARE(r["TRNZ_C"].asInt(), 3);
    QCOMPARE(r["TRN_C"].asInt(), 301);
    QCOMPARE(r["TRS_C"].asInt(), 1);
    QCOMPARE(r["TRS_SMER"].asInt(), 1);
}

void TestRideEditor::deletingTheOnlyRideLeavesAnEmptyScreen() {
    RideSession s;
    AddRow(s.db().Table1(), {{"DATUM", *Date::FromYmd(2024, 5, 1)}, {"DELKA", 10.0}});
    TFEditJizd* e = open(s);
    QVERIFY(e);
    const QString question = QStringLiteral("Opravdu jízdu vymazat?");
    s.msgs.expect(question, MsgKind::kConfirmation, MsgResult::kNo);
    e->Button1->click();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(s.db().Table1().recordCount(), 1);
    Enter(e->ETRP, QStringLiteral("11"), e->DBEdit2);  // a change dropped with the ride, unasked
    s.msgs.expect(question, MsgKind::kConfirmation, MsgResult::kYes);
    e->Button1->click();
    Settle();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(e->DBGrid1->model()->rowCount(), 0);
    QCOMPARE(e->ETRP->text(), QString());
    QCOMPARE(e->ESTP->text(), QString());
    QVERIFY(!e->Button1->isEnabled());
    QVERIFY(!e->GBCyklo->isEnabled());
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});
    e->BKONEC->click();
    Settle();
    QVERIFY(s.navigatorScreen());
    CHECK_MESSAGES(s.msgs);
}

void TestRideEditor::watchTypesAreWholeAtTheSmallestWindow() {
    RideSession s;
    addRides(s);
    TFEditJizd* e = open(s);
    QVERIFY(e);
    QVERIFY(FitsTheSmallestWindow(s, e));
    CHECK_MESSAGES(s.msgs);
}

void TestRideEditor::dateColumnTakesThreeQuartersOfTheGrid() {
    RideSession s;
    addRides(s);
    TFEditJizd* e = open(s);
    QVERIFY(e);
    for (const QSize size : {QSize(632, 430), QSize(1000, 700), QSize(700, 500)}) {
        s.form->resize(size);
        Settle();
        const int width = e->DBGrid1->viewport()->width();
        QCOMPARE(e->DBGrid1->columnWidth(0), width * 75 / 100);
    }
    CHECK_MESSAGES(s.msgs);
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestRideEditor)
#include "tst_ride_editor.moc"
