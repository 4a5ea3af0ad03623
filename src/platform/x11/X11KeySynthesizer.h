// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/KeySynthesizer.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>
#include <cstdint>

struct xcb_connection_t;

namespace tessel::x11 {

// The paste chord through the XTEST extension. It first gives the user up to a second to let go
// of the shortcut's modifier keys, and the window manager as long to give the focus to a window
// that is not Tessel's; keys still held then are released for the chord (and never pressed
// again), so that the receiving window sees exactly Ctrl+V. The chord uses the key that
// types "v" in the current layout and group; where none does, "v" is mapped onto a free keycode
// for the chord, or, without one, the US V key is used.
class X11KeySynthesizer final : public QObject, public KeySynthesizer {
    Q_OBJECT

public:
    // Types into the X server Qt runs on.
    explicit X11KeySynthesizer(QObject* parent = nullptr);
    // Types into the X server of `connection` (null: none), which outlives the synthesiser.
    explicit X11KeySynthesizer(xcb_connection_t* connection, QObject* parent = nullptr);
    ~X11KeySynthesizer() override;

    // An X11 connection whose server has XTEST.
    bool isAvailable() const override;
    void sendPaste(PasteChord chord, Completion done) override;

    // The keycode that types "v" in the current layout and group, 0 when none does.
    static uint8_t currentVKeycode();

    // XWayland gives the XTEST keyboard a keymap of its own, which the server takes on only when
    // that keyboard types; until then the map it reports can be the compositor's, another layout.
    // With this set, the chord starts with a tap of Shift (harmless alone), and the keys are
    // looked up in the map reported after it.
    void setTestKeyboardHasOwnKeymap(bool own) { m_testKeymapOfItsOwn = own; }
    // With this set, the chord is typed only once the focus is on a window the window manager
    // manages; when none gets it within the wait, the paste fails instead (under XWayland the
    // active window may be a Wayland one, which XTEST cannot reach).
    void setManagedWindowsOnly(bool only) { m_managedWindowsOnly = only; }

private:
    void waitForTarget();
    void adoptTestKeymap();
    void pressChord();
    void releaseChord();
    void restoreBorrowedKey();
    void complete(const QString& error);

    xcb_connection_t* m_connection;
    bool m_testKeymapOfItsOwn = false;
    bool m_managedWindowsOnly = false;
    PasteChord m_chord = PasteChord::controlV;
    Completion m_done;
    QElapsedTimer m_waiting;
    QTimer m_poll;
    // The keys of the chord being sent, in press order.
    QList<uint8_t> m_pressed;
    uint8_t m_borrowedKeycode = 0;
    QTimer m_restore;
};

} // namespace tessel::x11
