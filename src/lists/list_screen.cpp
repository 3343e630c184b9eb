#include "lists/list_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

namespace kolvio {

namespace {

// True when `to` is another control of the screen (child window) that
// `from` is on, and that screen is still shown: a screen being minimised
// hands the focus on without the rider leaving anything.
bool SameScreen(QWidget* to, QWidget* from) {
    const auto screenOf = [](QWidget* w) -> QWidget* {
        while (w && !qobject_cast<QMdiSubWindow*>(w))
            w = w->parentWidget();
        return w;
    };
    return to && from && from->isVisible() && !qobject_cast<QMdiSubWindow*>(to) &&
           screenOf(to) == screenOf(from);
}

class ExitFilter final : public QObject {
public:
    ExitFilter(QWidget* control, std::function<void()> onExit)
        : QObject(control), onExit_(std::move(onExit)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut && !running_) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // Opening the drop-down list or switching to another program is
            // not leaving the control, nor is another screen taking the focus
            // (a side task opened over this one): the rider comes back to the
            // control as it was.
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                SameScreen(QApplication::focusWidget(), static_cast<QWidget*>(watched))) {
                running_ = true;
                const QPointer<QObject> alive(this);
                onExit_();
                if (!alive) return false;
                running_ = false;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onExit_;
    bool running_ = false;
};

}  // namespace

QGroupBox* Group(QWidget* parent, const QString& title, QGridLayout** grid) {
    auto* box = new QGroupBox(title, parent);
    *grid = new QGridLayout(box);
    return box;
}

QLabel* AddRow(QGridLayout* grid, const QString& caption, QWidget* control) {
    const int row = grid->rowCount();
    auto* label = new QLabel(caption, grid->parentWidget());
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
    return label;
}

QComboBox* EditableList(QWidget* parent, const QStringList& items, int maxLength) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    // Completing and matching an item only in the same letter case keeps
    // the text as typed ("praha" is not turned into the item "Praha").
    if (QCompleter* completer = combo->completer())
        completer->setCaseSensitivity(Qt::CaseSensitive);
    if (maxLength > 0) combo->lineEdit()->setMaxLength(maxLength);
    return combo;
}

void Warn(const QString& text) {
    ShowMsgBox(text, MsgKind::kWarning, MsgButtons::kOk);
}

void Inform(const QString& text) {
    ShowMsgBox(text, MsgKind::kInformation, MsgButtons::kOk);
}

bool Confirm(const QString& text) {
    return ShowMsgBox(text, MsgKind::kConfirmation, MsgButtons::kYesNo) != MsgResult::kNo;
}

bool StoreOk(const Status& status) {
    if (status.failed()) {
        ShowMsgBox(QString::fromStdString(status.message()), MsgKind::kError, MsgButtons::kOk);
    }
    return status.ok();
}

void RefocusLater(QWidget* control) {
    QTimer::singleShot(0, control, [c = QPointer<QWidget>(control)] {
        if (c) c->setFocus(Qt::OtherFocusReason);
    });
}

void ScreenRider::warn(const std::string& text) {
    Warn(QString::fromStdString(text));
}

bool ScreenRider::confirm(const std::string& text) {
    return Confirm(QString::fromStdString(text));
}

void ScreenRider::fail(const Status& status) {
    StoreOk(status);
}

void ScreenRider::returnTo(std::string_view field) {
    for (const auto& [name, control] : boxes_) {
        if (name == field && control) RefocusLater(control);
    }
}

void ScreenRider::box(const char* field, QWidget* control) {
    boxes_.emplace_back(field, control);
}

ExitHooks::~ExitHooks() {
    for (const QPointer<QObject>& filter : filters_)
        delete filter.data();
}

void ExitHooks::on(QWidget* control, std::function<void()> onExit) {
    filters_.emplace_back(new ExitFilter(control, std::move(onExit)));
}

}  // namespace kolvio
