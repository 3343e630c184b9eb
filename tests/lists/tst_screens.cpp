// What every screen gets from the shell, checked on the real screens: the
// aspect-keeping resize (nothing cut off at the reference or the smallest
// size, the same screen larger when the window is large, a grid's current
// row in view), the first input focused, Tab in visual order, Enter pressing
// buttons, and a help page of its own behind F1.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>

#include "app/aspect_scaler.h"
#include "app/fkonfig.h"
#include "app/help_viewer.h"
#include "app/widgets/db_grid.h"
#include "tests/lists/list_gui_support.h"

namespace kolvio::testing {

namespace {

// A ride, so that the ride editor opens.
void AddRide(ListSession& s) {
    AddRow(s.db().Table1(), {{"DATUM", *Date::FromYmd(2024, 5, 3)},
                             {"MESIC_C", 2024005},
                             {"ROK", 2024},
                             {"TRNZ_C", 2},
                             {"TRN_C", 201},
                             {"TRS_C", 1},
                             {"TRS_SMER", 1},
                             {"KOL_C", 1},
                             {"DELKA", 42.5},
                             {"CAS", 1.5},
                             {"RYCHL_MAX", 48.4},
                             {"PRUMER", 28.333},
                             {"OSOB", 1},
                             {"SR_MER", false},
                             {"THL_C", 0}});
}

// Opens a screen by its name: the navigator, the configuration, a list or
// ride screen, in place of the navigator as the program does; the
// heart-rate profile from the new-ride screen's "info".
TFZakl* Open(ListSession& s, const QString& name) {
    if (name == u"TFNavig") return s.navigatorScreen();
    if (name == u"TFEditJizd") AddRide(s);
    TFNavig* navigator = s.navigatorScreen();
    if (name == u"TFSrdce") {
        TFZakl* ride = Open(s, QStringLiteral("TFNovaJizda"));
        auto* info =
            ride ? ride->findChild<QPushButton*>(QStringLiteral("sr_vek_lim_vyp")) : nullptr;
        if (!info) return nullptr;
        info->click();
    } else if (name == u"TFKonfig") {
        navigator->MKonfNastav->trigger();
    } else if (name == u"TFDotaz1") {
        navigator->RButton10->click();  // "Obecné" opens the query builder
    } else {
        const ScreenFactory factory = FindScreen(name);
        if (!factory) return nullptr;
        navigator->closeScreen();
        Settle();
        s.form->showScreen(factory(*s.form));
    }
    Settle();
    return s.form->activeScreen();
}

QStringList AllScreens() {
    return {"TFNavig",       "TFKonfig",   "TFNovaJizda", "TFEditJizd", "TFSrdce",
            "TFNovaTrat",    "TFEditTrat", "TFNoveKolo",  "TFEditKolo", "TFNovyTypJizd",
            "TFEditTypJizd", "TFNoveTHL",  "TFEditthl",   "TFDotaz1"};
}

// Names of the controls holding the focus, following Tab (or Shift+Tab)
// `steps` times from the first input.
QStringList Walk(TFZakl* screen, int steps, bool forward) {
    QStringList names;
    for (int i = 0; i < steps; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus, Qt::Key_Tab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        focus = QApplication::focusWidget();
        // A drop-down list holds the focus in its own line edit.
        while (focus && focus->objectName().isEmpty() && focus->parentWidget() != screen)
            focus = focus->parentWidget();
        names.append(focus ? focus->objectName() : QString());
    }
    return names;
}

QString HelpShown() {
    QWidget* help = HelpWindow();
    if (!help || !help->isVisible()) return {};
    auto* browser = help->findChild<QTextBrowser*>();
    return browser ? QFileInfo(browser->source().toLocalFile()).completeBaseName() : QString();
}

}  // namespace

class TestScreens : public QObject {
    Q_OBJECT
private slots:
    void everyScreenFitsAndScalesAsAWhole_data();
    void everyScreenFitsAndScalesAsAWhole();
    void everyScreenOpensWithItsFirstInputFocused_data();
    void everyScreenOpensWithItsFirstInputFocused();
    void tabFollowsWhatTheRiderSees_data();
    void tabFollowsWhatTheRiderSees();
    void enterAndSpacePressTheFocusedButton_data();
    void enterAndSpacePressTheFocusedButton();
    void f1OpensTheScreensOwnHelpPageAndEscClosesIt_data();
    void f1OpensTheScreensOwnHelpPageAndEscClosesIt();
    void eachPageOfTheNewRideTypeScreenHasItsOwnHelp();
};

void TestScreens::everyScreenFitsAndScalesAsAWhole_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QSize>("window");
    for (const QString& name : AllScreens()) {
        QTest::addRow("%s, reference size", qPrintable(name)) << name << QSize(632, 430);
        QTest::addRow("%s, smallest size", qPrintable(name)) << name << QSize(480, 360);
        QTest::addRow("%s, large window", qPrintable(name)) << name << QSize(1600, 1000);
    }
}

void TestScreens::everyScreenFitsAndScalesAsAWhole() {
    QFETCH(QString, screen);
    QFETCH(QSize, window);
    ListSession s;
    s.form->resize(632, 430);
    Settle();
    TFZakl* opened = Open(s, screen);
    QVERIFY(opened);
    const qreal captionAtReference = opened->Label1->font().pointSizeF();
    // Coming from a large window: a screen scaled up shrinks again.
    s.form->resize(1900, 1100);
    Settle();
    s.form->resize(window);
    Settle();
    QCOMPARE(s.form->size(), window);

    // The screen fills the window's area and no more.
    QWidget* area = s.form->mdiArea()->viewport();
    QCOMPARE(QRect(opened->mapTo(area, QPoint(0, 0)), opened->size()), area->rect());
    // Nothing is cut off: the layout's minimum fits, and every control
    // shown lies inside the screen.
    const QSize minimum = opened->layout()->minimumSize();
    QVERIFY2(minimum.width() <= opened->width() && minimum.height() <= opened->height(),
             qPrintable(QStringLiteral("needs %1 x %2, has %3 x %4")
                            .arg(minimum.width())
                            .arg(minimum.height())
                            .arg(opened->width())
                            .arg(opened->height())));
    if (qEnvironmentVariableIsSet("KOLVIO_DEBUG_FIT")) {
        for (QWidget* w : opened->findChildren<QWidget*>()) {
            if (!w->isVisible()) continue;
            qDebug() << w->metaObject()->className() << w->objectName() << w->geometry()
                     << w->minimumSizeHint() << w->sizeHint() << w->font().pointSizeF();
        }
        qDebug() << "screen" << opened->size() << opened->layout()->minimumSize();
    }
    // A page in a scroll box shows whole, without scrolling; only the ride
    // editor, the fullest screen, scrolls its page in the smallest window
    // (its buttons stay below the page, in reach).
    const bool mayScroll = screen == u"TFEditJizd" && window == QSize(480, 360);
    for (const QScrollArea* box : opened->findChildren<QScrollArea*>()) {
        if (mayScroll) break;
        QVERIFY(!box->verticalScrollBar()->isVisible());
        QVERIFY(!box->horizontalScrollBar()->isVisible());
    }
    const auto scrolled = [](const QWidget* w) {
        for (; w; w = w->parentWidget()) {
            if (qobject_cast<const QScrollArea*>(w)) return true;
        }
        return false;
    };
    for (QWidget* w : opened->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->isWindow() || !w->parentWidget()->isVisible()) continue;
        if (mayScroll && scrolled(w->parentWidget())) continue;
        const QRect placed(w->mapTo(opened, QPoint(0, 0)), w->size());
        QVERIFY2(opened->rect().contains(placed),
                 qPrintable(w->objectName() + u' ' + w->metaObject()->className()));
    }
    // Whatever the size, a grid shows its current row.
    for (DBGrid* grid : opened->findChildren<DBGrid*>()) {
        if (!grid->isVisible() || !grid->currentIndex().isValid()) continue;
        const QRect row = grid->visualRect(grid->currentIndex());
        QVERIFY2(grid->viewport()->rect().contains(row),
                 qPrintable(grid->objectName() + QStringLiteral(" row %1 at %2, viewport height %3")
                                                     .arg(grid->currentIndex().row())
                                                     .arg(row.top())
                                                     .arg(grid->viewport()->height())));
    }

    // One factor for the whole screen: the caption grows and shrinks with
    // the window, the smaller ratio deciding.
    const qreal factor = AspectScaler::FactorFor(opened->size(), s.form->screenReferenceSize());
    QVERIFY(qAbs(opened->scaleFactor() - factor) < 0.01);
    QVERIFY(qAbs(opened->Label1->font().pointSizeF() - captionAtReference * factor) < 0.1);
    if (window.width() > 1000) QVERIFY(opened->scaleFactor() > 2);
    if (window == QSize(632, 430)) QCOMPARE(opened->scaleFactor(), 1.0);
    CHECK_MESSAGES(s.msgs);
}

void TestScreens::everyScreenOpensWithItsFirstInputFocused_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("first");
    QTest::newRow("navigator") << "TFNavig"
                               << "RButton1";
    QTest::newRow("configuration") << "TFKonfig"
                                   << "Check1";
    QTest::newRow("new route") << "TFNovaTrat"
                               << "CBStart";
    // An editor's grid only shows: its first box is the first input.
    QTest::newRow("route editor") << "TFEditTrat"
                                  << "DBEdit1";
    QTest::newRow("new bike") << "TFNoveKolo"
                              << "ComboBox1";
    QTest::newRow("bike editor") << "TFEditKolo"
                                 << "DBComboBox1";
    QTest::newRow("new ride type") << "TFNovyTypJizd"
                                   << "Edit1";
    QTest::newRow("ride type editor") << "TFEditTypJizd"
                                      << "DBEdit1";
    QTest::newRow("new watch type") << "TFNoveTHL"
                                    << "ComboBox1";
    QTest::newRow("watch type editor") << "TFEditthl"
                                       << "DBComboBox1";
}

void TestScreens::everyScreenOpensWithItsFirstInputFocused() {
    QFETCH(QString, screen);
    QFETCH(QString, first);
    ListSession s;
    TFZakl* opened = Open(s, screen);
    QVERIFY(opened);
    auto* control = opened->findChild<QWidget*>(first);
    QVERIFY(control);
    QVERIFY2(HasFocus(control),
             qPrintable(QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                    : QStringLiteral("no focus")));
    // Opening a screen is no edit: nothing was asked.
    CHECK_MESSAGES(s.msgs);
}

void TestScreens::tabFollowsWhatTheRiderSees_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QStringList>("order");  // from the first input, Tab by Tab, back to it
    QTest::newRow("navigator, row by row")
        << "TFNavig" << QStringList{"RButton2",  "RButton3",  "RButton4",  "RBTHL",     "RButton8",
                                    "RButton6",  "RButton5",  "RButton7",  "RBETHL",    "RButton10",
                                    "RButton11", "RButton12", "RButton13", "RButton14", "RButton15",
                                    "RButton18", "RButton16", "RButton17", "RButton1"};
    QTest::newRow("new route: groups left to right, buttons last")
        << "TFNovaTrat"
        << QStringList{"CBCil", "Edit2",      "Edit3",   "CBPrujezd", "BPridej", "Button1",
                       "Edit1", "PoZasKonec", "Button2", "BKONEC",    "CBStart"};
    QTest::newRow("route editor: boxes in rows, the grid above them")
        << "TFEditTrat" << QStringList{"DBEdit2", "DBEdit3", "DBEdit4", "DBEdit5",
                                       "Button1", "BKONEC",  "DBGrid1", "DBEdit1"};
    QTest::newRow("ride type editor: the left column, then the right one")
        << "TFEditTypJizd" << QStringList{"DBCheckBox1", "Button1", "DBGrid2", "DBEdit2",
                                          "Button2",     "BKONEC",  "DBGrid1", "DBEdit1"};
    QTest::newRow("configuration: down the page") << "TFKonfig"
                                                  << QStringList{"RSE_prumer_des_m",
                                                                 "RSE_delka_des_m",
                                                                 "RSE_rychl_max_des_m",
                                                                 "RSE_sr_tep_des_m",
                                                                 "RSE_sr_pr_prekr_des_m",
                                                                 "RSE_sr_pr_pom_des_m",
                                                                 "RSE_sr_kcal_des_m",
                                                                 "CVCh",
                                                                 "BorCheck1",
                                                                 "BUloz",
                                                                 "BKONEC",
                                                                 "Check1"};
}

void TestScreens::tabFollowsWhatTheRiderSees() {
    QFETCH(QString, screen);
    QFETCH(QStringList, order);
    ListSession s;
    TFZakl* opened = Open(s, screen);
    QVERIFY(opened);
    // Leaving the empty "Kód 1" on the way informs, each way round.
    if (screen == u"TFNovaTrat") {
        for (int i = 0; i < 2; ++i)
            s.msgs.expect(QStringLiteral("Není doporučeno zadat prázdné hodnoty"),
                          MsgKind::kInformation);
    }
    QCOMPARE(Walk(opened, static_cast<int>(order.size()), true), order);
    // Shift+Tab goes the same way back.
    QStringList back = order;
    std::reverse(back.begin(), back.end());
    back.removeFirst();
    back.append(order.last());
    QCOMPARE(Walk(opened, static_cast<int>(back.size()), false), back);
    CHECK_MESSAGES(s.msgs);
}

void TestScreens::enterAndSpacePressTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << static_cast<int>(Qt::Key_Return);
    QTest::newRow("Enter of the keypad") << static_cast<int>(Qt::Key_Enter);
    QTest::newRow("Space") << static_cast<int>(Qt::Key_Space);
}

void TestScreens::enterAndSpacePressTheFocusedButton() {
    QFETCH(int, key);
    ListSession s;
    TFNavig* navigator = s.navigatorScreen();
    // A round button of the navigator opens its screen.
    FocusOn(navigator->RButton3);
    QTest::keyClick(navigator->RButton3, static_cast<Qt::Key>(key));
    Settle();
    TFZakl* screen = s.form->activeScreen();
    QVERIFY(screen);
    QCOMPARE(screen->objectName(), QStringLiteral("FNoveKolo"));
    // A push button of a screen: "ZRUŠ" brings the navigator back.
    auto* task = qobject_cast<TFTaskZakl*>(screen);
    FocusOn(task->BKONEC);
    QTest::keyClick(task->BKONEC, static_cast<Qt::Key>(key));
    Settle();
    QVERIFY(s.navigatorScreen());
    CHECK_MESSAGES(s.msgs);
}

void TestScreens::f1OpensTheScreensOwnHelpPageAndEscClosesIt_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("page");
    QTest::newRow("navigator") << "TFNavig"
                               << "navigator";
    QTest::newRow("new ride") << "TFNovaJizda"
                              << "jizda_nova";
    QTest::newRow("ride editor") << "TFEditJizd"
                                 << "jizda_editace";
    QTest::newRow("heart-rate profile") << "TFSrdce"
                                        << "profil_tepu";
    QTest::newRow("new route") << "TFNovaTrat"
                               << "trat_nova";
    QTest::newRow("route editor") << "TFEditTrat"
                                  << "trat_editace";
    QTest::newRow("new bike") << "TFNoveKolo"
                              << "kolo_nove";
    QTest::newRow("bike editor") << "TFEditKolo"
                                 << "kolo_editace";
    QTest::newRow("ride type editor") << "TFEditTypJizd"
                                      << "typ_jizd_editace";
    QTest::newRow("new watch type") << "TFNoveTHL"
                                    << "hlidani_tepu_nove";
    QTest::newRow("watch type editor") << "TFEditthl"
                                       << "hlidani_tepu_editace";
}

void TestScreens::f1OpensTheScreensOwnHelpPageAndEscClosesIt() {
    QFETCH(QString, screen);
    QFETCH(QString, page);
    ListSession s;
    TFZakl* opened = Open(s, screen);
    QVERIFY(opened);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QCOMPARE(HelpShown(), page);
    // A Czech page written for this screen, not the contents.
    const QString html = QString::fromUtf8(FileBytes(HelpFile(page + QStringLiteral(".html"))));
    QVERIFY(html.contains(QStringLiteral("<html lang=\"cs\">")));
    QVERIFY(html.contains(opened->windowTitle().left(5)) ||
            html.contains(opened->Label1->text().left(5), Qt::CaseInsensitive) ||
            page == u"navigator");
    QTest::keyClick(HelpWindow(), Qt::Key_Escape);
    QVERIFY(HelpShown().isEmpty());
    CHECK_MESSAGES(s.msgs);
}

void TestScreens::eachPageOfTheNewRideTypeScreenHasItsOwnHelp() {
    ListSession s;
    TFZakl* opened = Open(s, QStringLiteral("TFNovyTypJizd"));
    QVERIFY(opened);
    auto* pages = opened->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    QVERIFY(pages);
    // The page shown decides, wherever the focus is.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QCOMPARE(HelpShown(), QStringLiteral("typ_jizd_zakladni"));
    QTest::keyClick(HelpWindow(), Qt::Key_Escape);
    pages->setCurrentIndex(1);
    auto* edit2 = opened->findChild<QWidget*>(QStringLiteral("Edit2"));
    FocusOn(edit2);
    QTest::keyClick(edit2, Qt::Key_F1);
    QCOMPARE(HelpShown(), QStringLiteral("typ_jizd_vedlejsi"));
    // The screen's own page describes both and is reached from both.
    for (const char* file : {"typ_jizd_zakladni.html", "typ_jizd_vedlejsi.html"}) {
        QVERIFY(FileBytes(HelpFile(QString::fromLatin1(file))).contains("typ_jizd_novy.html"));
    }
    QVERIFY(QFileInfo::exists(HelpFile(QStringLiteral("typ_jizd_novy.html"))));
    CHECK_MESSAGES(s.msgs);
}

}  // namespace kolvio::testing

QTEST_MAIN(kolvio::testing::TestScreens)
#include "tst_screens.moc"
