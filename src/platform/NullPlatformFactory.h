// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PlatformFactory.h"

namespace tessel {

// A session with no windowing-system backend (the offscreen platform, or one this build left
// out): Qt's clipboard, and every other service reports itself unsupported.
class NullPlatformFactory : public PlatformFactory {
public:
    QString name() const override;
    PlatformCapabilities capabilities() const override;
    std::unique_ptr<Pasteboard> createPasteboard() override;
    std::unique_ptr<Workspace> createWorkspace() override;
    std::unique_ptr<HotkeyBackend> createHotkeyBackend() override;
    std::unique_ptr<KeySynthesizer> createKeySynthesizer() override;
    std::function<bool()> createTrustProbe() override;
};

} // namespace tessel
