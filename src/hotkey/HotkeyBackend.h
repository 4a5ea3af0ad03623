#pragma once

#include <QObject>

namespace tessel {

// The desktop's global hot-key service: system-wide key combinations registered under a numeric
// identifier. Presses are announced on the main thread through `activated`.
class HotkeyBackend : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~HotkeyBackend() override = default;

    // Starts listening for presses. Returns 0 on success, otherwise a non-zero status (for
    // example when the session has no global hot-key service); registrations are then refused.
    virtual int install() = 0;

    // Registers `keysym` with the modifiers of `modifiers` (ShortcutModifier bits) under `id`,
    // replacing an earlier registration of `id`. Returns false when the combination cannot be
    // registered (held by another client, no key carries the keysym, no service).
    virtual bool registerHotkey(int id, quint32 keysym, quint32 modifiers) = 0;

    // Releases the registration of `id`; nothing happens for an unknown id.
    virtual void unregisterHotkey(int id) = 0;

    // The keysym that the key with hardware code `nativeScanCode` types without modifiers in the
    // current layout, so that Shift+period reads as period; 0 when unknown.
    virtual quint32 baseKeysym(quint32 nativeScanCode) const = 0;

Q_SIGNALS:
    void activated(int id);
};

} // namespace tessel
