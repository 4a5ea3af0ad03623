// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/AppearancePage.h"

#include "core/SettingsStore.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesContext.h"
#include "ui/preferences/TextBinder.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tessel {

AppearancePage::AppearancePage(PreferencesContext& context, TextBinder& texts, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_texts(texts)
{
    auto* layout = pageLayout(this);
    //% "Visual & Theme"
    layout->addWidget(sectionHeader(texts, QT_TRID_NOOP("section_visual_theme"), this));
    auto* card = new Card(this);
    auto* row = new QHBoxLayout;
    auto* label = new ToneLabel(ToneLabel::Tone::primary, 13, QFont::Normal, card);
    //% "UI Visual Theme:"
    texts.bind(label, QT_TRID_NOOP("theme_label"));
    m_theme = new QComboBox(card);
    m_theme->setObjectName(settings::themeMode.name);
    fitPickerRow(label, m_theme, 170);
    label->setBuddy(m_theme);
    texts.bind(m_theme,
               [this, &texts] { m_theme->setAccessibleName(texts.string("theme_label")); });
    row->addWidget(label, 1);
    row->addWidget(m_theme);
    card->body()->addLayout(row);
    layout->addWidget(card);
    layout->addStretch(1);

    texts.bind(m_theme, [this] { fillThemes(); });
    connect(m_theme, &QComboBox::activated, this, [this](int index) {
        m_context.settings.set(settings::themeMode, m_theme->itemData(index).toString());
    });
    connect(&m_context.settings, &SettingsStore::changed, m_theme, [this](const QString& key) {
        if (key == settings::themeMode.name)
            fillThemes();
    });
}

void AppearancePage::fillThemes()
{
    const QSignalBlocker blocker(m_theme);
    m_theme->clear();
    //% "Follow system"
    m_theme->addItem(m_texts.string("theme_system"), u"system"_s);
    //% "Liquid Dark (Dark)"
    m_theme->addItem(m_texts.string("theme_dark"), u"dark"_s);
    //% "Liquid Light (Light)"
    m_theme->addItem(m_texts.string("theme_light"), u"light"_s);
    // Any other stored text follows the system, as every window does.
    const int current = m_theme->findData(m_context.settings.value(settings::themeMode));
    m_theme->setCurrentIndex(std::max(current, 0));
}

} // namespace tessel
