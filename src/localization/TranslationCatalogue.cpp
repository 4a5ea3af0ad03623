// SPDX-License-Identifier: GPL-3.0-or-later
#include "localization/TranslationCatalogue.h"

#include "core/Log.h"

#include <QFile>
#include <QRegularExpression>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace tessel {

TranslationCatalogue::TranslationCatalogue() = default;
TranslationCatalogue::TranslationCatalogue(TranslationCatalogue&&) noexcept = default;
TranslationCatalogue& TranslationCatalogue::operator=(TranslationCatalogue&&) noexcept = default;
TranslationCatalogue::~TranslationCatalogue() = default;

QString TranslationCatalogue::builtInDirectory()
{
    return u":/tessel/translations"_s;
}

QStringList TranslationCatalogue::parseLinguas(const QByteArray& contents)
{
    static const QRegularExpression space(u"\\s+"_s);
    QStringList codes;
    for (const QByteArray& line : contents.split('\n')) {
        const qsizetype comment = line.indexOf('#');
        const QString words = QString::fromUtf8(comment < 0 ? line : line.left(comment));
        for (const QString& code : words.split(space, Qt::SkipEmptyParts)) {
            if (!codes.contains(code))
                codes.append(code);
        }
    }
    return codes;
}

TranslationCatalogue TranslationCatalogue::load(const QString& directory)
{
    TranslationCatalogue catalogue;
    QFile linguas(directory + "/LINGUAS"_L1);
    if (!linguas.open(QIODevice::ReadOnly)) {
        qCWarning(lcLanguage, "no list of languages in %s", qPrintable(directory));
        return catalogue;
    }
    for (const QString& code : parseLinguas(linguas.readAll())) {
        auto translator = std::make_unique<QTranslator>();
        const QString file = directory + "/tessel_"_L1 + code + ".qm"_L1;
        if (!translator->load(file)) {
            qCWarning(lcLanguage, "cannot read the texts of language %s (%s)", qPrintable(code),
                      qPrintable(file));
            continue;
        }
        catalogue.m_languages.push_back({code, std::move(translator)});
    }
    return catalogue;
}

QStringList TranslationCatalogue::codes() const
{
    QStringList codes;
    codes.reserve(qsizetype(m_languages.size()));
    for (const Language& language : m_languages)
        codes.append(language.code);
    return codes;
}

bool TranslationCatalogue::contains(const QString& code) const
{
    return find(code) != nullptr;
}

QString TranslationCatalogue::localeName(const QString& code) const
{
    const Language* language = find(code);
    if (!language)
        return {};
    const QString declared = language->translator->language();
    return declared.isEmpty() ? code : declared;
}

QString TranslationCatalogue::text(const QString& code, const char* id, int count) const
{
    const Language* language = find(code);
    if (!language)
        return {};
    // Id-based files key every text by its id alone, with no context.
    return language->translator->translate(nullptr, id, nullptr, count);
}

const TranslationCatalogue::Language* TranslationCatalogue::find(const QString& code) const
{
    for (const Language& language : m_languages) {
        if (language.code == code)
            return &language;
    }
    return nullptr;
}

} // namespace tessel
