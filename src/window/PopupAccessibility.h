// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessel {

// Shows every open popup window among the application's windows in the accessibility tree: Qt
// leaves popups out of the application's children, so a screen reader that walks the
// application's windows would never find the one the user types in. Installed once, by the first
// popup window made. Main thread only.
void installPopupAccessibility();

} // namespace tessel
