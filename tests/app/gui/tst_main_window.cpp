// The main window: first start, the database chosen at start, the caption,
// window placement, hints in the status bar, help, "-setup" and shutdown.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextBrowser>
#include <QTimer>

#include "app/fnavig.h"
#include "app/form_hl.h"
#include "app/help_viewer.h"
#include "app/settings_file.h"
#include "app/shorten_path.h"
#include "app/start_menu.h"
#include "app/status_panels.h"
#include "app/widgets/round_button.h"
#include "gui_support.h"

using namespace kolvio;
using namespace kolvio::testing;

namespace {

QString Caption(const QString& dir) {
    return QStringLiteral("KOLVIO 2.3 {%1} ")
        .arg(QString::fromStdString(ShortenPath(dir.toStdString(), 30)));
}

void WriteIni(const TempHome& home, const QByteArray& text) {
    WriteFile(home.ini(), text);
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesDataWithDefaultRows();
    void startOpensTheMostRecentDatabase_data();
    void startOpensTheMostRecentDatabase();
    void startKeepsAPartialDatabase();
    void startTellsWhenTheDirectoryCannotBeCreated();
    void placementIsRestored_data();
    void placementIsRestored();
    void placementIsSavedOnClose_data();
    void placementIsSavedOnClose();
    void closeRestoresDriverSettingsOnlyWhenAsked_data();
    void closeRestoresDriverSettingsOnlyWhenAsked();
    void hintsGoToTheFifthPanel();
    void statusBarShowsDateTimeAndGauge();
    void helpMenuOpensContentsDescriptionAndAbout();
    void setupOnlyWithExactlyOneArgument_data();
    void setupOnlyWithExactlyOneArgument();
    void execArgumentsAreQuoted_data();
    void execArgumentsAreQuoted();
    void bringToFrontRestoresAMinimisedWindow();
};

void TestMainWindow::firstStartCreatesDataWithDefaultRows() {
    TempHome home;
    ScriptedMessages messages;
    TForm_hl w;
    w.start();
    const QString data = home.file(QStringLiteral("DATA"));
    QCOMPARE(w.dataDir(), data);
    QCOMPARE(w.caption(), Caption(data));
    QVERIFY(w.caption().startsWith(QStringLiteral("KOLVIO 2.3 {")));
    QVERIFY(w.caption().endsWith(QStringLiteral("} ")));
    // The maximised navigator shows in the title bar after the caption.
    QCOMPARE(w.windowTitle(), Caption(data) + QStringLiteral(" - [NAVIGÁTOR]"));
    QCOMPARE(TableRows(data, "jizdy.dbf").count(), 0);
    QCOMPARE(TableRows(data, "typ_trnz.dbf").column("TRNZ_N"),
             QStringList({"trenažer", "vyjížďka", "závod"}));
    QCOMPARE(TableRows(data, "typ_trn.dbf").count(), 8);
    QCOMPARE(TableRows(data, "typ_trs.dbf").column("TRS_MEZI"),
             QStringList({"trenažer", "NESPECIFIKOVÁNO"}));
    QCOMPARE(TableRows(data, "typ_kol.dbf").count(), 2);
    QCOMPARE(TableRows(data, "typ_hld.dbf").column("THL_ZKR"),
             QStringList({"neměřeno", "nehlídaný", "hlídaný"}));
    // The start never writes the recent list.
    QCOMPARE(SettingsFile(home.ini().toStdString()).readString("Predchozi", "1", "-"), "-");
    // The navigator is the first screen and its menus are merged before help.
    QVERIFY(qobject_cast<TFNavig*>(w.activeScreen()));
    QStringList menus;
    for (QAction* a : w.menuBar()->actions())
        menus.append(a->text());
    QCOMPARE(menus, QStringList({"&Databáze", "&Konfigurace", "&Nápověda"}));
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
}

void TestMainWindow::startOpensTheMostRecentDatabase_data() {
    QTest::addColumn<bool>("exists");
    QTest::newRow("existing database") << true;
    QTest::newRow("directory gone: created anew") << false;
}

void TestMainWindow::startOpensTheMostRecentDatabase() {
    QFETCH(bool, exists);
    TempHome home;
    ScriptedMessages messages;
    const QString dir = home.file(QStringLiteral("jinde/rok 2003"));
    if (exists) {
        Database db;
        QVERIFY(db.MOtevriNovaDB(dir.toStdString(), OverwritePolicy::kReplace).ok());
        Table& rides = db.Table1();
        QVERIFY(rides.append().ok());
        QVERIFY(rides.setValue("DELKA", 42.5).ok());
        QVERIFY(rides.post().ok());
    }
    WriteIni(home, "[Predchozi]\n1=" + dir.toUtf8() + "\n");
    TForm_hl w;
    QCOMPARE(w.dataDir(), dir);
    QCOMPARE(w.caption(), Caption(dir));
    QCOMPARE(TableRows(dir, "jizdy.dbf").count(), exists ? 1 : 0);
    QCOMPARE(TableRows(dir, "typ_kol.dbf").count(), 2);
    QVERIFY(!QDir(home.file(QStringLiteral("DATA"))).exists());
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
}

void TestMainWindow::startKeepsAPartialDatabase() {
    TempHome home;
    const QString dir = home.file(QStringLiteral("castecna"));
    {
        Database db;
        QVERIFY(db.MOtevriNovaDB(dir.toStdString(), OverwritePolicy::kReplace).ok());
    }
    for (const char* name : {"typ_trs.dbf", "typ_trnz.dbf", "typ_hld.dbf"}) {
        QVERIFY(QFile::remove(QDir(dir).filePath(QString::fromLatin1(name))));
    }
    const QByteArray rides = FileBytes(QDir(dir).filePath("jizdy.dbf"));
    WriteIni(home, "[Predchozi]\n1=" + dir.toUtf8() + "\n");
    ScriptedMessages messages;
    messages.expect(QStringLiteral("Adresář \"%1\" obsahuje jen část databáze*").arg(dir),
                    MsgKind::kError);
    TForm_hl w;
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
    QCOMPARE(w.caption(), QStringLiteral("KOLVIO"));
    QCOMPARE(FileBytes(QDir(dir).filePath("jizdy.dbf")), rides);
    QVERIFY(!QFile::exists(QDir(dir).filePath("typ_trs.dbf")));
}

void TestMainWindow::startTellsWhenTheDirectoryCannotBeCreated() {
    TempHome home;
    WriteFile(home.file(QStringLiteral("soubor")), "x");
    const QString dir = home.file(QStringLiteral("soubor/DATA"));
    WriteIni(home, "[Predchozi]\n1=" + dir.toUtf8() + "\n");
    ScriptedMessages messages;
    messages.expect(QStringLiteral("Adresář databáze \"%1\" nelze vytvořit.\nVyber jiný adresář v "
                                   "nabídce Databáze (Nová... nebo Otevři...).")
                        .arg(dir),
                    MsgKind::kError);
    TForm_hl w;
    w.start();
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
    QCOMPARE(w.caption(), QStringLiteral("KOLVIO"));
    QCOMPARE(w.dataDir(), QString());
    // The rider can still reach the database menu.
    QVERIFY(qobject_cast<TFNavig*>(w.activeScreen()));
}

void TestMainWindow::placementIsRestored_data() {
    QTest::addColumn<QByteArray>("okno");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("no settings: default client size")
        << QByteArray() << QPoint(-1, -1) << QSize(632, 430) << false;
    QTest::newRow("normal") << QByteArray("State=2\nLeft=30\nTop=40\nWidth=700\nHeight=500\n")
                            << QPoint(30, 40) << QSize(700, 500) << false;
    QTest::newRow("negative position raised to 0")
        << QByteArray("State=2\nLeft=-32000\nTop=-8\nWidth=600\nHeight=400\n") << QPoint(0, 0)
        << QSize(600, 400) << false;
    QTest::newRow("position on no screen")
        << QByteArray("State=2\nLeft=9000\nTop=7000\n") << QPoint(0, 0) << QSize(632, 430) << false;
    QTest::newRow("below the minimum size") << QByteArray("State=2\nWidth=100\nHeight=50\n")
                                            << QPoint(1, 1) << QSize(480, 360) << false;
    QTest::newRow("maximised") << QByteArray("State=1\n") << QPoint(-1, -1) << QSize() << true;
}

void TestMainWindow::placementIsRestored() {
    QFETCH(QByteArray, okno);
    QFETCH(QPoint, pos);
    QFETCH(QSize, size);
    QFETCH(bool, maximized);
    TempHome home;
    if (!okno.isEmpty()) WriteIni(home, "[Okno]\n" + okno);
    TForm_hl w;
    QCOMPARE(w.isMaximized(), maximized);
    if (pos != QPoint(-1, -1)) QCOMPARE(w.pos(), pos);
    if (size.isValid()) QCOMPARE(w.size(), size);
    QCOMPARE(w.minimumSize(), QSize(480, 360));
}

void TestMainWindow::placementIsSavedOnClose_data() {
    QTest::addColumn<bool>("maximized");
    QTest::newRow("normal") << false;
    QTest::newRow("maximised") << true;
}

void TestMainWindow::placementIsSavedOnClose() {
    QFETCH(bool, maximized);
    TempHome home;
    {
        TForm_hl w;
        w.start();
        w.move(50, 60);
        w.resize(700, 480);
        if (maximized) w.showMaximized();
        QVERIFY(w.close());
        QVERIFY(!w.database().Table1().isOpen());
        QVERIFY(!w.database().TTRS().isOpen());
    }
    const SettingsFile ini(home.ini().toStdString());
    QCOMPARE(ini.readInteger("Okno", "State", 0), maximized ? 1 : 2);
    // Position and size describe the normal window only.
    QCOMPARE(ini.readInteger("Okno", "Left", -1), maximized ? -1 : 50);
    QCOMPARE(ini.readInteger("Okno", "Top", -1), maximized ? -1 : 60);
    QCOMPARE(ini.readInteger("Okno", "Width", -1), maximized ? -1 : 700);
    QCOMPARE(ini.readInteger("Okno", "Height", -1), maximized ? -1 : 480);
    // The next start puts the window back.
    TForm_hl again;
    QCOMPARE(again.isMaximized(), maximized);
    if (!maximized) QCOMPARE(again.geometry().size(), QSize(700, 480));
}

void TestMainWindow::closeRestoresDriverSettingsOnlyWhenAsked_data() {
    QTest::addColumn<QByteArray>("vracet");
    QTest::addColumn<bool>("restored");
    QTest::newRow("vracet missing") << QByteArray() << false;
    QTest::newRow("vracet=0") << QByteArray("vracet=0\n") << false;
    QTest::newRow("vracet=1") << QByteArray("vracet=1\n") << true;
}

void TestMainWindow::closeRestoresDriverSettingsOnlyWhenAsked() {
    QFETCH(QByteArray, vracet);
    QFETCH(bool, restored);
    TempHome home;
    WriteIni(home, "[DBF]\n" + vracet);
    TForm_hl w;
    // Opening the database applied the driver settings and recorded them.
    QCOMPARE(SettingsFile(home.ini().toStdString()).readBool("DBF", "vraceno", true), false);
    QVERIFY(w.close());
    QCOMPARE(SettingsFile(home.ini().toStdString()).readBool("DBF", "vraceno", false), restored);
}

void TestMainWindow::hintsGoToTheFifthPanel() {
    TempHome home;
    TForm_hl w;
    w.start();
    auto* nav = w.findChild<TFNavig*>();
    QVERIFY(nav);
    // Hovering a (disabled) button shows its hint.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(nav->RButton12, &enter);
    QCOMPARE(w.statusPanels()->text(),
             QStringLiteral("Vyhodnocení statistických údajů tratí (tratě) {max.,min...}"));
    // A menu entry under the mouse shows its hint (the menu sends it to the bar).
    nav->MDKomprese->showStatusText(w.menuBar());
    QCOMPARE(w.statusPanels()->text(),
             QStringLiteral("Provede kompresi databáze - vhodné použít po vymazání více záznamů "
                            "(jízd, ..)"));
    // Of a hint "short|long" the long part is shown.
    QStatusTipEvent tip(QStringLiteral("Nová|Zadání nové jízdy"));
    QApplication::sendEvent(nav, &tip);
    QCOMPARE(w.statusPanels()->text(), QStringLiteral("Zadání nové jízdy"));
    // The other panels stay in place.
    QVERIFY(w.statusPanels()->dateLabel()->isVisible());
    QVERIFY(w.statusBar()->currentMessage().isEmpty());
}

void TestMainWindow::statusBarShowsDateTimeAndGauge() {
    TempHome home;
    TForm_hl w;
    w.start();
    QCOMPARE(w.statusPanels()->dateLabel()->text(),
             QDate::currentDate().toString(QStringLiteral("d.M.yyyy")));
    QVERIFY(QTime::fromString(w.statusPanels()->timeLabel()->text(), QStringLiteral("hh:mm"))
                .isValid());
    ShellFeedback& shell = w;
    shell.showGauge("Doplňování sloupce ROK");
    shell.setGauge(40);
    QVERIFY(w.statusPanels()->gaugeVisible());
    QCOMPARE(w.statusPanels()->gaugeValue(), 40);
    QCOMPARE(w.statusPanels()->text(), QStringLiteral("Doplňování sloupce ROK"));
    shell.hideGauge();
    QVERIFY(!w.statusPanels()->gaugeVisible());
    QCOMPARE(w.statusPanels()->text(), QString());
}

void TestMainWindow::helpMenuOpensContentsDescriptionAndAbout() {
    TempHome home;
    ScriptedMessages messages;
    TForm_hl w;
    w.start();
    auto trigger = [&w](const char* name) {
        auto* action = w.findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY(action);
        action->trigger();
    };
    trigger("MObsah");
    QVERIFY(HelpWindow() && HelpWindow()->isVisible());
    auto* browser = HelpWindow()->findChild<QTextBrowser*>();
    QVERIFY(browser->source().toLocalFile().endsWith(QStringLiteral("help/index.html")));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Obsah")));
    trigger("MPopis");
    QVERIFY(browser->source().toLocalFile().endsWith(QStringLiteral("help/obecne.html")));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Popis programu")));

    QString about;
    QTimer::singleShot(0, [&about] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        about = box->findChild<QLabel*>(QStringLiteral("AboutText"))->text();
        box->close();
    });
    trigger("MAbout");
    for (const char* part :
         {"KOLVIO", "Deník cyklistického tréninku", "2.3", "Ostrelab", "práva"}) {
        QVERIFY2(about.contains(QString::fromUtf8(part)), part);
    }
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
}

void TestMainWindow::setupOnlyWithExactlyOneArgument_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("yes");
    QTest::newRow("-setup, Yes") << QStringList{"kolvio", "-setup"} << true << true;
    QTest::newRow("-setup, No") << QStringList{"kolvio", "-setup"} << true << false;
    QTest::newRow("with another argument")
        << QStringList{"kolvio", "-setup", "x"} << false << false;
    QTest::newRow("other letter case") << QStringList{"kolvio", "-Setup"} << false << false;
    QTest::newRow("no argument") << QStringList{"kolvio"} << false << false;
}

void TestMainWindow::setupOnlyWithExactlyOneArgument() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, asked);
    QFETCH(bool, yes);
    TempHome home;
    qputenv("XDG_DATA_HOME", home.file(QStringLiteral("xdg-data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.file(QStringLiteral("xdg-config")).toLocal8Bit());
    int registrations = 0;
    SetChartRegistration([&registrations] { ++registrations; });
    ScriptedMessages messages;
    if (asked) {
        messages.expect(QStringLiteral("Chceš vytvořit zástupce v nabidce Start?"),
                        MsgKind::kInformation, yes ? MsgResult::kYes : MsgResult::kNo);
    }
    { TForm_hl w(arguments); }
    SetChartRegistration(nullptr);
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
    // The chart registration runs whatever the answer.
    QCOMPARE(registrations, asked ? 1 : 0);
    const QDir apps(home.file(QStringLiteral("xdg-data/applications")));
    QCOMPARE(apps.exists(QStringLiteral("kolvio.desktop")), yes);
    QCOMPARE(apps.exists(QStringLiteral("kolvio-napoveda.desktop")), yes);
    QCOMPARE(apps.exists(QStringLiteral("kolvio-popis.desktop")), yes);
    if (!yes) return;
    const QString program = QString::fromUtf8(FileBytes(apps.filePath("kolvio.desktop")));
    QVERIFY(program.contains(QStringLiteral("\nName=Kolvio\n")));
    QVERIFY(program.contains(QStringLiteral("\nExec=") +
                             QuoteExecArgument(QCoreApplication::applicationFilePath()) + u'\n'));
    const QString help = QString::fromUtf8(FileBytes(apps.filePath("kolvio-napoveda.desktop")));
    QVERIFY(help.contains(QStringLiteral("\nName=Nápověda\n")));
    QVERIFY(help.contains(QStringLiteral("help/index.html")));
    const QString menu = QString::fromUtf8(
        FileBytes(home.file(QStringLiteral("xdg-config/menus/applications-merged/kolvio.menu"))));
    QVERIFY(menu.contains(QStringLiteral("<Filename>kolvio-popis.desktop</Filename>")));
}

void TestMainWindow::execArgumentsAreQuoted_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "/opt/kolvio/kolvio"
                           << "/opt/kolvio/kolvio";
    QTest::newRow("blank") << "/home/a b/kolvio"
                           << "\"/home/a b/kolvio\"";
    QTest::newRow("quote and dollar") << "/x/\"$y"
                                      << "\"/x/\\\\\"\\\\$y\"";
    QTest::newRow("backslash") << "/x\\y"
                               << "\"/x\\\\\\\\y\"";
    QTest::newRow("percent") << "/x%y"
                             << "\"/x%%y\"";
}

void TestMainWindow::execArgumentsAreQuoted() {
    QFETCH(QString, argument);
    QFETCH(QString, quoted);
    QCOMPARE(QuoteExecArgument(argument), quoted);
}

void TestMainWindow::bringToFrontRestoresAMinimisedWindow() {
    TempHome home;
    TForm_hl w;
    w.start();
    w.showMinimized();
    w.bringToFront();
    QVERIFY(!w.isMinimized());
    QVERIFY(w.isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
