// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/KGlobalAccelHotkeyBackend.h"

#include "core/Log.h"
#include "platform/desktop/DesktopKeys.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

using namespace Qt::StringLiterals;

namespace tessel::desktop {

namespace {
const QString kService = u"org.kde.kglobalaccel"_s;
const QString kPath = u"/kglobalaccel"_s;
const QString kInterface = u"org.kde.KGlobalAccel"_s;
const QString kComponentInterface = u"org.kde.kglobalaccel.Component"_s;

// setShortcut's flags: the action exists in a running program, and the keys given are the ones
// to keep (rather than those a previous session stored, which the caller already knows).
constexpr uint kSetPresent = 2;
constexpr uint kNoAutoloading = 4;
} // namespace

KGlobalAccelHotkeyBackend::KGlobalAccelHotkeyBackend(QDBusConnection bus, QString component,
                                                     QString componentName, QObject* parent)
    : HotkeyBackend(parent)
    , m_bus(std::move(bus))
    , m_component(std::move(component))
    , m_componentName(std::move(componentName))
{}

KGlobalAccelHotkeyBackend::~KGlobalAccelHotkeyBackend() = default;

int KGlobalAccelHotkeyBackend::install()
{
    return 0;
}

QString KGlobalAccelHotkeyBackend::actionName(int id)
{
    return id == 2 ? u"emoji"_s : u"toggle"_s;
}

QStringList KGlobalAccelHotkeyBackend::actionId(int id) const
{
    // Unique component, unique action, then the names Plasma's settings show.
    return {m_component, actionName(id), m_componentName, actionNameOf(id, actionName(id))};
}

QDBusPendingCall KGlobalAccelHotkeyBackend::call(const QString& method,
                                                 const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    message.setArguments(arguments);
    return m_bus.asyncCall(message, callTimeoutMs);
}

void KGlobalAccelHotkeyBackend::registerHotkey(int id, quint32 keysym, quint32 modifiers)
{
    const quint64 generation = ++m_generation[id];
    const int keys = DesktopKeys::qtKeyCombination(keysym, modifiers);
    if (keys == 0 || !m_bus.isConnected()) {
        m_active.remove(id);
        QMetaObject::invokeMethod(
            this, [this, id] { Q_EMIT registrationChanged(id, false); }, Qt::QueuedConnection);
        return;
    }
    m_active.insert(id);
    const QStringList action = actionId(id);
    // Calls on one connection are answered in order: the action exists before its keys are set.
    call(u"doRegister"_s, {action});
    auto* watcher = new QDBusPendingCallWatcher(
        call(u"setShortcut"_s,
             {action, QVariant::fromValue(QList<int>{keys}), kSetPresent | kNoAutoloading}),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, id, generation, keys](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (m_generation.value(id) != generation)
                    return;
                const QDBusPendingReply<QList<int>> reply = *finished;
                if (reply.isError()) {
                    qCInfo(lcHotkey, "KDE's shortcut service did not register %s: %s",
                           qPrintable(actionName(id)), qPrintable(reply.error().message()));
                    Q_EMIT registrationChanged(id, false);
                    return;
                }
                // The service answers with the keys the action now has: none when another
                // action holds them.
                const bool held = reply.value().contains(keys);
                if (held)
                    listenForPresses();
                Q_EMIT registrationChanged(id, held);
            });
}

void KGlobalAccelHotkeyBackend::setActionNames(const QHash<int, QString>& names)
{
    HotkeyBackend::setActionNames(names);
    // Registering an action again keeps its keys and takes its new name.
    if (m_bus.isConnected()) {
        for (const int id : std::as_const(m_active))
            call(u"doRegister"_s, {actionId(id)});
    }
}

void KGlobalAccelHotkeyBackend::unregisterHotkey(int id)
{
    m_active.remove(id);
    if (!m_generation.contains(id))
        return;
    ++m_generation[id];
    if (m_bus.isConnected())
        call(u"setInactive"_s, {actionId(id)});
}

void KGlobalAccelHotkeyBackend::listenForPresses()
{
    if (m_listening)
        return;
    m_listening = true;
    auto* watcher = new QDBusPendingCallWatcher(call(u"getComponent"_s, {m_component}), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError()) {
                    m_listening = false;
                    qCInfo(lcHotkey, "KDE's shortcut service has no component for Tessel: %s",
                           qPrintable(reply.error().message()));
                    return;
                }
                m_bus.connect(kService, reply.value().path(), kComponentInterface,
                              u"globalShortcutPressed"_s, this,
                              SLOT(onPressed(QString, QString, qlonglong)));
            });
}

void KGlobalAccelHotkeyBackend::onPressed(const QString& component, const QString& action,
                                          qlonglong)
{
    if (component != m_component)
        return;
    for (const int id : m_generation.keys()) {
        if (actionName(id) == action)
            Q_EMIT activated(id);
    }
}

} // namespace tessel::desktop
