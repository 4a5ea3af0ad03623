// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QTranslator;

namespace tessel {

class LanguageManager;

// Qt's own interface texts (a text field's context menu: Undo, Cut, Paste...; the names of keys)
// in the language in force: installs Qt's translation for its locale ("qtbase_pt_BR.qm") into
// the application and swaps it at every language change. A language Qt has no translation for
// leaves Qt's texts in English. Main thread only; one per application.
class QtTranslations : public QObject {
    Q_OBJECT

public:
    // `directory` holds Qt's translation files (Qt's own translations folder by default).
    explicit QtTranslations(LanguageManager& language, QString directory = defaultDirectory(),
                            QObject* parent = nullptr);
    ~QtTranslations() override;

    static QString defaultDirectory();

    // The file installed ("…/qtbase_pt_BR.qm"), empty while none is.
    QString installedFile() const;

private:
    void follow();

    LanguageManager& m_language;
    QString m_directory;
    QString m_locale;
    std::unique_ptr<QTranslator> m_translator;
};

} // namespace tessel
