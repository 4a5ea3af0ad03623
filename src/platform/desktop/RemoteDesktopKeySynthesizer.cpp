// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/RemoteDesktopKeySynthesizer.h"

#include "core/Log.h"
#include "core/SettingsStore.h"
#include "platform/desktop/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QList>

using namespace Qt::StringLiterals;

namespace tessel::desktop {

namespace {
const QString kInterface = u"org.freedesktop.portal.RemoteDesktop"_s;
// Setting up a session shows nothing to the user: the portal answers at once.
constexpr int kSetupTimeoutMs = 10000;
constexpr int kKeyTimeoutMs = 3000;
constexpr uint kKeysymControl = 0xffe3;
constexpr uint kKeysymShift = 0xffe1;
constexpr uint kKeysymV = 0x76;
} // namespace

RemoteDesktopKeySynthesizer::RemoteDesktopKeySynthesizer(QDBusConnection bus,
                                                         SettingsStore& settings, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_settings(settings)
{}

RemoteDesktopKeySynthesizer::~RemoteDesktopKeySynthesizer()
{
    if (!m_session.isEmpty() && m_bus.isConnected()) {
        m_bus.asyncCall(QDBusMessage::createMethodCall(
            QLatin1StringView(Portal::service), m_session,
            QLatin1StringView(Portal::sessionInterface), u"Close"_s));
    }
}

bool RemoteDesktopKeySynthesizer::isAvailable() const
{
    return m_bus.isConnected() && !m_settings.value(settings::remoteDesktopRefused);
}

void RemoteDesktopKeySynthesizer::sendPaste(PasteChord chord, Completion done)
{
    if (m_done) {
        done(u"a paste is already being sent"_s);
        return;
    }
    if (!isAvailable()) {
        done(u"the user did not allow Tessel to type into other windows on this desktop"_s);
        return;
    }
    m_chord = chord;
    m_done = std::move(done);
    if (m_started)
        type();
    else if (!m_opening)
        openSession();
}

void RemoteDesktopKeySynthesizer::openSession()
{
    m_opening = true;
    const QVariantMap options{{QStringLiteral("session_handle_token"), PortalRequest::newToken()}};
    PortalRequest::start(m_bus, kInterface, u"CreateSession"_s, {}, options, kSetupTimeoutMs, this,
                         [this](const PortalResponse& response) {
                             if (response.status != PortalResponse::Status::granted) {
                                 fail(u"the remote-desktop portal made no session: "_s +
                                      response.error);
                                 return;
                             }
                             m_session = response.results.value(QStringLiteral("session_handle")).toString();
                             m_bus.connect(QLatin1StringView(Portal::service), m_session,
                                           QLatin1StringView(Portal::sessionInterface), u"Closed"_s,
                                           this, SLOT(onSessionClosed(QVariantMap)));
                             selectDevices();
                         });
}

void RemoteDesktopKeySynthesizer::selectDevices()
{
    QVariantMap options{{u"types"_s, keyboardDevice}, {QStringLiteral("persist_mode"), persistUntilRevoked}};
    if (const QString token = m_settings.value(settings::remoteDesktopRestoreToken);
        !token.isEmpty())
        options.insert(QStringLiteral("restore_token"), token);
    PortalRequest::start(
        m_bus, kInterface, u"SelectDevices"_s, {QVariant::fromValue(QDBusObjectPath(m_session))},
        options, kSetupTimeoutMs, this, [this](const PortalResponse& response) {
            if (response.status != PortalResponse::Status::granted) {
                fail(u"the remote-desktop portal offered no keyboard: "_s + response.error);
                return;
            }
            startSession();
        });
}

void RemoteDesktopKeySynthesizer::startSession()
{
    // Here the desktop asks the user, unless the restore token still stands.
    PortalRequest::start(
        m_bus, kInterface, u"Start"_s, {QVariant::fromValue(QDBusObjectPath(m_session)), u""_s}, {},
        consentTimeoutMs, this, [this](const PortalResponse& response) {
            m_opening = false;
            if (response.status == PortalResponse::Status::cancelled) {
                m_settings.set(settings::remoteDesktopRefused, true);
                qCInfo(lcPaste, "the user did not allow Tessel to type into other windows; "
                                "chosen entries stay on the clipboard for Ctrl+V");
                fail(u"the user did not allow Tessel to type into other windows"_s);
                return;
            }
            const uint devices = response.results.value(u"devices"_s).toUInt();
            if (response.status != PortalResponse::Status::granted || !(devices & keyboardDevice)) {
                fail(u"the remote-desktop portal gave no keyboard: "_s + response.error);
                return;
            }
            if (const QString token = response.results.value(QStringLiteral("restore_token")).toString();
                !token.isEmpty())
                m_settings.set(settings::remoteDesktopRestoreToken, token);
            m_started = true;
            if (m_done)
                type();
        });
}

void RemoteDesktopKeySynthesizer::type()
{
    QList<uint> keys{kKeysymControl};
    if (m_chord == PasteChord::controlShiftV)
        keys << kKeysymShift;
    keys << kKeysymV;
    auto notify = [this](uint keysym, bool pressed) {
        QDBusMessage call = QDBusMessage::createMethodCall(QLatin1StringView(Portal::service),
                                                           QLatin1StringView(Portal::path),
                                                           kInterface, u"NotifyKeyboardKeysym"_s);
        call.setArguments({QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap(),
                           int(keysym), uint(pressed ? 1 : 0)});
        return m_bus.asyncCall(call, kKeyTimeoutMs);
    };
    for (const uint key : std::as_const(keys))
        notify(key, true);
    QDBusPendingCall last = notify(keys.constLast(), false);
    for (qsizetype i = keys.size() - 2; i >= 0; --i)
        last = notify(keys.at(i), false);
    // Calls on one connection are answered in order: the last answer closes the chord.
    auto* watcher = new QDBusPendingCallWatcher(last, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (finished->isError()) {
                    // The desktop may have ended the session without saying so yet.
                    forgetSession();
                    fail(u"the remote-desktop portal did not take the keys: "_s +
                         finished->error().message());
                    return;
                }
                Completion done = std::move(m_done);
                m_done = nullptr;
                if (done)
                    done(QString());
            });
}

void RemoteDesktopKeySynthesizer::onSessionClosed(const QVariantMap&)
{
    qCInfo(lcPaste, "the desktop closed Tessel's remote-desktop session");
    forgetSession();
}

void RemoteDesktopKeySynthesizer::forgetSession()
{
    if (!m_session.isEmpty())
        m_bus.disconnect(QLatin1StringView(Portal::service), m_session,
                         QLatin1StringView(Portal::sessionInterface), u"Closed"_s, this,
                         SLOT(onSessionClosed(QVariantMap)));
    m_session.clear();
    m_started = false;
    m_opening = false;
}

void RemoteDesktopKeySynthesizer::fail(const QString& error)
{
    if (!m_started)
        forgetSession();
    Completion done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(error);
}

} // namespace tessel::desktop
