#include "app/child_windows.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/form_hl.h"
#include "app/help_viewer.h"

namespace kolvio {

TFZakl::TFZakl(TForm_hl& main) : main_(main) {
    setAttribute(Qt::WA_DeleteOnClose);
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

void TFZakl::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::HelpContents) && helpContext_ != 0) {
        ShowHelpContext(helpContext_, window());
        return;
    }
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
