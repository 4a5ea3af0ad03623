// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;
class QWidget;

namespace tessel {

// Presses `widget` when it is a button and `key` a plain Return or Enter, as Space would: Qt's
// buttons leave Return alone outside a dialog. Check boxes and radio buttons keep Space only, and
// a button that holds the keyboard (a key cap that records) keeps every key. True when pressed.
bool pressButtonOnReturn(QWidget* widget, const QKeyEvent& key);

// Lets Return and Enter press the focused button of the top-level `window` (a push button, a
// tab, a link, a key cap).
void letReturnPressButtons(QWidget* window);

} // namespace tessel
