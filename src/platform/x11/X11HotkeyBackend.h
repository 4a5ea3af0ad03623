// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkey/HotkeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QMap>
#include <cstdint>
#include <memory>
#include <optional>

namespace tessel::x11 {

class X11Keymap;

// Global shortcuts as passive key grabs on the root window: one grab per keycode that carries the
// keysym, in every Lock/NumLock combination. Another client's grab on any of them (BadAccess)
// refuses the whole registration. Presses arrive through Qt's native event filter on the main
// thread; the key repeat of a held shortcut is not a new press. Grabs are redone when the keyboard
// mapping changes; a registration whose key is missing from a layout stays, reported withdrawn,
// and is grabbed (and reported registered) again when a layout that has it returns. Outcomes are
// reported during the call that causes them.
class X11HotkeyBackend final : public HotkeyBackend, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit X11HotkeyBackend(QObject* parent = nullptr);
    ~X11HotkeyBackend() override;

    int install() override;
    void registerHotkey(int id, quint32 keysym, quint32 modifiers) override;
    void unregisterHotkey(int id) override;
    quint32 baseKeysym(quint32 nativeScanCode) const override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Registration {
        quint32 keysym = 0;
        quint32 modifiers = 0;
        // What was grabbed, kept so that the grabs can be released after a mapping change.
        QList<uint8_t> keycodes;
        uint16_t mask = 0;
        uint16_t numLockMask = 0;
        // Whether the grabs are in place (false while the layout lacks the key).
        bool grabbed = false;
    };
    struct KeyEvent {
        uint8_t keycode = 0;
        uint32_t time = 0;
    };

    // Whether a press of `keycode` at `time` is the key repeat of a shortcut still held.
    bool isRepeat(uint8_t keycode, uint32_t time) const;

    bool grab(Registration& registration);
    void ungrab(const Registration& registration);
    QList<uint16_t> variants(const Registration& registration) const;
    void scheduleKeymapRefresh();
    void refreshKeymap();

    QMap<int, Registration> m_registrations;
    std::unique_ptr<X11Keymap> m_keymap;
    bool m_installed = false;
    bool m_refreshQueued = false;
    // The shortcut key held down since its press, and the last release seen: with the server's
    // plain auto-repeat, a repeat is a release and a press with the same time stamp.
    std::optional<uint8_t> m_heldKeycode;
    uint32_t m_lastPressTime = 0;
    KeyEvent m_lastRelease;
    uint8_t m_xkbEventBase = 0;
};

} // namespace tessel::x11
