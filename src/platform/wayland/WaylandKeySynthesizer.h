// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/KeySynthesizer.h"
#include "platform/wayland/VirtualKeymap.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

namespace tessel::wayland {

class WaylandConnection;
class WaylandToplevels;

// The paste chord through a virtual keyboard (zwp_virtual_keyboard_v1) with a keymap of its own.
// The virtual keyboard has its own modifier state, so keys the user still holds on the real
// keyboard do not mix into the chord. Before typing it waits, for a second at most, until the
// window the popup was opened over is active again (told by `toplevels`, when the compositor
// offers the list), since the compositor sends the keys to whichever window is active. The
// virtual keyboard is set up when the synthesiser is made and kept for its lifetime.
class WaylandKeySynthesizer final : public QObject, public KeySynthesizer {
    Q_OBJECT

public:
    // `isOwnWindow` tells Tessel's windows apart by application id; `toplevels` may be null.
    WaylandKeySynthesizer(WaylandConnection& connection, WaylandToplevels* toplevels,
                          std::function<bool(const QString& appId)> isOwnWindow,
                          QObject* parent = nullptr);
    ~WaylandKeySynthesizer() override;

    // The compositor offers a virtual keyboard and the keymap could be compiled.
    bool isAvailable() const override;
    void sendPaste(PasteChord chord, Completion done) override;

private:
    bool focusIsElsewhere() const;
    void typeWhenFocused();
    bool ensureKeyboard();
    void press();
    void release();
    void complete(const QString& error);
    uint32_t timestamp() const;

    WaylandConnection& m_connection;
    QPointer<WaylandToplevels> m_toplevels;
    std::function<bool(const QString&)> m_isOwnWindow;
    VirtualKeymap m_keymap;
    zwp_virtual_keyboard_manager_v1* m_manager = nullptr;
    zwp_virtual_keyboard_v1* m_keyboard = nullptr;
    VirtualKeyPress m_press;
    Completion m_done;
    QElapsedTimer m_clock;
    QTimer m_focusDeadline;
    bool m_keyDown = false;
};

} // namespace tessel::wayland
