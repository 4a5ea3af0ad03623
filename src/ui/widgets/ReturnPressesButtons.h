// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace tessel {

// Lets Return and Enter press the focused button of the top-level `window` (a push button, a
// tab, a link, a key cap), as Space does: Qt's buttons leave Return alone outside a dialog. Check
// boxes and radio buttons keep Space only, and a button that holds the keyboard (a key cap that
// records) keeps every key.
void letReturnPressButtons(QWidget* window);

} // namespace tessel
