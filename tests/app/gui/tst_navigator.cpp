// The navigator: its database menu driven with a scripted directory chooser
// and scripted answers, compaction, the task buttons and the return of the
// task screens.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTimer>

#include "app/child_windows.h"
#include "app/directory_chooser.h"
#include "app/directory_dialog.h"
#include "app/fnavig.h"
#include "app/form_hl.h"
#include "app/recent_databases.h"
#include "app/screen_registry.h"
#include "app/shorten_path.h"
#include "app/status_panels.h"
#include "app/widgets/field_binding.h"
#include "app/widgets/round_button.h"
#include "gui_support.h"

Q_DECLARE_METATYPE(kolvio::QueryPreset)

using namespace kolvio;
using namespace kolvio::testing;

namespace {

// A task screen standing in for the screens of later parts of the program.
class TaskScreen final : public TFData_Zakl {
public:
    explicit TaskScreen(TForm_hl& main) : TFData_Zakl(main) {
        setWindowTitle(QStringLiteral("Úloha"));
        ++alive;
    }
    ~TaskScreen() override { --alive; }
    static int alive;
};
int TaskScreen::alive = 0;

QString Caption(const QString& dir) {
    return QStringLiteral("KOLVIO 2.3 {%1} ")
        .arg(QString::fromStdString(ShortenPath(dir.toStdString(), 30)));
}

void MakeDatabase(const QString& dir, int rides) {
    Database db;
    QVERIFY(db.MOtevriNovaDB(dir.toStdString(), OverwritePolicy::kReplace).ok());
    for (int i = 0; i < rides; ++i) {
        QVERIFY(db.Table1().append().ok());
        QVERIFY(db.Table1().setValue("DELKA", 10.0 + i).ok());
        QVERIFY(db.Table1().post().ok());
    }
}

void Flush() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A main window started on a private home, with its navigator.
struct Started {
    Started() {
        w.start();
        nav = w.findChild<TFNavig*>();
    }
    TFNavig* navigator() {
        Flush();
        return w.findChild<TFNavig*>();
    }
    QString recent(int n) { return QString::fromStdString(RecentDbRead(w.settings(), n)); }
    TempHome home;
    ScriptedMessages messages;
    ScriptedDirectories directories;
    TForm_hl w;
    TFNavig* nav = nullptr;
};

}  // namespace

class TestNavigator : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ClearScreens(); }

    void newDatabase_data();
    void newDatabase();
    void newDatabaseCancelledChangesNothing();
    void newDatabaseWhereNoDirectoryCanBeMade();
    void openDatabase_data();
    void openDatabase();
    void recentListOffersEntriesTwoToSix_data();
    void recentListOffersEntriesTwoToSix();
    void recentEntryOpensAndMovesToTheTop();
    void recentEntryWithAPartialDatabaseIsRefused();
    void openingThatFailsPartWayStaysOnThePreviousDatabase();
    void whenThePreviousDatabaseCannotComeBackNoneIsOpen();
    void chooserCreatesATypedFolderForANewDatabase_data();
    void chooserCreatesATypedFolderForANewDatabase();
    void compactionRemovesDeletedRides();
    void compactionTellsWhichTablesItCouldNotPack();
    void buttonsWithoutTheirScreenAreDisabled_data();
    void buttonsWithoutTheirScreenAreDisabled();
    void screensAreFoundByTheirClassName();
    void editRidesOnAnEmptyDatabaseKeepsTheNavigator();
    void taskScreenReplacesTheNavigatorAndBringsItBack();
    void sideTaskReturnsToItsCaller();
    void evaluationButtonsHandTheirPreset_data();
    void evaluationButtonsHandTheirPreset();
    void navigatorShowsRouteZeroAgain();
    void closingTheProgramRunsNoExitChecks_data();
    void closingTheProgramRunsNoExitChecks();
};

void TestNavigator::newDatabase_data() {
    QTest::addColumn<int>("filesBefore");  // 0 none, 2 part of a database, 6 a whole one
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("ridesAfter");
    QTest::newRow("empty directory") << 0 << true << 0;
    QTest::newRow("empty directory, No") << 0 << false << -1;
    QTest::newRow("whole database: asked, data kept") << 6 << true << 3;
    QTest::newRow("whole database, No") << 6 << false << -1;
    QTest::newRow("two table files: replaced") << 2 << true << 0;
}

void TestNavigator::newDatabase() {
    QFETCH(int, filesBefore);
    QFETCH(bool, yes);
    QFETCH(int, ridesAfter);
    Started s;
    const QString before = s.w.dataDir();
    const QString dir = s.home.file(QStringLiteral("nova"));
    if (filesBefore > 0) MakeDatabase(dir, 3);
    if (filesBefore == 2) {
        for (const char* name : {"typ_trs.dbf", "typ_trnz.dbf", "typ_hld.dbf", "typ_trn.dbf"})
            QVERIFY(QFile::remove(QDir(dir).filePath(QString::fromLatin1(name))));
    }
    s.directories.answer(dir);
    const MsgResult answer = yes ? MsgResult::kYes : MsgResult::kNo;
    if (filesBefore > 0) {
        s.messages.expect(QStringLiteral("Opravdu vytvořit nové databáze\na stávající přepsat ?"),
                          MsgKind::kConfirmation, answer);
    } else {
        s.messages.expect(QStringLiteral("Opravdu vytvořit nové databáze?"), MsgKind::kConfirmation,
                          answer);
    }
    s.nav->MNovaDB->trigger();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QCOMPARE(s.directories.startDirs, QStringList{before});
    QCOMPARE(s.messages.shown.constFirst().helpContext, filesBefore > 0 ? 2 : 0);
    if (!yes) {
        QCOMPARE(s.w.dataDir(), before);
        QCOMPARE(s.recent(1), QString());
        return;
    }
    QCOMPARE(s.w.dataDir(), dir);
    QCOMPARE(s.w.caption(), Caption(dir));
    QCOMPARE(s.recent(1), dir);
    QCOMPARE(TableRows(dir, "jizdy.dbf").count(), ridesAfter);
    QCOMPARE(s.w.database().Table1().recordCount(), ridesAfter);
    QCOMPARE(TableRows(dir, "typ_kol.dbf").count(), 2);
    // The navigator stays.
    QCOMPARE(s.navigator(), s.nav);
}

void TestNavigator::newDatabaseCancelledChangesNothing() {
    Started s;
    const QByteArray ini = FileBytes(s.home.ini());
    s.directories.answer(std::nullopt);
    s.nav->MNovaDB->trigger();
    s.nav->MOtevriDB->trigger();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QCOMPARE(FileBytes(s.home.ini()), ini);
}

void TestNavigator::newDatabaseWhereNoDirectoryCanBeMade() {
    Started s;
    const QString before = s.w.dataDir();
    WriteFile(s.home.file(QStringLiteral("soubor")), "x");
    const QString dir = s.home.file(QStringLiteral("soubor/nova"));
    s.directories.answer(dir);
    s.messages.expect(QStringLiteral("Opravdu vytvořit nové databáze?"), MsgKind::kConfirmation,
                      MsgResult::kYes);
    s.messages.expect(QStringLiteral("Adresář databáze \"%1\" nelze vytvořit.\nVyber jiný adresář "
                                     "v nabídce Databáze (Nová... nebo Otevři...).")
                          .arg(dir),
                      MsgKind::kError);
    s.nav->MNovaDB->trigger();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    // Nothing was opened, so nothing goes into the list.
    QCOMPARE(s.w.dataDir(), before);
    QCOMPARE(s.recent(1), QString());
}

void TestNavigator::openDatabase_data() {
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("yes");
    QTest::newRow("whole database") << 6 << true;
    QTest::newRow("whole database, No") << 6 << false;
    QTest::newRow("five files (older version)") << 5 << true;
    QTest::newRow("four files: refused") << 4 << false;
    QTest::newRow("empty directory: refused") << 0 << false;
}

void TestNavigator::openDatabase() {
    QFETCH(int, files);
    QFETCH(bool, yes);
    Started s;
    const QString before = s.w.dataDir();
    const QString dir = s.home.file(QStringLiteral("jina"));
    QDir().mkpath(dir);
    if (files > 0) MakeDatabase(dir, 2);
    const char* const order[] = {"typ_hld.dbf", "typ_trs.dbf"};
    for (int i = 0; files > 0 && i < 6 - files; ++i)
        QVERIFY(QFile::remove(QDir(dir).filePath(QString::fromLatin1(order[i]))));
    const QByteArray rides = FileBytes(QDir(dir).filePath("jizdy.dbf"));
    s.directories.answer(dir);
    if (files < 5) {
        s.messages.expect(QStringLiteral("V daném adresáři nejsou požadované databáze!"),
                          MsgKind::kError);
    } else {
        s.messages.expect(QStringLiteral("Opravdu otevřít databáze?"), MsgKind::kConfirmation,
                          yes ? MsgResult::kYes : MsgResult::kNo);
    }
    s.nav->MOtevriDB->trigger();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    const bool opened = files >= 5 && yes;
    QCOMPARE(s.w.dataDir(), opened ? dir : before);
    QCOMPARE(s.recent(1), opened ? dir : QString());
    if (opened) {
        QCOMPARE(s.w.database().Table1().recordCount(), 2);
        // An older database gets its watch types.
        QCOMPARE(TableRows(dir, "typ_hld.dbf").count(), 3);
    } else {
        QCOMPARE(FileBytes(QDir(dir).filePath("jizdy.dbf")), rides);
    }
}

void TestNavigator::recentListOffersEntriesTwoToSix_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("only the open database")
        << QStringList{"/data/a"} << QStringList{"", "", "", "", ""};
    QTest::newRow("three") << QStringList{"/data/a", "/data/b", "/data/c&d"}
                           << QStringList{"/data/b", "/data/c&&d", "", "", ""};
    QTest::newRow("six, one long")
        << QStringList{"/a", "/b", "/c", "/d", "/e", "/home/rider/Training/Diary/Rides/DATA"}
        << QStringList{"/b", "/c", "/d", "/e", "/../Training/Diary/Rides/DATA"};
}

void TestNavigator::recentListOffersEntriesTwoToSix() {
    QFETCH(QStringList, entries);
    QFETCH(QStringList, shown);
    Started s;
    for (int i = 0; i < entries.size(); ++i) {
        QVERIFY(s.w.settings()
                    .writeString("Predchozi", std::to_string(i + 1), entries[i].toStdString())
                    .ok());
    }
    emit s.nav->MPredchoz->aboutToShow();
    for (int i = 0; i < 5; ++i) {
        QAction* entry = s.nav->MPredch.at(i);
        QCOMPARE(entry->objectName(), QStringLiteral("MPredch%1").arg(i + 1));
        QCOMPARE(entry->isVisible(), !shown[i].isEmpty());
        if (entry->isVisible()) QCOMPARE(entry->text(), shown[i]);
    }
}

void TestNavigator::recentEntryOpensAndMovesToTheTop() {
    Started s;
    const QString a = s.home.file(QStringLiteral("a")), b = s.home.file(QStringLiteral("b"));
    MakeDatabase(b, 4);
    for (auto [key, dir] :
         {std::pair{"1", a}, std::pair{"2", QStringLiteral("/x")}, std::pair{"3", b}}) {
        QVERIFY(s.w.settings().writeString("Predchozi", key, dir.toStdString()).ok());
    }
    emit s.nav->MPredchoz->aboutToShow();
    s.messages.expect(QStringLiteral("Opravdu otevřít databáze?"), MsgKind::kConfirmation,
                      MsgResult::kYes);
    s.nav->MPredch.at(1)->trigger();  // key 3
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QCOMPARE(s.w.dataDir(), b);
    QCOMPARE(s.w.database().Table1().recordCount(), 4);
    QCOMPARE(s.recent(1), b);
    QCOMPARE(s.recent(2), a);
    QCOMPARE(s.recent(3), QStringLiteral("/x"));
}

void TestNavigator::recentEntryWithAPartialDatabaseIsRefused() {
    Started s;
    const QString dir = s.home.file(QStringLiteral("cast"));
    MakeDatabase(dir, 1);
    for (const char* name : {"typ_trs.dbf", "typ_trn.dbf"})
        QVERIFY(QFile::remove(QDir(dir).filePath(QString::fromLatin1(name))));
    QVERIFY(s.w.settings().writeString("Predchozi", "2", dir.toStdString()).ok());
    const QByteArray rides = FileBytes(QDir(dir).filePath("jizdy.dbf"));
    const QString before = s.w.dataDir();
    s.messages.expect(QStringLiteral("Opravdu otevřít databáze?"), MsgKind::kConfirmation,
                      MsgResult::kYes);
    s.messages.expect(QStringLiteral("Adresář \"%1\" obsahuje jen část databáze*").arg(dir),
                      MsgKind::kError);
    s.nav->MPredch.at(0)->trigger();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QCOMPARE(s.w.dataDir(), before);
    QCOMPARE(FileBytes(QDir(dir).filePath("jizdy.dbf")), rides);
    QCOMPARE(s.recent(1), QString());
    QCOMPARE(s.recent(2), dir);
}

// A database of six files whose ride table is damaged: it is taken for a
// database, and opening it fails part-way.
QString BrokenDatabase(const TempHome& home) {
    const QString dir = home.file(QStringLiteral("poskozena"));
    MakeDatabase(dir, 2);
    WriteFile(QDir(dir).filePath("jizdy.dbf"), QByteArray("poškozený soubor"));
    return dir;
}

void TestNavigator::openingThatFailsPartWayStaysOnThePreviousDatabase() {
    Started s;
    const QString first = s.w.dataDir();
    Table& rides = s.w.database().Table1();
    for (int i = 0; i < 6; ++i)
        QVERIFY(rides.append().ok() && rides.setValue("DELKA", 1.0 * i).ok() && rides.post().ok());
    QVERIFY(rides.locate("DELKA", 2.0).ok() && rides.deleteRecord().ok());
    const QString broken = BrokenDatabase(s.home);
    s.directories.answer(broken);
    s.messages.expect(QStringLiteral("Opravdu otevřít databáze?"), MsgKind::kConfirmation,
                      MsgResult::kYes);
    s.messages.expect(QStringLiteral("*"), MsgKind::kError);  // the store names the damage
    s.nav->MOtevriDBClick();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));

    // Wholly on the first database: directory, caption, every table.
    QCOMPARE(s.w.dataDir(), first);
    QVERIFY(s.w.hasDatabase());
    QCOMPARE(s.w.caption(), Caption(first));
    Database& db = s.w.database();
    for (Table* t : {&db.Table1(), &db.TTRNZ(), &db.TTRN(), &db.TTKOL(), &db.TTRS(), &db.TTHLD()}) {
        QVERIFY(t->isOpen());
        QCOMPARE(QString::fromStdString(t->directory()), first);
    }
    QCOMPARE(rides.recordCount(), 5);
    QCOMPARE(s.recent(1), QString());  // the failed one is not remembered
    // "Komprese" packs the open database and leaves the damaged one alone.
    const qint64 size = QFileInfo(QDir(first).filePath("jizdy.dbf")).size();
    s.nav->MDKomprese->trigger();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QVERIFY(QFileInfo(QDir(first).filePath("jizdy.dbf")).size() < size);
    QCOMPARE(FileBytes(QDir(broken).filePath("jizdy.dbf")), QByteArray("poškozený soubor"));
}

void TestNavigator::whenThePreviousDatabaseCannotComeBackNoneIsOpen() {
    RegisterScreen(ScreenId::kNovaTrat, [](TForm_hl& m) { return new TaskScreen(m); });
    Started s;
    QVERIFY(s.nav->RButton2->isEnabled());
    const QString first = s.w.dataDir();
    const QString broken = BrokenDatabase(s.home);
    // The open database is damaged behind the program's back.
    WriteFile(QDir(first).filePath("jizdy.dbf"), QByteArray("také poškozený"));
    s.directories.answer(broken);
    s.messages.expect(QStringLiteral("Opravdu otevřít databáze?"), MsgKind::kConfirmation,
                      MsgResult::kYes);
    s.messages.expect(QStringLiteral("*"), MsgKind::kError);
    s.messages.expect(QStringLiteral("Předchozí databázi \"%1\" se nepodařilo znovu otevřít:*")
                          .arg(QDir::toNativeSeparators(first)),
                      MsgKind::kError);
    s.nav->MOtevriDBClick();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QVERIFY(!s.w.hasDatabase());
    QCOMPARE(s.w.dataDir(), QString());
    QCOMPARE(s.w.caption(), QStringLiteral("KOLVIO"));
    // The tasks and "Komprese" wait for a database; the menus to open one stay.
    TFNavig* nav = s.navigator();
    for (RoundButton* b : nav->findChildren<RoundButton*>())
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    QVERIFY(!nav->MDKomprese->isEnabled());
    QVERIFY(nav->MNovaDB->isEnabled() && nav->MOtevriDB->isEnabled());
    QVERIFY(nav->MKonfNastav->isEnabled());

    // Opening a good database brings everything back.
    const QString good = s.home.file(QStringLiteral("dobra"));
    MakeDatabase(good, 1);
    s.directories.answer(good);
    s.messages.expect(QStringLiteral("Opravdu otevřít databáze?"), MsgKind::kConfirmation,
                      MsgResult::kYes);
    nav->MOtevriDBClick();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QVERIFY(s.w.hasDatabase());
    QCOMPARE(s.w.dataDir(), good);
    QVERIFY(nav->RButton2->isEnabled());
    QVERIFY(!nav->RButton3->isEnabled());  // its screen does not exist here
    QVERIFY(nav->MDKomprese->isEnabled());
}

void TestNavigator::chooserCreatesATypedFolderForANewDatabase_data() {
    QTest::addColumn<bool>("create");  // "Nová..." creates, "Otevři..." wants an existing one
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("new folder, created with its parent") << true << "nova/podzim" << true;
    QTest::newRow("existing folder") << true << "." << true;
    QTest::newRow("to open, a folder must exist") << false << "nikde" << false;
}

void TestNavigator::chooserCreatesATypedFolderForANewDatabase() {
    QFETCH(bool, create);
    QFETCH(QString, typed);
    QFETCH(bool, chosen);
    TempHome home;
    ScriptedMessages messages;
    const QString path = QDir::cleanPath(QDir(home.path()).filePath(typed));
    if (!chosen) {
        messages.expect(QStringLiteral("Adresář \"%1\" neexistuje.\nVyber existující adresář.")
                            .arg(QDir::toNativeSeparators(path)),
                        MsgKind::kWarning);
    }
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<DirectoryDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        // The dialog opens on the start folder; the rider types a path in it.
        QCOMPARE(dialog->Path->text(), QDir::toNativeSeparators(home.path()));
        dialog->Path->selectAll();
        QTest::keyClicks(dialog->Path, typed);
        QTest::keyClick(dialog->Path, Qt::Key_Return);
        // A refused path keeps the dialog open.
        if (dialog->isVisible()) dialog->BZrusit->click();
    });
    const std::optional<QString> dir = DialogDirectoryChooser().choose(
        nullptr, QStringLiteral("Nová databáze"), home.path(),
        create ? TypedDirectory::kCreate : TypedDirectory::kMustExist);
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
    QCOMPARE(dir.has_value(), chosen);
    if (chosen) QCOMPARE(*dir, path);
    QCOMPARE(QFileInfo(path).isDir(), chosen);
}

void TestNavigator::compactionRemovesDeletedRides() {
    Started s;
    Table& rides = s.w.database().Table1();
    for (int i = 0; i < 10; ++i) {
        QVERIFY(rides.append().ok());
        QVERIFY(rides.setValue("DELKA", 1.0 * i).ok());
        QVERIFY(rides.post().ok());
    }
    for (int i = 0; i < 4; ++i) {
        QVERIFY(rides.locate("DELKA", 2.0 * i).ok());
        QVERIFY(rides.deleteRecord().ok());
    }
    const QString file = QDir(s.w.dataDir()).filePath("jizdy.dbf");
    const qint64 size = QFileInfo(file).size();
    s.nav->MDKomprese->trigger();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QVERIFY(rides.isOpen() && s.w.database().TTHLD().isOpen());
    QCOMPARE(rides.recordCount(), 6);
    QCOMPARE(TableRows(s.w.dataDir(), "jizdy.dbf").column("DELKA"),
             QStringList({"1", "3", "5", "7", "8", "9"}));
    QVERIFY(QFileInfo(file).size() < size);
    QCOMPARE(s.w.statusPanels()->text(), QString());
}

void TestNavigator::compactionTellsWhichTablesItCouldNotPack() {
    Started s;
    Table& bikes = s.w.database().TTKOL();
    QVERIFY(bikes.deleteRecord().ok());
    // Another program has the bikes table open.
    Table other(s.w.dataDir().toStdString(), "typ_kol.dbf");
    QVERIFY(other.open().ok());
    s.messages.expect(QStringLiteral("Komprese některých tabulek se nepodařila, tyto tabulky "
                                     "zůstaly beze změny:\nTabulku \"%1\" právě používá jiný "
                                     "program nebo okno. Zavřete je a akci opakujte.")
                          .arg(QDir(s.w.dataDir()).filePath("typ_kol.dbf")),
                      MsgKind::kWarning);
    s.nav->MDKomprese->trigger();
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QVERIFY(bikes.isOpen());
    QCOMPARE(bikes.recordCount(), 1);
}

void TestNavigator::buttonsWithoutTheirScreenAreDisabled_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    const char* const rows[][3] = {
        {"RButton1", "Nová jízda", "Zadání nové jízdy"},
        {"RButton2", "Nová trať", "Zadání nové tratě"},
        {"RButton3", "Nové kolo", "Zadání nového typu kola"},
        {"RButton5", "Editace kol", "Editace a odstranění typu kola"},
        {"RButton6", "Editace tratí", "Editace a odstranění tratí"},
        {"RButton4", "Nový typ jízd", "Zadání nového typu jízd"},
        {"RButton7", "Editace typu jízd", "Editace a odstranění typu jízd"},
        {"RButton8", "Editace jízd", "Editace a odstranění jízd"},
        {"RBTHL", "Nové hlídání tepu", "Zadání nového typu hlídání limitu tepové frekvence"},
        {"RBETHL", "Editace hlídání tepu",
         "Editace a odstranění typu hlídání limitu tepové frekvence"},
        {"RButton10", "Obecné", "Obecné vyhodnocení"},
        {"RButton11", "Statistika", "Vyhodnocení statistických údajů jízd {max.,min...}"},
        {"RButton12", "Statistika tratí",
         "Vyhodnocení statistických údajů tratí (tratě) {max.,min...}"},
        {"RButton13", "Statistika kol", "Vyhodnocení statistických údajů kol (kola) {max.,min...}"},
        {"RButton14", "Statistika hl. t. jízd",
         "Vyhodnocení statistických údajů hlavních typů jízd (jízdy) {max.,min...}"},
        {"RButton15", "Statistika ved. t. jízd",
         "Vyhodnocení statistických údajů vedlejších typů jízd (jízdy) {max.,min...}"},
        {"RButton18", "Statistika hlídání tepu",
         "Vyhodnocení statistických údajů typu hlídání limitu tepové frekvence {max.,min...}"},
        {"RButton16", "Statistika měsíční",
         "Vyhodnocení statistických údajů jednotlivých jízd po měsících {max.,min...}"},
        {"RButton17", "Extrémy", "Vyhodnocení extrémů jednotlivých jízd"},
    };
    for (const auto& r : rows) {
        QTest::newRow(r[0]) << QString::fromUtf8(r[0]) << QString::fromUtf8(r[1])
                            << QString::fromUtf8(r[2]);
    }
}

void TestNavigator::buttonsWithoutTheirScreenAreDisabled() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    Started s;
    auto* button = s.nav->findChild<RoundButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->statusTip(), hint);
    QVERIFY(!button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(s.navigator(), s.nav);
}

// A screen registered under its id is found by its class name too, and no
// two ids share a name.
void TestNavigator::screensAreFoundByTheirClassName() {
    QSet<QString> names;
    for (int i = 0; i < static_cast<int>(ScreenId::kEnd); ++i) {
        const auto id = static_cast<ScreenId>(i);
        const QString name = QString::fromLatin1(ScreenClassName(id));
        QVERIFY2(name.startsWith(u"TF"), qPrintable(name));
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        QVERIFY(!FindScreen(name));
        RegisterScreen(id, [](TForm_hl& m) { return new TaskScreen(m); });
        QVERIFY2(FindScreen(name), qPrintable(name));
    }
    QVERIFY(!FindScreen(u"TFKonfig"));
}

void TestNavigator::editRidesOnAnEmptyDatabaseKeepsTheNavigator() {
    RegisterScreen(ScreenId::kEditJizd, [](TForm_hl& m) { return new TaskScreen(m); });
    Started s;
    QVERIFY(s.nav->RButton8->isEnabled());
    s.messages.expect(QStringLiteral("Databáze neobsahuje žádnou jízdu\n=> nelze editovat."),
                      MsgKind::kInformation);
    QTest::mouseClick(s.nav->RButton8, Qt::LeftButton);
    QVERIFY2(s.messages.problems().isEmpty(), qPrintable(s.messages.problems()));
    QVERIFY(!s.messages.shown.constFirst().beep);
    QCOMPARE(s.navigator(), s.nav);
    QCOMPARE(TaskScreen::alive, 0);
}

void TestNavigator::taskScreenReplacesTheNavigatorAndBringsItBack() {
    RegisterScreen(ScreenId::kEditJizd, [](TForm_hl& m) { return new TaskScreen(m); });
    RegisterScreen(ScreenId::kNovaTrat, [](TForm_hl& m) { return new TaskScreen(m); });
    Started s;
    Table& rides = s.w.database().Table1();
    QVERIFY(rides.append().ok() && rides.post().ok());
    QTest::mouseClick(s.nav->RButton8, Qt::LeftButton);
    QVERIFY(!s.navigator());
    QCOMPARE(TaskScreen::alive, 1);
    auto* task = dynamic_cast<TaskScreen*>(s.w.activeScreen());
    QVERIFY(task);
    QVERIFY(task->subWindow()->isMaximized());
    QVERIFY(task->PoZasKonec->isChecked());
    QCOMPARE(task->BKONEC->text(), QStringLiteral("ZRUŠ"));
    QMenuBar* bar = s.w.menuBar();
    QCOMPARE(bar->actions().size(), 1);  // only "&Nápověda" while the task is open
    QTest::mouseClick(task->BKONEC, Qt::LeftButton);
    TFNavig* back = s.navigator();
    QVERIFY(back);
    QCOMPARE(TaskScreen::alive, 0);
    QCOMPARE(s.w.activeScreen(), back);
    QCOMPARE(s.w.mdiArea()->subWindowList().size(), 1);
    // Esc is the cancel key of a task screen.
    QTest::mouseClick(back->RButton2, Qt::LeftButton);
    Flush();
    QCOMPARE(TaskScreen::alive, 1);
    QTest::keyClick(s.w.activeScreen(), Qt::Key_Escape);
    QVERIFY(s.navigator());
    QCOMPARE(TaskScreen::alive, 0);
}

void TestNavigator::sideTaskReturnsToItsCaller() {
    RegisterScreen(ScreenId::kNovaJizda, [](TForm_hl& m) { return new TaskScreen(m); });
    Started s;
    QTest::mouseClick(s.nav->RButton1, Qt::LeftButton);
    Flush();
    auto* caller = dynamic_cast<TaskScreen*>(s.w.activeScreen());
    QVERIFY(caller);
    for (bool callerGone : {false, true}) {
        auto* side = new TaskScreen(s.w);
        side->ReturnToNavigator = false;
        side->ReturnForm = caller;
        caller->subWindow()->showMinimized();
        s.w.showScreen(side);
        if (callerGone) caller->closeScreen();
        Flush();
        QTest::mouseClick(side->BKONEC, Qt::LeftButton);
        Flush();
        if (!callerGone) {
            QVERIFY(!s.w.findChild<TFNavig*>());
            QVERIFY(caller->subWindow()->isMaximized());
            QCOMPARE(TaskScreen::alive, 1);
        } else {
            // The caller is gone: the navigator comes back instead of nothing.
            QVERIFY(s.w.findChild<TFNavig*>());
            QCOMPARE(TaskScreen::alive, 0);
        }
    }
}

void TestNavigator::evaluationButtonsHandTheirPreset_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QueryPreset>("preset");
    QueryPreset general;
    QTest::newRow("Obecné") << "RButton10" << general;
    QueryPreset routes;
    routes.columnList = 1;
    routes.useGroupBy = true;
    routes.selectSuffix = routes.groupSuffix = routes.orderSuffix = "JIZDY.TRS_C";
    QTest::newRow("Statistika tratí") << "RButton12" << routes;
    QueryPreset watch = routes;
    watch.columnList = 6;
    watch.selectSuffix = watch.groupSuffix = watch.orderSuffix = "JIZDY.THL_C";
    QTest::newRow("Statistika hlídání tepu") << "RButton18" << watch;
    QueryPreset months;
    months.columnList = 5;
    months.orderByFirstColumn = false;
    months.useGroupBy = true;
    months.selectPrefix = "JIZDY.MESIC_C AS MESIC";
    months.groupPrefix = months.orderPreset = "JIZDY.MESIC_C";
    QTest::newRow("Statistika měsíční") << "RButton16" << months;
}

void TestNavigator::evaluationButtonsHandTheirPreset() {
    QFETCH(QString, name);
    QFETCH(QueryPreset, preset);
    std::optional<QueryPreset> got;
    RegisterQueryBuilder([&got](TForm_hl& m, const QueryPreset& p) {
        got = p;
        return new TaskScreen(m);
    });
    Started s;
    QTest::mouseClick(s.nav->findChild<RoundButton*>(name), Qt::LeftButton);
    QVERIFY(got.has_value());
    QVERIFY(*got == preset);
    QVERIFY(!s.navigator());
}

void TestNavigator::navigatorShowsRouteZeroAgain() {
    RegisterScreen(ScreenId::kNovaJizda, [](TForm_hl& m) { return new TaskScreen(m); });
    Started s;
    QTest::mouseClick(s.nav->RButton1, Qt::LeftButton);
    Flush();
    Table& routes = s.w.database().TTRS();
    routes.setFiltered(true);
    QCOMPARE(routes.recordCount(), 1);
    QTest::mouseClick(dynamic_cast<TaskScreen*>(s.w.activeScreen())->BKONEC, Qt::LeftButton);
    QVERIFY(s.navigator());
    QVERIFY(!routes.filtered());
    QCOMPARE(routes.recordCount(), 2);
}

void TestNavigator::closingTheProgramRunsNoExitChecks_data() {
    QTest::addColumn<bool>("byClose");
    QTest::newRow("the rider closes the window") << true;
    QTest::newRow("the window is destroyed") << false;
}

void TestNavigator::closingTheProgramRunsNoExitChecks() {
    QFETCH(bool, byClose);
    RegisterScreen(ScreenId::kNovaJizda, [](TForm_hl& m) {
        auto* screen = new TaskScreen(m);
        auto* edit = new QLineEdit(screen);
        edit->setObjectName(QStringLiteral("Edit1"));
        auto* binding = new LineEditBinding(m.database().TTKOL(), "KOL_ZNA", edit);
        binding->setValidator([](const Value&) { return QStringLiteral("Nikdy"); });
        return screen;
    });
    TempHome home;
    ScriptedMessages messages;
    auto w = std::make_unique<TForm_hl>();
    w->start();
    w->activateWindow();
    QTest::mouseClick(w->findChild<TFNavig*>()->RButton1, Qt::LeftButton);
    Flush();
    auto* edit = w->activeScreen()->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("Favorit"));
    if (byClose) QVERIFY(w->close());
    w.reset();
    QVERIFY2(messages.problems().isEmpty(), qPrintable(messages.problems()));
}

QTEST_MAIN(TestNavigator)
#include "tst_navigator.moc"
