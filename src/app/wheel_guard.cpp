#include "app/wheel_guard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace kolvio {

namespace {

// The spin box or drop-down list `w` is (or is a part of).
QWidget* ValueControl(QObject* watched) {
    for (auto* w = qobject_cast<QWidget*>(watched); w; w = w->parentWidget()) {
        if (qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w)) return w;
        if (w->isWindow()) break;
    }
    return nullptr;
}

}  // namespace

WheelGuard::WheelGuard(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

WheelGuard::~WheelGuard() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool WheelGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Polish) {
        // Qt gives these controls the focus on a wheel turn; a click or Tab
        // is needed instead.
        if (auto* w = qobject_cast<QWidget*>(watched);
            w && w->focusPolicy() == Qt::WheelFocus && ValueControl(w) == w) {
            w->setFocusPolicy(Qt::StrongFocus);
        }
    } else if (event->type() == QEvent::Wheel) {
        if (QWidget* control = ValueControl(watched)) {
            const QWidget* focus = QApplication::focusWidget();
            if (focus != control && !control->isAncestorOf(focus)) {
                // Not accepted: the application hands the turn to the parent.
                event->ignore();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kolvio
