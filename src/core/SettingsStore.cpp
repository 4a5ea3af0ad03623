// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"

#include "core/AppPaths.h"
#include "core/Log.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// Bytes are kept as {"base64": "..."} so they never read back as text.
constexpr auto kDataField = "base64"_L1;
// Integers beyond 2^53 do not survive a JSON double; they are not integers we ever store.
constexpr double kMaxExactInteger = 9007199254740992.0;
} // namespace

SettingsStore::SettingsStore(QString filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{
    if (AppPaths::kindOf(m_filePath) == AppPaths::Kind::missing)
        return;
    const auto bytes = AppPaths::readPrivateFile(m_filePath, maxFileBytes);
    if (bytes) {
        QJsonParseError error;
        const auto doc = QJsonDocument::fromJson(*bytes, &error);
        if (error.error == QJsonParseError::NoError && doc.isObject()) {
            m_values = doc.object();
            return;
        }
        m_loadResult = Result::failure(
            u"%1 is not a settings file (%2)"_s.arg(m_filePath, error.errorString()));
    } else {
        m_loadResult = bytes.result();
    }
    const auto aside = AppPaths::setAside(m_filePath);
    qCWarning(lcSettings).noquote()
        << m_loadResult.message() << "- using the defaults;"
        << (aside ? u"the file is kept as "_s + *aside : aside.message());
}

QString SettingsStore::defaultFilePath()
{
    return AppPaths::configDir() + "/settings.json"_L1;
}

std::optional<bool> SettingsStore::boolValue(const QString& key) const
{
    const auto v = m_values.value(key);
    if (!v.isBool())
        return std::nullopt;
    return v.toBool();
}

std::optional<qint64> SettingsStore::intValue(const QString& key) const
{
    const auto v = m_values.value(key);
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (std::trunc(d) != d || std::fabs(d) > kMaxExactInteger)
        return std::nullopt;
    return static_cast<qint64>(d);
}

std::optional<QString> SettingsStore::textValue(const QString& key) const
{
    const auto v = m_values.value(key);
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

std::optional<QByteArray> SettingsStore::dataValue(const QString& key) const
{
    const auto v = m_values.value(key);
    if (!v.isObject())
        return std::nullopt;
    const auto encoded = v.toObject().value(kDataField);
    if (!encoded.isString())
        return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(encoded.toString().toLatin1(),
                                                  QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return *decoded;
}

bool SettingsStore::value(const SettingKey<bool>& key) const
{
    return boolValue(QString(key.name)).value_or(key.absentValue);
}

SettingsStore::IntReading SettingsStore::reading(const IntSettingKey& key) const
{
    const QString name(key.name);
    const QJsonValue stored = m_values.value(name);
    if (stored.isUndefined())
        return {key.absentValue, false};
    std::optional<double> number;
    if (stored.isDouble()) {
        number = stored.toDouble();
    } else if (stored.isString()) {
        bool ok = false;
        const double parsed = stored.toString().trimmed().toDouble(&ok);
        if (ok)
            number = parsed;
    }
    IntReading result{key.absentValue, false};
    QString how;
    if (!number || !std::isfinite(*number)) {
        how = u"is not a number; %1 applies"_s.arg(key.absentValue);
    } else {
        // A limit of 200.5 entries holds 200.
        const double whole = std::floor(*number);
        const double inRange = std::clamp(whole, double(key.minimum), double(key.maximum));
        result.value = qint64(inRange);
        result.asStored = stored.isDouble() && whole == *number && inRange == whole;
        if (inRange != whole)
            how = u"is outside %1 to %2; %3 applies"_s.arg(key.minimum)
                      .arg(key.maximum)
                      .arg(result.value);
        else if (!result.asStored)
            how = u"is read as %1"_s.arg(result.value);
    }
    if (!how.isEmpty() && !m_explained.contains(name)) {
        m_explained.insert(name);
        const QByteArray shown = QJsonDocument(QJsonArray{stored}).toJson(QJsonDocument::Compact);
        qCWarning(lcSettings).noquote() << u"%1 in %2: %3 %4"_s.arg(
            name, m_filePath, QString::fromUtf8(shown.sliced(1, shown.size() - 2)), how);
    }
    return result;
}

QString SettingsStore::value(const TextSettingKey& key) const
{
    return textValue(QString(key.name)).value_or(QString(key.absentValue));
}

std::optional<QByteArray> SettingsStore::value(const DataSettingKey& key) const
{
    return dataValue(QString(key.name));
}

void SettingsStore::setBool(const QString& key, bool value)
{
    store(key, value);
}

void SettingsStore::setInt(const QString& key, qint64 value)
{
    store(key, static_cast<double>(value));
}

void SettingsStore::setText(const QString& key, const QString& value)
{
    store(key, value);
}

void SettingsStore::setData(const QString& key, const QByteArray& value)
{
    store(key, QJsonObject{{kDataField, QString::fromLatin1(value.toBase64())}});
}

void SettingsStore::remove(const QString& key)
{
    store(key, QJsonValue(QJsonValue::Undefined));
}

void SettingsStore::store(const QString& key, const QJsonValue& value)
{
    m_explained.remove(key);
    if (value.isUndefined())
        m_values.remove(key);
    else
        m_values.insert(key, value);
    m_lastWrite = AppPaths::ensurePrivateDir(QFileInfo(m_filePath).absolutePath());
    if (m_lastWrite)
        m_lastWrite = AppPaths::writePrivateFile(m_filePath, QJsonDocument(m_values).toJson());
    if (!m_lastWrite)
        qCWarning(lcSettings) << "settings not saved:" << m_lastWrite.message();
    Q_EMIT changed(key);
}

} // namespace tessel
