#include "app/focus_order.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>

namespace kolvio {

namespace {

// A scroll area, or a widget that hands its focus to a part of it (a tab
// widget to its tab bar), holds stops rather than being one.
bool IsContainer(const QWidget* w) {
    return qobject_cast<const QScrollArea*>(w) || w->focusProxy();
}

bool IsStop(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !IsContainer(w);
}

bool CanTakeFocus(const QWidget* w) {
    return w->isVisibleTo(w->window()) && w->isEnabled();
}

struct Placed {
    QWidget* widget;
    QRect rect;  // in the coordinates of the root
};

// Reading order of siblings: rows of widgets that share at least half of
// the height of the lower one, top to bottom, each row left to right.
void SortVisually(QList<Placed>& items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const Placed& a, const Placed& b) { return a.rect.top() < b.rect.top(); });
    QList<QList<Placed>> rows;
    int rowTop = 0, rowEnd = 0;
    for (const Placed& p : items) {
        const int top = p.rect.top(), end = p.rect.top() + p.rect.height();
        const int overlap = std::min(rowEnd, end) - std::max(rowTop, top);
        if (!rows.isEmpty() && overlap * 2 >= std::min(end - top, rowEnd - rowTop)) {
            rows.last().append(p);
            rowEnd = std::max(rowEnd, end);
            continue;
        }
        rows.append({p});
        rowTop = top;
        rowEnd = end;
    }
    items.clear();
    for (QList<Placed>& row : rows) {
        std::stable_sort(row.begin(), row.end(), [](const Placed& a, const Placed& b) {
            return a.rect.left() < b.rect.left();
        });
        items += row;
    }
}

void Collect(QWidget* container, QWidget* root, QList<QWidget*>* out) {
    QList<Placed> items;
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || !CanTakeFocus(child)) continue;
        items.append({child, QRect(child->mapTo(root, QPoint(0, 0)), child->size())});
    }
    SortVisually(items);
    for (const Placed& p : items) {
        if (IsStop(p.widget)) {
            out->append(p.widget);
        } else {
            Collect(p.widget, root, out);
        }
    }
}

// A control the rider types into or sets: not a button, a tab bar or a grid
// that only shows.
bool AcceptsInput(const QWidget* w) {
    if (const auto* view = qobject_cast<const QAbstractItemView*>(w))
        return view->editTriggers() != QAbstractItemView::NoEditTriggers;
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return button->isCheckable();
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w);
}

}  // namespace

QList<QWidget*> VisualTabOrder(QWidget* root) {
    QList<QWidget*> order;
    Collect(root, root, &order);
    return order;
}

QWidget* FirstInput(QWidget* root) {
    const QList<QWidget*> order = VisualTabOrder(root);
    const auto input = std::find_if(order.begin(), order.end(), AcceptsInput);
    if (input != order.end()) return *input;
    return order.isEmpty() ? nullptr : order.first();
}

bool MoveFocus(QWidget* root, bool next) {
    const QList<QWidget*> order = VisualTabOrder(root);
    if (order.isEmpty()) return false;
    const QWidget* focus = QApplication::focusWidget();
    qsizetype at = -1;
    for (qsizetype i = 0; i < order.size() && at < 0; ++i) {
        if (focus && (order[i] == focus || order[i]->isAncestorOf(focus))) at = i;
    }
    const qsizetype n = order.size();
    const qsizetype target = at < 0 ? (next ? 0 : n - 1) : (at + (next ? 1 : n - 1)) % n;
    order[target]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

}  // namespace kolvio
