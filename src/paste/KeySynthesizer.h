// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace tessel {

// The paste keystroke to send: Ctrl+V for ordinary applications, Ctrl+Shift+V for terminal
// emulators (where Ctrl+V is a literal-next key).
enum class PasteChord { controlV, controlShiftV };

// Synthetic keyboard input into the application that has the focus.
class KeySynthesizer {
public:
    // Called once the chord is sent (empty text) or has failed (a description of why).
    using Completion = std::function<void(const QString& error)>;

    virtual ~KeySynthesizer() = default;

    // Whether this session lets Tessel synthesise input at all; false on a session without it
    // (a native Wayland session, no XTEST), where nothing would arrive.
    virtual bool isAvailable() const = 0;

    // Types `chord` on the key that produces "v" in the current layout, so that the receiving
    // application sees the character "v" with the modifiers, whatever modifier keys the user still
    // holds. May finish later (it can wait for the user to let go of the shortcut's keys);
    // `done` runs on the main thread exactly once, unless the synthesiser is destroyed first.
    virtual void sendPaste(PasteChord chord, Completion done) = 0;
};

} // namespace tessel
