// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/KeySynthesizer.h"
#include "platform/x11/X11KeySynthesizer.h"

#include <QObject>
#include <QSocketNotifier>
#include <memory>

struct xcb_connection_t;

namespace tessel::x11 {

// The paste chord typed with XTEST into XWayland, for a native Wayland session whose compositor
// offers no virtual keyboard: it reaches X11 windows only. The compositor's window manager gives
// XWayland's input focus to an X11 window while that window is active, and takes it away (to
// None, or to a placeholder window of its own) while a Wayland window is; so the chord is typed
// only when the focus is on a window the window manager manages. Otherwise the paste fails with
// the reason, rather than being reported as done while nothing received it. Runs on a connection
// of its own to the X server of DISPLAY, since Qt itself speaks Wayland here.
class XWaylandKeySynthesizer final : public QObject, public KeySynthesizer {
    Q_OBJECT

public:
    // A synthesiser on the X server of DISPLAY; null when there is none or it has no XTEST.
    static std::unique_ptr<XWaylandKeySynthesizer> open();
    ~XWaylandKeySynthesizer() override;

    // The X server is still connected and has XTEST.
    bool isAvailable() const override;
    // Waits up to a second for an X11 window to have the focus (the compositor hands it back
    // after Tessel's popup closes), then types the chord there; fails when none gets it.
    void sendPaste(PasteChord chord, Completion done) override;

private:
    struct Disconnect {
        void operator()(xcb_connection_t* connection) const;
    };

    explicit XWaylandKeySynthesizer(std::unique_ptr<xcb_connection_t, Disconnect> connection);
    void drainEvents();

    std::unique_ptr<xcb_connection_t, Disconnect> m_connection;
    QSocketNotifier m_events;
    X11KeySynthesizer m_keys;
};

} // namespace tessel::x11
