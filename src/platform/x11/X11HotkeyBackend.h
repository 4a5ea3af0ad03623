#pragma once

#include "hotkey/HotkeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QMap>
#include <cstdint>
#include <memory>

namespace tessel::x11 {

class X11Keymap;

// Global shortcuts as passive key grabs on the root window: one grab per keycode that carries the
// keysym, in every Lock/NumLock combination. Another client's grab on any of them (BadAccess)
// refuses the whole registration. Presses arrive through Qt's native event filter on the main
// thread; grabs are redone when the keyboard mapping changes.
class X11HotkeyBackend final : public HotkeyBackend, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit X11HotkeyBackend(QObject* parent = nullptr);
    ~X11HotkeyBackend() override;

    int install() override;
    bool registerHotkey(int id, quint32 keysym, quint32 modifiers) override;
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
    };

    bool grab(Registration& registration);
    void ungrab(const Registration& registration);
    QList<uint16_t> variants(const Registration& registration) const;
    void scheduleKeymapRefresh();
    void refreshKeymap();

    QMap<int, Registration> m_registrations;
    std::unique_ptr<X11Keymap> m_keymap;
    bool m_installed = false;
    bool m_refreshQueued = false;
    uint8_t m_xkbEventBase = 0;
};

} // namespace tessel::x11
