// The new-ride screen FNovaJizda, where the rider records rides.
//
// While it is open, one appended row of the rides table waits to be stored:
// the lookups write the route, direction, types, bike, watch type, date and
// riders into it as the rider picks them; the figures are typed into boxes,
// checked as each box is left and held by the screen (NewRideFigures), and
// "PŘIDEJ" writes them into the row and stores it. The screen then closes
// ("Po zadání ukončit") or appends the next row. "ZRUŠ" drops the row.
//
// Presets come from the latest ride (by date), the remembered choices of
// "&Nastavení" and the current rows of the lists. "&Pomůcky" opens the four
// "new" list screens and "info" the heart-rate profile as side tasks; on the
// return from a list screen the row takes the list's new row. "Načíst jízdu
// ze souboru..." (or a file dropped onto the screen) fills the date and the
// figures from a device's file, through the boxes' checks as if typed.
#pragma once

#include <QDate>
#include <QPointer>
#include <functional>
#include <optional>

#include "activity/activity.h"
#include "app/child_windows.h"
#include "app/row_edit.h"
#include "lists/list_screen.h"
#include "rides/new_ride_figures.h"
#include "rides/ride_controls.h"
#include "rides/ride_presets.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace kolvio {

class Table;
class UpDown;

class TFNovaJizda final : public TFData_Zakl, public RideControls {
    Q_OBJECT
public:
    explicit TFNovaJizda(TForm_hl& main);

    QLineEdit* Edit2;  // riders
    UpDown* UpDown1;
    QDateEdit* DateTimePicker1;
    QPushButton *Button1, *Button3;  // "VČERA", "DNES"
    QLineEdit* Edit1;                // description
    QPushButton* sr_vek_lim_vyp;     // "info"
    QPushButton* Button2;            // "PŘIDEJ"
    // "&Pomůcky"
    QAction *MNovaTrat, *MNoveKolo, *MNovyTypJizd, *MNovyTHL, *MNactiJizdu;
    // "&Nastavení": save and reset of each remembered choice
    QAction *MTrnzUloz, *MTrnzNuluj, *MKolUloz, *MKolNuluj, *MTrsUloz, *MTrsNuluj, *MHlUloz,
        *MHlNuluj;

    // The figures the screen holds for the ride being entered.
    const NewRideFigures& figures() const { return figures_; }

    void ETRPExit(RideBox box);  // every figure box (the heart boxes: sr_avgExit)
    void Edit2Exit();
    void UpDown1Click();
    void sr_merClick();
    void ArrowButton1Click();
    void DBLookupComboBox6Click();
    void DBLookupComboBoxClick(QComboBox* lookup);
    void DBLookupComboBoxExit();
    void DateTimePicker1Change();
    void Button1Click();
    void Button3Click();
    void Button2Click();
    // "Načíst jízdu ze souboru...": a file from the chooser, then
    // loadRideFile.
    void MNactiJizduClick();
    // Fills the date and the figures from the file at `path`; a file that
    // cannot be read changes nothing and says why.
    void loadRideFile(const QString& path);

protected:
    void FormClose() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGridLayout* pageGrid_ = nullptr;
    QVBoxLayout* dateColumn_ = nullptr;

    void buildLayout();
    void buildMenus();
    void FormCreate();
    // Route and direction presets of the latest ride, the age and set limit,
    // "měřeno".
    Status readPresets(NewRidePresets* presets);
    // The presets of the latest ride known, with the settings as they are now.
    NewRidePresets presetsOfLatest() const;
    // Appends the next row and fills it (ImplHod).
    bool ImplHod();
    void DejImpChoices();
    void applyRoutePresets(const NewRidePresets& presets);
    // The route part of the primary-type rule: route and direction, the
    // route group and the route list's filter.
    void applyPrimaryTypeRoute();
    // Beside the route when it is shown; above the date when it is not, so
    // that no empty band is left where the route stood.
    void placeComputerFigures(bool besideRoute);
    // Checks the box that has the focus as if it were left; false while a
    // refused box waits to be corrected.
    bool leaveFocusedBox();
    void showZeroFigures();

    // Writes into the row being entered; false (with the store's message)
    // when it cannot.
    bool setField(const char* field, const Value& value);
    // The code of the current row of a list (null when it has none).
    static Value currentCode(Table& list, const char* field);
    void remember(RememberedChoice choice, bool save);
    void rememberRoute(bool on);
    void settingsFailed(const Status& st);
    // Shows `task` in this screen's place; `onReturn` runs once when this
    // screen is back.
    void openSideTask(TFTaskZakl* task, std::function<void()> onReturn);
    void JdiNaLastTRS();
    void JdiNaAktKOL();
    void JdiNaAktTypJZD();
    void JdiNaAktHLD();
    // Files dropped onto a box are the screen's too, not text for the box.
    void acceptFileDrops();
    // After the set limit changed: the time above it, worked out again from
    // the file loaded.
    void overLimitFromFile();

    Table& rides() const;
    bool inserting() const { return ride_.pending(); }

    // The appended ride, waiting for "PŘIDEJ"; dropped with the screen.
    RowEdit ride_;
    NewRideFigures figures_;
    // The latest ride by date: read on opening, then kept up to date with
    // each ride stored here.
    LatestRide latest_;
    std::function<void()> onReturn_;
    bool closing_ = false;
    QPointer<QLineEdit> refusedBox_;  // the last box left, when it was refused
    ExitHooks exits_;
    // The activity of the file loaded last, until the ride is stored.
    std::optional<activity::Activity> activity_;
    QString activityFile_;
};

}  // namespace kolvio
