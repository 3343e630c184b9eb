// Keyboard focus inside a screen: Tab follows what the rider sees, not the
// order in which the controls were made.
//
// The visual order reads a screen like a page: the controls of one
// container (a group box, a page, the screen itself) in rows from top to
// bottom, each row from left to right, and a container's controls together
// at its place. Controls that take focus only by a click, and Qt's inner
// parts of compound controls (a spin box's line edit), are not stops.
#pragma once

#include <QList>

class QWidget;

namespace kolvio {

// The Tab stops of `root` in visual order, those that can take the focus
// now (shown and enabled).
QList<QWidget*> VisualTabOrder(QWidget* root);

// The control a screen opens with: its first stop that takes input (a box,
// a list, a check box, an editable grid; not a button, a tab bar or a grid
// that only shows), else its first stop; null when there is none.
QWidget* FirstInput(QWidget* root);

// Moves the focus to the next (or previous) stop of `root` after the one
// holding it now, wrapping at either end. False when `root` has no stop.
bool MoveFocus(QWidget* root, bool next);

}  // namespace kolvio
