// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/GeneralPage.h"

#include "core/HistoryLimits.h"
#include "core/LoginItems.h"
#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesContext.h"
#include "ui/preferences/TextBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// A label at the left and a picker of fixed width at the right.
QComboBox* pickerRow(QVBoxLayout* card, TextBinder& texts, const QString& labelKey, int width)
{
    auto* row = new QHBoxLayout;
    auto* label = new ToneLabel(ToneLabel::Tone::primary, 13, QFont::Normal);
    texts.bind(label, labelKey);
    auto* picker = new QComboBox;
    picker->setFixedWidth(width);
    row->addWidget(label, 1);
    row->addWidget(picker);
    card->addLayout(row);
    return picker;
}
} // namespace

GeneralPage::GeneralPage(PreferencesContext& context, TextBinder& texts, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_texts(texts)
{
    auto* layout = pageLayout(this);
    buildBehaviour();
    buildLanguage();
    buildStorage();
    layout->addStretch(1);
}

void GeneralPage::buildBehaviour()
{
    auto* outer = static_cast<QVBoxLayout*>(layout());
    outer->addWidget(sectionHeader(m_texts, u"section_behavior"_s, this));
    auto* card = new Card(this);
    const std::pair<const char16_t*, const SettingKey<bool>*> toggles[] = {
        {u"auto_paste", &settings::pasteOnSelect},
        {u"confirm_clear", &settings::confirmClear},
        {u"sound_effects", &settings::playSoundEffects}};
    for (const auto& [key, setting] : toggles) {
        const QString title = QString::fromUtf16(key);
        auto* row = new ToggleRow(m_texts, title, title + "_sub"_L1, card);
        bindToggle(row->checkBox(), m_context.settings, *setting);
        card->body()->addWidget(row);
    }

    auto* login = new ToggleRow(m_texts, u"launch_at_login"_s, u"launch_at_login_sub"_s, card);
    m_launchAtLogin = login->checkBox();
    m_launchAtLogin->setObjectName(u"launchAtLogin"_s);
    m_launchAtLogin->setChecked(m_context.loginItems.isEnabled());
    connect(m_launchAtLogin, &QCheckBox::toggled, this, &GeneralPage::toggleLaunchAtLogin);
    card->body()->addWidget(login);
    m_launchAtLoginError = new ToneLabel(ToneLabel::Tone::error, 11, QFont::Medium, card);
    m_launchAtLoginError->setObjectName(u"launchAtLoginError"_s);
    m_launchAtLoginError->setContentsMargins(24, 0, 0, 0);
    m_launchAtLoginError->setWordWrap(true);
    m_launchAtLoginError->hide();
    m_texts.bind(m_launchAtLoginError, u"launch_at_login_error"_s);
    card->body()->addWidget(m_launchAtLoginError);
    outer->addWidget(card);
}

void GeneralPage::toggleLaunchAtLogin(bool enabled)
{
    // The box keeps the position the user chose either way; the red line tells it did not work.
    const bool ok = m_context.loginItems.setEnabled(enabled);
    if (!ok)
        qWarning("Tessel: launch at login: %s", qPrintable(m_context.loginItems.errorString()));
    m_launchAtLoginError->setVisible(!ok);
}

void GeneralPage::buildLanguage()
{
    auto* outer = static_cast<QVBoxLayout*>(layout());
    outer->addWidget(sectionHeader(m_texts, u"section_language"_s, this));
    auto* card = new Card(this);
    m_language = pickerRow(card->body(), m_texts, u"language_label"_s, 210);
    m_language->setObjectName(settings::appLanguage.name);
    m_texts.bind(m_language, [this] { fillLanguages(); });
    connect(m_language, &QComboBox::activated, this, [this](int index) {
        m_context.language.setCurrentLanguageRaw(m_language->itemData(index).toString());
    });
    outer->addWidget(card);
}

void GeneralPage::fillLanguages()
{
    const QSignalBlocker blocker(m_language);
    m_language->clear();
    for (AppLanguage language : allAppLanguages)
        m_language->addItem(m_context.language.label(language), rawValue(language));
    // A stored value that is no language follows the system, as the manager does.
    const int current = m_language->findData(m_context.language.currentLanguageRaw());
    m_language->setCurrentIndex(std::max(current, 0));
}

void GeneralPage::buildStorage()
{
    auto* outer = static_cast<QVBoxLayout*>(layout());
    outer->addWidget(sectionHeader(m_texts, u"section_storage"_s, this));
    auto* card = new Card(this);
    m_history = pickerRow(card->body(), m_texts, u"history_limit"_s, 195);
    m_history->setObjectName(settings::maxHistoryItems.name);
    m_texts.bind(m_history, [this] { fillHistoryChoices(); });
    connect(m_history, &QComboBox::activated, this, [this](int index) {
        m_context.settings.set(settings::maxHistoryItems, m_history->itemData(index).toLongLong());
    });
    connect(&m_context.settings, &SettingsStore::changed, m_history, [this](const QString& key) {
        if (key == settings::maxHistoryItems.name)
            fillHistoryChoices();
    });
    outer->addWidget(card);
}

void GeneralPage::fillHistoryChoices()
{
    const QSignalBlocker blocker(m_history);
    const qint64 limit = m_context.settings.value(settings::maxHistoryItems);
    const QString format = m_texts.text(u"items_count_format"_s);
    m_history->clear();
    for (qint64 choice : HistoryLimits::choicesWith(limit))
        m_history->addItem(LanguageManager::fillPlaceholders(format, {QString::number(choice)}),
                           choice);
    m_history->setCurrentIndex(std::max(m_history->findData(limit), 0));
}

} // namespace tessel
