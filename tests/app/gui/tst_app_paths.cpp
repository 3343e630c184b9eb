// Where the program keeps the rider's files and finds its help, for the
// layouts it runs from: the build tree or a portable copy (help beside the
// program) and an installed tree (bin/ and share/kolvio/help/).
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_paths.h"

using namespace kolvio;

class TestAppPaths : public QObject {
    Q_OBJECT
private slots:
    void layoutDecidesHelpAndSettingsFolder_data();
    void layoutDecidesHelpAndSettingsFolder();
    void homeVariableWinsInEveryLayout_data();
    void homeVariableWinsInEveryLayout();
};

namespace {

// Makes `folders` (relative to `root`) and returns root + `programDir`.
QString MakeTree(const QTemporaryDir& root, const QStringList& folders, const QString& programDir) {
    for (const QString& folder : folders)
        QDir(root.path()).mkpath(folder);
    return QDir(root.path()).filePath(programDir);
}

}  // namespace

void TestAppPaths::layoutDecidesHelpAndSettingsFolder_data() {
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("helpDir");     // relative to the tree
    QTest::addColumn<bool>("besideProgram");  // settings and DATA beside the program

    QTest::newRow("portable copy: help beside, settings beside")
        << QStringList{"kolvio/help"} << "kolvio" << false << "kolvio/help" << true;
    QTest::newRow("installed under /usr: help in share, settings in the data folder")
        << QStringList{"usr/bin", "usr/share/kolvio/help"} << "usr/bin" << true
        << "usr/share/kolvio/help" << false;
    QTest::newRow("installed under a prefix in the home folder (writable bin)")
        << QStringList{"home/jezdec/.local/bin", "home/jezdec/.local/share/kolvio/help"}
        << "home/jezdec/.local/bin" << true << "home/jezdec/.local/share/kolvio/help" << false;
    QTest::newRow("help beside wins over an installed tree around it")
        << QStringList{"usr/bin/help", "usr/share/kolvio/help"} << "usr/bin" << false
        << "usr/bin/help" << true;
    QTest::newRow("no help anywhere: looked for beside, the message names that place")
        << QStringList{"bare"} << "bare" << false << "bare/help" << true;
}

void TestAppPaths::layoutDecidesHelpAndSettingsFolder() {
    QFETCH(QStringList, folders);
    QFETCH(QString, programDir);
    QFETCH(bool, installed);
    QFETCH(QString, helpDir);
    QFETCH(bool, besideProgram);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString program = MakeTree(root, folders, programDir);
    const QString userData = QDir(root.path()).filePath(QStringLiteral("user-data/kolvio"));

    QCOMPARE(IsInstalledLayout(program), installed);
    QCOMPARE(QDir::cleanPath(FindHelpDir(program)),
             QDir::cleanPath(QDir(root.path()).filePath(helpDir)));
    // The temporary tree is writable, as /usr/bin is for root: only the
    // layout keeps an installed program from writing beside itself.
    QCOMPARE(ChooseAppDir(QString(), program, userData),
             QDir::cleanPath(besideProgram ? program : userData));
}

void TestAppPaths::homeVariableWinsInEveryLayout_data() {
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("programDir");
    QTest::newRow("portable") << QStringList{"kolvio/help"} << "kolvio";
    QTest::newRow("installed") << QStringList{"usr/bin", "usr/share/kolvio/help"} << "usr/bin";
}

void TestAppPaths::homeVariableWinsInEveryLayout() {
    QFETCH(QStringList, folders);
    QFETCH(QString, programDir);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString program = MakeTree(root, folders, programDir);
    const QString home = QDir(root.path()).filePath(QStringLiteral("kolo/../kolo"));
    QCOMPARE(ChooseAppDir(home, program, QStringLiteral("/nonexistent")),
             QDir(root.path()).filePath(QStringLiteral("kolo")));
}

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_app_paths.moc"
