// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkey/HotkeyBackend.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QMap>

namespace tessel::desktop {

// Global shortcuts through the desktop's shortcuts portal (org.freedesktop.portal.GlobalShortcuts;
// GNOME from 48, KDE Plasma, others): both shortcuts are bound in one session, with Tessel's
// combinations as the preferred triggers; the desktop may ask the user, and lists them in its
// own shortcut settings, where the user can change the keys. A shortcut counts as registered
// once the desktop's answer lists it. A session the desktop closes is opened again at the next
// registration.
class PortalHotkeyBackend final : public HotkeyBackend {
    Q_OBJECT

public:
    explicit PortalHotkeyBackend(QDBusConnection bus, QObject* parent = nullptr);
    ~PortalHotkeyBackend() override;

    // 0; the portal is reached with the first registration.
    int install() override;
    // Binds every registered shortcut again, this one with its new trigger.
    void registerHotkey(int id, quint32 keysym, quint32 modifiers) override;
    // The portal cannot unbind one shortcut: its presses are ignored until it is registered again.
    void unregisterHotkey(int id) override;
    quint32 baseKeysym(quint32) const override { return 0; }

    // The shortcut's id in the session for the registration `id`: "toggle", "emoji".
    static QString shortcutId(int id);
    // How long the user may take over the desktop's question.
    static constexpr int consentTimeoutMs = 120000;

private Q_SLOTS:
    void onActivated(const QDBusObjectPath& session, const QString& shortcut, qulonglong timestamp,
                     const QVariantMap& options);
    void onSessionClosed(const QVariantMap& details);

private:
    struct Wanted {
        QString trigger;
        bool active = true;
    };

    void scheduleBind();
    void bind();
    void openSession();
    void refuseAll(const QString& why);

    QDBusConnection m_bus;
    QString m_session;
    bool m_opening = false;
    bool m_bindScheduled = false;
    bool m_binding = false;
    bool m_bindAgain = false;
    QMap<int, Wanted> m_wanted;
};

} // namespace tessel::desktop
