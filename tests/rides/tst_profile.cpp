// The heart-rate profile as the rider uses it from the new-ride screen:
// age, sex and resting rate give the maximum and the zone bounds, and
// closing stores the resting rate and the maximum.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextBrowser>

#include "rides/fsrdce.h"
#include "rides/ride_figures.h"
#include "tests/lists/list_gui_support.h"

namespace kolvio::testing {

class TestProfile : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheDefaultsOfAManOfThirty();
    void sexAndAgeGiveTheMaximum_data();
    void sexAndAgeGiveTheMaximum();
    void restingRateMovesEveryBound();
    void closingStoresTheRestingRateAndTheMaximumTypedByHand();
    void storedRestingRateOutOfRangeIsBroughtWithin();
    void settingsThatCannotBeWrittenAreReported();

private:
    // Opens the profile as the new-ride screen does: a side task whose
    // closing brings the caller back.
    TFSrdce* open(ListSession& s);
    // The bounds as the ten boxes show them, lower and upper of each group.
    static QStringList bounds(TFSrdce* profile);
    TFData_Zakl* caller_ = nullptr;
};

TFSrdce* TestProfile::open(ListSession& s) {
    s.navigatorScreen()->closeScreen();
    Settle();
    caller_ = new TFData_Zakl(*s.form);
    s.form->showScreen(caller_);
    auto* profile = new TFSrdce(*s.form);
    profile->ReturnToNavigator = false;
    profile->ReturnForm = caller_;
    caller_->subWindow()->showMinimized();
    s.form->showScreen(profile);
    Settle();
    return profile;
}

QStringList TestProfile::bounds(TFSrdce* profile) {
    QStringList out;
    for (int i = 0; i < 5; ++i)
        out << profile->ELD[i]->text() + u'-' + profile->ELH[i]->text();
    return out;
}

void TestProfile::opensWithTheDefaultsOfAManOfThirty() {
    ListSession s;
    TFSrdce* p = open(s);
    QCOMPARE(p->windowTitle(), QStringLiteral("FSrdce"));
    QVERIFY(p->PoZasKonec->isHidden());
    QCOMPARE(p->RSEVek->value(), 30);
    QVERIFY(p->RGpohlaviMuz->isChecked());
    QCOMPARE(p->RSEK->value(), 60);
    QCOMPARE(p->RSEX->value(), 190);
    QCOMPARE(bounds(p), QStringList({"125-138", "138-151", "151-164", "164-177", "170-177"}));
    for (QTextBrowser* text : p->zoneTexts)
        QVERIFY(text->toPlainText().size() > 100);
    // The bound boxes only show values.
    QVERIFY(p->ELD[0]->isReadOnly());
    CHECK_MESSAGES(s.msgs);
}

void TestProfile::sexAndAgeGiveTheMaximum_data() {
    QTest::addColumn<bool>("woman");
    QTest::addColumn<QString>("age");
    QTest::addColumn<int>("maximum");
    QTest::newRow("woman of 30") << true << "30" << 188;
    QTest::newRow("woman of 35, 184.5 to the even neighbour") << true << "35" << 184;
    QTest::newRow("woman of 25, 191.5 to the even neighbour") << true << "25" << 192;
    QTest::newRow("man of 31") << false << "31" << 189;
    QTest::newRow("man of 150") << false << "150" << 94;
}

void TestProfile::sexAndAgeGiveTheMaximum() {
    QFETCH(bool, woman);
    QFETCH(QString, age);
    QFETCH(int, maximum);
    ListSession s;
    TFSrdce* p = open(s);
    if (woman) QTest::mouseClick(p->RGpohlaviZena, Qt::LeftButton);
    Enter(p->RSEVek, age, p->RSEK);
    QCOMPARE(p->RSEX->value(), maximum);
    // The zones follow the new maximum.
    const std::array<ZoneBounds, 5> expected = ZoneGroupBounds(maximum, 60);
    QCOMPARE(p->ELD[0]->text(), QString::number(expected[0].lower));
    QCOMPARE(p->ELH[3]->text(), QString::number(expected[3].upper));
    CHECK_MESSAGES(s.msgs);
}

void TestProfile::restingRateMovesEveryBound() {
    ListSession s;
    TFSrdce* p = open(s);
    Enter(p->RSEK, QStringLiteral("70"), p->RSEX);
    QCOMPARE(bounds(p), QStringList({"130-142", "142-154", "154-166", "166-178", "172-178"}));
    // A resting rate equal to the maximum: every bound is the resting rate.
    Enter(p->RSEX, QStringLiteral("150"), p->RSEK);
    Enter(p->RSEK, QStringLiteral("150"), p->RSEX);
    QCOMPARE(bounds(p), QStringList(5, QStringLiteral("150-150")));
    CHECK_MESSAGES(s.msgs);
}

void TestProfile::closingStoresTheRestingRateAndTheMaximumTypedByHand() {
    ListSession s;
    TFSrdce* p = open(s);
    Enter(p->RSEK, QStringLiteral("55"), p->RSEX);
    Enter(p->RSEX, QStringLiteral("200"), p->RSEK);
    p->BKONEC->click();
    Settle();
    QCOMPARE(s.form->activeScreen(), caller_);
    QVERIFY(caller_->subWindow()->isMaximized());
    QVERIFY(!s.navigatorScreen());
    QCOMPARE(s.form->settings().readInteger("FSrdce", "klidtep", -1), 55);
    QCOMPARE(s.form->settings().readInteger("Srdce", "hsr_x", -1), 200);

    // The next opening works the maximum out again; the resting rate stays.
    caller_->closeScreen();
    Settle();
    p = open(s);
    QCOMPARE(p->RSEX->value(), 190);
    QCOMPARE(p->RSEK->value(), 55);
    p->BKONEC->click();
    Settle();
    QCOMPARE(s.form->settings().readInteger("Srdce", "hsr_x", -1), 190);
    CHECK_MESSAGES(s.msgs);
}

void TestProfile::storedRestingRateOutOfRangeIsBroughtWithin() {
    ListSession s;
    QVERIFY(s.form->settings().writeInteger("FSrdce", "klidtep", 10).ok());
    TFSrdce* p = open(s);
    QCOMPARE(p->RSEK->value(), 20);
    p->BKONEC->click();
    Settle();
    QCOMPARE(s.form->settings().readInteger("FSrdce", "klidtep", -1), 20);
    CHECK_MESSAGES(s.msgs);
}

void TestProfile::settingsThatCannotBeWrittenAreReported() {
    ListSession s;
    TFSrdce* p = open(s);
    // A folder in the place of the settings file: nothing can be written.
    QFile::remove(s.home.ini());
    QVERIFY(QDir().mkpath(s.home.ini()));
    s.msgs.expect(QStringLiteral("Tepovou frekvenci nelze uložit do nastavení:*"), MsgKind::kError);
    p->BKONEC->click();
    Settle();
    QCOMPARE(s.form->activeScreen(), caller_);
    CHECK_MESSAGES(s.msgs);
    QDir(s.home.ini()).removeRecursively();
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestProfile)
#include "tst_profile.moc"
