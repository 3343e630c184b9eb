// A running program for the screen tests of the query screens: a main
// window over a fresh database in a private KOLVIO_HOME with some rides, the
// query screens registered, a scripted message responder, and the rider's
// gestures on the builder and the viewer.
#pragma once

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <memory>

#include "app/fnavig.h"
#include "app/form_hl.h"
#include "app/screen_registry.h"
#include "app/widgets/round_button.h"
#include "main/screens.h"
#include "query/columns_page.h"
#include "query/fdotaz1.h"
#include "query/fzobr_dotaz.h"
#include "tests/app/gui/gui_support.h"

namespace kolvio::testing {

inline void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct Ride {
    int y, m, d;
    int route, direction, bike, primary, secondary;
    double km, hours;
    int riders = 1;
    int watch = 0;
};

class QuerySession {
public:
    QuerySession() {
        RegisterScreens();
        form = std::make_unique<TForm_hl>();
        form->start();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
    }
    ~QuerySession() {
        form->close();
        form.reset();
        ClearScreens();
    }

    Database& db() { return form->database(); }
    QString dir() const { return form->dataDir(); }
    QString file(const char* name) const { return dir() + QLatin1Char('/') + name; }

    void addRide(const Ride& r) {
        Table& rides = db().Table1();
        QVERIFY(rides.append().ok());
        const Date date = *Date::FromYmd(r.y, r.m, r.d);
        QVERIFY(rides.setValue("DATUM", date).ok());
        QVERIFY(rides.setValue("MESIC_C", r.y * 1000 + r.m).ok());
        QVERIFY(rides.setValue("ROK", r.y).ok());
        QVERIFY(rides.setValue("TRS_C", r.route).ok());
        QVERIFY(rides.setValue("TRS_SMER", r.direction).ok());
        QVERIFY(rides.setValue("KOL_C", r.bike).ok());
        QVERIFY(rides.setValue("TRNZ_C", r.primary).ok());
        QVERIFY(rides.setValue("TRN_C", r.secondary).ok());
        QVERIFY(rides.setValue("DELKA", r.km).ok());
        QVERIFY(rides.setValue("CAS", r.hours).ok());
        QVERIFY(rides.setValue("PRUMER", r.km / r.hours).ok());
        QVERIFY(rides.setValue("OSOB", r.riders).ok());
        QVERIFY(rides.setValue("THL_C", r.watch).ok());
        QVERIFY(rides.post().ok());
    }

    void addRow(Table& table, const std::vector<std::pair<const char*, Value>>& values) {
        QVERIFY(table.append().ok());
        for (const auto& [field, value] : values)
            QVERIFY(table.setValue(field, value).ok());
        QVERIFY(table.post().ok());
    }

    TFNavig* navigator() const { return form->findChild<TFNavig*>(); }

    // Presses an evaluation button of the navigator; the builder it opened.
    TFDotaz1* openBuilder(RoundButton* TFNavig::*button) {
        TFNavig* nav = navigator();
        if (!nav || !(nav->*button)->isEnabled()) return nullptr;
        (nav->*button)->click();
        Settle();
        return qobject_cast<TFDotaz1*>(form->activeScreen());
    }

    TFZobr_Dotaz* viewer() const { return qobject_cast<TFZobr_Dotaz*>(form->activeScreen()); }

    ScriptedMessages msgs;
    TempHome home;
    std::unique_ptr<TForm_hl> form;
};

// Clicks each label in "Výběr:" and presses ">", one after the other.
inline void Choose(TFDotaz1* builder, const QStringList& labels) {
    ColumnsPage* page = builder->PageZobrazit;
    for (const QString& label : labels) {
        const QList<QListWidgetItem*> found = page->ListBox1->findItems(label, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(label));
        page->ListBox1->scrollToItem(found.front());
        QTest::mouseClick(page->ListBox1->viewport(), Qt::LeftButton, {},
                          page->ListBox1->visualItemRect(found.front()).center());
        QTest::mouseClick(page->BVybrat, Qt::LeftButton);
    }
}

// Clicks the row of `grid` whose `column` shows `text` (the first one).
inline bool ClickRowOf(QTableView* grid, int column, const QString& text) {
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

// Types `text` into a line edit in place of what it holds.
inline void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Leaves the focused control for `next`.
inline void Leave(QWidget* next) {
    next->setFocus(Qt::TabFocusReason);
    Settle();
}

// The labels a list shows, top to bottom.
inline QStringList Labels(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

}  // namespace kolvio::testing

#define CHECK_MESSAGES(msgs) QVERIFY2((msgs).problems().isEmpty(), qPrintable((msgs).problems()))
