// The new-route screen driven as a rider uses it.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "lists/fnovatrat.h"
#include "tests/lists/list_gui_support.h"

namespace kolvio::testing {

namespace {

const QString kAdd = QStringLiteral("Opravdu přidat do databáze?");

}  // namespace

class TestRoutes : public QObject {
    Q_OBJECT
private slots:
    void addsARouteAndReturnsToTheNavigator();
    void staysOpenForTheNextRoute();
    void boxesAreCheckedWhenLeft();
    void refusesWhatCannotBeAdded_data();
    void refusesWhatCannotBeAdded();
    void waypointsGrowUpToEightyCharacters();
    void offersPresetsAndThePlacesOfRecentRides();
    void cancelStoresNothing();
};

void TestRoutes::addsARouteAndReturnsToTheNavigator() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNovaTrat>(&TFNavig::RButton2);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("Nová trať"));
    QCOMPARE(screen->CBStart->currentText(), QStringLiteral("Praha"));
    Enter(screen->CBCil, QStringLiteral("Beroun"), screen->Edit2);
    Enter(screen->Edit2, QStringLiteral("PB"), screen->Edit3);
    Enter(screen->Edit3, QStringLiteral("PB1"), screen->CBPrujezd);
    TypeInto(screen->CBPrujezd, QStringLiteral("Řevnice"));
    screen->BPridej->click();
    TypeInto(screen->CBPrujezd, QStringLiteral("Karlštejn"));
    screen->BPridej->click();
    QCOMPARE(screen->Edit1->text(), QStringLiteral("Řevnice;Karlštejn"));
    msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
    screen->Button2->click();
    Settle();
    CHECK_MESSAGES(msgs);

    QCOMPARE(s.column("typ_trs.dbf", "TRS_C"), (QStringList{"0", "1", "2"}));
    QCOMPARE(s.column("typ_trs.dbf", "TRS_MEZI").last(), QStringLiteral("Řevnice;Karlštejn"));
    QCOMPARE(s.column("typ_trs.dbf", "TRS_START").last(), QStringLiteral("Praha"));
    QCOMPARE(s.column("typ_trs.dbf", "TRS_CIL").last(), QStringLiteral("Beroun"));
    QCOMPARE(s.column("typ_trs.dbf", "TRS_N1").last(), QStringLiteral("PB"));
    QCOMPARE(s.column("typ_trs.dbf", "TRS_N2").last(), QStringLiteral("PB1"));
    // The routes dataset stands on the new route, for the new-ride screen.
    QCOMPARE(s.db().TTRS().getInt("TRS_C"), 2);
    QVERIFY(s.navigatorScreen());
    QCOMPARE(s.screenCount(), 1);
}

void TestRoutes::staysOpenForTheNextRoute() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNovaTrat>(&TFNavig::RButton2);
    screen->PoZasKonec->setChecked(false);
    for (const QString& waypoints : {QStringLiteral("Lány;Slaný"), QStringLiteral("Unhošť")}) {
        Enter(screen->Edit2, QStringLiteral("K1"), screen->Edit1);
        TypeInto(screen->Edit1, waypoints);
        msgs.expect(kAdd, MsgKind::kConfirmation, MsgResult::kYes);
        screen->Button2->click();
        Settle();
        QVERIFY(screen->Edit1->text().isEmpty());
        QVERIFY(screen->Edit2->text().isEmpty());
        QVERIFY(screen->Edit3->text().isEmpty());
        QCOMPARE(screen->CBStart->currentText(), QStringLiteral("Praha"));
    }
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.column("typ_trs.dbf", "TRS_C"), (QStringList{"0", "1", "2", "3"}));
    QCOMPARE(s.column("typ_trs.dbf", "TRS_MEZI").mid(2), (QStringList{"Lány;Slaný", "Unhošť"}));
    QCOMPARE(s.form->activeScreen(), screen);
}

void TestRoutes::boxesAreCheckedWhenLeft() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNovaTrat>(&TFNavig::RButton2);

    msgs.expect(QStringLiteral("Nelze zadat prázdné hodnoty"), MsgKind::kWarning);
    Enter(screen->CBCil, QString(), screen->Edit1);
    Settle();
    QVERIFY(HasFocus(screen->CBCil));

    msgs.expect(QStringLiteral("Není doporučeno zadat prázdné hodnoty"), MsgKind::kInformation);
    TypeInto(screen->CBCil, QStringLiteral("Kladno"));
    FocusOn(screen->Edit2);
    FocusOn(screen->Edit3);
    Settle();
    QVERIFY(HasFocus(screen->Edit3));

    // Route 1 of a new database has "Kód 2" NESPEC.
    msgs.expect(QStringLiteral("Jiná trať již obsahuje stejný kód -> nelze"), MsgKind::kWarning);
    Enter(screen->Edit3, QStringLiteral("nespec"), screen->Edit1);
    Settle();
    QVERIFY(screen->Edit3->text().isEmpty());
    QVERIFY(HasFocus(screen->Edit3));
    CHECK_MESSAGES(msgs);
}

void TestRoutes::refusesWhatCannotBeAdded_data() {
    QTest::addColumn<QString>("waypoints");
    QTest::addColumn<QString>("code2");
    QTest::addColumn<QStringList>("messages");  // text, then "Y"/"N" for questions
    const QString taken =
        QStringLiteral("Zadané průjezdní body již obsahuje \njiná trať - pokračovat?");
    QTest::newRow("no waypoints") << QString() << QString()
                                  << QStringList{QStringLiteral(
                                         "Nejsou zadány žádné průjezdní body\noprav!")};
    QTest::newRow("waypoints of route 1, No")
        << QStringLiteral("nespecifikováno") << QString() << QStringList{taken, "N"};
    QTest::newRow("waypoints of route 1, Yes, then No to adding")
        << QStringLiteral("NESPECIFIKOVÁNO") << QString() << QStringList{taken, "Y", kAdd, "N"};
    QTest::newRow("Kód 2 of route 1")
        << QStringLiteral("Beroun") << QStringLiteral("NeSpec")
        << QStringList{
               QStringLiteral("Zadaný \"Kód 2\" již obsahuje \njiná trať - nelze pokračovat?")};
}

void TestRoutes::refusesWhatCannotBeAdded() {
    QFETCH(QString, waypoints);
    QFETCH(QString, code2);
    QFETCH(QStringList, messages);
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNovaTrat>(&TFNavig::RButton2);
    TypeInto(screen->Edit1, waypoints);
    // "Kód 2" is still being typed when PŘIDEJ is pressed (from the keyboard).
    TypeInto(screen->Edit3, code2);
    for (int i = 0; i < messages.size(); ++i) {
        const bool question = i + 1 < messages.size() && messages[i + 1].size() == 1;
        if (question) {
            msgs.expect(messages[i], MsgKind::kConfirmation,
                        messages[i + 1] == "Y" ? MsgResult::kYes : MsgResult::kNo);
            ++i;
        } else {
            msgs.expect(messages[i], MsgKind::kWarning);
        }
    }
    screen->Button2->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.count("typ_trs.dbf"), 2);
    QCOMPARE(s.form->activeScreen(), screen);
}

void TestRoutes::waypointsGrowUpToEightyCharacters() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNovaTrat>(&TFNavig::RButton2);
    // Nothing chosen: nothing happens.
    TypeInto(screen->CBPrujezd, QString());
    screen->BPridej->click();
    QVERIFY(screen->Edit1->text().isEmpty());

    screen->CBPrujezd->setEditText(QString(80, u'x'));
    msgs.expect(QStringLiteral("Celková délka textu přesahuje mez 80 znaků\nnelze přidat!"),
                MsgKind::kWarning);
    screen->BPridej->click();
    CHECK_MESSAGES(msgs);
    QVERIFY(screen->Edit1->text().isEmpty());

    screen->CBPrujezd->setEditText(QString(79, u'ř'));
    screen->BPridej->click();
    QCOMPARE(screen->Edit1->text(), QString(79, u'ř'));

    screen->CBPrujezd->setEditText(QStringLiteral("Davle"));
    screen->Button1->click();  // "Př&epiš" replaces
    QCOMPARE(screen->Edit1->text(), QStringLiteral("Davle"));
    screen->BPridej->click();
    QCOMPARE(screen->Edit1->text(), QStringLiteral("Davle;Davle"));
    CHECK_MESSAGES(msgs);
}

void TestRoutes::offersPresetsAndThePlacesOfRecentRides() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    Database& db = s.db();
    AddRow(db.TTRS(), {{"TRS_C", 2},
                       {"TRS_START", "Žatec"},
                       {"TRS_MEZI", "Louny, Postoloprty;beroun"},
                       {"TRS_CIL", "praha"}});
    AddRow(db.Table1(), {{"TRS_C", 2}, {"TRS_SMER", 1}});
    auto* screen = s.press<TFNovaTrat>(&TFNavig::RButton2);
    const auto items = [](QComboBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out.append(list->itemText(i));
        return out;
    };
    QCOMPARE(items(screen->CBStart), (QStringList{"Beroun", "Kladno", "Praha", "Říčany", "Žatec"}));
    QCOMPARE(items(screen->CBCil), (QStringList{"Beroun", "Kladno", "Praha", "Říčany"}));
    const QStringList waypoints = items(screen->CBPrujezd);
    QCOMPARE(waypoints.size(), 39 + 2);
    QVERIFY(waypoints.contains("Louny") && waypoints.contains("Postoloprty"));
    QVERIFY(!waypoints.contains("beroun"));
    QCOMPARE(waypoints.first(), QStringLiteral("Benešov"));
    QCOMPARE(waypoints.last(), QStringLiteral("Zdice"));
    QCOMPARE(screen->CBStart->currentText(), QStringLiteral("Praha"));
    QCOMPARE(screen->CBCil->currentText(), QStringLiteral("Praha"));
    CHECK_MESSAGES(msgs);
}

void TestRoutes::cancelStoresNothing() {
    ListSession s;
    ScriptedMessages& msgs = s.msgs;
    auto* screen = s.press<TFNovaTrat>(&TFNavig::RButton2);
    TypeInto(screen->Edit1, QStringLiteral("Lány"));
    screen->BKONEC->click();
    Settle();
    CHECK_MESSAGES(msgs);
    QCOMPARE(s.count("typ_trs.dbf"), 2);
    QVERIFY(s.navigatorScreen());
    QCOMPARE(s.screenCount(), 1);
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestRoutes)
#include "tst_routes.moc"
