// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"
#include "core/Settings.h"

#include <QJsonObject>
#include <QObject>
#include <QSet>
#include <QString>
#include <optional>

namespace tessel {

// The user's settings: a typed key/value file (JSON) that keeps the kind of every value, so that a
// value of the wrong kind reads as absent. Every write replaces the file atomically and announces
// the key through `changed`. Lives on the main thread.
class SettingsStore : public QObject {
    Q_OBJECT

public:
    // The largest settings file that is read.
    static constexpr qint64 maxFileBytes = 1024 * 1024;

    // Reads `filePath` if it exists. A file that cannot be read or parsed (or is no regular file)
    // gives empty settings and is moved aside ("settings.json.corrupt-<UTC time>"), so that the
    // next write cannot destroy it; `loadResult` then says what happened.
    explicit SettingsStore(QString filePath, QObject* parent = nullptr);

    // The store at $XDG_CONFIG_HOME/tessel/settings.json.
    static QString defaultFilePath();

    QString filePath() const { return m_filePath; }

    // Typed reads: the stored value, or nothing when absent or stored as another kind.
    std::optional<bool> boolValue(const QString& key) const;
    std::optional<qint64> intValue(const QString& key) const;
    std::optional<QString> textValue(const QString& key) const;
    std::optional<QByteArray> dataValue(const QString& key) const;

    // How a whole-number setting reads: the value that applies, and whether it is stored as the
    // preferences store it (a whole number in the key's range), as a choice of the user's. Any
    // other value is read as what it plainly means: a number in text as that number, a fraction
    // as the whole number below it, a number out of range as the nearest end of the range, and
    // anything else as the key's absent-value; each key's reading is told once in the log.
    struct IntReading {
        qint64 value = 0;
        bool asStored = false;
    };
    IntReading reading(const IntSettingKey& key) const;

    // Reads through the settings table, applying the key's absent-value.
    bool value(const SettingKey<bool>& key) const;
    qint64 value(const IntSettingKey& key) const { return reading(key).value; }
    QString value(const TextSettingKey& key) const;
    std::optional<QByteArray> value(const DataSettingKey& key) const;

    void setBool(const QString& key, bool value);
    void setInt(const QString& key, qint64 value);
    void setText(const QString& key, const QString& value);
    void setData(const QString& key, const QByteArray& value);
    void remove(const QString& key);

    void set(const SettingKey<bool>& key, bool v) { setBool(key.name, v); }
    void set(const IntSettingKey& key, qint64 v) { setInt(key.name, v); }
    void set(const TextSettingKey& key, const QString& v) { setText(key.name, v); }
    void set(const DataSettingKey& key, const QByteArray& v) { setData(key.name, v); }

    // Whether the stored settings could be read at start (absent counts as read).
    const Result& loadResult() const { return m_loadResult; }
    // Whether the last write reached the disk; on failure the value is still kept in memory.
    const Result& lastWrite() const { return m_lastWrite; }

Q_SIGNALS:
    void changed(const QString& key);

private:
    void store(const QString& key, const QJsonValue& value);

    QString m_filePath;
    QJsonObject m_values;
    Result m_loadResult = Result::success();
    Result m_lastWrite = Result::success();
    // Keys whose stored value was read as something else, and so said in the log.
    mutable QSet<QString> m_explained;
};

} // namespace tessel
