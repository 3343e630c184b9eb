// The main window Form_hl: the MDI area that hosts every screen, the shared
// datasets (through Database), the help menu, the status bar, the window
// placement and the program's settings file.
//
// Screens reach everything through it: database(), settings(),
// displaySettings(). It tells the database layer how to show the caption,
// status texts and the gauge (ShellFeedback).
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "app/display_format.h"
#include "app/settings_file.h"
#include "data/database/database.h"

class QMdiArea;
class QMenu;

namespace kolvio {

class StatusPanels;
class TFZakl;
class WheelGuard;

// The caption before a database is open.
inline constexpr char kDesignCaption[] = "KOLVIO";
// Default and minimum client size of the main window.
inline constexpr QSize kDefaultClientSize(632, 430);
inline constexpr QSize kMinimumSize(480, 360);

class TForm_hl final : public QMainWindow, public ShellFeedback {
    Q_OBJECT
public:
    // FormCreate: AppDir and IniPath, "-setup" when `arguments` (program
    // name first) ask for it, window placement, display and driver settings,
    // and the database: the most recent directory, else AppDir/DATA.
    explicit TForm_hl(const QStringList& arguments = {});
    ~TForm_hl() override;

    // Shows the window as placed and the navigator as the first screen.
    void start();

    Database& database() { return *database_; }
    SettingsFile& settings() { return ini_; }
    const DisplaySettings& displaySettings() const { return display_; }
    // LoadDisplaySettings: the counts of the settings file apply from now on.
    void reloadDisplaySettings();
    // Directory of the open database ("" when none is open).
    QString dataDir() const;
    // Whether a database is open: the screens that work on one need it.
    bool hasDatabase() const { return hasDatabase_; }
    // The size of the MDI area when the window has its reference size
    // (632 x 430): the size every screen is laid out for.
    QSize screenReferenceSize() const { return screenReference_; }
    QMdiArea* mdiArea() const { return mdi_; }
    // The caption as set ("KOLVIO 2.3 {...} "). While a screen is maximised
    // the title bar shows " - [screen]" after it, as MDI frames do.
    const QString& caption() const { return caption_; }
    StatusPanels* statusPanels() const { return panels_; }

    // Makes `dir` the open database and shows what went wrong, if anything.
    // True when it is open afterwards. An opening that fails leaves the
    // program wholly on the database open before (opened again when the
    // failure had closed it), or, when that cannot be reopened, on none.
    bool MOtevriNovaDB(const QString& dir, OverwritePolicy policy);
    // Packs the six tables; tells the rider about tables that could not be.
    void CompactDatabase();

    // The navigator as a new child window (or the existing one, brought up).
    void openNavigator();
    // Adds a screen as a maximised child window.
    void showScreen(TFZakl* screen);
    // The screen of the current child window, if any.
    TFZakl* activeScreen() const;
    // True from the moment the main window starts closing.
    bool isClosing() const { return closing_; }
    // A later start of the program asked this one to come to the front.
    void bringToFront();

    // ShellFeedback
    std::string shortenPath(const std::string& dir, int max) override;
    void setCaption(const std::string& caption) override;
    void setStatusText(const std::string& text) override;
    void showGauge(const std::string& text) override;
    void setGauge(int percent) override;
    void hideGauge() override;
    void applyDriverSettings() override;

signals:
    // A database was opened, or none is open any more.
    void databaseChanged();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;  // FormClose

private:
    void createHelpMenu();
    void updateMenus();
    void runSetup();
    void aboutBox();
    void setHasDatabase(bool open);

    bool closing_ = false;
    bool hasDatabase_ = false;
    QSize screenReference_;
    QString caption_;
    SettingsFile ini_;
    DisplaySettings display_;
    std::unique_ptr<Database> database_;
    QMdiArea* mdi_;
    StatusPanels* panels_;
    QMenu* helpMenu_;
    WheelGuard* wheelGuard_;
};

}  // namespace kolvio
