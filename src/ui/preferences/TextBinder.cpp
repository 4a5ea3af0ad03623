// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/TextBinder.h"

#include "localization/LanguageManager.h"

#include <QAbstractButton>
#include <QLabel>

namespace tessel {

TextBinder::TextBinder(LanguageManager& language)
    : m_language(language)
{}

QString TextBinder::string(const char* id) const
{
    return m_language.string(id);
}

QLabel* TextBinder::bind(QLabel* label, const char* id)
{
    bind(label, [this, label, id] { label->setText(string(id)); });
    return label;
}

QAbstractButton* TextBinder::bind(QAbstractButton* button, const char* id)
{
    bind(button, [this, button, id] { button->setText(string(id)); });
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
