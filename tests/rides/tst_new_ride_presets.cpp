// What the new-ride screen presets a ride with (the latest ride, the
// remembered choices, the profile's age limit) and the side tasks it opens,
// each taking its new row on the return.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "lists/fnovatrat.h"
#include "lists/fnovytypjizd.h"
#include "lists/pair_adder.h"
#include "rides/fnovajizda.h"
#include "rides/fsrdce.h"
#include "rides/ride_widgets.h"
#include "tests/rides/ride_gui_support.h"

namespace kolvio::testing {

class TestNewRidePresets : public QObject {
    Q_OBJECT
private slots:
    void routeAndDirectionOfTheLatestRideByDate();
    void latestRideWithoutRouteLeavesTheDirection();
    void nextRideTakesTheLatestByDateNotTheOneStoredLast();
    void withoutTheChoiceTheRouteListsRowIsTaken();
    void unmeasuredLatestRideGivesTheProfilesAgeLimit();
    void rememberedChoicesAreSavedPresetAndReset();
    void rememberedCodeNoLongerInItsListIsIgnored();
    void sideTaskAddsARowAndTheRideTakesIt_data();
    void sideTaskAddsARowAndTheRideTakesIt();
    void profileStoresTheAgeLimitForTheNextRide();

private:
    static TFNovaJizda* open(RideSession& s) { return s.press<TFNovaJizda>(&TFNavig::RButton1); }
    static void addRide(RideSession& s, int year, int month, int day,
                        std::vector<std::pair<const char*, Value>> values) {
        values.emplace_back("DATUM", *Date::FromYmd(year, month, day));
        AddRow(s.db().Table1(), values);
    }
    static void rememberType(RideSession& s, int code) {
        QVERIFY(s.form->settings().writeInteger("Nova_jizda", "TRNZ", code).ok());
    }
};

void TestNewRidePresets::routeAndDirectionOfTheLatestRideByDate() {
    RideSession s;
    AddRow(s.db().TTRS(), {{"TRS_C", 5}, {"TRS_MEZI", "Kuřim;Lipůvka"}});
    AddRow(s.db().TTRS(), {{"TRS_C", 6}, {"TRS_MEZI", "Adamov"}});  // the list's current row
    addRide(s, 2024, 6, 1,
            {{"TRS_C", 5}, {"TRS_SMER", 2}, {"SR_X", 183}, {"SR_LIM", 160}, {"SR_MER", true}});
    addRide(s, 2024, 1, 1, {{"TRS_C", 1}, {"TRS_SMER", 1}});  // stored last, ridden earlier
    QVERIFY(s.form->settings().writeBool("Nova_jizda", "TRS_dle_posledni", true).ok());
    rememberType(s, 2);
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    Table& ride = s.db().Table1();
    QCOMPARE(ride.state(), DatasetState::kInsert);
    QCOMPARE(ride.getInt("TRNZ_C"), 2);
    QCOMPARE(ride.getInt("TRS_C"), 5);
    QCOMPARE(f->DBLookupComboBox3->currentText(), QStringLiteral("Kuřim;Lipůvka"));
    QCOMPARE(ride.getInt("TRS_SMER"), 2);
    QVERIFY(!f->ArrowButton1->pointsRight());
    QCOMPARE(f->LStart->text(), QStringLiteral("&Cíl:"));
    QCOMPARE(f->sr_x->text(), QStringLiteral("183"));
    QCOMPARE(f->sr_lim->text(), QStringLiteral("160"));
    QVERIFY(f->sr_mer->isChecked());
    QVERIFY(f->sr_avg->isEnabled());
    QCOMPARE(f->figures().setLimit, 160.0);
    // Reading the latest ride stored nothing and kept the two rides.
    QCOMPARE(ReadRides(s.dir()).size(), size_t{2});
    CHECK_MESSAGES(s.msgs);
}

void TestNewRidePresets::latestRideWithoutRouteLeavesTheDirection() {
    RideSession s;
    addRide(s, 2024, 6, 1, {{"TRS_C", 0}, {"TRS_SMER", 0}, {"TRNZ_C", 1}});
    QVERIFY(s.form->settings().writeBool("Nova_jizda", "TRS_dle_posledni", true).ok());
    rememberType(s, 2);
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    // Route 0 of a trainer ride becomes route 1 for a ride with routes, and
    // the ride starts from start to finish.
    QCOMPARE(s.db().Table1().getInt("TRS_C"), 1);
    QCOMPARE(s.db().Table1().getInt("TRS_SMER"), 1);
    QVERIFY(f->ArrowButton1->pointsRight());
    CHECK_MESSAGES(s.msgs);
}

void TestNewRidePresets::nextRideTakesTheLatestByDateNotTheOneStoredLast() {
    RideSession s;
    AddRow(s.db().TTRS(), {{"TRS_C", 5}, {"TRS_MEZI", "Kuřim"}});
    addRide(s, 2030, 1, 1, {{"TRS_C", 5}, {"TRS_SMER", 2}});
    QVERIFY(s.form->settings().writeBool("Nova_jizda", "TRS_dle_posledni", true).ok());
    rememberType(s, 2);
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    ClickCheckBox(f->PoZasKonec);
    Table& ride = s.db().Table1();
    const auto store = [&](QDate date, int route, const char* distance) {
        f->DateTimePicker1->setDate(date);
        QVERIFY(PickItem(f->DBLookupComboBox8, QString::number(route)));
        Enter(f->ETRP, QString::fromLatin1(distance), f->ESTP);
        Enter(f->ESTP, QStringLiteral("1:00:00"), f->EMAX);
        Enter(f->EMAX, QStringLiteral("40"), f->Edit1);
        s.msgs.expect(QStringLiteral("Opravdu přidat do databáze?"), MsgKind::kConfirmation,
                      MsgResult::kYes);
        QTest::mouseClick(f->Button2, Qt::LeftButton);
        Settle();
    };
    QCOMPARE(ride.getInt("TRS_C"), 5);
    store(QDate(2020, 1, 1), 1, "10");
    // Stored last, ridden earlier: the next ride still starts from 2030.
    QCOMPARE(ride.getInt("TRS_C"), 5);
    QCOMPARE(ride.getInt("TRS_SMER"), 2);
    QTest::mouseClick(f->ArrowButton1, Qt::LeftButton);
    store(QDate(2031, 1, 1), 1, "11");
    QCOMPARE(ride.getInt("TRS_C"), 1);
    QCOMPARE(ride.getInt("TRS_SMER"), 1);
    QVERIFY(f->ArrowButton1->pointsRight());
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(ReadRides(s.dir()).size(), size_t{3});
}

void TestNewRidePresets::withoutTheChoiceTheRouteListsRowIsTaken() {
    RideSession s;
    AddRow(s.db().TTRS(), {{"TRS_C", 5}, {"TRS_MEZI", "Kuřim"}});
    addRide(s, 2024, 6, 1, {{"TRS_C", 5}, {"TRS_SMER", 2}});
    rememberType(s, 3);
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QCOMPARE(s.db().Table1().getInt("TRNZ_C"), 3);
    QCOMPARE(s.db().Table1().getInt("TRN_C"), 301);
    QCOMPARE(s.db().Table1().getInt("TRS_C"), 5);  // the list stands on the route added last
    QCOMPARE(s.db().Table1().getInt("TRS_SMER"), 1);
    QVERIFY(f->ArrowButton1->pointsRight());
    CHECK_MESSAGES(s.msgs);
}

void TestNewRidePresets::unmeasuredLatestRideGivesTheProfilesAgeLimit() {
    RideSession s;
    addRide(s, 2024, 6, 1, {{"SR_X", 183}, {"SR_MER", true}});
    addRide(s, 2024, 6, 2, {{"SR_MER", false}});
    QVERIFY(s.form->settings().writeInteger("Srdce", "hsr_x", 177).ok());
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QCOMPARE(f->sr_x->text(), QStringLiteral("177"));
    QCOMPARE(f->sr_lim->text(), QStringLiteral("0"));
    QVERIFY(!f->sr_mer->isChecked());
    QVERIFY(!f->sr_x->isEnabled());
    CHECK_MESSAGES(s.msgs);
}

void TestNewRidePresets::rememberedChoicesAreSavedPresetAndReset() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QVERIFY(PickItem(f->DBLookupComboBox6, QStringLiteral("závod")));
    QVERIFY(PickItem(f->DBLookupComboBox9, QStringLiteral("SILNIČNÍ ZIMNÍ")));
    ClickCheckBox(f->sr_mer);
    QVERIFY(PickItem(f->hl_c_1, QStringLiteral("hlídaný")));
    for (QAction* save : {f->MTrnzUloz, f->MKolUloz, f->MHlUloz, f->MTrsUloz})
        save->trigger();
    SettingsFile& ini = s.form->settings();
    QCOMPARE(ini.readInteger("Nova_jizda", "TRNZ", 0), 3);
    QCOMPARE(ini.readInteger("Nova_jizda", "TYP_KOL", 0), 2);
    QCOMPARE(ini.readInteger("Nova_jizda", "TYP_HL", 0), 2);
    QCOMPARE(ini.readBool("Nova_jizda", "TRS_dle_posledni", false), true);
    f->BKONEC->click();
    Settle();
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});

    // The navigator moved the lists nowhere: the choices are what preset.
    QVERIFY(s.db().TTRNZ().first().ok());
    QVERIFY(s.db().TTKOL().first().ok());
    QVERIFY(s.db().TTHLD().first().ok());
    f = open(s);
    QVERIFY(f);
    Table& ride = s.db().Table1();
    QCOMPARE(ride.getInt("TRNZ_C"), 3);
    QCOMPARE(f->DBLookupComboBox6->currentText(), QStringLiteral("závod"));
    QCOMPARE(ride.getInt("TRN_C"), 301);
    QCOMPARE(ride.getInt("KOL_C"), 2);
    QCOMPARE(f->DBLookupComboBox9->currentText(), QStringLiteral("SILNIČNÍ ZIMNÍ"));
    QCOMPARE(ride.getInt("THL_C"), 2);
    QCOMPARE(f->hl_c_1->currentText(), QStringLiteral("hlídaný"));

    for (QAction* reset : {f->MTrnzNuluj, f->MKolNuluj, f->MHlNuluj, f->MTrsNuluj})
        reset->trigger();
    QCOMPARE(ini.readInteger("Nova_jizda", "TRNZ", 0), -1);
    QCOMPARE(ini.readInteger("Nova_jizda", "TYP_KOL", 0), -1);
    QCOMPARE(ini.readInteger("Nova_jizda", "TYP_HL", 0), -1);
    QCOMPARE(ini.readBool("Nova_jizda", "TRS_dle_posledni", true), false);
    f->BKONEC->click();
    Settle();
    QVERIFY(s.db().TTRNZ().first().ok());
    QVERIFY(s.db().TTKOL().first().ok());
    QVERIFY(s.db().TTHLD().first().ok());
    f = open(s);
    QVERIFY(f);
    QCOMPARE(ride.getInt("TRNZ_C"), 1);
    QCOMPARE(ride.getInt("KOL_C"), 1);
    QCOMPARE(ride.getInt("THL_C"), 0);
    CHECK_MESSAGES(s.msgs);
}

void TestNewRidePresets::rememberedCodeNoLongerInItsListIsIgnored() {
    RideSession s;
    SettingsFile& ini = s.form->settings();
    QVERIFY(ini.writeInteger("Nova_jizda", "TRNZ", 42).ok());
    QVERIFY(ini.writeInteger("Nova_jizda", "TYP_KOL", 99).ok());
    QVERIFY(ini.writeString("Nova_jizda", "TYP_HL", "x").ok());
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QCOMPARE(s.db().Table1().getInt("TRNZ_C"), 1);
    QCOMPARE(s.db().Table1().getInt("KOL_C"), 1);
    QCOMPARE(s.db().Table1().getInt("THL_C"), 0);
    CHECK_MESSAGES(s.msgs);
}

void TestNewRidePresets::sideTaskAddsARowAndTheRideTakesIt_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("code");
    QTest::newRow("new route") << "MNovaTrat"
                               << "TRS_C" << 2;
    QTest::newRow("new bike") << "MNoveKolo"
                              << "KOL_C" << 3;
    QTest::newRow("new ride type") << "MNovyTypJizd"
                                   << "TRNZ_C" << 4;
    QTest::newRow("new watch type") << "MNovyTHL"
                                    << "THL_C" << 3;
}

void TestNewRidePresets::sideTaskAddsARowAndTheRideTakesIt() {
    QFETCH(QString, item);
    QFETCH(QString, field);
    QFETCH(int, code);
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    QVERIFY(PickItem(f->DBLookupComboBox6, QStringLiteral("vyjížďka")));
    ClickCheckBox(f->sr_mer);
    Enter(f->ETRP, QStringLiteral("33"), f->Edit1);
    const std::map<QString, QAction*> items = {{"MNovaTrat", f->MNovaTrat},
                                               {"MNoveKolo", f->MNoveKolo},
                                               {"MNovyTypJizd", f->MNovyTypJizd},
                                               {"MNovyTHL", f->MNovyTHL}};
    QAction* action = items.at(item);
    QVERIFY(action && action->isEnabled());
    action->trigger();
    Settle();
    auto* side = qobject_cast<TFData_Zakl*>(s.form->activeScreen());
    QVERIFY(side && side != f);
    QVERIFY(f->subWindow()->isMinimized());
    QCOMPARE(s.db().Table1().state(), DatasetState::kInsert);  // the ride waits

    s.msgs.expect(QStringLiteral("Opravdu přidat do databáze?"), MsgKind::kConfirmation,
                  MsgResult::kYes);
    if (auto* route = qobject_cast<TFNovaTrat*>(side)) {
        route->Edit1->setText(QStringLiteral("Lány;Slaný"));
        route->Button2->click();
    } else if (auto* type = qobject_cast<TFNovyTypJizd*>(side)) {
        type->Edit1->setText(QStringLiteral("dráha"));
        type->Edit2->setText(QStringLiteral("omnium"));
        type->Button1->click();
    } else {
        auto* pair = qobject_cast<TPairAdder*>(side);
        QVERIFY(pair);
        pair->ComboBox1->setEditText(QStringLiteral("nový"));
        pair->ComboBox2->setEditText(QStringLiteral("nová"));
        pair->Button1->click();
    }
    Settle();
    QCOMPARE(s.form->activeScreen(), f);
    QVERIFY(f->subWindow()->isMaximized());
    Table& ride = s.db().Table1();
    QCOMPARE(ride.state(), DatasetState::kInsert);
    QCOMPARE(ride.getInt(field.toStdString()), code);
    if (field == u"TRNZ_C") {
        QCOMPARE(ride.getInt("TRN_C"), 401);
        QCOMPARE(f->DBLookupComboBox7->currentText(), QStringLiteral("omnium"));
    }
    // The step runs once: picking another row afterwards sticks.
    if (field == u"KOL_C") {
        QVERIFY(PickItem(f->DBLookupComboBox9, QStringLiteral("SILNIČNÍ ZÁVODNÍ")));
        f->subWindow()->showMinimized();
        f->subWindow()->showMaximized();
        Settle();
        QCOMPARE(ride.getInt("KOL_C"), 1);
        code = 1;
    }
    Enter(f->ESTP, QStringLiteral("1:00:00"), f->EMAX);
    Enter(f->EMAX, QStringLiteral("40"), f->Edit1);
    if (field != u"THL_C") QVERIFY(PickItem(f->hl_c_1, QStringLiteral("nehlídaný")));
    s.msgs.expect(QStringLiteral("Zadaná data měření srdečního tepu\n"
                                 "obsahují nulové hodnoty - pokračovat?"),
                  MsgKind::kConfirmation, MsgResult::kYes);
    s.msgs.expect(QStringLiteral("Opravdu přidat do databáze?"), MsgKind::kConfirmation,
                  MsgResult::kYes);
    QTest::mouseClick(f->Button2, Qt::LeftButton);
    Settle();
    CHECK_MESSAGES(s.msgs);
    StoredRide r = ReadRides(s.dir()).at(0);
    QCOMPARE(r[field.toStdString()].asInt(), int64_t{code});
}

void TestNewRidePresets::profileStoresTheAgeLimitForTheNextRide() {
    RideSession s;
    TFNovaJizda* f = open(s);
    QVERIFY(f);
    ClickCheckBox(f->sr_mer);
    QTest::mouseClick(f->sr_vek_lim_vyp, Qt::LeftButton);
    Settle();
    auto* profile = qobject_cast<TFSrdce*>(s.form->activeScreen());
    QVERIFY(profile);
    Enter(profile->RSEX, QStringLiteral("200"), profile->RSEK);
    profile->BKONEC->click();
    Settle();
    QCOMPARE(s.form->activeScreen(), f);
    QCOMPARE(s.form->settings().readInteger("Srdce", "hsr_x", 0), 200);
    // The open screen keeps what it shows; the next one takes the profile's.
    QCOMPARE(f->sr_x->text(), QStringLiteral("190"));
    f->BKONEC->click();
    Settle();
    f = open(s);
    QVERIFY(f);
    QCOMPARE(f->sr_x->text(), QStringLiteral("200"));
    CHECK_MESSAGES(s.msgs);
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestNewRidePresets)
#include "tst_new_ride_presets.moc"
