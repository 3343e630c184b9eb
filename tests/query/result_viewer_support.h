// Gestures on the result viewer shared by its screen tests: a result of
// three bikes, clicking a cell, opening the context menu, reading the
// summary dialog.
#pragma once

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <functional>

#include "app/widgets/db_grid.h"
#include "query/fvysledek.h"
#include "query_gui_support.h"

namespace kolvio::testing {

// Three bikes with 3, 1 and 2 rides (HORSKÉ 18 km in 0:45, SILNIČNÍ ZÁVODNÍ
// 40 km in 2:00, SILNIČNÍ ZIMNÍ 31.5 km in 1:30).
inline void SeedBikes(QuerySession& s) {
    s.addRow(s.db().TTKOL(), {{"KOL_C", 3}, {"KOL_TYP", "HORSKÉ"}});
    s.addRide({2024, 3, 1, 1, 1, 1, 2, 201, 40, 2});
    s.addRide({2024, 3, 2, 1, 1, 2, 2, 201, 10.5, 0.5});
    s.addRide({2024, 3, 3, 1, 1, 2, 2, 201, 21, 1});
    s.addRide({2024, 3, 4, 1, 1, 3, 2, 201, 5, 0.25});
    s.addRide({2024, 3, 5, 1, 1, 3, 2, 201, 6, 0.25});
    s.addRide({2024, 3, 6, 1, 1, 3, 2, 201, 7, 0.25});
}

// "Statistika kol" with `labels` chosen, run; the viewer.
inline TFZobr_Dotaz* RunBikeStatistics(QuerySession& s, const QStringList& labels) {
    TFDotaz1* b = s.openBuilder(&TFNavig::RButton13);
    if (!b) return nullptr;
    Choose(b, labels);
    QTest::mouseClick(b->Button1, Qt::LeftButton);
    Settle();
    return s.viewer();
}

// Clicks the cell (row, column) of a grid.
inline void ClickCell(QTableView* grid, int row, int column) {
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    Settle();
}

// Opens the grid's context menu as a right click does and closes it again.
inline void OpenContextMenu(TFZobr_Dotaz* v, QTableView* grid) {
    const QPoint at = grid->viewport()->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &event);
    Settle();
    v->PopupMenu1->hide();
    Settle();
}

struct ShownResult {
    bool shown = false;
    QString title, caption, value;
    bool readOnly = false, bold = false, centred = false;
    bool buttonFocused = false;
    QPoint position;
    QSize size;
};

// Chooses a menu item and reads the result dialog it shows; `inside`
// may act on the dialog before it is closed with Esc.
inline ShownResult ReadResultDialog(QAction* action,
                                    const std::function<void(TFVysledek*)>& inside = {}) {
    ShownResult seen;
    auto* poll = new QTimer;
    poll->setInterval(10);
    int tries = 0;
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* d = qobject_cast<TFVysledek*>(QApplication::activeModalWidget());
        if (!d) {
            if (++tries > 300) poll->stop();
            return;
        }
        poll->stop();
        seen.shown = true;
        seen.title = d->windowTitle();
        seen.caption = d->Label1->text();
        seen.value = d->Edit1->text();
        seen.readOnly = d->Edit1->isReadOnly();
        seen.bold = d->Edit1->font().bold();
        seen.centred = d->Edit1->alignment() & Qt::AlignHCenter;
        seen.buttonFocused = d->focusWidget() == d->Button1;
        seen.position = d->pos();
        seen.size = d->frameGeometry().size();
        if (inside) inside(d);
        if (d->isVisible()) QTest::keyClick(d->Button1, Qt::Key_Escape);
    });
    poll->start();
    action->trigger();
    delete poll;
    Settle();
    return seen;
}

}  // namespace kolvio::testing
