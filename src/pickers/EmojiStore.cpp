// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/EmojiStore.h"

#include "core/FixedDiagnostics.h"
#include "core/SettingsStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace tessel {

EmojiStore::EmojiStore(SettingsStore& settings, QString cataloguePath, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_cataloguePath(std::move(cataloguePath))
{
    loadEmojis();
    loadRecent();
}

QString EmojiStore::defaultCataloguePath()
{
    return u":/tessel/emoji.json"_s;
}

QString EmojiStore::defaultNamesPath()
{
    return u":/tessel/emoji-names.json"_s;
}

QString EmojiStore::name(const QString& character, const QString& languageCode) const
{
    if (!m_namesLoaded) {
        m_namesLoaded = true;
        QFile file(m_namesPath);
        if (file.open(QIODevice::ReadOnly)) {
            const QJsonObject document = QJsonDocument::fromJson(file.readAll()).object();
            for (const QJsonValue& code : document.value("languages"_L1).toArray())
                m_nameLanguages.append(code.toString());
            const QJsonObject object = document.value("names"_L1).toObject();
            m_names.reserve(object.size());
            for (auto it = object.begin(); it != object.end(); ++it) {
                QStringList names;
                for (const QJsonValue& value : it.value().toArray())
                    names.append(value.toString());
                m_names.insert(it.key(), names);
            }
        }
    }
    const QStringList names = m_names.value(character);
    qsizetype column = m_nameLanguages.indexOf(languageCode);
    if (column < 0)
        column = m_nameLanguages.indexOf("en"_L1);
    return column >= 0 && column < names.size() ? names.at(column) : QString();
}

void EmojiStore::loadEmojis()
{
    EmojiCatalogue::LoadResult result = EmojiCatalogue::load(m_cataloguePath);
    if (result.error) {
        FixedDiagnostics::emojiCatalogueNotLoaded(*result.error);
        return;
    }
    m_catalogue = std::move(result.catalogue);
}

void EmojiStore::loadRecent()
{
    const auto data = m_settings.value(settings::recentEmojis);
    if (!data)
        return;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(*data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return;
    const QJsonArray array = document.array();
    QList<Emoji> recents;
    for (const QJsonValue& element : array) {
        if (!element.isObject())
            return;
        if (auto emoji = decodeRecentRecord(element.toObject()))
            recents.append(std::move(*emoji));
    }
    // Loaded whole: a longer list written by other means is only cut at the next push.
    m_recentEmojis = std::move(recents);
}

// Taken by value: the caller may pass an element of the recents list itself.
void EmojiStore::pushRecent(Emoji emoji)
{
    Q_EMIT recentEmojisAboutToChange();
    m_recentEmojis.removeIf(
        [&emoji](const Emoji& recent) { return recent.character == emoji.character; });
    m_recentEmojis.prepend(std::move(emoji));
    if (m_recentEmojis.size() > maxRecent)
        m_recentEmojis.resize(maxRecent);
    saveRecent();
    Q_EMIT recentEmojisChanged();
}

void EmojiStore::saveRecent()
{
    QJsonArray array;
    for (const Emoji& recent : std::as_const(m_recentEmojis))
        array.append(encodeRecentRecord(recent));
    m_settings.set(settings::recentEmojis, QJsonDocument(array).toJson(QJsonDocument::Compact));
}

} // namespace tessel
