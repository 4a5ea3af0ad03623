// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "hotkey/SavedShortcut.h"
#include "platform/desktop/DesktopKeys.h"
#include "platform/desktop/KGlobalAccelHotkeyBackend.h"
#include "platform/desktop/PortalColourScheme.h"
#include "platform/desktop/PortalHotkeyBackend.h"
#include "platform/desktop/PortalProbe.h"
#include "platform/desktop/PortalShortcut.h"
#include "platform/desktop/RemoteDesktopKeySynthesizer.h"
#include "support/FakePortal.h"
#include "support/SessionBus.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using desktop::PortalHotkeyBackend;
using desktop::PortalShortcut;
using desktop::RemoteDesktopKeySynthesizer;
using test::FakePortal;

namespace {
const QString kRemoteDesktop = u"org.freedesktop.portal.RemoteDesktop"_s;
const QString kShortcuts = u"org.freedesktop.portal.GlobalShortcuts"_s;
const QString kKGlobalAccel = u"org.kde.KGlobalAccel"_s;
constexpr uint kKeysymControl = 0xffe3;
constexpr uint kKeysymV = 0x76;

// The keysym and state of each key the fake portal was told of.
QList<std::pair<int, uint>> typedKeys(const FakePortal& portal)
{
    QList<std::pair<int, uint>> keys;
    for (const QDBusMessage& call : portal.callsOf(u"NotifyKeyboardKeysym"_s))
        keys.append({call.arguments().at(2).toInt(), call.arguments().at(3).toUInt()});
    return keys;
}

const QList<std::pair<int, uint>> kControlV{
    {kKeysymControl, 1}, {kKeysymV, 1}, {kKeysymV, 0}, {kKeysymControl, 0}};
} // namespace

// The clients of the desktop portal against a fake portal on a private session bus: what they
// ask for, and how they take a grant, a refusal, a session the desktop closes, and a restore
// token from an earlier session.
class TestDesktopPortals : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::SessionBus> m_bus;
    std::unique_ptr<FakePortal> m_portal;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    // The user's answer to the remote-desktop question: 0 allows, 1 refuses.
    uint m_startAnswer = 0;
    QStringList m_sessions;

    QDBusConnection client() const
    {
        return QDBusConnection::connectToBus(m_bus->address(), u"tessel-portal-client"_s);
    }

    // A session-creating method: answers with a new session's handle.
    FakePortal::Handler createSession()
    {
        return m_portal->request([this](const QDBusMessage& call) {
            m_sessions << FakePortal::sessionPath(call);
            return std::pair<uint, QVariantMap>{0, {{u"session_handle"_s, m_sessions.constLast()}}};
        });
    }

    QString paste(RemoteDesktopKeySynthesizer& keys)
    {
        QString outcome = u"<none>"_s;
        keys.sendPaste(PasteChord::controlV, [&outcome](const QString& error) { outcome = error; });
        if (!QTest::qWaitFor([&outcome] { return outcome != "<none>"_L1; }, 5000))
            return u"<no answer>"_s;
        return outcome;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
            QSKIP("dbus-daemon is not installed");
        PortalShortcut::registerMetaTypes();
    }

    void init()
    {
        m_bus = std::make_unique<test::SessionBus>();
        QVERIFY(m_bus->isRunning());
        m_portal = std::make_unique<FakePortal>(m_bus->address());
        QVERIFY(m_portal->isRegistered());
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings = std::make_unique<SettingsStore>(m_dir->filePath(u"settings.json"_s));
        m_startAnswer = 0;
        m_sessions.clear();
        m_portal->handle(kRemoteDesktop, u"CreateSession"_s, createSession());
        m_portal->handle(kRemoteDesktop, u"SelectDevices"_s,
                         m_portal->request([](const QDBusMessage&) {
                             return std::pair<uint, QVariantMap>{0, {}};
                         }));
        m_portal->handle(kRemoteDesktop, u"Start"_s, m_portal->request([this](const QDBusMessage&) {
            if (m_startAnswer != 0)
                return std::pair<uint, QVariantMap>{m_startAnswer, {}};
            return std::pair<uint, QVariantMap>{
                0,
                {{u"devices"_s, 1u}, {u"restore_token"_s, u"token-%1"_s.arg(m_sessions.size())}}};
        }));
        m_portal->handle(kRemoteDesktop, u"NotifyKeyboardKeysym"_s,
                         [](const QDBusMessage&) { return FakePortal::Answer{}; });
    }

    void cleanup()
    {
        m_portal.reset();
        QDBusConnection::disconnectFromBus(u"tessel-portal-client"_s);
        m_bus.reset();
    }

    // The first paste asks for a keyboard that lasts until revoked, types Ctrl+V, and keeps the
    // restore token; the next paste uses the same session without asking again.
    void remoteDesktopAsksOnceThenTypes()
    {
        RemoteDesktopKeySynthesizer keys(client(), *m_settings);
        QVERIFY(keys.isAvailable());
        QCOMPARE(paste(keys), QString());
        const QVariantMap devices =
            FakePortal::optionsOf(m_portal->callsOf(u"SelectDevices"_s).at(0));
        QCOMPARE(devices.value(u"types"_s).toUInt(), 1u);
        QCOMPARE(devices.value(u"persist_mode"_s).toUInt(), 2u);
        QVERIFY(!devices.contains(u"restore_token"_s));
        QCOMPARE(typedKeys(*m_portal), kControlV);
        QCOMPARE(m_settings->value(settings::remoteDesktopRestoreToken), u"token-1"_s);

        QCOMPARE(paste(keys), QString());
        QCOMPARE(m_portal->callsOf(u"Start"_s).size(), 1);
        QCOMPARE(typedKeys(*m_portal).size(), 8);
    }

    // A refusal is kept: that paste and every later one fail at once with the reason, and the
    // portal is not asked again until the setting is cleared.
    void remoteDesktopRefusalIsRemembered()
    {
        m_startAnswer = 1;
        RemoteDesktopKeySynthesizer keys(client(), *m_settings);
        QVERIFY(paste(keys).contains("did not allow"_L1));
        QVERIFY(m_settings->value(settings::remoteDesktopRefused));
        QVERIFY(!keys.isAvailable());
        QVERIFY(!paste(keys).isEmpty());
        QCOMPARE(m_portal->callsOf(u"Start"_s).size(), 1);
        QVERIFY(typedKeys(*m_portal).isEmpty());

        m_settings->set(settings::remoteDesktopRefused, false);
        m_startAnswer = 0;
        QCOMPARE(paste(keys), QString());
        QCOMPARE(typedKeys(*m_portal), kControlV);
    }

    // The desktop closes the session (the user stopped it): the next paste opens a new one with
    // the kept restore token, so the desktop need not ask; a token from an earlier run is used at
    // once.
    void closedSessionIsOpenedAgainWithTheRestoreToken()
    {
        RemoteDesktopKeySynthesizer keys(client(), *m_settings);
        QCOMPARE(paste(keys), QString());
        m_portal->emitSignal(m_sessions.constFirst(), u"org.freedesktop.portal.Session"_s,
                             u"Closed"_s, {QVariantMap()});
        QTRY_VERIFY(!keys.hasSession());
        QCOMPARE(paste(keys), QString());
        QCOMPARE(m_sessions.size(), 2);
        QCOMPARE(FakePortal::optionsOf(m_portal->callsOf(u"SelectDevices"_s).at(1))
                     .value(u"restore_token"_s)
                     .toString(),
                 u"token-1"_s);
        QCOMPARE(m_settings->value(settings::remoteDesktopRestoreToken), u"token-2"_s);

        RemoteDesktopKeySynthesizer later(client(), *m_settings);
        QCOMPARE(paste(later), QString());
        QCOMPARE(FakePortal::optionsOf(m_portal->callsOf(u"SelectDevices"_s).constLast())
                     .value(u"restore_token"_s)
                     .toString(),
                 u"token-2"_s);
    }

    // Both shortcuts bound in one session with Tessel's keys as the preferred triggers; a press
    // arrives as `activated`; a shortcut the desktop left out, a refusal, or a closed session
    // count as not registered.
    void globalShortcutsBindAndActivate()
    {
        bool declined = false;
        m_portal->handle(kShortcuts, u"CreateSession"_s, createSession());
        m_portal->handle(kShortcuts, u"BindShortcuts"_s,
                         m_portal->request([&declined](const QDBusMessage& call) {
                             if (declined)
                                 return std::pair<uint, QVariantMap>{1, {}};
                             // The desktop binds the first of them only.
                             QList<PortalShortcut> bound =
                                 PortalShortcut::listFrom(call.arguments().at(1));
                             bound = bound.mid(0, 1);
                             return std::pair<uint, QVariantMap>{
                                 0, {{u"shortcuts"_s, QVariant::fromValue(bound)}}};
                         }));
        PortalHotkeyBackend backend(client());
        QSignalSpy registered(&backend, &HotkeyBackend::registrationChanged);
        QSignalSpy pressed(&backend, &HotkeyBackend::activated);
        backend.setActionNames({{1, u"Abrir o histórico"_s}, {2, u"Abrir o seletor de emojis"_s}});
        QCOMPARE(backend.install(), 0);
        backend.registerHotkey(1, 0x76, ShortcutModifier::command | ShortcutModifier::shift);
        backend.registerHotkey(2, 0x2e, ShortcutModifier::command | ShortcutModifier::shift);
        QTRY_COMPARE(registered.size(), 2);
        QCOMPARE(m_portal->callsOf(u"BindShortcuts"_s).size(), 1);
        const QList<PortalShortcut> asked =
            PortalShortcut::listFrom(m_portal->callsOf(u"BindShortcuts"_s).at(0).arguments().at(1));
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.at(0).properties.value(u"preferred_trigger"_s).toString(),
                 u"SHIFT+LOGO+v"_s);
        QCOMPARE(asked.at(1).properties.value(u"preferred_trigger"_s).toString(),
                 u"SHIFT+LOGO+period"_s);
        QCOMPARE(asked.at(0).properties.value(u"description"_s).toString(), u"Abrir o histórico"_s);
        QCOMPARE(asked.at(1).properties.value(u"description"_s).toString(),
                 u"Abrir o seletor de emojis"_s);
        QCOMPARE(registered.at(0), (QVariantList{1, true}));
        QCOMPARE(registered.at(1), (QVariantList{2, false}));

        const QDBusObjectPath session(m_sessions.constFirst());
        m_portal->emitSignal(
            u"/org/freedesktop/portal/desktop"_s, kShortcuts, u"Activated"_s,
            {QVariant::fromValue(session), u"toggle"_s, qulonglong(0), QVariantMap()});
        QTRY_COMPARE(pressed.size(), 1);
        QCOMPARE(pressed.at(0).at(0).toInt(), 1);
        // While released (the recorder listens), presses are not passed on.
        backend.unregisterHotkey(1);
        m_portal->emitSignal(
            u"/org/freedesktop/portal/desktop"_s, kShortcuts, u"Activated"_s,
            {QVariant::fromValue(session), u"toggle"_s, qulonglong(0), QVariantMap()});
        QTest::qWait(200);
        QCOMPARE(pressed.size(), 1);

        registered.clear();
        m_portal->emitSignal(m_sessions.constFirst(), u"org.freedesktop.portal.Session"_s,
                             u"Closed"_s, {QVariantMap()});
        QTRY_COMPARE(registered.size(), 2);
        QCOMPARE(registered.at(0).at(1).toBool(), false);

        registered.clear();
        declined = true;
        backend.registerHotkey(1, 0x76, ShortcutModifier::command);
        QTRY_COMPARE(registered.size(), 2);
        QCOMPARE(m_sessions.size(), 2);
        QCOMPARE(registered.at(0).at(1).toBool(), false);
    }

    // KDE's service lists the actions under the names given, and renames those in use when the
    // interface language changes; a released action is left as it is.
    void kdeActionsAreNamedAndRenamed()
    {
        FakePortal kde(m_bus->address(), u"org.kde.kglobalaccel"_s, u"/kglobalaccel"_s);
        QVERIFY(kde.isRegistered());
        const auto none = [](const QDBusMessage&) { return FakePortal::Answer{}; };
        kde.handle(kKGlobalAccel, u"doRegister"_s, none);
        kde.handle(kKGlobalAccel, u"setInactive"_s, none);
        // The service takes the keys it is given.
        kde.handle(kKGlobalAccel, u"setShortcut"_s, [](const QDBusMessage& call) {
            const auto keys = qdbus_cast<QList<int>>(call.arguments().at(1));
            return FakePortal::Answer{{QVariant::fromValue(keys)}, {}};
        });
        kde.handle(kKGlobalAccel, u"getComponent"_s, [](const QDBusMessage&) {
            return FakePortal::Answer{
                {QVariant::fromValue(QDBusObjectPath(u"/component/tessel_test"_s))}, {}};
        });
        const auto namesGiven = [&kde] {
            QStringList names;
            for (const QDBusMessage& call : kde.callsOf(u"doRegister"_s)) {
                const QStringList action = call.arguments().at(0).toStringList();
                names << action.value(1) + u'=' + action.value(3);
            }
            return names;
        };

        desktop::KGlobalAccelHotkeyBackend backend(client(), u"tessel-test"_s, u"Tessel"_s);
        QSignalSpy registered(&backend, &HotkeyBackend::registrationChanged);
        backend.setActionNames({{1, u"Abrir o histórico"_s}, {2, u"Abrir o seletor de emojis"_s}});
        backend.registerHotkey(1, 0x76, ShortcutModifier::command | ShortcutModifier::shift);
        backend.registerHotkey(2, 0x2e, ShortcutModifier::command | ShortcutModifier::shift);
        QTRY_COMPARE(registered.size(), 2);
        QCOMPARE(registered.at(0), (QVariantList{1, true}));
        QCOMPARE(namesGiven(), (QStringList{u"toggle=Abrir o histórico"_s,
                                            u"emoji=Abrir o seletor de emojis"_s}));

        backend.unregisterHotkey(2);
        backend.setActionNames({{1, u"Abrir el historial"_s}, {2, u"Abrir el selector"_s}});
        QTRY_COMPARE(namesGiven().size(), 3);
        QCOMPARE(namesGiven().constLast(), u"toggle=Abrir el historial"_s);
        QTest::qWait(200);
        QCOMPARE(namesGiven().size(), 3);
        QCOMPARE(kde.callsOf(u"setShortcut"_s).size(), 2);
    }

    // Only the interfaces the portal answers for are offered; from a portal that hangs, nothing,
    // in time.
    void probeFindsWhatThePortalOffers()
    {
        m_portal->offer(kRemoteDesktop);
        QCOMPARE(desktop::PortalProbe::offered(client(), {kShortcuts, kRemoteDesktop}, 2000),
                 QStringList{kRemoteDesktop});
        m_portal->setSilent(true);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(desktop::PortalProbe::offered(client(), {kShortcuts}, 2000).isEmpty());
        QVERIFY(clock.elapsed() < 2500);
    }

    void desktopKeyForms_data()
    {
        QTest::addColumn<quint32>("keysym");
        QTest::addColumn<quint32>("modifiers");
        QTest::addColumn<QString>("gnome");
        QTest::addColumn<QString>("portal");
        QTest::addColumn<int>("qt");
        const quint32 superShift = ShortcutModifier::command | ShortcutModifier::shift;
        QTest::newRow("Super+Shift+V") << 0x76u << superShift << u"<Super><Shift>v"_s
                                       << u"SHIFT+LOGO+v"_s << (0x10000000 | 0x02000000 | 0x56);
        QTest::newRow("Super+Shift+period")
            << 0x2eu << superShift << u"<Super><Shift>period"_s << u"SHIFT+LOGO+period"_s
            << (0x10000000 | 0x02000000 | 0x2e);
        QTest::newRow("Ctrl+Alt+F5")
            << 0xffc2u << quint32(ShortcutModifier::control | ShortcutModifier::option)
            << u"<Control><Alt>F5"_s << u"CTRL+ALT+F5"_s << (0x04000000 | 0x08000000 | 0x01000034);
        QTest::newRow("Ctrl+Return")
            << 0xff0du << quint32(ShortcutModifier::control) << u"<Control>Return"_s
            << u"CTRL+Return"_s << (0x04000000 | 0x01000004);
    }

    // Each desktop's form of a shortcut, and KDE's read back into Tessel's.
    void desktopKeyForms()
    {
        QFETCH(quint32, keysym);
        QFETCH(quint32, modifiers);
        QFETCH(QString, gnome);
        QFETCH(QString, portal);
        QFETCH(int, qt);
        QCOMPARE(desktop::DesktopKeys::gnomeAccelerator(keysym, modifiers), gnome);
        QCOMPARE(desktop::DesktopKeys::portalTrigger(keysym, modifiers), portal);
        QCOMPARE(desktop::DesktopKeys::qtKeyCombination(keysym, modifiers), qt);
        QCOMPARE(desktop::DesktopKeys::fromQtKeyCombination(qt), std::make_pair(keysym, modifiers));
    }

    // The settings portal's colour scheme: read once (its answer wrapped in two variants, as
    // portals before version 2 send it), then followed through SettingChanged; other settings
    // and other namespaces are not it, and a portal without the setting means no preference.
    void colourSchemeFollowsTheSettingsPortal()
    {
        const QString settingsPortal = u"org.freedesktop.portal.Settings"_s;
        uint stored = 1;
        m_portal->handle(settingsPortal, u"Read"_s, [&stored](const QDBusMessage&) {
            const QDBusVariant inner(QVariant::fromValue(stored));
            return FakePortal::Answer{
                {QVariant::fromValue(QDBusVariant(QVariant::fromValue(inner)))}, {}};
        });
        const auto change = [this](const QString& key, uint value) {
            m_portal->emitSignal(u"/org/freedesktop/portal/desktop"_s,
                                 u"org.freedesktop.portal.Settings"_s, u"SettingChanged"_s,
                                 {u"org.freedesktop.appearance"_s, key,
                                  QVariant::fromValue(QDBusVariant(QVariant::fromValue(value)))});
        };
        using Preference = ColourSchemeSource::Preference;
        desktop::PortalColourScheme scheme(client());
        QSignalSpy changed(&scheme, &ColourSchemeSource::preferenceChanged);
        QCOMPARE(scheme.preference(), Preference::none); // until the portal answers
        QTRY_COMPARE(scheme.preference(), Preference::dark);
        const QDBusMessage read = m_portal->callsOf(u"Read"_s).value(0);
        QCOMPARE(read.arguments().value(0).toString(), u"org.freedesktop.appearance"_s);
        QCOMPARE(read.arguments().value(1).toString(), u"color-scheme"_s);

        change(u"color-scheme"_s, 2);
        QTRY_COMPARE(scheme.preference(), Preference::light);
        change(u"contrast"_s, 1);
        change(u"color-scheme"_s, 0);
        QTRY_COMPARE(scheme.preference(), Preference::none);
        QCOMPARE(changed.count(), 3);

        // No settings portal at all: no preference, and no waiting for one.
        m_portal->handle(settingsPortal, u"Read"_s, [](const QDBusMessage&) {
            return FakePortal::Answer{{}, u"org.freedesktop.DBus.Error.UnknownMethod"_s};
        });
        desktop::PortalColourScheme unanswered(client());
        QTRY_COMPARE(m_portal->callsOf(u"Read"_s).size(), 2);
        QTest::qWait(50);
        QCOMPARE(unanswered.preference(), Preference::none);
    }
};

QTEST_GUILESS_MAIN(TestDesktopPortals)
#include "test_desktop_portals.moc"
