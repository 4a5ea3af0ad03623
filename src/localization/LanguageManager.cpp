// SPDX-License-Identifier: GPL-3.0-or-later
#include "localization/LanguageManager.h"

#include "core/SettingsStore.h"

#include <QLocale>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {

const auto english = "en"_L1;

// What QCoreApplication::translate does for %n, with the digits of the text's own language.
QString withCount(QString text, int count, const QLocale& locale)
{
    qsizetype at = 0;
    while ((at = text.indexOf(u'%', at)) != -1) {
        const bool localised = at + 2 < text.size() && text.at(at + 1) == u'L';
        const qsizetype letter = at + (localised ? 2 : 1);
        if (letter < text.size() && text.at(letter) == u'n') {
            const QString number = localised ? locale.toString(count) : QString::number(count);
            text.replace(at, letter - at + 1, number);
            at += number.size();
        } else {
            ++at;
        }
    }
    return text;
}

} // namespace

LanguageManager::LanguageManager(SettingsStore& settings,
                                 PreferredLanguagesSource preferredLanguages, QObject* parent)
    : LanguageManager(settings, std::move(preferredLanguages),
                      TranslationCatalogue::load(TranslationCatalogue::builtInDirectory()), parent)
{}

LanguageManager::LanguageManager(SettingsStore& settings,
                                 PreferredLanguagesSource preferredLanguages,
                                 TranslationCatalogue catalogue, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_preferredLanguages(std::move(preferredLanguages))
    , m_catalogue(std::move(catalogue))
{
    // Listening to the store rather than to our own setter keeps the signal single and after
    // the write, also when another component writes the setting.
    connect(&m_settings, &SettingsStore::changed, this, [this](const QString& key) {
        if (key == settings::appLanguage.name)
            Q_EMIT languageChanged();
    });
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
    const QStringList codes = m_catalogue.codes();
    const bool followsSystem = stored == systemChoice || !codes.contains(stored);
    return resolveLanguageCode(
        stored, followsSystem && m_preferredLanguages ? m_preferredLanguages() : QStringList(),
        codes);
}

QString LanguageManager::activeLocaleName() const
{
    const QString code = activeLanguageCode();
    const QString locale = m_catalogue.localeName(code);
    return locale.isEmpty() ? code : locale;
}

QString LanguageManager::resolveLanguageCode(const QString& storedChoice,
                                             const QStringList& preferredLanguages,
                                             const QStringList& codes)
{
    if (storedChoice != systemChoice && codes.contains(storedChoice))
        return storedChoice;
    // Longest first, so that a regional language ("pt_PT") wins over its base ("pt").
    QStringList byLength = codes;
    std::stable_sort(byLength.begin(), byLength.end(),
                     [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& identifier : preferredLanguages) {
        const QString lower = identifier.toLower().replace(u'-', u'_');
        for (const QString& code : std::as_const(byLength)) {
            if (lower.startsWith(code.toLower()))
                return code;
        }
    }
    if (codes.contains(english) || codes.isEmpty())
        return english;
    return codes.first();
}

QString LanguageManager::string(const char* id) const
{
    return lookUp(id, -1);
}

QString LanguageManager::string(const char* id, int count) const
{
    return withCount(lookUp(id, count), count, QLocale(activeLocaleName()));
}

QString LanguageManager::lookUp(const char* id, int count) const
{
    const QString code = activeLanguageCode();
    QString text = m_catalogue.text(code, id, count);
    if (text.isNull() && code != english)
        text = m_catalogue.text(english, id, count);
    return text.isNull() ? QString::fromUtf8(id) : text;
}

QStringList LanguageManager::choices() const
{
    return QStringList{systemChoice} + m_catalogue.codes();
}

QString LanguageManager::label(const QString& choice) const
{
    if (choice == systemChoice) {
        //% "🌐 Automatic (System)"
        return string("lang_system");
    }
    // Each language is named in its own words, whatever the language in force.
    //% "🇺🇸 English (US)"
    const QString own = m_catalogue.text(choice, QT_TRID_NOOP("language_name"));
    if (!own.isEmpty())
        return own;
    const QString native = QLocale(m_catalogue.localeName(choice)).nativeLanguageName();
    return native.isEmpty() ? choice : native;
}

} // namespace tessel
