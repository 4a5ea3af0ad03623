// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

using namespace Qt::StringLiterals;

namespace tessel::desktop {

namespace {
const QString kRequestInterface = u"org.freedesktop.portal.Request"_s;
// How long the portal may take to accept the call itself, before any dialog.
constexpr int kCallTimeoutMs = 5000;
} // namespace

QString PortalRequest::newToken()
{
    static quint64 next = 0;
    return u"tessel%1"_s.arg(++next);
}

PortalRequest::PortalRequest(QDBusConnection bus, Done done, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_done(std::move(done))
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        finish({PortalResponse::Status::failed, {}, u"the portal did not answer in time"_s});
    });
}

PortalRequest* PortalRequest::start(QDBusConnection bus, const QString& interface,
                                    const QString& method, const QVariantList& arguments,
                                    QVariantMap options, int timeoutMs, QObject* parent, Done done)
{
    auto* request = new PortalRequest(bus, std::move(done), parent);
    const QString token = newToken();
    options.insert(QStringLiteral("handle_token"), token);
    // The portal names the request after the caller's unique name and the token.
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    request->subscribe(QLatin1StringView(Portal::path) + "/request/"_L1 + sender + u'/' + token);
    request->m_timeout.start(timeoutMs);

    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1StringView(Portal::service), QLatin1StringView(Portal::path), interface, method);
    call.setArguments(QVariantList(arguments) << options);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request,
            [request](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError()) {
                    request->finish({PortalResponse::Status::failed, {}, reply.error().message()});
                    return;
                }
                // An older portal may choose another path: follow it.
                if (const QString path = reply.value().path(); path != request->m_path)
                    request->subscribe(path);
            });
    return request;
}

void PortalRequest::subscribe(const QString& path)
{
    if (!m_path.isEmpty())
        m_bus.disconnect(QLatin1StringView(Portal::service), m_path, kRequestInterface,
                         u"Response"_s, this, SLOT(onResponse(uint, QVariantMap)));
    m_path = path;
    m_bus.connect(QLatin1StringView(Portal::service), m_path, kRequestInterface, u"Response"_s,
                  this, SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::onResponse(uint code, const QVariantMap& results)
{
    switch (code) {
    case 0:
        finish({PortalResponse::Status::granted, results, {}});
        break;
    case 1:
        finish({PortalResponse::Status::cancelled, results, {}});
        break;
    default:
        finish({PortalResponse::Status::failed, results,
                u"the portal ended the request (%1)"_s.arg(code)});
        break;
    }
}

void PortalRequest::finish(const PortalResponse& response)
{
    m_timeout.stop();
    Done done = std::move(m_done);
    m_done = nullptr;
    if (!m_path.isEmpty())
        m_bus.disconnect(QLatin1StringView(Portal::service), m_path, kRequestInterface,
                         u"Response"_s, this, SLOT(onResponse(uint, QVariantMap)));
    deleteLater();
    if (done)
        done(response);
}

} // namespace tessel::desktop
