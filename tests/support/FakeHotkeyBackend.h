// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkey/HotkeyBackend.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>

namespace tessel::test {

// Records registrations; refuses the keysym+modifier pairs listed in `taken` and everything when
// `installStatus` is non-zero, as a session without a hot-key service would. Answers at once, or
// with `deferAnswers` only when `answer` is called, as a service that asks the user would.
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
    void registerHotkey(int id, quint32 keysym, quint32 modifiers) override
    {
        log.append(QStringLiteral("register %1").arg(id));
        pending.insert(id, {keysym, modifiers});
        if (!deferAnswers)
            answer(id);
    }
    void unregisterHotkey(int id) override
    {
        log.append(QStringLiteral("unregister %1").arg(id));
        active.remove(id);
        pending.remove(id);
    }
    // Answers the pending registration of `id`.
    void answer(int id)
    {
        const auto it = pending.find(id);
        if (it == pending.end())
            return;
        const Registration registration = *it;
        pending.erase(it);
        const bool refused = installStatus != 0 ||
                             taken.contains(qMakePair(registration.keysym, registration.modifiers));
        if (!refused)
            active.insert(id, registration);
        Q_EMIT registrationChanged(id, !refused);
    }
    quint32 baseKeysym(quint32 nativeScanCode) const override
    {
        return baseKeysyms.value(nativeScanCode, 0);
    }

    void setActionNames(const QHash<int, QString>& names) override { actionNames = names; }

    void press(int id) { Q_EMIT activated(id); }

    int installs = 0;
    int installStatus = 0;
    bool deferAnswers = false;
    QSet<QPair<quint32, quint32>> taken;
    QMap<int, Registration> active;
    QMap<int, Registration> pending;
    QMap<quint32, quint32> baseKeysyms;
    QStringList log;
    QHash<int, QString> actionNames;
};

} // namespace tessel::test
