// The configuration screen: loading, saving, cancelling, the limits of the
// counts and the tidying of the recent-database list.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QWheelEvent>

#include "app/fkonfig.h"
#include "app/fnavig.h"
#include "app/form_hl.h"
#include "app/recent_databases.h"
#include "gui_support.h"

using namespace kolvio;
using namespace kolvio::testing;

namespace {

struct Opened {
    explicit Opened(const QByteArray& ini = {}) {
        if (!ini.isEmpty()) WriteFile(home.ini(), ini);
        w = std::make_unique<TForm_hl>();
        w->start();
        w->findChild<TFNavig*>()->MKonfNastav->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        konfig = dynamic_cast<TFKonfig*>(w->activeScreen());
    }
    TFNavig* navigator() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return w->findChild<TFNavig*>();
    }
    QSpinBox* spin(const char* key) {
        return konfig->findChild<QSpinBox*>(QStringLiteral("RSE_") + QLatin1String(key));
    }
    void type(QSpinBox* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    QString recent(int n) { return QString::fromStdString(RecentDbRead(w->settings(), n)); }

    TempHome home;
    ScriptedMessages messages;
    std::unique_ptr<TForm_hl> w;
    TFKonfig* konfig = nullptr;
};

QByteArray RecentList(const QStringList& entries) {
    QByteArray text = "[Predchozi]\n";
    for (int i = 0; i < entries.size(); ++i)
        text += QByteArray::number(i + 1) + "=" + entries[i].toUtf8() + "\n";
    return text;
}

void MakeDatabase(const QString& dir) {
    Database db;
    QVERIFY(db.MOtevriNovaDB(dir.toStdString(), OverwritePolicy::kReplace).ok());
}

}  // namespace

class TestKonfig : public QObject {
    Q_OBJECT
private slots:
    void opensInPlaceOfTheNavigatorWithDefaults();
    void loadsTheSettingsFile();
    void savingWritesAndAppliesAtOnce();
    void countsStayWithinTheirLimits_data();
    void countsStayWithinTheirLimits();
    void cancelLeavesTheFileUntouched();
    void enterSavesThroughTheDefaultButton();
    void wheelChangesACountOnlyWithTheFocus();
    void tidyingRemovesEveryInvalidEntry_data();
    void tidyingRemovesEveryInvalidEntry();
};

void TestKonfig::opensInPlaceOfTheNavigatorWithDefaults() {
    Opened o;
    QVERIFY(o.konfig);
    QVERIFY(!o.navigator());
    QCOMPARE(o.konfig->windowTitle(), QStringLiteral("Konfigurace"));
    QCOMPARE(o.konfig->Label1->text(), QStringLiteral("KONFIGURACE"));
    QVERIFY(o.konfig->PoZasKonec->isHidden());
    QList<int> counts;
    for (QSpinBox* s : o.konfig->RSE)
        counts.append(s->value());
    QCOMPARE(counts, QList<int>({2, 2, 1, 0, 0, 1, 0}));
    QVERIFY(!o.konfig->Check1->isChecked());
    QVERIFY(o.konfig->CVCh->isChecked());
    QVERIFY(!o.konfig->BorCheck1->isChecked());
    QCOMPARE(o.konfig->BUloz->text(), QStringLiteral("ULOŽ"));
    QCOMPARE(o.konfig->BUloz->statusTip(), QStringLiteral("Uloží nastavení"));
    QCOMPARE(o.konfig->BorCheck1->text(), QStringLiteral("odstranit neplatné odkazy ze seznamu"));
}

void TestKonfig::loadsTheSettingsFile() {
    Opened o(
        "[Zobr_dotaz1]\nindex_soubory=1\n[Setup]\nzamenteckacarka=0\n"
        "[Des_mista]\ndelka_des_m=0\nsr_kcal_des_m=1\nsr_tep_des_m=7\n");
    QVERIFY(o.konfig->Check1->isChecked());
    QVERIFY(!o.konfig->CVCh->isChecked());
    QCOMPARE(o.spin("delka_des_m")->value(), 0);
    QCOMPARE(o.spin("sr_kcal_des_m")->value(), 1);
    QCOMPARE(o.spin("sr_tep_des_m")->value(), 2);  // a hand-edited 7 shows as the maximum
}

void TestKonfig::savingWritesAndAppliesAtOnce() {
    Opened o;
    o.type(o.spin("delka_des_m"), QStringLiteral("3"));
    o.type(o.spin("prumer_des_m"), QStringLiteral("0"));
    ClickCheckBox(o.konfig->Check1);
    ClickCheckBox(o.konfig->CVCh);
    QTest::mouseClick(o.konfig->BUloz, Qt::LeftButton);
    QVERIFY2(o.messages.problems().isEmpty(), qPrintable(o.messages.problems()));

    const SettingsFile ini(o.home.ini().toStdString());
    QCOMPARE(ini.readInteger("Des_mista", "delka_des_m", -1), 3);
    QCOMPARE(ini.readInteger("Des_mista", "prumer_des_m", -1), 0);
    QCOMPARE(ini.readInteger("Des_mista", "rychl_max_des_m", -1), 1);
    QCOMPARE(ini.readInteger("Des_mista", "sr_pr_pom_des_m", -1), 1);
    QCOMPARE(ini.readBool("Zobr_dotaz1", "index_soubory", false), true);
    QCOMPARE(ini.readBool("Setup", "zamenteckacarka", true), false);
    // The distance formatter uses the new count from now on.
    QCOMPARE(o.w->displaySettings().delkaDesM, 3);
    QCOMPARE(DELKAGetText(Value(42.5), o.w->displaySettings()), std::string("    42.500"));
    QVERIFY(!o.w->displaySettings().zamenTeckaCarka);
    // The screen closed and the navigator is back.
    QVERIFY(o.navigator());
    QVERIFY(!o.w->findChild<TFKonfig*>());
}

void TestKonfig::enterSavesThroughTheDefaultButton() {
    Opened o;
    QSpinBox* box = o.spin("delka_des_m");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("3"));
    // Enter in a count presses ULOŽ, drawn as the default button.
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY2(o.messages.problems().isEmpty(), qPrintable(o.messages.problems()));
    const SettingsFile ini(o.home.ini().toStdString());
    QCOMPARE(ini.readInteger("Des_mista", "delka_des_m", -1), 3);
    QVERIFY(o.navigator());
}

void TestKonfig::wheelChangesACountOnlyWithTheFocus() {
    Opened o;
    QApplication::setActiveWindow(o.w.get());
    QVERIFY(QTest::qWaitForWindowActive(o.w.get()));
    QSpinBox* box = o.spin("delka_des_m");
    // The wheel never gives a count the focus.
    QVERIFY((box->focusPolicy() & Qt::WheelFocus) != Qt::WheelFocus);
    const auto turn = [box] {
        const QPoint at = box->rect().center();
        QWheelEvent up(at, box->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &up);
    };
    o.konfig->Check1->setFocus();
    turn();
    QCOMPARE(box->value(), 2);
    box->setFocus();
    turn();
    QCOMPARE(box->value(), 3);
    // Scrolled past without focus, a count is never saved changed.
    o.konfig->Check1->setFocus();
    turn();
    o.konfig->BUloz->click();
    const SettingsFile ini(o.home.ini().toStdString());
    QCOMPARE(ini.readInteger("Des_mista", "delka_des_m", -1), 3);
}

void TestKonfig::countsStayWithinTheirLimits_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("max");
    for (const auto& [key, max] :
         {std::pair{"prumer_des_m", 3}, std::pair{"delka_des_m", 3},
          std::pair{"rychl_max_des_m", 3}, std::pair{"sr_tep_des_m", 2},
          std::pair{"sr_pr_prekr_des_m", 3}, std::pair{"sr_pr_pom_des_m", 3},
          std::pair{"sr_kcal_des_m", 1}}) {
        QTest::newRow(key) << QString::fromLatin1(key) << max;
    }
}

void TestKonfig::countsStayWithinTheirLimits() {
    QFETCH(QString, key);
    QFETCH(int, max);
    Opened o;
    QSpinBox* box = o.spin(key.toLatin1().constData());
    QCOMPARE(box->minimum(), 0);
    QCOMPARE(box->maximum(), max);
    box->setValue(0);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->value(), max);
    QTest::mouseClick(o.konfig->BUloz, Qt::LeftButton);
    QCOMPARE(
        SettingsFile(o.home.ini().toStdString()).readInteger("Des_mista", key.toStdString(), -1),
        max);
}

void TestKonfig::cancelLeavesTheFileUntouched() {
    Opened o(RecentList({"/neni/tu", "/taky/ne"}) + "[Des_mista]\ndelka_des_m=1\n");
    const QByteArray before = FileBytes(o.home.ini());
    const QDateTime modified = QFileInfo(o.home.ini()).lastModified();
    o.type(o.spin("delka_des_m"), QStringLiteral("3"));
    ClickCheckBox(o.konfig->Check1);
    ClickCheckBox(o.konfig->BorCheck1);
    QTest::mouseClick(o.konfig->BKONEC, Qt::LeftButton);
    QCOMPARE(FileBytes(o.home.ini()), before);
    QCOMPARE(QFileInfo(o.home.ini()).lastModified(), modified);
    QCOMPARE(o.w->displaySettings().delkaDesM, 1);
    QVERIFY(o.navigator());
}

void TestKonfig::tidyingRemovesEveryInvalidEntry_data() {
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QStringList>("entries");  // "db:" marks a database directory
    QTest::addColumn<QStringList>("after");
    const QStringList list{"db:a", "gone1", "gone2", "db:b", "", "db:c"};
    QTest::newRow("ticked: two invalid in a row go in one save")
        << true << list << QStringList{"db:a", "db:b", "db:c", "", "", ""};
    QTest::newRow("not ticked: the list stays") << false << list << list;
    // (Entry 1 is the database the program opens at start, so it is valid.)
    QTest::newRow("ticked: all others invalid, with a gap")
        << true << QStringList{"db:a", "gone1", "", "gone2"}
        << QStringList{"db:a", "", "", "", "", ""};
    QTest::newRow("ticked: a part of a database is not a database")
        << true << QStringList{"db:a", "part"} << QStringList{"db:a", "", "", "", "", ""};
}

void TestKonfig::tidyingRemovesEveryInvalidEntry() {
    QFETCH(bool, ticked);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, after);
    QTemporaryDir paths;
    auto resolve = [&paths](const QString& e) {
        if (e.isEmpty()) return e;
        return paths.filePath(e.startsWith(u"db:") ? e.mid(3) : e);
    };
    QStringList dirs;
    for (const QString& e : entries) {
        dirs.append(resolve(e));
        if (e.startsWith(u"db:")) MakeDatabase(dirs.last());
        if (e == u"part") {
            MakeDatabase(dirs.last());
            for (const char* f : {"typ_trs.dbf", "typ_trn.dbf"})
                QVERIFY(QFile::remove(QDir(dirs.last()).filePath(QString::fromLatin1(f))));
        }
    }
    while (after.size() < 6 && !ticked)
        after.append(QString());
    Opened o(RecentList(dirs));
    if (ticked) ClickCheckBox(o.konfig->BorCheck1);
    QTest::mouseClick(o.konfig->BUloz, Qt::LeftButton);
    QVERIFY2(o.messages.problems().isEmpty(), qPrintable(o.messages.problems()));
    for (int i = 0; i < 6; ++i)
        QCOMPARE(o.recent(i + 1), resolve(after.value(i)));
}

QTEST_MAIN(TestKonfig)
#include "tst_konfig.moc"
