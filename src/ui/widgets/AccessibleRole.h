// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

class QWidget;

namespace tessel {

// Gives `widget` the accessibility role `role` in place of the one Qt guesses from its class. A
// button becomes a page tab (its checked state telling the tab shown, its press action showing
// it) or a link, named by its accessible name, else its text, else its tool tip; a top-level
// widget becomes a window. Screen readers then announce what it is. To be called before
// anything asks for the widget's accessibility interface (before it shows). Main thread only.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

} // namespace tessel
