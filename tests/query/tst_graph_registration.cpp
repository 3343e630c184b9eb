// The chart registration walk over its settings: which methods a run tries,
// the question and the information it shows, and what it remembers in
// "Graf-registrace"; the program's own registration run by "-setup" and the
// viewer starting the walk over when it closes.
#include "query/graph_registration.h"

#include "app/app_paths.h"
#include "app/settings_file.h"
#include "app/start_menu.h"
#include "result_viewer_support.h"

using namespace kolvio;
using namespace kolvio::testing;

namespace {

const QString kAsk = QStringLiteral(
    "Graf byl již třikrát neúspěšně registrován,\nmám se pokusit o novou registraci?");
const QString kGiveUp = QStringLiteral(
    "Graf nelze na tomto počítači zaregistrovat,\nznovu nainstaluj kompletně systém,\n"
    "nebo se informuj na verzi bez grafů");

}  // namespace

class TestGraphRegistration : public QObject {
    Q_OBJECT
private slots:
    void walkOverTheMethods_data();
    void walkOverTheMethods();
    void aSettingsFileThatCannotBeWrittenIsReported();
    void setupRegistersTheBuiltInChart();
    void closingTheViewerStartsTheWalkOver();
};

void TestGraphRegistration::walkOverTheMethods_data() {
    QTest::addColumn<QString>("settings");  // the section as stored; empty: no file
    QTest::addColumn<QString>("failing");   // methods that report failure
    QTest::addColumn<int>("answer");        // to the question; -1: not asked
    QTest::addColumn<QString>("tried");
    QTest::addColumn<bool>("givesUp");
    QTest::addColumn<int>("cislo");
    const QString here = QStringLiteral("cesta=/opt/kolvio\n");
    QTest::newRow("first run, method 1 succeeds") << ""
                                                  << "" << -1 << "1" << false << 1;
    QTest::newRow("first run, no TREGSVR: method 2 in the same run")
        << ""
        << "1" << -1 << "12" << false << 2;
    QTest::newRow("after method 1: method 2") << here + "cislo=1"
                                              << "" << -1 << "2" << false << 2;
    QTest::newRow("after method 2, methods fail: method 3") << here + "cislo=2"
                                                            << "12" << -1 << "3" << false << 3;
    QTest::newRow("three tried, Yes: from method 1")
        << here + "cislo=3"
        << "" << int(MsgResult::kYes) << "1" << false << 1;
    QTest::newRow("three tried, No: nothing tried, information")
        << here + "cislo=3"
        << "" << int(MsgResult::kNo) << "" << true << 3;
    QTest::newRow("three tried, moved: asked, then from method 1 anyway")
        << "cesta=/old/place\ncislo=3"
        << "" << int(MsgResult::kNo) << "1" << false << 1;
    QTest::newRow("moved: from method 1") << "cesta=/old/place\ncislo=1"
                                          << "" << -1 << "1" << false << 1;
    QTest::newRow("folder compared without letter case") << "cesta=/OPT/Kolvio\ncislo=1"
                                                         << "" << -1 << "2" << false << 2;
    QTest::newRow("a counter that is no number starts at method 1")
        << here + "cislo=x"
        << "" << -1 << "1" << false << 1;
}

void TestGraphRegistration::walkOverTheMethods() {
    QFETCH(QString, settings);
    QFETCH(QString, failing);
    QFETCH(int, answer);
    QFETCH(QString, tried);
    QFETCH(bool, givesUp);
    QFETCH(int, cislo);
    TempHome home;
    if (!settings.isEmpty()) {
        QFile file(home.ini());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("[Graf-registrace]\n" + settings + "\n").toUtf8());
    }
    ScriptedMessages msgs;
    if (answer >= 0) msgs.expect(kAsk, MsgKind::kConfirmation, static_cast<MsgResult>(answer));
    if (givesUp) msgs.expect(kGiveUp, MsgKind::kInformation);
    SettingsFile ini(home.ini().toStdString());
    QString methods;
    RegisterGraphControl(ini, QStringLiteral("/opt/kolvio"), [&](int method) {
        methods += QString::number(method);
        return !failing.contains(QString::number(method));
    });
    QCOMPARE(methods, tried);
    const SettingsFile after(home.ini().toStdString());
    QCOMPARE(after.readString("Graf-registrace", "cesta", "?"), std::string("/opt/kolvio"));
    QCOMPARE(after.readInteger("Graf-registrace", "cislo", -1), cislo);
    CHECK_MESSAGES(msgs);
}

void TestGraphRegistration::aSettingsFileThatCannotBeWrittenIsReported() {
    TempHome home;
    // A folder where the file should be: nothing can be written there.
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("kolvio.ini")));
    ScriptedMessages msgs;
    msgs.expect(QStringLiteral("*"), MsgKind::kError);
    SettingsFile ini(home.ini().toStdString());
    int runs = 0;
    RegisterGraphControl(ini, QStringLiteral("/opt/kolvio"), [&](int) { return ++runs > 0; });
    QCOMPARE(runs, 1);
    QVERIFY(msgs.shown.size() == 1 && !msgs.shown.front().text.isEmpty());
    CHECK_MESSAGES(msgs);
}

void TestGraphRegistration::setupRegistersTheBuiltInChart() {
    TempHome home;
    InitAppDir();
    ScriptedMessages msgs;
    RegisterScreens();
    // What "-setup" runs after the Start-menu question.
    QVERIFY(bool(CurrentChartRegistration()));
    CurrentChartRegistration()();
    const SettingsFile ini(IniPath().toStdString());
    QCOMPARE(QString::fromStdString(ini.readString("Graf-registrace", "cesta", "")), AppDir());
    // The chart is part of the program: the first method is enough.
    QCOMPARE(ini.readInteger("Graf-registrace", "cislo", -1), 1);
    CurrentChartRegistration()();
    QCOMPARE(SettingsFile(IniPath().toStdString()).readInteger("Graf-registrace", "cislo", -1), 2);
    ClearScreens();
    CHECK_MESSAGES(msgs);
}

void TestGraphRegistration::closingTheViewerStartsTheWalkOver() {
    QuerySession s;
    SeedBikes(s);
    TFZobr_Dotaz* v = RunBikeStatistics(s, {QStringLiteral("KOLO TYP")});
    QVERIFY(v);
    QVERIFY(s.form->settings().writeInteger("Graf-registrace", "cislo", 2).ok());
    v->closeScreen();
    Settle();
    QCOMPARE(SettingsFile(s.home.ini().toStdString()).readInteger("Graf-registrace", "cislo", -1),
             0);
    CHECK_MESSAGES(s.msgs);
}

QTEST_MAIN(TestGraphRegistration)
#include "tst_graph_registration.moc"
