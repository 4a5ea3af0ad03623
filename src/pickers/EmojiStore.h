// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pickers/Emoji.h"
#include "pickers/EmojiCatalogue.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

namespace tessel {

class SettingsStore;

// The emoji catalogue, read once from the catalogue file, and the list of recently chosen
// emoji, kept in the settings under "recentEmojis" (most recent first, one entry per
// character). Main thread only.
class EmojiStore : public QObject {
    Q_OBJECT

public:
    static constexpr int maxRecent = 14;

    // Loads the catalogue at `cataloguePath`, then the recents. A catalogue that cannot be read
    // or parsed writes one diagnostic line to standard output and leaves the catalogue empty.
    explicit EmojiStore(SettingsStore& settings, QString cataloguePath = defaultCataloguePath(),
                        QObject* parent = nullptr);

    // The catalogue compiled into Tessel as a Qt resource (":/tessel/emoji.json").
    static QString defaultCataloguePath();
    // The names of the emoji in every interface language (":/tessel/emoji-names.json").
    static QString defaultNamesPath();

    const EmojiCatalogue& catalogue() const { return m_catalogue; }
    const QList<Emoji>& emojis() const { return m_catalogue.emojis(); }
    const QList<Emoji>& recentEmojis() const { return m_recentEmojis; }

    // Records that `emoji` was chosen: it moves to the front (replacing any entry with the same
    // character), the list is cut to `maxRecent` and saved.
    void pushRecent(Emoji emoji);

    // The name of `character` in the language `languageCode` (English for a language the names
    // do not have), or an empty string when the names do not know it. The names are read on the
    // first call, so that only a user who asks for one pays for them.
    QString name(const QString& character, const QString& languageCode) const;

Q_SIGNALS:
    void recentEmojisAboutToChange();
    void recentEmojisChanged();

private:
    void loadEmojis();
    void loadRecent();
    void saveRecent();

    SettingsStore& m_settings;
    QString m_cataloguePath;
    EmojiCatalogue m_catalogue;
    QList<Emoji> m_recentEmojis;
    QString m_namesPath = defaultNamesPath();
    mutable QHash<QString, QStringList> m_names;
    // The language of each column of m_names.
    mutable QStringList m_nameLanguages;
    mutable bool m_namesLoaded = false;
};

} // namespace tessel
