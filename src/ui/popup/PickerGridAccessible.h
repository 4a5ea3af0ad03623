// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessel {

class PickerGridView;

// Shows a picker grid to screen readers as a list of its cells (the section titles are left
// out): each cell is a list item named by its tool tip (an emoji's name in the interface
// language) or else its text (a kaomoji, a symbol), selected while highlighted. Installed once,
// by the first grid made.
void installPickerGridAccessibility();

// Raises the focus and selection events for the highlighted cell at model row `row` of `grid`.
void announcePickerCell(PickerGridView& grid, int row);

} // namespace tessel
