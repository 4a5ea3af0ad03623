// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RemoteControl.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// Long enough for a busy instance (the first popup loads its fonts), short enough for a key
// binding that must not hang.
constexpr int kCallTimeoutMs = 5000;

const char* methodFor(RemoteCommand command)
{
    switch (command) {
    case RemoteCommand::toggle:
        return "Toggle";
    case RemoteCommand::emoji:
        return "ShowEmoji";
    case RemoteCommand::preferences:
        return "ShowPreferences";
    case RemoteCommand::quit:
        return "Quit";
    }
    return "Toggle";
}
} // namespace

RemoteControlService::RemoteControlService(Handler handler, QObject* parent)
    : QObject(parent)
    , m_handler(std::move(handler))
{}

RemoteControlService::~RemoteControlService()
{
    if (!m_registered)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(objectPath());
    bus.unregisterService(serviceName());
}

QString RemoteControlService::serviceName()
{
    return QStringLiteral(TESSEL_APP_ID);
}

QString RemoteControlService::objectPath()
{
    return u'/' + serviceName().replace(u'.', u'/');
}

Result RemoteControlService::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Result::failure(u"no session bus: "_s + bus.lastError().message());
    if (!bus.registerObject(objectPath(), this, QDBusConnection::ExportScriptableSlots))
        return Result::failure(u"the object path %1 is taken"_s.arg(objectPath()));
    // Without queueing, a second claim fails at once instead of waiting for the first owner.
    const auto reply =
        bus.interface()->registerService(serviceName(), QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(objectPath());
        return Result::failure(u"the bus name %1 is held by another process"_s.arg(serviceName()));
    }
    m_registered = true;
    return Result::success();
}

void RemoteControlService::Toggle()
{
    request(RemoteCommand::toggle);
}

void RemoteControlService::ShowEmoji()
{
    request(RemoteCommand::emoji);
}

void RemoteControlService::ShowPreferences()
{
    request(RemoteCommand::preferences);
}

void RemoteControlService::Quit()
{
    request(RemoteCommand::quit);
}

void RemoteControlService::request(RemoteCommand command)
{
    // Queued, so that the caller's answer leaves before the work (or the quit) starts.
    QMetaObject::invokeMethod(
        this,
        [this, command] {
            if (m_handler)
                m_handler(command);
        },
        Qt::QueuedConnection);
}

Result RemoteControlService::send(RemoteCommand command, bool* noneRunning)
{
    if (noneRunning)
        *noneRunning = false;
    // A connection of its own, closed before returning: the shared session connection would
    // outlive the application object and complain on the way out.
    const QString connectionName = u"tessel-remote-control"_s;
    Result result = Result::success();
    {
        QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
        if (!bus.isConnected()) {
            result = Result::failure(
                u"Tessel cannot reach the session bus (%1)."_s.arg(bus.lastError().message()));
        } else {
            const QDBusMessage call =
                QDBusMessage::createMethodCall(serviceName(), objectPath(), serviceName(),
                                               QString::fromLatin1(methodFor(command)));
            const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
            if (reply.type() == QDBusMessage::ErrorMessage) {
                const QDBusError error(reply);
                if (error.type() == QDBusError::ServiceUnknown ||
                    error.name() == "org.freedesktop.DBus.Error.NameHasNoOwner"_L1) {
                    result =
                        Result::failure(u"Tessel is not running; start it first with: tessel"_s);
                    if (noneRunning)
                        *noneRunning = true;
                } else {
                    result = Result::failure(u"Tessel did not answer (%1)."_s.arg(error.message()));
                }
            }
        }
    }
    QDBusConnection::disconnectFromBus(connectionName);
    return result;
}

} // namespace tessel
