// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/PortalHotkeyBackend.h"

#include "core/Log.h"
#include "platform/desktop/DesktopKeys.h"
#include "platform/desktop/PortalRequest.h"
#include "platform/desktop/PortalShortcut.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace tessel::desktop {

namespace {
const QString kInterface = u"org.freedesktop.portal.GlobalShortcuts"_s;
constexpr int kSetupTimeoutMs = 10000;

int idOf(const QString& shortcut)
{
    return shortcut == "emoji"_L1 ? 2 : shortcut == "toggle"_L1 ? 1 : 0;
}
} // namespace

PortalHotkeyBackend::PortalHotkeyBackend(QDBusConnection bus, QObject* parent)
    : HotkeyBackend(parent)
    , m_bus(std::move(bus))
{
    PortalShortcut::registerMetaTypes();
    m_bus.connect(QLatin1StringView(Portal::service), QLatin1StringView(Portal::path), kInterface,
                  u"Activated"_s, this,
                  SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

PortalHotkeyBackend::~PortalHotkeyBackend()
{
    if (!m_session.isEmpty() && m_bus.isConnected()) {
        m_bus.asyncCall(QDBusMessage::createMethodCall(
            QLatin1StringView(Portal::service), m_session,
            QLatin1StringView(Portal::sessionInterface), u"Close"_s));
    }
}

int PortalHotkeyBackend::install()
{
    return 0;
}

QString PortalHotkeyBackend::shortcutId(int id)
{
    return id == 2 ? u"emoji"_s : u"toggle"_s;
}

void PortalHotkeyBackend::registerHotkey(int id, quint32 keysym, quint32 modifiers)
{
    m_wanted[id] = {DesktopKeys::portalTrigger(keysym, modifiers), true};
    scheduleBind();
}

void PortalHotkeyBackend::unregisterHotkey(int id)
{
    if (auto wanted = m_wanted.find(id); wanted != m_wanted.end())
        wanted->active = false;
}

void PortalHotkeyBackend::scheduleBind()
{
    // Both shortcuts are registered one after the other: one bind carries them both.
    if (m_bindScheduled)
        return;
    m_bindScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bindScheduled = false;
            bind();
        },
        Qt::QueuedConnection);
}

void PortalHotkeyBackend::bind()
{
    if (!m_bus.isConnected()) {
        refuseAll(u"no session bus"_s);
        return;
    }
    if (m_session.isEmpty()) {
        if (!m_opening)
            openSession();
        return;
    }
    if (m_binding) {
        m_bindAgain = true;
        return;
    }
    m_binding = true;
    QList<PortalShortcut> shortcuts;
    for (auto wanted = m_wanted.cbegin(); wanted != m_wanted.cend(); ++wanted) {
        shortcuts.append({shortcutId(wanted.key()),
                          {{u"description"_s, actionNameOf(wanted.key(), shortcutId(wanted.key()))},
                           {QStringLiteral("preferred_trigger"), wanted->trigger}}});
    }
    PortalRequest::start(
        m_bus, kInterface, u"BindShortcuts"_s,
        {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts), u""_s},
        {}, consentTimeoutMs, this, [this](const PortalResponse& response) {
            m_binding = false;
            if (response.status != PortalResponse::Status::granted) {
                refuseAll(response.status == PortalResponse::Status::cancelled
                              ? u"the user declined them"_s
                              : response.error);
            } else {
                const QList<PortalShortcut> bound =
                    PortalShortcut::listFrom(response.results.value(u"shortcuts"_s));
                for (auto wanted = m_wanted.cbegin(); wanted != m_wanted.cend(); ++wanted) {
                    const bool held = std::any_of(
                        bound.cbegin(), bound.cend(), [&](const PortalShortcut& shortcut) {
                            return shortcut.id == shortcutId(wanted.key());
                        });
                    Q_EMIT registrationChanged(wanted.key(), held);
                }
            }
            if (std::exchange(m_bindAgain, false))
                bind();
        });
}

void PortalHotkeyBackend::openSession()
{
    m_opening = true;
    PortalRequest::start(m_bus, kInterface, u"CreateSession"_s, {},
                         {{QStringLiteral("session_handle_token"), PortalRequest::newToken()}}, kSetupTimeoutMs,
                         this, [this](const PortalResponse& response) {
                             m_opening = false;
                             if (response.status != PortalResponse::Status::granted) {
                                 refuseAll(response.error);
                                 return;
                             }
                             m_session = response.results.value(QStringLiteral("session_handle")).toString();
                             m_bus.connect(QLatin1StringView(Portal::service), m_session,
                                           QLatin1StringView(Portal::sessionInterface), u"Closed"_s,
                                           this, SLOT(onSessionClosed(QVariantMap)));
                             bind();
                         });
}

void PortalHotkeyBackend::refuseAll(const QString& why)
{
    qCInfo(lcHotkey, "the shortcuts portal did not bind Tessel's shortcuts: %s", qPrintable(why));
    for (const int id : m_wanted.keys())
        Q_EMIT registrationChanged(id, false);
}

void PortalHotkeyBackend::onActivated(const QDBusObjectPath& session, const QString& shortcut,
                                      qulonglong, const QVariantMap&)
{
    if (session.path() != m_session)
        return;
    const int id = idOf(shortcut);
    if (const auto wanted = m_wanted.constFind(id); wanted != m_wanted.cend() && wanted->active)
        Q_EMIT activated(id);
}

void PortalHotkeyBackend::onSessionClosed(const QVariantMap&)
{
    qCInfo(lcHotkey, "the desktop closed Tessel's shortcuts session");
    m_bus.disconnect(QLatin1StringView(Portal::service), m_session,
                     QLatin1StringView(Portal::sessionInterface), u"Closed"_s, this,
                     SLOT(onSessionClosed(QVariantMap)));
    m_session.clear();
    for (const int id : m_wanted.keys())
        Q_EMIT registrationChanged(id, false);
}

} // namespace tessel::desktop
