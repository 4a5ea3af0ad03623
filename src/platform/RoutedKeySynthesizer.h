// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/KeySynthesizer.h"

#include <functional>
#include <memory>

namespace tessel {

// Two ways to type the paste chord, each for its kind of window: `own` where `ownReaches` says it
// reaches the focused window (XTEST, for X11 windows under XWayland), `other` for the rest (the
// desktop's remote-desktop portal, for Wayland windows, which asks the user first). Whichever
// is unavailable leaves the chord to the other.
class RoutedKeySynthesizer final : public KeySynthesizer {
public:
    RoutedKeySynthesizer(std::unique_ptr<KeySynthesizer> own, std::unique_ptr<KeySynthesizer> other,
                         std::function<bool()> ownReaches);

    bool isAvailable() const override;
    void sendPaste(PasteChord chord, Completion done) override;

private:
    std::unique_ptr<KeySynthesizer> m_own;
    std::unique_ptr<KeySynthesizer> m_other;
    std::function<bool()> m_ownReaches;
};

} // namespace tessel
