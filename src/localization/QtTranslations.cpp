// SPDX-License-Identifier: GPL-3.0-or-later
#include "localization/QtTranslations.h"

#include "core/Log.h"
#include "localization/LanguageManager.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <utility>

using namespace Qt::StringLiterals;

namespace tessel {

QtTranslations::QtTranslations(LanguageManager& language, QString directory, QObject* parent)
    : QObject(parent)
    , m_language(language)
    , m_directory(std::move(directory))
{
    follow();
    connect(&m_language, &LanguageManager::languageChanged, this, &QtTranslations::follow);
}

QtTranslations::~QtTranslations()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

QString QtTranslations::defaultDirectory()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QString QtTranslations::installedFile() const
{
    return m_translator ? m_translator->filePath() : QString();
}

void QtTranslations::follow()
{
    const QString locale = m_language.activeLocaleName();
    if (locale == m_locale)
        return;
    m_locale = locale;
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    auto translator = std::make_unique<QTranslator>();
    // Tries qtbase_pt_BR.qm, then qtbase_pt.qm.
    if (!translator->load(QLocale(locale), u"qtbase"_s, u"_"_s, m_directory)) {
        qCDebug(lcLanguage, "no translation of Qt's own texts for %s in %s", qPrintable(locale),
                qPrintable(m_directory));
        return;
    }
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
}

} // namespace tessel
