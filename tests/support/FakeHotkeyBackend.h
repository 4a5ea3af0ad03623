#pragma once

#include "hotkey/HotkeyBackend.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>

namespace tessel::test {

// Records registrations; refuses the keysym+modifier pairs listed in `taken` and everything when
// `installStatus` is non-zero, as a session without a hot-key service would.
class FakeHotkeyBackend final : public HotkeyBackend {
public:
    struct Registration {
        quint32 keysym;
        quint32 modifiers;
        friend bool operator==(const Registration&, const Registration&) = default;
    };

    int install() override
    {
        ++installs;
        return installStatus;
    }
    bool registerHotkey(int id, quint32 keysym, quint32 modifiers) override
    {
        log.append(QStringLiteral("register %1").arg(id));
        if (installStatus != 0 || taken.contains(qMakePair(keysym, modifiers)))
            return false;
        active.insert(id, {keysym, modifiers});
        return true;
    }
    void unregisterHotkey(int id) override
    {
        log.append(QStringLiteral("unregister %1").arg(id));
        active.remove(id);
    }
    quint32 baseKeysym(quint32 nativeScanCode) const override
    {
        return baseKeysyms.value(nativeScanCode, 0);
    }

    void press(int id) { Q_EMIT activated(id); }

    int installs = 0;
    int installStatus = 0;
    QSet<QPair<quint32, quint32>> taken;
    QMap<int, Registration> active;
    QMap<quint32, quint32> baseKeysyms;
    QStringList log;
};

} // namespace tessel::test
