// SPDX-License-Identifier: GPL-3.0-or-later
#include "localization/LanguageManager.h"

#include "core/SettingsStore.h"
#include "localization/StringTables.h"

#include <QLocale>
#include <utility>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {

QHash<QString, QString> toHash(StringTable table)
{
    QHash<QString, QString> texts;
    texts.reserve(qsizetype(table.size()));
    for (const StringTableEntry& entry : table)
        texts.insert(entry.key.toString(), entry.text.toString());
    return texts;
}

const auto english = "en"_L1;

} // namespace

LanguageManager::LanguageManager(SettingsStore& settings,
                                 PreferredLanguagesSource preferredLanguages, QObject* parent)
    : LanguageManager(settings, std::move(preferredLanguages), builtInTranslations(), parent)
{}

LanguageManager::LanguageManager(SettingsStore& settings,
                                 PreferredLanguagesSource preferredLanguages,
                                 Translations translations, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_preferredLanguages(std::move(preferredLanguages))
    , m_translations(std::move(translations))
{
    // Listening to the store rather than to our own setter keeps the signal single and after
    // the write, also when another component writes the setting.
    connect(&m_settings, &SettingsStore::changed, this, [this](const QString& key) {
        if (key == settings::appLanguage.name)
            Q_EMIT languageChanged();
    });
}

LanguageManager::Translations LanguageManager::builtInTranslations()
{
    return {{u"pt"_s, toHash(portugueseStrings())},
            {english, toHash(englishStrings())},
            {u"es"_s, toHash(spanishStrings())}};
}

QStringList LanguageManager::systemPreferredLanguages()
{
    return QLocale::system().uiLanguages();
}

QString LanguageManager::currentLanguageRaw() const
{
    return m_settings.value(settings::appLanguage);
}

void LanguageManager::setCurrentLanguageRaw(const QString& raw)
{
    m_settings.set(settings::appLanguage, raw);
}

QString LanguageManager::activeLanguageCode() const
{
    const QString stored = currentLanguageRaw();
    const auto choice = appLanguageFromRawValue(stored);
    const bool followsSystem = !choice || *choice == AppLanguage::system;
    return resolveLanguageCode(
        stored, followsSystem && m_preferredLanguages ? m_preferredLanguages() : QStringList());
}

QString LanguageManager::resolveLanguageCode(const QString& storedChoice,
                                             const QStringList& preferredLanguages)
{
    const auto choice = appLanguageFromRawValue(storedChoice);
    if (choice && *choice != AppLanguage::system)
        return rawValue(*choice);
    for (const QString& identifier : preferredLanguages) {
        const QString lower = identifier.toLower();
        if (lower.startsWith("pt"_L1))
            return u"pt"_s;
        if (lower.startsWith("es"_L1))
            return u"es"_s;
        if (lower.startsWith(english))
            return english;
    }
    return english;
}

QString LanguageManager::string(const QString& key) const
{
    const auto table = m_translations.constFind(activeLanguageCode());
    if (table != m_translations.cend()) {
        const auto text = table->constFind(key);
        if (text != table->cend())
            return *text;
    }
    const auto fallback = m_translations.constFind(english);
    if (fallback != m_translations.cend()) {
        const auto text = fallback->constFind(key);
        if (text != fallback->cend())
            return *text;
    }
    return key;
}

QString LanguageManager::label(AppLanguage language) const
{
    switch (language) {
    case AppLanguage::system:
        return string(u"lang_system"_s);
    case AppLanguage::pt:
        return u"🇧🇷 Português (Brasil)"_s;
    case AppLanguage::en:
        return u"🇺🇸 English (US)"_s;
    case AppLanguage::es:
        return u"🇪🇸 Español"_s;
    }
    return {};
}

QString LanguageManager::fillPlaceholders(const QString& format, const QStringList& values)
{
    const auto placeholder = "%@"_L1;
    QString result;
    qsizetype from = 0;
    for (const QString& value : values) {
        const qsizetype at = format.indexOf(placeholder, from);
        if (at < 0)
            break;
        result += QStringView(format).sliced(from, at - from);
        result += value;
        from = at + placeholder.size();
    }
    result += QStringView(format).sliced(from);
    return result;
}

} // namespace tessel
