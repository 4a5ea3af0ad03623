// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkey/HotkeyBackend.h"

#include <QDBusConnection>
#include <QHash>
#include <QSet>
#include <QStringList>

class QDBusPendingCall;

namespace tessel::desktop {

// KDE Plasma's global shortcut service (kglobalaccel, on the session bus): each shortcut is an
// action of Tessel's component, shown and changeable in Plasma's shortcut settings, and a press
// arrives as the component's signal, whichever window has the focus. Every call is asynchronous;
// a registration's outcome comes with the service's answer.
class KGlobalAccelHotkeyBackend final : public HotkeyBackend {
    Q_OBJECT

public:
    // `component` names Tessel in Plasma's settings (its unique name and the name shown).
    explicit KGlobalAccelHotkeyBackend(QDBusConnection bus, QString component,
                                       QString componentName, QObject* parent = nullptr);
    ~KGlobalAccelHotkeyBackend() override;

    // 0; the service itself is reached with the first registration.
    int install() override;
    // Registered when the service took the combination; refused when it gave it to another
    // action, did not answer, or is absent.
    void registerHotkey(int id, quint32 keysym, quint32 modifiers) override;
    // Marks the action inactive: the service stops taking its keys, and keeps the setting.
    void unregisterHotkey(int id) override;
    quint32 baseKeysym(quint32) const override { return 0; }
    // Plasma's settings show the new names at once.
    void setActionNames(const QHash<int, QString>& names) override;

    // How long an answer may take before the registration counts as refused.
    static constexpr int callTimeoutMs = 3000;

    // The name an action has in the component for the registration `id`: "toggle", "emoji".
    static QString actionName(int id);

private Q_SLOTS:
    void onPressed(const QString& component, const QString& action, qlonglong timestamp);

private:
    QStringList actionId(int id) const;
    QDBusPendingCall call(const QString& method, const QVariantList& arguments);
    void listenForPresses();

    QDBusConnection m_bus;
    QString m_component;
    QString m_componentName;
    bool m_listening = false;
    // Bumped by every registration and release of an id, so that a late answer to an earlier
    // one is dropped.
    QHash<int, quint64> m_generation;
    // The ids registered and not released since.
    QSet<int> m_active;
};

} // namespace tessel::desktop
