// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

namespace tessel {

// The desktop's global hot-key service: system-wide key combinations registered under a numeric
// identifier. Presses are announced on the main thread through `activated`; whether a
// registration holds is announced through `registrationChanged`, during `registerHotkey` or
// later, since some services answer only after asking the user.
class HotkeyBackend : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~HotkeyBackend() override = default;

    // What `install` returns where the session gives applications no global hot-keys at all (a
    // native Wayland session): nothing failed, the desktop's own shortcut settings run
    // `tessel --toggle` instead.
    static constexpr int notOffered = 2;

    // Starts listening for presses. Returns 0 on success, `notOffered`, or another non-zero
    // status when the service could not be reached; registrations are then refused.
    virtual int install() = 0;

    // Asks for `keysym` with the modifiers of `modifiers` (ShortcutModifier bits) under `id`,
    // replacing an earlier registration of `id`. The outcome arrives through
    // `registrationChanged`; refused when the combination is held by another client, no key
    // carries the keysym, or there is no service.
    virtual void registerHotkey(int id, quint32 keysym, quint32 modifiers) = 0;

    // Releases the registration of `id`; nothing happens for an unknown id. No outcome of the
    // released registration is announced afterwards.
    virtual void unregisterHotkey(int id) = 0;

    // The keysym that the key with hardware code `nativeScanCode` types without modifiers in the
    // current layout, so that Shift+period reads as period; 0 when unknown.
    virtual quint32 baseKeysym(quint32 nativeScanCode) const = 0;

    // What the desktop's shortcut settings call the command registered under each id ("Open the
    // clipboard history"), in the interface language. A service that lists the commands takes
    // them at the next registration, or at once where it can rename without asking the user.
    virtual void setActionNames(const QHash<int, QString>& names) { m_actionNames = names; }

Q_SIGNALS:
    void activated(int id);
    // The outcome of the latest registration of `id`, announced again whenever it changes while
    // the registration stands (a keyboard layout without the key withdraws it; one with the key
    // restores it).
    void registrationChanged(int id, bool registered);

protected:
    // The name given for `id`, else `fallback` (a name of the desktop's that is never empty).
    QString actionNameOf(int id, const QString& fallback) const
    {
        return m_actionNames.value(id, fallback);
    }

private:
    QHash<int, QString> m_actionNames;
};

} // namespace tessel
