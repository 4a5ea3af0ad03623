// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessel {

// What the desktop session lets Tessel do, as far as the interface needs to explain it.
struct PlatformCapabilities {
    enum class AutoPaste {
        // The paste keystroke reaches every application.
        everywhere,
        // Only applications that run on X11 receive it (an X11 session nested in Wayland).
        x11WindowsOnly,
        // Nothing can be typed for the user; choosing an entry only puts it on the clipboard.
        unavailable,
    };

    // Whether Tessel's own shortcuts work from every application.
    bool globalShortcuts = false;
    AutoPaste autoPaste = AutoPaste::unavailable;
    // Whether the popup can open where the pointer is and take the keyboard by itself (otherwise
    // it is a window that the window system places and activates).
    bool popupAtPointer = false;
};

} // namespace tessel
