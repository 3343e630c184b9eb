#include "app/child_windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/aspect_scaler.h"
#include "app/focus_order.h"
#include "app/form_hl.h"
#include "app/help_viewer.h"

namespace kolvio {

TFZakl::TFZakl(TForm_hl& main) : main_(main), scaler_(std::make_unique<AspectScaler>(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    // The screen takes the size of the window area whatever its layout's
    // minimum at the present scale; the new scale then makes it fit. (With
    // the layout's minimum, a screen scaled up would keep its size when the
    // window shrinks, and so its scale.)
    setMinimumSize(1, 1);
    Label1 = new QLabel(QStringLiteral("NIC"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont font = Label1->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setStyleSheet(QStringLiteral("color: #1c3f8c;"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    body_ = new QVBoxLayout;
    layout->addLayout(body_, 1);
}

TFZakl::~TFZakl() {
    qDeleteAll(menus_);
}

QMdiSubWindow* TFZakl::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void TFZakl::closeScreen() {
    if (QMdiSubWindow* sub = subWindow()) {
        sub->close();
    } else {
        close();
    }
}

QMenu* TFZakl::addMenu(const QString& title) {
    auto* menu = new QMenu(title);
    menus_.append(menu);
    return menu;
}

int TFZakl::currentHelpContext() const {
    return HelpContextFor(QApplication::focusWidget(), this, helpContext_);
}

qreal TFZakl::scaleFactor() const {
    return scaler_->factor();
}

void TFZakl::focusFirstInput() {
    if (QWidget* first = FirstInput(this)) {
        first->setFocus(Qt::OtherFocusReason);
    } else {
        setFocus(Qt::OtherFocusReason);
    }
}

void TFZakl::rescale() {
    // A minimised screen (on its way out, or while a side task runs) keeps
    // its scale.
    const QMdiSubWindow* sub = subWindow();
    if (!isVisible() || (sub && sub->isMinimized())) return;
    scaler_->apply(AspectScaler::FactorFor(size(), main_.screenReferenceSize()));
}

void TFZakl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rescale();
}

void TFZakl::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    rescale();
}

bool TFZakl::focusNextPrevChild(bool next) {
    return MoveFocus(this, next) || QWidget::focusNextPrevChild(next);
}

// Enter presses the focused button; a check box or a radio button is not
// pressed by it. Otherwise the screen's default button, as in a dialog.
bool TFZakl::pressButton() {
    auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
    if (focused && isAncestorOf(focused) && !qobject_cast<QCheckBox*>(focused) &&
        !qobject_cast<QRadioButton*>(focused)) {
        if (focused->isEnabled()) focused->click();
        return true;
    }
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b->isDefault() && b->isVisible() && b->isEnabled()) {
            b->click();
            return true;
        }
    }
    return false;
}

void TFZakl::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::HelpContents)) {
        if (const int context = currentHelpContext(); context != 0) {
            ShowHelpContext(context, window());
            return;
        }
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && mods == Qt::NoModifier && pressButton()) return;
    QWidget::keyPressEvent(event);
}

TFTaskZakl::TFTaskZakl(TForm_hl& main) : TFZakl(main) {
    BKONEC = new QPushButton(QStringLiteral("ZRUŠ"), this);
    BKONEC->setObjectName(QStringLiteral("BKONEC"));
    connect(BKONEC, &QPushButton::clicked, this, &TFZakl::closeScreen);
    buttons_ = new QHBoxLayout;
    buttons_->addStretch();
    buttons_->addWidget(BKONEC);
    static_cast<QVBoxLayout*>(layout())->addLayout(buttons_);
}

void TFTaskZakl::keyPressEvent(QKeyEvent* event) {
    // Esc is the cancel key of the screen; keys the focused control takes
    // (an open drop-down list, for instance) never get here.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BKONEC->click();
        return;
    }
    TFZakl::keyPressEvent(event);
}

void TFTaskZakl::closeEvent(QCloseEvent* event) {
    FormClose();
    TForm_hl& main = mainWindow();
    // While the main window shuts down, no screen comes back.
    if (!main.isClosing()) {
        if (QMdiSubWindow* sub = subWindow()) sub->showMinimized();
        TFZakl* back = ReturnToNavigator ? nullptr : ReturnForm.data();
        if (back && back->subWindow()) {
            back->subWindow()->showMaximized();
            back->subWindow()->setFocus();
        } else {
            // Also when the screen to return to is gone: the rider is never
            // left with an empty main window.
            main.openNavigator();
        }
    }
    event->accept();
}

TFData_Zakl::TFData_Zakl(TForm_hl& main) : TFTaskZakl(main) {
    PoZasKonec = new QCheckBox(QStringLiteral("Po zadání ukončit"), this);
    PoZasKonec->setObjectName(QStringLiteral("PoZasKonec"));
    PoZasKonec->setChecked(true);
    buttonRow()->insertWidget(0, PoZasKonec);
}

TFVyhod_Zakl::TFVyhod_Zakl(TForm_hl& main) : TFTaskZakl(main) {}

}  // namespace kolvio
