// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;

namespace tessel {

// A view that takes part in the popup's keyboard handling. The popup offers it every key typed
// anywhere inside it, before the widget with the focus sees the key.
class PopupKeyTarget {
public:
    virtual ~PopupKeyTarget() = default;

    // Returns true when the key was used; false lets it go on to the focused widget.
    virtual bool handlePopupKey(const QKeyEvent& event) = 0;
};

} // namespace tessel
