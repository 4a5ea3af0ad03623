// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessel {

// Shows a history list to screen readers as a list of its rows: each row a list item named by
// its preview (an image by its size), described as pinned when it is, selected while it has the
// keyboard selection, with the actions its click, pin button and menu have (press, pin or unpin,
// delete, show menu), each run as the mouse runs it. Installed once, by the first history list
// made.
void installHistoryListAccessibility();

} // namespace tessel
