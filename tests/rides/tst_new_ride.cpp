// Entering rides on the new-ride screen as a rider does: typing into the
// boxes, leaving them, picking from the lists and pressing "PŘIDEJ"; each
// flow ends with a look at the rides table on disk.
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/widgets/round_button.h"
#include "rides/fnovajizda.h"
#include "rides/ride_widgets.h"
#include "tests/rides/ride_gui_support.h"

namespace kolvio::testing {

class TestNewRide : public QObject {
    Q_OBJECT
private slots:
    void opensWithAnAppendedRideAndItsPresets();
    void entersARideWithoutHeartRate();
    void entersAMeasuredRideAndRemembersItsAgeLimit();
    void refusedEntryKeepsTheFigureAndTheFocus_data();
    void refusedEntryKeepsTheFigureAndTheFocus();
    void commaBecomesAPointOnlyWithTheOption_data();
    void commaBecomesAPointOnlyWithTheOption();
    void overLimitTimeAndShareStayInStep();
    void longRidesAndKeysATimeBoxRefuses();
    void zeroComputerFiguresAreRefusedAndZeroHeartFiguresAsked();
    void measuredRideNeedsAWatchType();
    void twoSavesInARowWithoutClosing();
    void cancelStoresNothing();
    void failedStoreKeepsTheRidePending();
    void primaryTypeWithoutRoutesHidesTheRoute();
    void arrowTurnsAndSwapsTheLabels();
    void routeListIsOrderedByTheLookupBeingEntered();
    void dateButtonsSetTheDateStored();
    void watchTypesAreWholeAtTheSmallestWindow();

private:
    static TFNovaJizda* open(RideSession& s);
    // Types the three cycle-computer figures, leaving each box.
    static void enterComputer(TFNovaJizda* f, const char* distance, const char* time,
                              const char* maxSpeed);
    // "PŘIDEJ" with "Opravdu přidat do databáze?" answered `answer`.
    static void add(RideSession& s, TFNovaJizda* f, MsgResult answer = MsgResult::kYes);
};

TFNovaJizda* TestNewRide::open(RideSession& s) {
    return s.press<TFNovaJizda>(&TFNavig::RButton1);
}

void TestNewRide::enterComputer(TFNovaJizda* f, const char* distance, const char* time,
                                const char* maxSpeed) {
    Enter(f->ETRP, QString::fromUtf8(distance), f->ESTP);
    Enter(f->ESTP, QString::fromUtf8(time), f->EMAX);
    Enter(f->EMAX, QString::fromUtf8(maxSpeed), f->Edit1);
}

void TestNewRide::add(RideSession& s, TFNovaJizda* f, MsgResult answer) {
    s.msgs.expect(QStringLiteral("Opravdu přidat do databáze?"), MsgKind::kConfirmation, answer);
    QTest::mouseClick(f->Button2, Qt::LeftButton);
    Settle();
}

void TestNewRide::opensWithAnAppendedRideAndItsPresets() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("Nová jízda"));
    QCOMPARE(f->Label1->text(), QStringLiteral("NOVÁ JÍZDA"));
    QCOMPARE(s.db().Table1().state(), DatasetState::kInsert);
    QCOMPARE(f->ETRP->text(), QStringLiteral("0.00"));
    QCOMPARE(f->ESTP->text(), QStringLiteral("0:00:00"));
    QCOMPARE(f->EMAX->text(), QStringLiteral("0.0"));
    QCOMPARE(f->EAVS->text(), QStringLiteral("0.00"));
    QCOMPARE(f->sr_x->text(), QStringLiteral("190"));
    QCOMPARE(f->sr_lim->text(), QStringLiteral("0"));
    QCOMPARE(f->Edit2->text(), QStringLiteral("1"));
    QCOMPARE(f->DateTimePicker1->date(), QDate::currentDate());
    // No ride yet: not measured, so the heart-rate boxes are disabled.
    QVERIFY(!f->sr_mer->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(f->sr_avg), static_cast<QWidget*>(f->sr_plc),
                       static_cast<QWidget*>(f->hl_c_1)}) {
        QVERIFY(!w->isEnabled());
    }
    ClickCheckBox(f->sr_mer);
    QVERIFY(f->sr_avg->isEnabled() && f->sr_x->isEnabled() && f->hl_c_2->isEnabled());
    // The first type is a trainer ride: no route offered.
    QCOMPARE(f->DBLookupComboBox6->currentText(), QStringLiteral("trenažer"));
    QVERIFY(f->GBTrat->isHidden());
    QCOMPARE(s.db().Table1().getInt("TRS_C"), 0);
    // Nothing is stored until "PŘIDEJ".
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});
    CHECK_MESSAGES(s.msgs);
}

void TestNewRide::entersARideWithoutHeartRate() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QVERIFY(PickItem(f->DBLookupComboBox6, QStringLiteral("vyjížďka")));
    QVERIFY(!f->GBTrat->isHidden());
    QVERIFY(PickItem(f->DBLookupComboBox7, QStringLiteral("FREKVENCE")));
    QVERIFY(PickItem(f->DBLookupComboBox9, QStringLiteral("SILNIČNÍ ZIMNÍ")));
    enterComputer(f, "42.5", "1:30:00", "48.4");
    QCOMPARE(f->EAVS->text(), QStringLiteral("28.33"));
    TypeInto(f->Edit1, QStringLiteral("Okolo Brna přes Ořechov"));
    Enter(f->Edit2, QStringLiteral("3"), f->Edit1);
    add(s, f);
    CHECK_MESSAGES(s.msgs);
    QVERIFY(s.navigatorScreen());  // "Po zadání ukončit" was ticked

    const std::vector<StoredRide> rides = ReadRides(s.dir());
    QCOMPARE(rides.size(), size_t{1});
    StoredRide r = rides[0];
    QCOMPARE(r["DELKA"].asDouble(), 42.5);
    QCOMPARE(r["CAS"].asDouble(), 1.5);
    QCOMPARE(r["RYCHL_MAX"].asDouble(), 48.4);
    QVERIFY(qAbs(r["PRUMER"].asDouble() - 42.5 / 1.5) < 1e-4);
    QCOMPARE(r["OSOB"].asInt(), 3);
    QCOMPARE(r["POPIS1"].asText(), std::string("Okolo Brna přes Ořechov"));
    const Date today = DateOf(QDate::currentDate());
    QCOMPARE(r["DATUM"].asDate().dayNumber(), today.dayNumber());
    QCOMPARE(r["MESIC_C"].asInt(), int64_t{today.year() * 1000 + today.month()});
    QCOMPARE(r["ROK"].asInt(), int64_t{today.year()});
    QCOMPARE(r["TRNZ_C"].asInt(), 2);
    QCOMPARE(r["TRN_C"].asInt(), 202);
    QCOMPARE(r["TRS_C"].asInt(), 1);  // a type with routes starts on route 1
    QCOMPARE(r["TRS_SMER"].asInt(), 1);
    QCOMPARE(r["KOL_C"].asInt(), 2);
    QCOMPARE(r["SR_MER"].asBool(), false);
    QCOMPARE(r["THL_C"].asInt(), 0);
    for (const char* field : {"SR_AVG", "SR_MAX", "SR_KCAL", "SR_X", "SR_LIM", "SR_PLP", "SR_PLC",
                              "SR_AXP", "SR_ALP", "SR_MXP", "SR_MLP"}) {
        QVERIFY2(r[field].isNull(), field);
    }
}

void TestNewRide::entersAMeasuredRideAndRemembersItsAgeLimit() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    ClickCheckBox(f->sr_mer);
    enterComputer(f, "30", "1:30:00", "40");
    Enter(f->sr_avg, QStringLiteral("150"), f->sr_max);
    Enter(f->sr_max, QStringLiteral("180"), f->sr_kcal);
    Enter(f->sr_kcal, QStringLiteral("900"), f->sr_lim);
    Enter(f->sr_lim, QStringLiteral("160"), f->sr_x);
    Enter(f->sr_x, QStringLiteral("185"), f->sr_plp);
    Enter(f->sr_plp, QStringLiteral("25"), f->sr_plc);
    QCOMPARE(f->sr_plc->text(), QStringLiteral("0:22:30"));
    QVERIFY(PickItem(f->hl_c_1, QStringLiteral("hlídaný")));
    QCOMPARE(f->hl_c_2->currentText(), QStringLiteral("při překročení zpomalení"));
    add(s, f);
    CHECK_MESSAGES(s.msgs);

    StoredRide r = ReadRides(s.dir()).at(0);
    QCOMPARE(r["SR_MER"].asBool(), true);
    QCOMPARE(r["THL_C"].asInt(), 2);
    QCOMPARE(r["SR_AVG"].asDouble(), 150.0);
    QCOMPARE(r["SR_MAX"].asDouble(), 180.0);
    QCOMPARE(r["SR_KCAL"].asDouble(), 900.0);
    QCOMPARE(r["SR_LIM"].asDouble(), 160.0);
    QCOMPARE(r["SR_X"].asDouble(), 185.0);
    QCOMPARE(r["SR_PLP"].asDouble(), 25.0);
    QCOMPARE(r["SR_PLC"].asDouble(), 0.375);
    QVERIFY(qAbs(r["SR_AXP"].asDouble() - 150.0 / 185 * 100) < 1e-4);
    QCOMPARE(r["SR_ALP"].asDouble(), 93.75);
    QVERIFY(qAbs(r["SR_MXP"].asDouble() - 180.0 / 185 * 100) < 1e-4);
    QCOMPARE(r["SR_MLP"].asDouble(), 112.5);
    QCOMPARE(s.form->settings().readInteger("Srdce", "hsr_x", 0), 185);
}

void TestNewRide::refusedEntryKeepsTheFigureAndTheFocus_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("kind");
    const int warning = static_cast<int>(MsgKind::kWarning);
    const int error = static_cast<int>(MsgKind::kError);
    QTest::newRow("distance, not a number") << "ETRP"
                                            << "4x"
                                            << "Toto není přípustné číslo" << warning;
    QTest::newRow("distance 0") << "ETRP"
                                << "0"
                                << "Zadané číslo musí být větší jak 0" << warning;
    QTest::newRow("distance above 10000") << "ETRP"
                                          << "10001"
                                          << "Zadané číslo musí být menší jak 10000" << warning;
    QTest::newRow("time, minutes above 59") << "ESTP"
                                            << "1:60:00"
                                            << "'1:60:00' is not a valid time" << error;
    QTest::newRow("time, incomplete") << "ESTP"
                                      << "1:30"
                                      << "'1:30' is not a valid time" << error;
    QTest::newRow("maximum 0") << "EMAX"
                               << "0"
                               << "Zadané číslo: musí být větší jak 0" << warning;
    QTest::newRow("maximum above 500") << "EMAX"
                                       << "501"
                                       << "Zadané číslo: musí být menší jak 500" << warning;
    QTest::newRow("average heart rate -1") << "sr_avg"
                                           << "-1"
                                           << "Zadané číslo musí být větší jak 0" << warning;
    QTest::newRow("age limit, not a number") << "sr_x"
                                             << "1.2.3"
                                             << "Toto není přípustné číslo" << warning;
    QTest::newRow("share below 0") << "sr_plp"
                                   << "-0.5"
                                   << "Zadané číslo musí být větší, nebo rovno 0" << warning;
    QTest::newRow("share above 100") << "sr_plp"
                                     << "100.5"
                                     << "Zadané číslo musí být menší, nebo rovno 100" << warning;
    QTest::newRow("over-limit time longer than the ride")
        << "sr_plc"
        << "2:00:01"
        << "Zadaný čas nesmí být delší než čas jízdy" << warning;
    QTest::newRow("riders 0") << "Edit2"
                              << "0"
                              << "Zadané číslo musí být větší jak 0" << warning;
    QTest::newRow("riders, not whole") << "Edit2"
                                       << "1.5"
                                       << "Toto není přípustné číslo" << warning;
}

void TestNewRide::refusedEntryKeepsTheFigureAndTheFocus() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, kind);
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    ClickCheckBox(f->sr_mer);
    enterComputer(f, "50", "2:00:00", "45");
    Enter(f->sr_plp, QStringLiteral("10"), f->Edit1);
    const NewRideFigures before = f->figures();
    auto* edit = f->findChild<QLineEdit*>(box);
    QVERIFY(edit);
    s.msgs.expect(message, static_cast<MsgKind>(kind));
    Enter(edit, text, f->Edit1);
    Settle();
    CHECK_MESSAGES(s.msgs);
    QVERIFY(HasFocus(edit));
    QCOMPARE(edit->text(), text);  // left for the rider to correct
    QVERIFY(f->figures().storedValues({}) == before.storedValues({}));
    if (edit != f->sr_plc) QCOMPARE(f->sr_plc->text(), QStringLiteral("0:12:00"));
    QCOMPARE(f->EAVS->text(), QStringLiteral("25.00"));
    // "PŘIDEJ" first checks the box again: nothing is stored.
    s.msgs.expect(message, static_cast<MsgKind>(kind));
    f->Button2->click();
    Settle();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});
    QCOMPARE(s.db().Table1().state(), DatasetState::kInsert);
}

void TestNewRide::commaBecomesAPointOnlyWithTheOption_data() {
    QTest::addColumn<bool>("option");
    QTest::newRow("option on") << true;
    QTest::newRow("option off") << false;
}

void TestNewRide::commaBecomesAPointOnlyWithTheOption() {
    QFETCH(bool, option);
    RideSession s;
    QVERIFY(s.form->settings().writeBool("Setup", "zamenteckacarka", option).ok());
    s.form->reloadDisplaySettings();
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    if (!option) s.msgs.expect(QStringLiteral("Toto není přípustné číslo"), MsgKind::kWarning);
    Enter(f->ETRP, QStringLiteral("25,4"), f->ESTP);
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(f->ETRP->text(), option ? QStringLiteral("25.4") : QStringLiteral("25,4"));
    QCOMPARE(f->figures().distance, option ? 25.4 : 0.0);
}

void TestNewRide::overLimitTimeAndShareStayInStep() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    ClickCheckBox(f->sr_mer);
    Enter(f->ESTP, QStringLiteral("2:00:00"), f->sr_plp);
    Enter(f->sr_plp, QStringLiteral("25"), f->sr_plc);
    QCOMPARE(f->sr_plc->text(), QStringLiteral("0:30:00"));
    Enter(f->ESTP, QStringLiteral("1:00:00"), f->sr_plc);
    QCOMPARE(f->sr_plc->text(), QStringLiteral("0:15:00"));
    // A time equal to the riding time is accepted: the share follows.
    Enter(f->sr_plc, QStringLiteral("1:00:00"), f->sr_plp);
    QCOMPARE(f->sr_plp->text(), QStringLiteral("100.0"));
    // A worked-out share left as shown keeps the time exactly.
    Enter(f->sr_plc, QStringLiteral("0:07:24"), f->sr_plp);
    QCOMPARE(f->sr_plp->text(), QStringLiteral("12.3"));
    FocusOn(f->sr_plc);
    QCOMPARE(f->sr_plc->text(), QStringLiteral("0:07:24"));
    QCOMPARE(f->figures().overHours, 444 / 3600.0);
    Enter(f->sr_plp, QStringLiteral("0"), f->sr_plc);
    QCOMPARE(f->sr_plc->text(), QStringLiteral("0:00:00"));
    CHECK_MESSAGES(s.msgs);
}

void TestNewRide::longRidesAndKeysATimeBoxRefuses() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    // A brevet of 36 hours, typed as the rider reads it off the computer.
    Enter(f->ESTP, QStringLiteral("36:15:00"), f->Edit1);
    QCOMPARE(f->figures().hours, 36.25);
    // The days form the program shows reads as well.
    Enter(f->ESTP, QStringLiteral("1den 12:15:00"), f->Edit1);
    QCOMPARE(f->figures().hours, 36.25);
    // Letters and other keys a time cannot hold never reach the box.
    TypeInto(f->ESTP, QStringLiteral("1x:3,0:00"));
    QCOMPARE(f->ESTP->text(), QStringLiteral("1:30:00"));
    FocusOn(f->Edit1);
    QCOMPARE(f->figures().hours, 1.5);
    CHECK_MESSAGES(s.msgs);
}

void TestNewRide::zeroComputerFiguresAreRefusedAndZeroHeartFiguresAsked() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    Enter(f->ETRP, QStringLiteral("20"), f->ESTP);
    s.msgs.expect(QStringLiteral("Zadaná data cyklocomputeru obsahují nulové hodnoty\n"
                                 "nelze uložit - zadej znovu"),
                  MsgKind::kWarning);
    QTest::mouseClick(f->Button2, Qt::LeftButton);
    Settle();
    CHECK_MESSAGES(s.msgs);

    enterComputer(f, "20", "0:40:00", "35");
    ClickCheckBox(f->sr_mer);
    // The other heart-rate boxes are never entered: leaving them with 0
    // would be refused.
    Enter(f->sr_avg, QStringLiteral("140"), f->Edit1);
    QVERIFY(PickItem(f->hl_c_1, QStringLiteral("nehlídaný")));
    const QString zeroHeart =
        QStringLiteral("Zadaná data měření srdečního tepu\nobsahují nulové hodnoty - pokračovat?");
    s.msgs.expect(zeroHeart, MsgKind::kConfirmation, MsgResult::kNo);
    QTest::mouseClick(f->Button2, Qt::LeftButton);
    Settle();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});
    QCOMPARE(s.db().Table1().state(), DatasetState::kInsert);

    // Yes: stored with the zero set limit giving zero percentages of it.
    s.msgs.expect(zeroHeart, MsgKind::kConfirmation, MsgResult::kYes);
    add(s, f);
    CHECK_MESSAGES(s.msgs);
    StoredRide r = ReadRides(s.dir()).at(0);
    QCOMPARE(r["SR_LIM"].asDouble(), 0.0);
    QCOMPARE(r["SR_ALP"].asDouble(), 0.0);
    QCOMPARE(r["SR_MLP"].asDouble(), 0.0);
    QVERIFY(r["SR_AXP"].asDouble() > 73);
}

void TestNewRide::measuredRideNeedsAWatchType() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    enterComputer(f, "20", "0:40:00", "35");
    ClickCheckBox(f->sr_mer);
    for (QLineEdit* box : {f->sr_avg, f->sr_max, f->sr_kcal, f->sr_lim})
        Enter(box, QStringLiteral("150"), f->Edit1);
    QCOMPARE(f->hl_c_1->currentText(), QStringLiteral("neměřeno"));
    s.msgs.expect(QStringLiteral("Nelze zapsat aktuální typ hlídání překročení limitu\n"
                                 "vyber jiný typ"),
                  MsgKind::kInformation);
    QTest::mouseClick(f->Button2, Qt::LeftButton);
    Settle();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});
    QVERIFY(PickItem(f->hl_c_2, QStringLiteral("pouze měřeno")));
    add(s, f);
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(ReadRides(s.dir()).at(0)["THL_C"].asInt(), 1);
}

void TestNewRide::twoSavesInARowWithoutClosing() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    ClickCheckBox(f->PoZasKonec);
    QVERIFY(PickItem(f->DBLookupComboBox6, QStringLiteral("závod")));
    enterComputer(f, "95.7", "3:00:00", "61.2");
    Enter(f->Edit2, QStringLiteral("4"), f->Edit1);
    TypeInto(f->Edit1, QStringLiteral("Velká cena"));
    add(s, f);
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(s.form->activeScreen(), f);
    // The next ride: figures back to zero, the rest kept.
    QCOMPARE(f->ETRP->text(), QStringLiteral("0.00"));
    QCOMPARE(f->ESTP->text(), QStringLiteral("0:00:00"));
    QCOMPARE(f->EMAX->text(), QStringLiteral("0.0"));
    QCOMPARE(f->sr_plc->text(), QStringLiteral("0:00:00"));
    QCOMPARE(f->EAVS->text(), QStringLiteral("31.90"));
    QCOMPARE(f->Edit1->text(), QStringLiteral("Velká cena"));
    QCOMPARE(f->Edit2->text(), QStringLiteral("4"));
    QCOMPARE(s.db().Table1().state(), DatasetState::kInsert);

    enterComputer(f, "12", "0:30:00", "30");
    add(s, f);
    CHECK_MESSAGES(s.msgs);
    const std::vector<StoredRide> rides = ReadRides(s.dir());
    QCOMPARE(rides.size(), size_t{2});
    QCOMPARE(rides[0].at("DELKA").asDouble(), 95.7);
    QCOMPARE(rides[1].at("DELKA").asDouble(), 12.0);
    QCOMPARE(rides[1].at("PRUMER").asDouble(), 24.0);
    QCOMPARE(rides[1].at("POPIS1").asText(), std::string("Velká cena"));
    QCOMPARE(rides[1].at("OSOB").asInt(), 4);
    // No remembered type: the type list's current row, the type picked last.
    QCOMPARE(rides[1].at("TRNZ_C").asInt(), 3);
    f->BKONEC->click();
    Settle();
    QCOMPARE(ReadRides(s.dir()).size(), size_t{2});
    QVERIFY(s.navigatorScreen());
}

void TestNewRide::cancelStoresNothing() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    enterComputer(f, "40", "1:20:00", "50");
    QTest::keyClick(f->Edit1, Qt::Key_Escape);  // the cancel key is "ZRUŠ"
    Settle();
    QVERIFY(s.navigatorScreen());
    QCOMPARE(s.db().Table1().state(), DatasetState::kBrowse);
    QCOMPARE(s.db().Table1().recordCount(), 0);
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});
    QVERIFY(!s.db().TTRS().filtered());
    CHECK_MESSAGES(s.msgs);
}

void TestNewRide::failedStoreKeepsTheRidePending() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    enterComputer(f, "40", "1:20:00", "50");
    // The store fails as a full disk would.
    Table& rides = s.db().Table1();
    const Table::HandlerId failing = rides.on(TableEvent::kBeforePost, [](Table&) {
        return Status::IoError("Soubor jizdy.dbf nelze zapsat: na disku není místo.");
    });
    s.msgs.expect(QStringLiteral("Opravdu přidat do databáze?"), MsgKind::kConfirmation,
                  MsgResult::kYes);
    s.msgs.expect(QStringLiteral("Soubor jizdy.dbf nelze zapsat*"), MsgKind::kError);
    QTest::mouseClick(f->Button2, Qt::LeftButton);
    Settle();
    rides.off(failing);
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(s.form->activeScreen(), f);
    QCOMPARE(rides.state(), DatasetState::kInsert);
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});
    // Once the disk has room again, the same ride is stored once.
    add(s, f);
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(ReadRides(s.dir()).size(), size_t{1});
}

void TestNewRide::primaryTypeWithoutRoutesHidesTheRoute() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    Table& ride = s.db().Table1();
    QVERIFY(PickItem(f->DBLookupComboBox6, QStringLiteral("vyjížďka")));
    QVERIFY(!f->GBTrat->isHidden());
    QVERIFY(s.db().TTRS().filtered());  // route 0 is not offered
    QCOMPARE(f->DBLookupComboBox3->findText(QStringLiteral("trenažer")), -1);
    QCOMPARE(ride.getInt("TRS_C"), 1);
    QCOMPARE(ride.getInt("TRN_C"), 201);
    Settle();
    QCOMPARE(f->GBCyklo->y(), f->GBTrat->y());  // the figures beside the route
    QVERIFY(PickItem(f->DBLookupComboBox6, QStringLiteral("trenažer")));
    QVERIFY(f->GBTrat->isHidden());
    Settle();
    // No empty band where the route stood: the types at the top, the
    // figures above the date.
    QCOMPARE(f->GBTyp->y(), f->GBCyklo->y());
    QVERIFY(f->GBCyklo->geometry().bottom() < f->findChild<QWidget*>("GBDatum")->y());
    QVERIFY(!s.db().TTRS().filtered());
    QCOMPARE(ride.getInt("TRS_C"), 0);
    QCOMPARE(ride.getInt("TRS_SMER"), 0);
    QCOMPARE(ride.getInt("TRN_C"), 101);
    enterComputer(f, "30", "1:00:00", "31");
    add(s, f);
    CHECK_MESSAGES(s.msgs);
    StoredRide r = ReadRides(s.dir()).at(0);
    QCOMPARE(r["TRS_C"].asInt(), 0);
    QCOMPARE(r["TRS_SMER"].asInt(), 0);
}

void TestNewRide::arrowTurnsAndSwapsTheLabels() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QVERIFY(PickItem(f->DBLookupComboBox6, QStringLiteral("vyjížďka")));
    QCOMPARE(f->LStart->text(), QStringLiteral("&Start:"));
    QTest::mouseClick(f->ArrowButton1, Qt::LeftButton);
    QVERIFY(!f->ArrowButton1->pointsRight());
    QCOMPARE(f->LStart->text(), QStringLiteral("&Cíl:"));
    QCOMPARE(f->LCil->text(), QStringLiteral("&Start:"));
    QCOMPARE(s.db().Table1().getInt("TRS_SMER"), 2);
    // The keyboard turns it back.
    f->ArrowButton1->setFocus();
    QTest::keyClick(f->ArrowButton1, Qt::Key_Space);
    QVERIFY(f->ArrowButton1->pointsRight());
    QCOMPARE(f->LStart->text(), QStringLiteral("&Start:"));
    QCOMPARE(s.db().Table1().getInt("TRS_SMER"), 1);
    CHECK_MESSAGES(s.msgs);
}

void TestNewRide::routeListIsOrderedByTheLookupBeingEntered() {
    RideSession s;
    AddRow(s.db().TTRS(), {{"TRS_C", 2}, {"TRS_START", "Žabovřesky"}, {"TRS_MEZI", "B"}});
    AddRow(s.db().TTRS(), {{"TRS_C", 3}, {"TRS_START", "Bystrc"}, {"TRS_MEZI", "A"}});
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QVERIFY(PickItem(f->DBLookupComboBox6, QStringLiteral("vyjížďka")));
    Table& routes = s.db().TTRS();
    FocusOn(f->DBLookupComboBox4);
    QCOMPARE(QString::fromStdString(routes.indexName()), QStringLiteral("TRS_START"));
    // Route 1 has no start: it comes first.
    QCOMPARE(f->DBLookupComboBox4->itemText(1), QStringLiteral("Bystrc"));
    QCOMPARE(f->DBLookupComboBox4->itemText(2), QStringLiteral("Žabovřesky"));
    FocusOn(f->DBLookupComboBox3);
    QCOMPARE(QString::fromStdString(routes.indexName()), QStringLiteral("TRS_MEZI"));
    QCOMPARE(f->DBLookupComboBox3->itemText(0), QStringLiteral("A"));
    FocusOn(f->Edit1);
    QVERIFY(routes.indexName().empty());
    // The pick still lands in the ride.
    QVERIFY(PickItem(f->DBLookupComboBox4, QStringLiteral("Žabovřesky")));
    QCOMPARE(s.db().Table1().getInt("TRS_C"), 2);
    CHECK_MESSAGES(s.msgs);
}

void TestNewRide::dateButtonsSetTheDateStored() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    ClickCheckBox(f->PoZasKonec);
    f->Button1->click();  // "VČERA"
    QCOMPARE(f->DateTimePicker1->date(), QDate::currentDate().addDays(-1));
    enterComputer(f, "10", "0:20:00", "30");
    add(s, f);
    // The next ride keeps the date shown, and is stored with it.
    enterComputer(f, "11", "0:20:00", "30");
    add(s, f);
    f->DateTimePicker1->setDate(QDate(2003, 5, 31));
    enterComputer(f, "12", "0:20:00", "30");
    add(s, f);
    f->Button3->click();  // "DNES"
    enterComputer(f, "13", "0:20:00", "30");
    add(s, f);
    CHECK_MESSAGES(s.msgs);
    const std::vector<StoredRide> rides = ReadRides(s.dir());
    QCOMPARE(rides.size(), size_t{4});
    const Date yesterday = DateOf(QDate::currentDate().addDays(-1));
    QCOMPARE(rides[0].at("DATUM").asDate().dayNumber(), yesterday.dayNumber());
    QCOMPARE(rides[1].at("DATUM").asDate().dayNumber(), yesterday.dayNumber());
    QCOMPARE(rides[2].at("DATUM").asDate().dayNumber(), DateOf(QDate(2003, 5, 31)).dayNumber());
    QCOMPARE(rides[2].at("MESIC_C").asInt(), 2003005);
    QCOMPARE(rides[2].at("ROK").asInt(), 2003);
    QCOMPARE(rides[3].at("DATUM").asDate().dayNumber(), DateOf(QDate::currentDate()).dayNumber());
}

void TestNewRide::watchTypesAreWholeAtTheSmallestWindow() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QVERIFY(FitsTheSmallestWindow(s, f));
    CHECK_MESSAGES(s.msgs);
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestNewRide)
#include "tst_new_ride.moc"
