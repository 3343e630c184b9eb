// A running program for the screen tests of the reference lists: a main
// window over a fresh database in a private KOLVIO_HOME, the screens
// registered, a scripted message responder, and the rider's gestures
// (typing into a box, leaving it, pressing a button).
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>
#include <memory>

#include "app/fnavig.h"
#include "app/form_hl.h"
#include "app/screen_registry.h"
#include "app/widgets/round_button.h"
#include "main/screens.h"
#include "tests/app/gui/gui_support.h"

namespace kolvio::testing {

// Lets queued work (focus put back, screens closed) happen.
inline void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class ListSession {
public:
    ListSession() {
        RegisterScreens();
        form = std::make_unique<TForm_hl>();
        form->start();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
    }
    ~ListSession() {
        // As the rider ends the program: the open screen closes first.
        form->close();
        form.reset();
        ClearScreens();
    }

    Database& db() { return form->database(); }
    QString dir() const { return form->dataDir(); }

    // Presses a button of the navigator; returns the screen it opened in
    // place of the navigator, when it is a `Screen`.
    template <typename Screen>
    Screen* press(RoundButton* TFNavig::*button) {
        TFNavig* navigator = navigatorScreen();
        if (!navigator || !(navigator->*button)->isEnabled()) return nullptr;
        (navigator->*button)->click();
        Settle();
        return qobject_cast<Screen*>(form->activeScreen());
    }

    TFNavig* navigatorScreen() const {
        for (QMdiSubWindow* sub : form->mdiArea()->subWindowList()) {
            if (auto* n = qobject_cast<TFNavig*>(sub->widget())) return n;
        }
        return nullptr;
    }
    int screenCount() const { return form->mdiArea()->subWindowList().size(); }

    // Rows of a table as stored on disk, read through a handle of its own.
    QStringList column(const char* file, const char* field) {
        return TableRows(dir(), QString::fromLatin1(file)).column(field);
    }
    int64_t count(const char* file) { return TableRows(dir(), QString::fromLatin1(file)).count(); }

    // Messages of the whole session, the closing of the program included.
    ScriptedMessages msgs;
    TempHome home;
    std::unique_ptr<TForm_hl> form;
};

// Gives `widget` the focus as a click or Tab would (the one it leaves gets
// its "Exit").
inline void FocusOn(QWidget* widget) {
    widget->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

// Types `text` into a line edit or an editable list in place of what it
// holds, as the rider does: select all, then type (or delete).
inline void TypeInto(QWidget* box, const QString& text) {
    FocusOn(box);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Delete);
    } else {
        // One key per character, Czech letters included.
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    // A list may complete the typed text inline: the rider's text stays.
    if (auto* combo = qobject_cast<QComboBox*>(box)) {
        if (combo->lineEdit()->hasSelectedText()) QTest::keyClick(box, Qt::Key_Delete);
    }
}

// Whether `control` (or its own line edit) has the focus.
inline bool HasFocus(const QWidget* control) {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == control || control->isAncestorOf(focus));
}

// Types and leaves the box for `next`.
inline void Enter(QWidget* box, const QString& text, QWidget* next) {
    TypeInto(box, text);
    FocusOn(next);
}

// Clicks the row of `grid` whose `column` shows `text` (the first one).
inline bool ClickRow(QTableView* grid, int column, const QString& text) {
    QAbstractItemModel* model = grid->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, column);
        if (model->data(index).toString() != text) continue;
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
        Settle();
        return true;
    }
    return false;
}

// What a grid shows in one column, top to bottom.
inline QStringList GridColumnTexts(QTableView* grid, int column) {
    QStringList out;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        out.append(grid->model()->data(grid->model()->index(row, column)).toString());
    return out;
}

// Appends a row to a shared table as another screen would have stored it.
inline void AddRow(Table& table, const std::vector<std::pair<const char*, Value>>& values) {
    QVERIFY(table.append().ok());
    for (const auto& [field, value] : values)
        QVERIFY(table.setValue(field, value).ok());
    QVERIFY(table.post().ok());
}

}  // namespace kolvio::testing

// Every message was expected and every expected one was shown.
#define CHECK_MESSAGES(msgs) QVERIFY2((msgs).problems().isEmpty(), qPrintable((msgs).problems()))
