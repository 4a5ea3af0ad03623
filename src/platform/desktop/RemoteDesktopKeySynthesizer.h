// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/KeySynthesizer.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>

namespace tessel {
class SettingsStore;
}

namespace tessel::desktop {

class PortalRequest;

// The paste chord through the desktop's remote-desktop portal
// (org.freedesktop.portal.RemoteDesktop) with a keyboard device: the keys reach whichever window
// has the focus, Wayland or X11, as a real keyboard's do. The desktop asks the user once, at the
// first paste; the portal's restore token, kept in the settings, lets later sessions start without
// asking. A refusal is kept as well: no paste asks again until the user clears it (the preferences
// do), and each reports why. A session the desktop closes (the user stopped sharing) is opened
// again at the next paste.
class RemoteDesktopKeySynthesizer final : public QObject, public KeySynthesizer {
    Q_OBJECT

public:
    RemoteDesktopKeySynthesizer(QDBusConnection bus, SettingsStore& settings,
                                QObject* parent = nullptr);
    ~RemoteDesktopKeySynthesizer() override;

    // A session bus to reach the portal, and the user has not refused it.
    bool isAvailable() const override;
    void sendPaste(PasteChord chord, Completion done) override;

    // Whether a session is open (the user agreed, and the desktop has not closed it).
    bool hasSession() const { return m_started; }

    // How long the user may take over the desktop's question.
    static constexpr int consentTimeoutMs = 120000;
    // The portal's keyboard device type and "keep the permission until revoked".
    static constexpr uint keyboardDevice = 1;
    static constexpr uint persistUntilRevoked = 2;

private Q_SLOTS:
    void onSessionClosed(const QVariantMap& details);

private:
    void openSession();
    void selectDevices();
    void startSession();
    void fail(const QString& error);
    void type();
    void forgetSession();

    QDBusConnection m_bus;
    SettingsStore& m_settings;
    QString m_session;
    bool m_opening = false;
    bool m_started = false;
    PasteChord m_chord = PasteChord::controlV;
    Completion m_done;
};

} // namespace tessel::desktop
