// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Workspace.h"
#include "hotkey/HotkeyBackend.h"
#include "paste/KeySynthesizer.h"

namespace tessel {

// The services of a session that offers none of them: each says so honestly, as documented on
// its interface.

class NullWorkspace final : public Workspace {
public:
    QString frontmostApplicationId() const override { return {}; }
    void rememberActiveWindow() override {}
    bool restoreFocus() override { return false; }
    QStringList focusedApplicationIds() const override { return {}; }
};

class NullHotkeyBackend final : public HotkeyBackend {
public:
    using HotkeyBackend::HotkeyBackend;
    int install() override { return notOffered; }
    void registerHotkey(int id, quint32 keysym, quint32 modifiers) override;
    void unregisterHotkey(int) override {}
    quint32 baseKeysym(quint32) const override { return 0; }
};

class NullKeySynthesizer final : public KeySynthesizer {
public:
    bool isAvailable() const override { return false; }
    void sendPaste(PasteChord chord, Completion done) override;
};

} // namespace tessel
