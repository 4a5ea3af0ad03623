// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace tessel {

// Lets Escape and the desktop's close keys (Ctrl+W, Ctrl+F4) close the top-level `window`, as
// its title bar's close button does. A control that uses Escape itself (an open list, a
// shortcut being recorded) keeps it.
void addWindowCloseKeys(QWidget* window);

} // namespace tessel
