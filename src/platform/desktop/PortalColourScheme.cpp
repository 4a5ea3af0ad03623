// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/PortalColourScheme.h"

#include "core/Log.h"
#include "platform/desktop/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <utility>

using namespace Qt::StringLiterals;

namespace tessel::desktop {

namespace {
const QString kSettings = u"org.freedesktop.portal.Settings"_s;
const QString kNamespace = u"org.freedesktop.appearance"_s;
const QString kKey = u"color-scheme"_s;
// Long enough for a portal that has to be started on demand.
constexpr int kReadTimeoutMs = 5000;

// Read wraps the value in one variant more than the signal does (portal versions before 2):
// unwrap as many as there are.
QVariant unwrapped(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}
} // namespace

PortalColourScheme::PortalColourScheme(QDBusConnection bus, QObject* parent)
    : ColourSchemeSource(parent)
    , m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    // The signal's value arrives as a QDBusVariant: Qt D-Bus delivers it only once the type is
    // known to the meta-type system.
    qRegisterMetaType<QDBusVariant>();
    m_bus.connect(QLatin1StringView(Portal::service), QLatin1StringView(Portal::path), kSettings,
                  u"SettingChanged"_s, this, SLOT(settingChanged(QDBusMessage)));
    QDBusMessage read = QDBusMessage::createMethodCall(
        QLatin1StringView(Portal::service), QLatin1StringView(Portal::path), kSettings, u"Read"_s);
    read.setArguments({kNamespace, kKey});
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(read, kReadTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &PortalColourScheme::readAnswered);
}

ColourSchemeSource::Preference PortalColourScheme::fromPortalValue(const QVariant& value)
{
    const QVariant plain = unwrapped(value);
    bool isNumber = false;
    const uint number = plain.toUInt(&isNumber);
    if (!isNumber)
        return Preference::none;
    switch (number) {
    case 1:
        return Preference::dark;
    case 2:
        return Preference::light;
    default:
        return Preference::none;
    }
}

void PortalColourScheme::readAnswered(QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    const QDBusMessage reply = watcher->reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCDebug(lcApp,
                "the settings portal gave no colour scheme (%s); following the desktop's "
                "palette",
                qPrintable(reply.errorMessage()));
        return;
    }
    if (!m_heardChange)
        take(fromPortalValue(reply.arguments().constFirst()));
}

void PortalColourScheme::settingChanged(const QDBusMessage& signal)
{
    const QVariantList arguments = signal.arguments();
    if (arguments.size() < 3 || arguments.at(0).toString() != kNamespace ||
        arguments.at(1).toString() != kKey)
        return;
    m_heardChange = true;
    take(fromPortalValue(arguments.at(2)));
}

void PortalColourScheme::take(Preference preference)
{
    if (preference == m_preference)
        return;
    m_preference = preference;
    Q_EMIT preferenceChanged();
}

} // namespace tessel::desktop
