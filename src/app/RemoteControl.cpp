// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RemoteControl.h"

#include "app/SessionBusProbe.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <future>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// Long enough for a busy instance (the first popup loads its fonts), short enough for a key
// binding that must not hang.
constexpr int kCallTimeoutMs = 5000;
// What connecting to the bus may add to that.
constexpr int kConnectTimeoutMs = 2000;

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
    // A request that arrives while the same one still waits to be carried out is the same
    // request: a flood of calls costs one run, not a popup and its memory per call.
    const unsigned bit = 1U << unsigned(command);
    if (m_pending & bit)
        return;
    m_pending |= bit;
    // Queued, so that the caller's answer leaves before the work (or the quit) starts.
    QMetaObject::invokeMethod(
        this,
        [this, command, bit] {
            m_pending &= ~bit;
            if (m_handler)
                m_handler(command);
        },
        Qt::QueuedConnection);
}

Result RemoteControlService::send(RemoteCommand command, bool* noneRunning)
{
    if (noneRunning)
        *noneRunning = false;
    // libdbus waits without limit for a bus that lets clients in and then says nothing.
    if (const Result bus = SessionBusProbe::check(SessionBusProbe::socketPath()); !bus)
        return Result::failure(u"Tessel cannot reach the session bus: %1."_s.arg(bus.message()));
    // Connecting has no time limit of its own either: the whole exchange has one, on a thread
    // that is left behind (the command ends the process) when it is not kept. The thread owns
    // everything it writes: a caller that stopped waiting has nothing it could reach.
    using Outcome = std::pair<Result, bool>;
    auto promise = std::make_shared<std::promise<Outcome>>();
    std::future<Outcome> outcome = promise->get_future();
    std::thread([promise, command] {
        bool none = false;
        Result result = exchange(command, none);
        promise->set_value({std::move(result), none});
    }).detach();
    if (outcome.wait_for(std::chrono::milliseconds(kCallTimeoutMs + kConnectTimeoutMs)) !=
        std::future_status::ready)
        return Result::failure(u"Tessel did not answer within %1 seconds."_s.arg(
            (kCallTimeoutMs + kConnectTimeoutMs) / 1000));
    auto [result, none] = outcome.get();
    if (noneRunning)
        *noneRunning = none;
    return result;
}

Result RemoteControlService::exchange(RemoteCommand command, bool& noneRunning)
{
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
                    noneRunning = true;
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
