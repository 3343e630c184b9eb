// One running copy per user: a later start hands over to the running one,
// also across processes, and a socket left by a crashed copy is taken over.
//
// Run with "--helper NAME", the program is one such start: it prints its role
// and, when it is the first, waits for a hand-over and prints "activated".
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUuid>
#include <cstdio>

#include "app/single_instance.h"

using namespace kolvio;

namespace {

QString UniqueName() {
    return QStringLiteral("kolvio-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

int RunHelper(const QString& name) {
    SingleInstance instance(name);
    const SingleInstance::Role role = instance.start();
    std::puts(role == SingleInstance::Role::kFirst        ? "first"
              : role == SingleInstance::Role::kHandedOver ? "handed-over"
                                                          : "alone");
    std::fflush(stdout);
    if (role != SingleInstance::Role::kFirst) return 0;
    QObject::connect(&instance, &SingleInstance::activationRequested, [] {
        std::puts("activated");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(2); });
    return QCoreApplication::exec();
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void secondStartHandsOver();
    void leftoverSocketIsTakenOver();
    void secondProcessHandsOverAndEnds();
    void nameHoldsTitleAndUser_data();
    void nameHoldsTitleAndUser();
};

void TestSingleInstance::secondStartHandsOver() {
    const QString name = UniqueName();
    SingleInstance first(name);
    QCOMPARE(first.start(), SingleInstance::Role::kFirst);
    QSignalSpy activated(&first, &SingleInstance::activationRequested);
    SingleInstance second(name);
    QCOMPARE(second.start(), SingleInstance::Role::kHandedOver);
    QTRY_COMPARE(activated.count(), 1);
    SingleInstance third(name);
    QCOMPARE(third.start(), SingleInstance::Role::kHandedOver);
    QTRY_COMPARE(activated.count(), 2);
}

void TestSingleInstance::leftoverSocketIsTakenOver() {
    const QString name = UniqueName();
    // A socket file nobody listens on, as a crashed copy leaves it.
    const QByteArray path = QDir(QDir::tempPath()).filePath(name).toLocal8Bit();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.constData(), sizeof(addr.sun_path) - 1);
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));

    SingleInstance restarted(name);
    QCOMPARE(restarted.start(), SingleInstance::Role::kFirst);
    QSignalSpy activated(&restarted, &SingleInstance::activationRequested);
    SingleInstance later(name);
    QCOMPARE(later.start(), SingleInstance::Role::kHandedOver);
    QTRY_COMPARE(activated.count(), 1);
}

void TestSingleInstance::secondProcessHandsOverAndEnds() {
    const QString name = UniqueName();
    const QString self = QCoreApplication::applicationFilePath();
    QProcess first;
    first.start(self, {QStringLiteral("--helper"), name});
    QVERIFY(first.waitForReadyRead(5000));
    QCOMPARE(first.readLine().trimmed(), QByteArray("first"));
    QProcess second;
    second.start(self, {QStringLiteral("--helper"), name});
    QVERIFY(second.waitForFinished(5000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardOutput().trimmed(), QByteArray("handed-over"));
    QVERIFY(first.waitForFinished(5000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(first.readAllStandardOutput().trimmed(), QByteArray("activated"));
}

void TestSingleInstance::nameHoldsTitleAndUser_data() {
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QByteArray("jezdec") << "KOLVIO-Ostrelab-jezdec";
    QTest::newRow("odd characters") << QByteArray("a b/c.d") << "KOLVIO-Ostrelab-a_b_c_d";
}

void TestSingleInstance::nameHoldsTitleAndUser() {
    QFETCH(QByteArray, user);
    QFETCH(QString, name);
    const QByteArray saved = qgetenv("USER");
    qputenv("USER", user);
    QCOMPARE(SingleInstanceName(), name);
    qputenv("USER", saved);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--helper")
        return RunHelper(QString::fromLocal8Bit(argv[2]));
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_single_instance.moc"
