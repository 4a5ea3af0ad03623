// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ColourSchemeSource.h"

#include <QDBusConnection>

class QDBusMessage;
class QDBusPendingCallWatcher;

namespace tessel::desktop {

// The desktop's colour scheme from the settings portal (org.freedesktop.portal.Settings):
// "org.freedesktop.appearance" "color-scheme", read once at construction without waiting for the
// answer, then followed through the portal's SettingChanged signal. Stays at `none` where no
// portal answers.
class PortalColourScheme final : public ColourSchemeSource {
    Q_OBJECT

public:
    explicit PortalColourScheme(QDBusConnection bus, QObject* parent = nullptr);

    Preference preference() const override { return m_preference; }

    // The portal's value (0 no preference, 1 prefer dark, 2 prefer light) as a preference;
    // anything else is no preference.
    static Preference fromPortalValue(const QVariant& value);

private Q_SLOTS:
    void settingChanged(const QDBusMessage& signal);

private:
    void readAnswered(QDBusPendingCallWatcher* watcher);
    void take(Preference preference);

    QDBusConnection m_bus;
    Preference m_preference = Preference::none;
    // A SettingChanged that came before Read's answer is newer than it.
    bool m_heardChange = false;
};

} // namespace tessel::desktop
