// The message box of the program: titles, buttons and answers of each kind,
// placement on the main window, and help by F1.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "app/help_viewer.h"
#include "app/message_service.h"
#include "app/qt_translation.h"

using namespace kolvio;

namespace {

struct Seen {
    QString title;
    QString text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QPoint centre;
};

// Shows `m` with the dialog service; `act` runs on the open box.
MsgResult Show(const Message& m, Seen* seen, const std::function<void(QMessageBox*)>& act) {
    QTimer::singleShot(0, [seen, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->centre = box->frameGeometry().center();
        for (QAbstractButton* b : box->buttons())
            seen->buttons.append(b->text());
        act(box);
    });
    return DialogMessages().show(m);
}

QAbstractButton* Button(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons()) {
        if (b->text() == text) return b;
    }
    return nullptr;
}

}  // namespace

class TestMessageBox : public QObject {
    Q_OBJECT
private slots:
    // Qt's Czech texts are loaded, as in the program, for every test here.
    void initTestCase() { QVERIFY(InstallQtTranslation()); }
    void qtOwnTextsAreCzech();
    void kindsAndButtons_data();
    void kindsAndButtons();
    void centredOnTheMainWindow();
    void f1OpensTheHelpTopic();
};

void TestMessageBox::qtOwnTextsAreCzech() {
    // The context menu of every text box.
    QLineEdit edit(QStringLiteral("text"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* a : menu->actions()) {
        if (!a->isSeparator()) texts.append(a->text());
    }
    // (Each text is followed by its shortcut.)
    QVERIFY2(texts.filter(QRegularExpression(QStringLiteral("^&Vložit\\b"))).size() == 1,
             qPrintable(texts.join(u',')));
    QVERIFY(texts.filter(QStringLiteral("Paste")).isEmpty());
    // The folder and file dialogs.
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList buttons;
    for (const QPushButton* b : dialog.findChildren<QPushButton*>())
        buttons.append(b->text());
    QVERIFY2(buttons.contains(QStringLiteral("Zrušit")), qPrintable(buttons.join(u',')));
}

void TestMessageBox::kindsAndButtons_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("yesNo");
    QTest::addColumn<QString>("press");  // a button, or "Esc"
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("result");
    const int q = QMessageBox::Question, w = QMessageBox::Warning, e = QMessageBox::Critical,
              i = QMessageBox::Information;
    const int ok = int(MsgResult::kOk), yes = int(MsgResult::kYes), no = int(MsgResult::kNo);
    QTest::newRow("warning, OK") << 0 << false << "OK"
                                 << "Warning" << w << ok;
    QTest::newRow("error, OK") << 1 << false << "OK"
                               << "Error" << e << ok;
    QTest::newRow("information, Esc") << 2 << false << "Esc"
                                      << "Information" << i << ok;
    QTest::newRow("confirmation, Yes") << 3 << true << "&Yes"
                                       << "Confirm" << q << yes;
    QTest::newRow("confirmation, No") << 3 << true << "&No"
                                      << "Confirm" << q << no;
    QTest::newRow("confirmation, Esc is No") << 3 << true << "Esc"
                                             << "Confirm" << q << no;
    QTest::newRow("information with Yes/No") << 2 << true << "&Yes"
                                             << "Information" << i << yes;
}

void TestMessageBox::kindsAndButtons() {
    QFETCH(int, kind);
    QFETCH(bool, yesNo);
    QFETCH(QString, press);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(int, result);
    Seen seen;
    const Message m{QStringLiteral("Opravdu otevřít databáze?\nDruhý řádek"), MsgKind(kind),
                    yesNo ? MsgButtons::kYesNo : MsgButtons::kOk, 0, false};
    const MsgResult got = Show(m, &seen, [press](QMessageBox* box) {
        if (press == u"Esc") {
            QTest::keyClick(box, Qt::Key_Escape);
        } else if (QAbstractButton* b = Button(box, press)) {
            b->click();
        }
    });
    QCOMPARE(int(got), result);
    QCOMPARE(seen.title, title);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(seen.text, m.text);
    QCOMPARE(seen.buttons.size(), yesNo ? 2 : 1);
    QVERIFY(seen.buttons.contains(yesNo ? QStringLiteral("&Yes") : QStringLiteral("OK")));
    if (yesNo) QVERIFY(seen.buttons.contains(QStringLiteral("&No")));
}

void TestMessageBox::centredOnTheMainWindow() {
    QMainWindow main;
    auto* mdi = new QMdiArea(&main);
    main.setCentralWidget(mdi);
    mdi->addSubWindow(new QWidget)->showMaximized();
    main.setGeometry(120, 90, 640, 480);
    main.show();
    QApplication::setActiveWindow(&main);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    Seen seen;
    Show({QStringLiteral("Text"), MsgKind::kInformation, MsgButtons::kOk, 0, false}, &seen,
         [](QMessageBox* box) { box->accept(); });
    const QPoint centre = main.frameGeometry().center();
    QVERIFY2((seen.centre - centre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("box centre %1,%2, main centre %3,%4")
                            .arg(seen.centre.x())
                            .arg(seen.centre.y())
                            .arg(centre.x())
                            .arg(centre.y())));
}

void TestMessageBox::f1OpensTheHelpTopic() {
    Seen seen;
    bool helpShown = false;
    Show({QStringLiteral("Opravdu vytvořit nové databáze\na stávající přepsat ?"),
          MsgKind::kConfirmation, MsgButtons::kYesNo, 2, false},
         &seen, [&helpShown](QMessageBox* box) {
             QTest::keyClick(box, Qt::Key_F1);
             helpShown = HelpWindow() && HelpWindow()->isVisible();
             Button(box, QStringLiteral("&No"))->click();
         });
    QVERIFY(helpShown);
}

QTEST_MAIN(TestMessageBox)
#include "tst_message_box.moc"
