// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessel {

// The short sound effects Tessel plays. Playing never fails loudly: without a sound server it is
// silent.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // The "Pop" played after a paste.
    virtual void playPop() = 0;
};

} // namespace tessel
