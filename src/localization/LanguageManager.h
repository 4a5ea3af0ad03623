// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "localization/TranslationCatalogue.h"

#include <QLatin1StringView>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace tessel {

class SettingsStore;

// The single source of interface wording: holds the translation catalogue, resolves the language
// in force from the "appLanguage" setting and the desktop's preferred languages, and answers
// lookups by text id. Main thread only.
//
// Ids are written where the code uses them, with the English text above them for lupdate:
//     //% "Clear all"
//     language.string("clear_all")
// and, where an id is handed on as data, marked with QT_TRID_NOOP (docs/translating.md).
class LanguageManager : public QObject {
    Q_OBJECT

public:
    // The stored choice that follows the desktop's languages.
    static constexpr QLatin1StringView systemChoice{"system"};

    // Returns the desktop's preferred UI languages, most preferred first (e.g. "pt-BR").
    using PreferredLanguagesSource = std::function<QStringList()>;

    // `preferredLanguages` is asked again at every lookup made under the "system" choice.
    explicit LanguageManager(SettingsStore& settings,
                             PreferredLanguagesSource preferredLanguages = systemPreferredLanguages,
                             QObject* parent = nullptr);
    // With another catalogue in place of the built-in one.
    LanguageManager(SettingsStore& settings, PreferredLanguagesSource preferredLanguages,
                    TranslationCatalogue catalogue, QObject* parent = nullptr);

    // What Qt reports for the desktop session (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
    static QStringList systemPreferredLanguages();

    // The stored choice ("system" when absent); any text may be stored.
    QString currentLanguageRaw() const;
    // Stores the choice; `languageChanged` follows once the value is stored.
    void setCurrentLanguageRaw(const QString& raw);

    // The code of the language in force, one of the catalogue's; re-resolved on every call.
    QString activeLanguageCode() const;
    // The locale its translators wrote for ("pt_BR"): Qt's own texts follow it.
    QString activeLocaleName() const;

    // The text of `id` in the language in force, else in English, else `id` itself.
    QString string(const char* id) const;
    // The same for a text with plural forms ("%n items"), in the form for `count`, with %n (and
    // %Ln, in the language's digits) replaced by `count`.
    QString string(const char* id, int count) const;

    // The language picker's choices in order: "system", then every language of the catalogue.
    QStringList choices() const;
    // The label of a choice in the picker: "system" in the language in force, every language in
    // its own words.
    QString label(const QString& choice) const;

    const TranslationCatalogue& catalogue() const { return m_catalogue; }

    // The resolution rule on its own: a stored choice, a preferred-language list and the codes
    // there are texts for give the code in force.
    static QString resolveLanguageCode(const QString& storedChoice,
                                       const QStringList& preferredLanguages,
                                       const QStringList& codes);

Q_SIGNALS:
    // Sent once after every write of the "appLanguage" setting, whoever wrote it.
    void languageChanged();

private:
    QString lookUp(const char* id, int count) const;

    SettingsStore& m_settings;
    PreferredLanguagesSource m_preferredLanguages;
    TranslationCatalogue m_catalogue;
};

} // namespace tessel
