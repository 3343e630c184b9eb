// The list screens as the navigator offers them and as side tasks of another
// screen (the new-ride screen opens the four "new" screens this way).
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "lists/fnovatrat.h"
#include "lists/fnovekolo.h"
#include "lists/fnovethl.h"
#include "lists/fnovytypjizd.h"
#include "tests/lists/list_gui_support.h"

namespace kolvio::testing {

class TestSideTasks : public QObject {
    Q_OBJECT
private slots:
    void navigatorOffersTheEightScreens();
    void closingReturnsToTheCaller_data();
    void closingReturnsToTheCaller();
};

void TestSideTasks::navigatorOffersTheEightScreens() {
    ListSession s;
    TFNavig* navigator = s.navigatorScreen();
    QVERIFY(navigator);
    for (RoundButton* button :
         {navigator->RButton2, navigator->RButton3, navigator->RButton4, navigator->RButton5,
          navigator->RButton6, navigator->RButton7, navigator->RBTHL, navigator->RBETHL}) {
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    }
    const char* const titles[][2] = {{"RButton2", "Nová trať"},
                                     {"RButton6", "Editace trati"},
                                     {"RButton3", "Nové kolo"},
                                     {"RButton5", "Editace a odstranění kol"},
                                     {"RButton4", "Nový typ jízd"},
                                     {"RButton7", "Editace typu jízd"},
                                     {"RBTHL", "Nový typ hlídání limitu tepové frekvence"},
                                     {"RBETHL", "Editace hlídání tepu"}};
    for (const auto& [name, title] : titles) {
        auto* button = s.navigatorScreen()->findChild<RoundButton*>(QString::fromLatin1(name));
        QVERIFY(button);
        button->click();
        Settle();
        TFZakl* screen = s.form->activeScreen();
        QVERIFY(screen);
        QCOMPARE(screen->windowTitle(), QString::fromUtf8(title));
        QCOMPARE(s.screenCount(), 1);
        auto* task = qobject_cast<TFTaskZakl*>(screen);
        QVERIFY(task);
        task->BKONEC->click();
        Settle();
        QVERIFY(s.navigatorScreen());
        QCOMPARE(s.screenCount(), 1);
    }
    CHECK_MESSAGES(s.msgs);
}

void TestSideTasks::closingReturnsToTheCaller_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<bool>("store");  // leave by a stored row instead of "ZRUŠ"
    for (const char* name : {"TFNovaTrat", "TFNoveKolo", "TFNovyTypJizd", "TFNoveTHL"}) {
        QTest::addRow("%s, cancelled", name) << QString::fromLatin1(name) << false;
        QTest::addRow("%s, stored", name) << QString::fromLatin1(name) << true;
    }
}

void TestSideTasks::closingReturnsToTheCaller() {
    QFETCH(QString, screen);
    QFETCH(bool, store);
    ListSession s;
    // The calling screen takes the navigator's place, then opens the side
    // task in its own place.
    s.navigatorScreen()->closeScreen();
    Settle();
    auto* caller = new TFData_Zakl(*s.form);
    s.form->showScreen(caller);
    auto* side = qobject_cast<TFData_Zakl*>(FindScreen(screen)(*s.form));
    QVERIFY(side);
    side->ReturnToNavigator = false;
    side->ReturnForm = caller;
    caller->subWindow()->showMinimized();
    s.form->showScreen(side);
    Settle();

    if (!store) {
        side->BKONEC->click();
    } else {
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
            pair->ComboBox1->setEditText(QStringLiteral("nový"));
            pair->ComboBox2->setEditText(QStringLiteral("nová"));
            pair->Button1->click();
        }
    }
    Settle();
    CHECK_MESSAGES(s.msgs);
    QVERIFY(!s.navigatorScreen());
    QCOMPARE(s.screenCount(), 1);
    QCOMPARE(s.form->activeScreen(), caller);
    QVERIFY(caller->subWindow()->isMaximized());
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestSideTasks)
#include "tst_side_tasks.moc"
