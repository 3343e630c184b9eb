// Helpers of the screen tests of the ride screens: the running program of the
// list tests (every screen registered), picking items of the drop-down lists
// with the keyboard, and the rides as stored on disk.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <map>
#include <string>
#include <vector>

#include "tests/lists/list_gui_support.h"

namespace kolvio::testing {

using RideSession = ListSession;

// One stored ride, field by field.
using StoredRide = std::map<std::string, Value>;

// The rides as stored in "jizdy.dbf", in the order they were stored.
inline std::vector<StoredRide> ReadRides(const QString& dir) {
    std::vector<StoredRide> out;
    Table t(dir.toStdString(), "jizdy.dbf");
    if (!t.open().ok()) return out;
    for (Status st = t.first(); st.ok() && !t.eof(); st = t.next()) {
        StoredRide ride;
        for (size_t i = 0; i < t.fields().size(); ++i)
            ride[t.fields()[i].name] = t.value(static_cast<int>(i));
        out.push_back(std::move(ride));
    }
    return out;
}

// Whether the box, as laid out now, has room for each of its items whole.
inline bool ShowsEveryItemWhole(QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    const int room =
        combo->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
            .width();
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->fontMetrics().horizontalAdvance(combo->itemText(i)) > room) return false;
    }
    return combo->count() > 0;
}

// Whether a ride screen, in a window of the smallest size, fits its width
// (no sideways scrolling) and shows the watch types whole.
template <class Screen>
bool FitsTheSmallestWindow(RideSession& s, Screen* screen) {
    s.form->resize(632, 430);
    Settle();
    const auto* scroll = screen->template findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
    return scroll && !scroll->horizontalScrollBar()->isVisible() &&
           ShowsEveryItemWhole(screen->hl_c_1) && ShowsEveryItemWhole(screen->hl_c_2);
}

// Picks the item showing `text` as the rider does with the keyboard (which
// also "activates" it, as a click in the open list does). False when the
// list has no such item.
inline bool PickItem(QComboBox* combo, const QString& text) {
    FocusOn(combo);  // entering a list may order it anew
    const int target = combo->findText(text);
    if (target < 0) return false;
    while (combo->currentIndex() != target) {
        const int before = combo->currentIndex();
        QTest::keyClick(combo, before < target ? Qt::Key_Down : Qt::Key_Up);
        if (combo->currentIndex() == before) return false;
    }
    Settle();
    return true;
}

// A date of the program's own kind from a QDate.
inline Date DateOf(const QDate& d) {
    return *Date::FromYmd(d.year(), d.month(), d.day());
}

}  // namespace kolvio::testing
