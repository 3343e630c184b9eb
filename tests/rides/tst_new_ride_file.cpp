// A ride read from a device's file on the new-ride screen: "Načíst jízdu ze
// souboru..." and a dropped file fill the date and the figures through the
// boxes' checks; the rider picks the rest and stores the ride with
// "PŘIDEJ".
#include <QCheckBox>
#include <QDateEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "rides/fnovajizda.h"
#include "rides/ride_file_chooser.h"
#include "tests/activity/ride_track.h"
#include "tests/rides/ride_gui_support.h"

namespace kolvio::testing {

// Gives the scripted files in turn; nullopt (cancel) when none is left.
class ScriptedRideFiles final : public RideFileChooser {
public:
    ScriptedRideFiles() { previous_ = SetRideFileChooser(this); }
    ~ScriptedRideFiles() override { SetRideFileChooser(previous_); }

    void answer(std::optional<QString> file) { answers_.append(file); }
    std::optional<QString> choose(QWidget*, const QString& startDir) override {
        startDirs.append(startDir);
        if (answers_.isEmpty()) return std::nullopt;
        return answers_.takeFirst();
    }

    QStringList startDirs;

private:
    QList<std::optional<QString>> answers_;
    RideFileChooser* previous_;
};

class TestNewRideFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void aTcxFileFillsTheScreenAndTheRideIsStored();
    void aBadFileOrACancelChangesNothing();
    void aFigureOutOfBoundsIsShownAndRefusedAsIfTyped();
    void aFileDroppedOnABoxFillsTheScreen();

private:
    // The ride of `spec` as a file of gpsbabel's `format`, or the GPX itself.
    QString rideFile(const QString& name, const TrackSpec& spec, const char* format = nullptr);

    QTemporaryDir files_;
};

void TestNewRideFile::initTestCase() {
    if (!HaveGpsbabel()) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("gpsbabel is missing (tools/debian-packages.txt)");
        QSKIP("gpsbabel is not installed");
    }
}

QString TestNewRideFile::rideFile(const QString& name, const TrackSpec& spec, const char* format) {
    const std::string gpx = files_.filePath(name + QStringLiteral(".gpx")).toStdString();
    WriteTrackGpx(gpx, spec);
    if (!format) return QString::fromStdString(gpx);
    const QString out =
        files_.filePath(name + QStringLiteral(".") +
                        QString::fromLatin1(format == std::string("gtrnctr") ? "tcx" : "fit"));
    return ConvertTrack(gpx, format, out.toStdString()) ? out : QString();
}

void TestNewRideFile::aTcxFileFillsTheScreenAndTheRideIsStored() {
    RideSession s;
    ScriptedRideFiles chooser;
    TFNovaJizda* f = s.press<TFNovaJizda>(&TFNavig::RButton1);
    QVERIFY(f);
    QCOMPARE(f->MNactiJizdu->text(), QStringLiteral("Načíst jízdu ze souboru..."));
    QVERIFY(PickItem(f->DBLookupComboBox6, QStringLiteral("vyjížďka")));
    QVERIFY(PickItem(f->DBLookupComboBox9, QStringLiteral("SILNIČNÍ ZIMNÍ")));
    TypeInto(f->Edit1, QStringLiteral("Ze souboru"));
    const QString tcx = rideFile(QStringLiteral("hodina"),
                                 {.day = 12, .seconds = 3600, .heartRate = 140}, "gtrnctr");
    QVERIFY(!tcx.isEmpty());
    chooser.answer(tcx);
    f->MNactiJizdu->trigger();
    Settle();
    CHECK_MESSAGES(s.msgs);

    QCOMPARE(f->DateTimePicker1->date(), QDate(2024, 6, 12));
    QCOMPARE(f->ETRP->text(), QStringLiteral("28.80"));
    QCOMPARE(f->ESTP->text(), QStringLiteral("1:00:00"));
    QCOMPARE(f->EMAX->text(), QStringLiteral("28.8"));
    QCOMPARE(f->EAVS->text(), QStringLiteral("28.80"));
    QVERIFY(f->sr_mer->isChecked() && f->sr_avg->isEnabled());
    QCOMPARE(f->sr_avg->text(), QStringLiteral("140"));
    QCOMPARE(f->sr_max->text(), QStringLiteral("140"));
    QCOMPARE(f->sr_plc->text(), QStringLiteral("0:00:00"));  // no set limit yet
    // The rider's choices stay; nothing is stored yet.
    QCOMPARE(f->DBLookupComboBox6->currentText(), QStringLiteral("vyjížďka"));
    QCOMPARE(f->DBLookupComboBox9->currentText(), QStringLiteral("SILNIČNÍ ZIMNÍ"));
    QCOMPARE(f->Edit1->text(), QStringLiteral("Ze souboru"));
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});

    // A set limit typed afterwards: the time above it comes from the file.
    Enter(f->sr_lim, QStringLiteral("130"), f->Edit1);
    QCOMPARE(f->sr_plc->text(), QStringLiteral("1:00:00"));
    QCOMPARE(f->figures().share, 100.0);
    QVERIFY(PickItem(f->hl_c_1, QStringLiteral("hlídaný")));

    // The file gives no energy: the save asks, as for a typed ride.
    s.msgs.expect(QStringLiteral("Zadaná data měření srdečního tepu\nobsahují nulové hodnoty - "
                                 "pokračovat?"),
                  MsgKind::kConfirmation, MsgResult::kYes);
    s.msgs.expect(QStringLiteral("Opravdu přidat do databáze?"), MsgKind::kConfirmation,
                  MsgResult::kYes);
    QTest::mouseClick(f->Button2, Qt::LeftButton);
    Settle();
    CHECK_MESSAGES(s.msgs);
    const std::vector<StoredRide> rides = ReadRides(s.dir());
    QCOMPARE(rides.size(), size_t{1});
    StoredRide r = rides[0];
    QCOMPARE(r["DATUM"].asDate(), *Date::FromYmd(2024, 6, 12));
    QCOMPARE(r["MESIC_C"].asInt(), int64_t{2024006});
    QCOMPARE(r["DELKA"].asDouble(), 28.8);
    QCOMPARE(r["CAS"].asDouble(), 1.0);
    QCOMPARE(r["RYCHL_MAX"].asDouble(), 28.8);
    QVERIFY(qAbs(r["PRUMER"].asDouble() - 28.8) < 1e-9);
    QVERIFY(r["SR_MER"].asBool());
    QCOMPARE(r["SR_AVG"].asDouble(), 140.0);
    QCOMPARE(r["SR_LIM"].asDouble(), 130.0);
    QCOMPARE(r["SR_PLC"].asDouble(), 1.0);
    QCOMPARE(r["SR_PLP"].asDouble(), 100.0);
    QCOMPARE(r["THL_C"].asInt(), int64_t{2});
    QCOMPARE(r["TRNZ_C"].asInt(), int64_t{2});
    QCOMPARE(r["KOL_C"].asInt(), int64_t{2});
    QCOMPARE(r["POPIS1"].asText(), std::string("Ze souboru"));

    // The chooser opens next time in the folder of the file.
    f = s.press<TFNovaJizda>(&TFNavig::RButton1);
    QVERIFY(f);
    f->MNactiJizdu->trigger();
    Settle();
    QCOMPARE(chooser.startDirs, QStringList({QString(), files_.path()}));
    CHECK_MESSAGES(s.msgs);
}

void TestNewRideFile::aBadFileOrACancelChangesNothing() {
    RideSession s;
    ScriptedRideFiles chooser;
    TFNovaJizda* f = s.press<TFNovaJizda>(&TFNavig::RButton1);
    QVERIFY(f);
    Enter(f->ETRP, QStringLiteral("42.5"), f->ESTP);
    Enter(f->ESTP, QStringLiteral("1:30:00"), f->EMAX);
    const QDate shown = f->DateTimePicker1->date();
    const QString empty = files_.filePath(QStringLiteral("prazdna.fit"));
    WriteFile(empty, QByteArray());
    const QString text = files_.filePath(QStringLiteral("text.gpx"));
    WriteFile(text, QByteArray("jízda 42 km"));
    chooser.answer(empty);
    chooser.answer(text);
    chooser.answer(std::nullopt);
    s.msgs.expect(QStringLiteral("Soubor \"%1\" je prázdný*").arg(empty), MsgKind::kError);
    s.msgs.expect(QStringLiteral("Soubor \"%1\" není záznam jízdy*").arg(text), MsgKind::kError);
    for (int i = 0; i < 3; ++i) {
        f->MNactiJizdu->trigger();
        Settle();
    }
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(f->ETRP->text(), QStringLiteral("42.5"));
    QCOMPARE(f->ESTP->text(), QStringLiteral("1:30:00"));
    QCOMPARE(f->figures().distance, 42.5);
    QCOMPARE(f->figures().hours, 1.5);
    QCOMPARE(f->DateTimePicker1->date(), shown);
    QCOMPARE(ReadRides(s.dir()).size(), size_t{0});
}

void TestNewRideFile::aFigureOutOfBoundsIsShownAndRefusedAsIfTyped() {
    RideSession s;
    ScriptedRideFiles chooser;
    TFNovaJizda* f = s.press<TFNovaJizda>(&TFNavig::RButton1);
    QVERIFY(f);
    ClickCheckBox(f->sr_mer);  // the last ride was measured, say
    // 150 m/s for a minute, without heart rate.
    chooser.answer(
        rideFile(QStringLiteral("rychla"), {.day = 3, .seconds = 60, .metresPerSecond = 150}));
    s.msgs.expect(QStringLiteral("Zadané číslo: musí být menší jak 500"), MsgKind::kWarning);
    f->MNactiJizdu->trigger();
    Settle();
    CHECK_MESSAGES(s.msgs);
    QCOMPARE(f->EMAX->text(), QStringLiteral("540.0"));
    QCOMPARE(f->figures().maxSpeed, 0.0);
    QVERIFY(HasFocus(f->EMAX));
    QCOMPARE(f->figures().distance, 9.0);
    QCOMPARE(f->ESTP->text(), QStringLiteral("0:01:00"));
    QVERIFY(!f->sr_mer->isChecked());  // the file has no heart rate
    // The rider corrects the box and stores the ride.
    Enter(f->EMAX, QStringLiteral("54.0"), f->Edit1);
    s.msgs.expect(QStringLiteral("Opravdu přidat do databáze?"), MsgKind::kConfirmation,
                  MsgResult::kYes);
    QTest::mouseClick(f->Button2, Qt::LeftButton);
    Settle();
    CHECK_MESSAGES(s.msgs);
    const std::vector<StoredRide> rides = ReadRides(s.dir());
    QCOMPARE(rides.size(), size_t{1});
    StoredRide r = rides[0];
    QCOMPARE(r["RYCHL_MAX"].asDouble(), 54.0);
    QCOMPARE(r["DATUM"].asDate(), *Date::FromYmd(2024, 6, 3));
    QVERIFY(!r["SR_MER"].asBool());
}

void TestNewRideFile::aFileDroppedOnABoxFillsTheScreen() {
    RideSession s;
    TFNovaJizda* f = s.press<TFNovaJizda>(&TFNavig::RButton1);
    QVERIFY(f);
    const QString fit = rideFile(QStringLiteral("pul"),
                                 {.day = 14, .seconds = 1800, .metresPerSecond = 10}, "garmin_fit");
    QVERIFY(!fit.isEmpty());
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(fit)});
    mime.setText(QUrl::fromLocalFile(fit).toString());
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f->ETRP, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f->ETRP, &drop);
    Settle();
    CHECK_MESSAGES(s.msgs);
    // The figures, not the file's name, in the box.
    QCOMPARE(f->ETRP->text(), QStringLiteral("18.00"));
    QCOMPARE(f->ESTP->text(), QStringLiteral("0:30:00"));
    QCOMPARE(f->EAVS->text(), QStringLiteral("36.00"));
    QCOMPARE(f->DateTimePicker1->date(), QDate(2024, 6, 14));
    QCOMPARE(s.db().Table1().getDate("DATUM"), std::optional<Date>(*Date::FromYmd(2024, 6, 14)));
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestNewRideFile)
#include "tst_new_ride_file.moc"
