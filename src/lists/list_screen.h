// What the eight list screens share: building labelled controls with their
// hints, the messages they show (also as the Rider of their ListRule) and
// the "Exit" of a control.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "app/message_service.h"
#include "app/row_edit.h"
#include "app/table_handlers.h"
#include "data/table.h"
#include "lists/list_rule.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace kolvio {

// Names a control and gives it its hint (tooltip and status-bar text).
template <typename W>
W* Named(W* widget, const char* name, const QString& hint = {}) {
    widget->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) {
        widget->setToolTip(hint);
        widget->setStatusTip(hint);
    }
    return widget;
}

// A group box with a grid of (label, control) rows.
QGroupBox* Group(QWidget* parent, const QString& title, QGridLayout** grid);
// Adds a row "caption control" to `grid`; the label's mnemonic focuses the
// control.
QLabel* AddRow(QGridLayout* grid, const QString& caption, QWidget* control);
// An editable drop-down list offering `items`, holding at most `maxLength`
// characters (0: no limit); typed text is kept in its letter case and is not
// added to the list.
QComboBox* EditableList(QWidget* parent, const QStringList& items, int maxLength);

// The messages of the screens: a warning and an information with OK, and a
// question with Yes and No. A question counts as refused only on No.
void Warn(const QString& text);
void Inform(const QString& text);
bool Confirm(const QString& text);
// Shows a failure of the table store (its own message, as an error) and
// says whether the operation went through; an abandoned one shows nothing.
bool StoreOk(const Status& status);
// Moves the focus to `control` once the current focus change is over.
void RefocusLater(QWidget* control);

// The message box as the Rider of a screen's ListRule. A refused field's box
// gets the focus back once the current focus change is over.
class ScreenRider final : public Rider {
public:
    void warn(const std::string& text) override;
    bool confirm(const std::string& text) override;
    void fail(const Status& status) override;
    void returnTo(std::string_view field) override;
    // The box of `field`.
    void box(const char* field, QWidget* control);

private:
    std::vector<std::pair<std::string, QPointer<QWidget>>> boxes_;
};

// The "Exit" handlers of a screen's controls: `onExit` runs whenever the
// control loses the focus to another control (not to its own drop-down list
// or to another program). Hook a control before binding it to a field, so
// that the binding writes the field first.
//
// Keep the hooks as a member of the screen: they are removed with it, before
// its controls are destroyed (which moves the focus, and would otherwise
// call into a screen that is half gone).
class ExitHooks {
public:
    ExitHooks() = default;
    ~ExitHooks();
    ExitHooks(const ExitHooks&) = delete;
    ExitHooks& operator=(const ExitHooks&) = delete;

    void on(QWidget* control, std::function<void()> onExit);

private:
    std::vector<QPointer<QObject>> filters_;
};

}  // namespace kolvio
