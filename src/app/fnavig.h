// The navigator FNavig: the home screen with a round button per task and the
// menus "&Databáze" (new, open, recent and compacted database) and
// "&Konfigurace".
//
// A task button opens its screen in place of the navigator (the navigator
// closes; the screen brings it back when it closes). A button whose screen
// is not part of the program yet is disabled, and so is every task while no
// database is open (the database menu and the configuration stay).
#pragma once

#include <QList>
#include <optional>

#include "app/child_windows.h"
#include "app/screen_registry.h"

class QAction;
class QMenu;

namespace kolvio {

class RoundButton;

class TFNavig final : public TFZakl {
    Q_OBJECT
public:
    explicit TFNavig(TForm_hl& main);

    // The ten buttons of "Data:" and the nine of "Vyhodnocení:".
    RoundButton *RButton1, *RButton2, *RButton3, *RButton4, *RButton5, *RButton6, *RButton7,
        *RButton8, *RBTHL, *RBETHL;
    RoundButton *RButton10, *RButton11, *RButton12, *RButton13, *RButton14, *RButton15, *RButton18,
        *RButton16, *RButton17;

    QAction *MNovaDB, *MOtevriDB, *MDKomprese, *MKonfNastav;
    QMenu* MPredchoz;
    QList<QAction*> MPredch;  // MPredch1 .. MPredch5

    void MNovaDBClick();
    void MOtevriDBClick();
    // RecentDbMenuFill: entries 2..6 of the recent list as MPredch1..5.
    void MPredchozClick();
    // Entry i (1..5) of "Pře&dchozí": the database under key i + 1.
    void MPredch1Click(int i);
    void MDKompreseClick();
    void MKonfNastavClick();
    void RButton8Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A button without a screen (nullopt) is wired by the caller.
    RoundButton* dataButton(const char* name, const char* caption, const char* hint,
                            std::optional<ScreenId> screen);
    RoundButton* evaluationButton(const char* name, const char* caption, const char* hint);
    void createMenus();
    // Enables the tasks whose screen exists, while a database is open.
    void updateTasks();
    // One caption size for all buttons: the one the longest caption needs.
    void shareCaptionSize();
    // Closes the navigator and shows `screen` in its place.
    void openTask(TFZakl* screen);
    // Asks for a directory; empty on cancel.
    QString chooseDirectory(const QString& title, bool createTyped);
    void rememberDatabase(const QString& dir);

    QList<RoundButton*> available_;  // the buttons whose screen exists
    bool sharing_ = false;           // a shareCaptionSize() is queued
};

}  // namespace kolvio
