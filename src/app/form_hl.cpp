#include "app/form_hl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include "app/app_paths.h"
#include "app/child_windows.h"
#include "app/driver_settings.h"
#include "app/fnavig.h"
#include "app/help_viewer.h"
#include "app/message_service.h"
#include "app/qt_translation.h"
#include "app/recent_databases.h"
#include "app/scaling_style.h"
#include "app/shorten_path.h"
#include "app/start_menu.h"
#include "app/status_panels.h"
#include "app/wheel_guard.h"
#include "app/window_placement.h"
#include "kolvio_version.h"

namespace kolvio {

namespace {

QString IniPathAfterInit() {
    InitAppDir();
    return IniPath();
}

// While screens are torn down with the main window, focus leaves their
// boxes; that is not the rider leaving a box, so no "exit" check may run.
class FocusEventBlocker final : public QObject {
public:
    FocusEventBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~FocusEventBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::FocusOut || event->type() == QEvent::FocusIn;
    }
};

void ShowError(const QString& text) {
    ShowMsgBox(text, MsgKind::kError, MsgButtons::kOk);
}

}  // namespace

TForm_hl::TForm_hl(const QStringList& arguments)
    : ini_(IniPathAfterInit().toStdString()),
      database_(std::make_unique<Database>(this)),
      mdi_(new QMdiArea(this)),
      panels_(new StatusPanels(statusBar())),
      wheelGuard_(new WheelGuard(this)) {
    InstallQtTranslation();
    ScalingStyle::Install();
    setObjectName(QStringLiteral("Form_hl"));
    setCaption(kDesignCaption);
    mdi_->setObjectName(QStringLiteral("MDIArea"));
    mdi_->setBackground(QColor(0x5a, 0x6e, 0x8c));
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &TForm_hl::updateMenus);
    createHelpMenu();
    updateMenus();
    // What the menu bar and the status bar leave of the reference size.
    screenReference_ = kDefaultClientSize -
                       QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());

    if (IsSetupCommandLine(arguments)) runSetup();

    // The screens scale themselves with the window (TFZakl).
    setMinimumSize(kMinimumSize);
    RestoreWindowPlacement(ini_, *this, kDefaultClientSize);

    QString dir = QString::fromStdString(RecentDbRead(ini_, 1));
    if (dir.isEmpty()) dir = DefaultDataDir();
    display_ = LoadDisplaySettings(ini_);
    applyDriverSettings();
    // The start never writes the recent list; a directory with a part of a
    // database is kept as it is (refused with a message), not overwritten.
    MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles);
}

TForm_hl::~TForm_hl() {
    closing_ = true;
    // Screens hold observers on the shared tables, which go with database_
    // before QWidget deletes its children: the screens go first, also those
    // closed but not yet deleted.
    mdi_->disconnect(this);
    {
        const FocusEventBlocker quiet;
        delete mdi_;
    }
    delete HelpWindow();
}

void TForm_hl::start() {
    show();
    openNavigator();
}

void TForm_hl::reloadDisplaySettings() {
    display_ = LoadDisplaySettings(ini_);
    // Grids show the new counts at their next repaint.
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        sub->update();
}

QString TForm_hl::dataDir() const {
    return hasDatabase_ ? QString::fromStdString(database_->DataDir()) : QString();
}

void TForm_hl::setHasDatabase(bool open) {
    hasDatabase_ = open;
    if (!open) setCaption(kDesignCaption);
    emit databaseChanged();
}

bool TForm_hl::MOtevriNovaDB(const QString& dir, OverwritePolicy policy) {
    const std::string previous = hasDatabase_ ? database_->DataDir() : std::string();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status st = database_->MOtevriNovaDB(QDir::cleanPath(dir).toStdString(), policy);
    QApplication::restoreOverrideCursor();
    if (st.ok()) {
        setHasDatabase(true);
        return true;
    }
    if (st.aborted()) {
        ShowError(QStringLiteral("Adresář databáze \"%1\" nelze vytvořit.\n"
                                 "Vyber jiný adresář v nabídce Databáze (Nová... nebo Otevři...).")
                      .arg(QDir::toNativeSeparators(dir)));
    } else {
        ShowError(QString::fromStdString(st.message()));
    }
    // A refusal before anything was closed leaves the previous database as
    // it was; a failure part-way has closed its tables and bound them to
    // the directory that failed.
    const Table& rides = database_->Table1();
    if (!previous.empty() && rides.isOpen() && rides.directory() == previous) return false;
    if (previous.empty()) {
        setHasDatabase(false);
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status back = database_->MOtevriNovaDB(previous, OverwritePolicy::kKeepFiles);
    QApplication::restoreOverrideCursor();
    if (!back.ok()) {
        ShowError(QStringLiteral("Předchozí databázi \"%1\" se nepodařilo znovu otevřít:\n%2\n"
                                 "Otevři databázi v nabídce Databáze (Nová..., Otevři... nebo "
                                 "Předchozí).")
                      .arg(QDir::toNativeSeparators(QString::fromStdString(previous)),
                           QString::fromStdString(back.message())));
    }
    setHasDatabase(back.ok());
    return false;
}

void TForm_hl::CompactDatabase() {
    if (!hasDatabase_) return;
    std::vector<Status> results;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status st = database_->CompactDatabase(&results);
    QApplication::restoreOverrideCursor();
    QStringList causes;
    for (const Status& result : results) {
        if (!result.ok()) causes.append(QString::fromStdString(result.message()));
    }
    if (!causes.isEmpty()) {
        ShowMsgBox(QStringLiteral("Komprese některých tabulek se nepodařila, tyto tabulky zůstaly "
                                  "beze změny:\n%1")
                       .arg(causes.join(QStringLiteral("\n"))),
                   MsgKind::kWarning, MsgButtons::kOk);
    }
    if (st.failed()) ShowError(QString::fromStdString(st.message()));
}

void TForm_hl::openNavigator() {
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (qobject_cast<TFNavig*>(sub->widget())) {
            sub->showMaximized();
            mdi_->setActiveSubWindow(sub);
            return;
        }
    }
    showScreen(new TFNavig(*this));
}

void TForm_hl::showScreen(TFZakl* screen) {
    QMdiSubWindow* sub =
        mdi_->addSubWindow(screen, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowMinMaxButtonsHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->showMaximized();
    mdi_->setActiveSubWindow(sub);
    screen->focusFirstInput();
    updateMenus();
}

TFZakl* TForm_hl::activeScreen() const {
    QMdiSubWindow* sub = mdi_->currentSubWindow();
    return sub ? qobject_cast<TFZakl*>(sub->widget()) : nullptr;
}

void TForm_hl::bringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void TForm_hl::createHelpMenu() {
    helpMenu_ = new QMenu(QStringLiteral("&Nápověda"), this);
    helpMenu_->setObjectName(QStringLiteral("MNapoveda"));
    QAction* contents = helpMenu_->addAction(QStringLiteral("&Obsah"));
    contents->setObjectName(QStringLiteral("MObsah"));
    contents->setStatusTip(QStringLiteral("Obsah nápovědy"));
    connect(contents, &QAction::triggered, this, [this] { ShowHelpContents(this); });
    QAction* popis = helpMenu_->addAction(QStringLiteral("&Popis"));
    popis->setObjectName(QStringLiteral("MPopis"));
    popis->setStatusTip(QStringLiteral("Popis programu"));
    connect(popis, &QAction::triggered, this,
            [this] { ShowHelpTopic(QStringLiteral("obecne"), this); });
    QAction* about = helpMenu_->addAction(QStringLiteral("&About.."));
    about->setObjectName(QStringLiteral("MAbout"));
    about->setStatusTip(QStringLiteral("Informace o programu"));
    connect(about, &QAction::triggered, this, &TForm_hl::aboutBox);
}

void TForm_hl::updateMenus() {
    // The menus of the current screen come before "&Nápověda".
    menuBar()->clear();
    if (TFZakl* screen = activeScreen()) {
        for (QMenu* menu : screen->menus())
            menuBar()->addMenu(menu);
    }
    menuBar()->addMenu(helpMenu_);
}

void TForm_hl::aboutBox() {
    QDialog box(this);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setWindowTitle(QStringLiteral("O programu"));
    auto* layout = new QVBoxLayout(&box);
    auto* text = new QLabel(
        QStringLiteral("<h2>KOLVIO</h2>"
                       "<p>Deník cyklistického tréninku: jízdy, tratě, kola, typy jízd a tepová "
                       "frekvence, vyhodnocení dotazy, souhrny a grafy.</p>"
                       "<p>Verze %1</p><p>Výrobce: Ostrelab</p>"
                       "<p>Copyright © Ostrelab. Všechna práva vyhrazena.</p>")
            .arg(QLatin1String(kVersionShort)),
        &box);
    text->setObjectName(QStringLiteral("AboutText"));
    text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(text);
    layout->addWidget(buttons);
    box.exec();
}

void TForm_hl::runSetup() {
    if (ShowMsgBox(QStringLiteral("Chceš vytvořit zástupce v nabidce Start?"),
                   MsgKind::kInformation, MsgButtons::kYesNo) == MsgResult::kYes) {
        QString error;
        CreateStartMenuItems(DefaultStartMenuFolders(), QCoreApplication::applicationFilePath(),
                             HelpFile(QStringLiteral("index.html")),
                             HelpFile(QStringLiteral("obecne.html")), &error);
        if (!error.isEmpty()) ShowError(error);
    }
    if (const ChartRegistration& registration = CurrentChartRegistration()) registration();
}

std::string TForm_hl::shortenPath(const std::string& dir, int max) {
    return ShortenPath(dir, max);
}

void TForm_hl::setCaption(const std::string& caption) {
    caption_ = QString::fromStdString(caption);
    setWindowTitle(caption_);
}

void TForm_hl::setStatusText(const std::string& text) {
    panels_->setText(QString::fromStdString(text));
}

void TForm_hl::showGauge(const std::string& text) {
    panels_->showGauge(QString::fromStdString(text));
}

void TForm_hl::setGauge(int percent) {
    panels_->setGauge(percent);
}

void TForm_hl::hideGauge() {
    panels_->hideGauge();
}

void TForm_hl::applyDriverSettings() {
    // The engine takes the settings even when the record cannot be written;
    // the next open tries the record again.
    (void)ApplyDriverSettings(ini_);
}

bool TForm_hl::event(QEvent* event) {
    // Hints of controls and menu entries go to the fifth panel, leaving the
    // other four in place (QMainWindow would cover them all).
    if (event->type() == QEvent::StatusTip) {
        // A hint "short|long" shows its long part.
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        panels_->setText(tip.mid(tip.indexOf(u'|') + 1));
        return true;
    }
    return QMainWindow::event(event);
}

void TForm_hl::closeEvent(QCloseEvent* event) {
    closing_ = true;
    const Status placed = SaveWindowPlacement(ini_, *this);
    // Screens close as when the rider leaves them (they detach their table
    // handlers); none comes back while the main window closes.
    {
        const FocusEventBlocker quiet;
        mdi_->closeAllSubWindows();
    }
    for (Table* t : {&database_->Table1(), &database_->TTRS(), &database_->TTRNZ(),
                     &database_->TTRN(), &database_->TTKOL()}) {
        t->close();
    }
    Status restored;
    if (RestoreDriverSettingsAtShutdown(ini_)) restored = RestoreDriverSettings(ini_);
    if (!placed.ok()) {
        ShowError(QStringLiteral("Umístění okna nelze uložit:\n%1\n"
                                 "Zkontroluj, zda lze zapisovat do souboru nastavení.")
                      .arg(QString::fromStdString(placed.message())));
    } else if (restored.failed()) {
        // One box for one cause: both go to the same settings file.
        ShowError(QStringLiteral("Vrácené nastavení ovladače databáze nelze uložit:\n%1\n"
                                 "Zkontroluj, zda lze zapisovat do souboru nastavení.")
                      .arg(QString::fromStdString(restored.message())));
    }
    event->accept();
}

}  // namespace kolvio
