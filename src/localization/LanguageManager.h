// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "localization/AppLanguage.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace tessel {

class SettingsStore;

// The single source of interface wording: holds the three string tables ("pt", "en", "es"),
// resolves the language in force from the "appLanguage" setting and the desktop's preferred
// languages, and answers lookups by key. Main thread only.
class LanguageManager : public QObject {
    Q_OBJECT

public:
    // Returns the desktop's preferred UI languages, most preferred first (e.g. "pt-BR").
    using PreferredLanguagesSource = std::function<QStringList()>;
    using Translations = QHash<QString, QHash<QString, QString>>;

    // `preferredLanguages` is asked again at every lookup made under the "system" choice.
    explicit LanguageManager(SettingsStore& settings,
                             PreferredLanguagesSource preferredLanguages = systemPreferredLanguages,
                             QObject* parent = nullptr);
    // With other tables in place of the built-in ones (for tests of the fallbacks).
    LanguageManager(SettingsStore& settings, PreferredLanguagesSource preferredLanguages,
                    Translations translations, QObject* parent = nullptr);

    // The built-in tables.
    static Translations builtInTranslations();

    // What Qt reports for the desktop session (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
    static QStringList systemPreferredLanguages();

    // The stored choice ("system" when absent); any text may be stored.
    QString currentLanguageRaw() const;
    // Stores the choice; `languageChanged` follows once the value is stored.
    void setCurrentLanguageRaw(const QString& raw);

    // "pt", "en" or "es": the table in force, re-resolved on every call.
    QString activeLanguageCode() const;

    // The text of `key` in the language in force, else in English, else `key` itself.
    QString string(const QString& key) const;

    // The label of a choice in the language picker.
    QString label(AppLanguage language) const;

    // Language code -> key -> text; exactly "pt", "en" and "es", fixed at construction.
    const Translations& translations() const { return m_translations; }

    // The resolution rule on its own: a stored choice and a preferred-language list give the
    // code in force.
    static QString resolveLanguageCode(const QString& storedChoice,
                                       const QStringList& preferredLanguages);

    // Replaces each "%@" in `format`, in order, with the next of `values`; placeholders without
    // a value are left as they are.
    static QString fillPlaceholders(const QString& format, const QStringList& values);

Q_SIGNALS:
    // Sent once after every write of the "appLanguage" setting, whoever wrote it.
    void languageChanged();

private:
    SettingsStore& m_settings;
    PreferredLanguagesSource m_preferredLanguages;
    Translations m_translations;
};

} // namespace tessel
