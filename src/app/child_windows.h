// The bases of every screen that lives in the main window's MDI area.
//
//   TFZakl        maximised child window with a centred caption label and
//                 no close box: screens are left through their own buttons
//   TFTaskZakl    + "ZRUŠ" (BKONEC, also Esc) and the return rule: on close
//                 the navigator is created again, or, for a side task, the
//                 screen that opened it (ReturnForm) is maximised
//   TFData_Zakl   data-entry screens: + "Po zadání ukončit" (PoZasKonec)
//   TFVyhod_Zakl  evaluation screens
//
// A screen builds its controls into body() and its buttons into buttonRow();
// menus it adds are merged into the menu bar before "&Nápověda" while it is
// the active child.
//
// What every screen gets from the base, built once here:
//  - the aspect-keeping resize: the screen is laid out for the reference
//    size of the main window (its area at 632 x 430) and scaled as a whole,
//    fonts included, by the smaller of the two ratios of its size to that
//    (AspectScaler), so it fits at any size and looks the same, larger,
//    when maximised;
//  - keyboard: it opens with its first input focused; Tab and Shift+Tab go
//    through the controls in visual order, wrapping around; Enter presses
//    the focused button, or else the default button (Space presses the
//    focused button, as Qt does); F1 opens the help topic of the focused
//    control, of the page shown, or of the screen.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <memory>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QVBoxLayout;

namespace kolvio {

class AspectScaler;
class TForm_hl;

class TFZakl : public QWidget {
    Q_OBJECT
public:
    explicit TFZakl(TForm_hl& main);
    ~TFZakl() override;

    TForm_hl& mainWindow() const { return main_; }
    // The MDI child window holding this screen, once shown.
    QMdiSubWindow* subWindow() const;
    // Closes the screen; it is destroyed afterwards.
    void closeScreen();

    const QList<QMenu*>& menus() const { return menus_; }
    int helpContext() const { return helpContext_; }
    // The help topic F1 opens now (see the header comment).
    int currentHelpContext() const;
    // The factor the screen is scaled by now (1 at the reference size).
    qreal scaleFactor() const;
    // Gives the focus to the control the screen opens with.
    void focusFirstInput();

    QLabel* Label1;  // the centred caption label

protected:
    QVBoxLayout* body() const { return body_; }
    // Adds a menu (owned by the screen) to merge into the menu bar.
    QMenu* addMenu(const QString& title);
    void setHelpContext(int context) { helpContext_ = context; }
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void rescale();
    bool pressButton();

    TForm_hl& main_;
    QVBoxLayout* body_;
    QList<QMenu*> menus_;
    int helpContext_ = 0;
    std::unique_ptr<AspectScaler> scaler_;
};

class TFTaskZakl : public TFZakl {
    Q_OBJECT
public:
    explicit TFTaskZakl(TForm_hl& main);

    QPushButton* BKONEC;  // "ZRUŠ"
    // True: closing brings the navigator back. False: it maximises ReturnForm.
    bool ReturnToNavigator = true;
    QPointer<TFZakl> ReturnForm;

protected:
    // The row of buttons under the body; BKONEC is its last item.
    QHBoxLayout* buttonRow() const { return buttons_; }
    // Runs when the screen closes, before the return; screens detach the
    // handlers they attached to the shared tables here.
    virtual void FormClose() {}
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QHBoxLayout* buttons_;
};

class TFData_Zakl : public TFTaskZakl {
    Q_OBJECT
public:
    explicit TFData_Zakl(TForm_hl& main);

    QCheckBox* PoZasKonec;  // "Po zadání ukončit", checked
};

class TFVyhod_Zakl : public TFTaskZakl {
    Q_OBJECT
public:
    explicit TFVyhod_Zakl(TForm_hl& main);
};

}  // namespace kolvio
