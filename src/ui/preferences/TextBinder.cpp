// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/TextBinder.h"

#include "localization/LanguageManager.h"

#include <QAbstractButton>
#include <QLabel>

namespace tessel {

TextBinder::TextBinder(LanguageManager& language)
    : m_language(language)
{}

QString TextBinder::text(const QString& key) const
{
    return m_language.string(key);
}

QLabel* TextBinder::bind(QLabel* label, const QString& key)
{
    bind(label, [this, label, key] { label->setText(text(key)); });
    return label;
}

QAbstractButton* TextBinder::bind(QAbstractButton* button, const QString& key)
{
    bind(button, [this, button, key] { button->setText(text(key)); });
    return button;
}

void TextBinder::bind(QObject* owner, std::function<void()> update)
{
    update();
    m_bindings.append({owner, std::move(update)});
}

void TextBinder::retranslate()
{
    m_bindings.removeIf([](const Binding& binding) { return !binding.owner; });
    for (const Binding& binding : m_bindings)
        binding.update();
}

} // namespace tessel
