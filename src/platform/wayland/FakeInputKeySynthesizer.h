// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/KeySynthesizer.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

struct org_kde_kwin_fake_input;
struct wl_keyboard;
struct wl_seat;

namespace tessel::wayland {

class WaylandConnection;

// The paste chord through KWin's fake-input protocol (org_kde_kwin_fake_input), which KWin offers
// only to programs whose desktop entry asks for it (X-KDE-Wayland-Interfaces). Its keys go
// through the compositor's own keyboard, so they reach every window, Wayland or X11, in the
// compositor's layout: the key that types "v" is looked up in the keymap the seat announces
// (the US V key until one arrives). It waits, a second at most, until no window of Tessel's
// has the keyboard, since the compositor types into the active window.
class FakeInputKeySynthesizer final : public QObject, public KeySynthesizer {
    Q_OBJECT

public:
    // `ownWindowActive` tells whether one of Tessel's windows has the keyboard.
    FakeInputKeySynthesizer(WaylandConnection& connection, std::function<bool()> ownWindowActive,
                            QObject* parent = nullptr);
    ~FakeInputKeySynthesizer() override;

    // The compositor granted the interface (it lists it only to programs it trusts with it).
    bool isAvailable() const override;
    void sendPaste(PasteChord chord, Completion done) override;

    // Types one key (a Linux evdev code) with `modifiers` (evdev codes) held, for tests that
    // drive the desktop the way the user would.
    void tap(uint32_t key, const QList<uint32_t>& modifiers = {});

    // The evdev code of the key that types `keysym` without modifiers in the seat's keymap, or
    // `fallback` while no keymap has arrived or no key types it.
    uint32_t keyFor(uint32_t keysym, uint32_t fallback) const;

private:
    static void onCapabilities(void* data, wl_seat* seat, uint32_t capabilities);
    static void onKeymap(void* data, wl_keyboard* keyboard, uint32_t format, int32_t fd,
                         uint32_t size);
    void typeWhenFocused();
    void pressChord();
    void complete(const QString& error);

    WaylandConnection& m_connection;
    std::function<bool()> m_ownWindowActive;
    org_kde_kwin_fake_input* m_fakeInput = nullptr;
    wl_keyboard* m_keyboard = nullptr;
    // The seat's keymap in XKB text form; empty until announced.
    QByteArray m_keymap;
    QList<uint32_t> m_chord;
    Completion m_done;
    QElapsedTimer m_waiting;
    QTimer m_poll;
};

} // namespace tessel::wayland
