// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

class QAbstractButton;
class QLabel;
class QObject;

namespace tessel {

class LanguageManager;

// Keeps the interface texts of a window in the language in force: each bound widget gets the
// text of its key now and again whenever the language changes.
class TextBinder {
public:
    explicit TextBinder(LanguageManager& language);

    LanguageManager& language() const { return m_language; }
    // The text of `id` in the language in force (LanguageManager::string).
    QString string(const char* id) const;

    // Sets the text of `id` on `label` or `button`, now and on every language change. Ids are
    // string literals (QT_TRID_NOOP), kept for the life of the binding.
    QLabel* bind(QLabel* label, const char* id);
    QAbstractButton* bind(QAbstractButton* button, const char* id);
    // Runs `update` now and on every language change while `owner` lives.
    void bind(QObject* owner, std::function<void()> update);

    // Applies every binding again; the owner calls it when the language changes.
    void retranslate();

private:
    struct Binding {
        QPointer<QObject> owner;
        std::function<void()> update;
    };

    LanguageManager& m_language;
    QList<Binding> m_bindings;
};

} // namespace tessel
