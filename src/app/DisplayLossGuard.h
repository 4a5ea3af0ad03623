// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace tessel {

// When its connection to the X server or the Wayland compositor breaks (the server died, the
// session ended without a goodbye), Qt ends the process by itself, without returning to main, so
// nothing saved on the way out runs. Qt says so in one warning just before: this watches Qt's
// messages for it and runs `save` then, once, on the main thread. One guard at a time.
class DisplayLossGuard {
public:
    // How long the thread that saw the loss waits for the main thread to save.
    static constexpr int saveTimeoutMs = 3000;

    explicit DisplayLossGuard(std::function<void()> save);
    ~DisplayLossGuard();
    DisplayLossGuard(const DisplayLossGuard&) = delete;
    DisplayLossGuard& operator=(const DisplayLossGuard&) = delete;

    // Whether `message` is the warning Qt gives as it abandons the display.
    static bool isDisplayLost(const QString& message);
};

} // namespace tessel
