// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QTranslator;

namespace tessel {

// The interface languages Tessel has texts for: the compiled translation files ("tessel_pt.qm")
// of every language that the LINGUAS file beside them names, in the order LINGUAS names them.
// Texts are looked up by id; the catalogue knows nothing of fallbacks, which are the
// LanguageManager's.
class TranslationCatalogue {
public:
    TranslationCatalogue();
    TranslationCatalogue(TranslationCatalogue&&) noexcept;
    TranslationCatalogue& operator=(TranslationCatalogue&&) noexcept;
    ~TranslationCatalogue();

    // Where the build puts the catalogue: the Qt resource directory ":/tessel/translations".
    static QString builtInDirectory();

    // Reads `directory`/LINGUAS (language codes separated by white space, "#" starts a comment)
    // and `directory`/tessel_<code>.qm for each code. A language whose file is missing or
    // unreadable is left out with a log line; a missing LINGUAS gives an empty catalogue.
    static TranslationCatalogue load(const QString& directory);

    // The language codes, in LINGUAS order ("pt", "en", "es").
    QStringList codes() const;
    bool contains(const QString& code) const;

    // The locale the translators of `code` wrote for ("pt_BR"), as their file declares it; the
    // code itself when the file declares none.
    QString localeName(const QString& code) const;

    // The text of `id` in `code`, the form for `count` where the text has plural forms (a
    // negative count picks the first form); a null string when that language has none.
    // Placeholders are left as they are.
    QString text(const QString& code, const char* id, int count = -1) const;

    // The codes named by a LINGUAS file's contents.
    static QStringList parseLinguas(const QByteArray& contents);

private:
    struct Language {
        QString code;
        std::unique_ptr<QTranslator> translator;
    };
    const Language* find(const QString& code) const;

    std::vector<Language> m_languages;
};

} // namespace tessel
