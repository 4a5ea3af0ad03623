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
#include <limits>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// A label at the left and a picker at the right, at least `width` wide.
QComboBox* pickerRow(QVBoxLayout* card, TextBinder& texts, const char* labelId, int width)
{
    auto* row = new QHBoxLayout;
    auto* label = new ToneLabel(ToneLabel::Tone::primary, 13, QFont::Normal);
    texts.bind(label, labelId);
    auto* picker = new QComboBox;
    label->setBuddy(picker);
    texts.bind(picker,
               [&texts, picker, labelId] { picker->setAccessibleName(texts.string(labelId)); });
    fitPickerRow(label, picker, width);
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
    //% "Behavior"
    outer->addWidget(sectionHeader(m_texts, QT_TRID_NOOP("section_behavior"), this));
    auto* card = new Card(this);
    struct Toggle {
        const char* titleId;
        const char* explanationId;
        const SettingKey<bool>* setting;
    };
    static const Toggle toggles[] = {
        //% "Auto-paste on select"
        {QT_TRID_NOOP("auto_paste"),
         //% "Pastes item directly into the active app upon click"
         QT_TRID_NOOP("auto_paste_sub"), &settings::pasteOnSelect},
        //% "Confirm before clearing history"
        {QT_TRID_NOOP("confirm_clear"),
         //% "Displays a confirmation alert when clicking 'Clear all'"
         QT_TRID_NOOP("confirm_clear_sub"), &settings::confirmClear},
        //% "Subtle sound effects"
        {QT_TRID_NOOP("sound_effects"),
         //% "Plays a soft sound when selecting and pasting elements"
         QT_TRID_NOOP("sound_effects_sub"), &settings::playSoundEffects}};
    for (const Toggle& toggle : toggles) {
        auto* row = new ToggleRow(m_texts, toggle.titleId, toggle.explanationId, card);
        bindToggle(row->checkBox(), m_context.settings, *toggle.setting);
        card->body()->addWidget(row);
    }

    auto* login = new ToggleRow(m_texts,
                                //% "Launch at login"
                                QT_TRID_NOOP("launch_at_login"),
                                //% "Opens Tessel automatically when you log in to your session"
                                QT_TRID_NOOP("launch_at_login_sub"), card);
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
    //% "Could not change the launch at login setting."
    m_texts.bind(m_launchAtLoginError, QT_TRID_NOOP("launch_at_login_error"));
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
    //% "Language"
    outer->addWidget(sectionHeader(m_texts, QT_TRID_NOOP("section_language"), this));
    auto* card = new Card(this);
    //% "Interface Language:"
    m_language = pickerRow(card->body(), m_texts, QT_TRID_NOOP("language_label"), 210);
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
    for (const QString& choice : m_context.language.choices())
        m_language->addItem(m_context.language.label(choice), choice);
    // A stored value that is no language follows the system, as the manager does.
    const int current = m_language->findData(m_context.language.currentLanguageRaw());
    m_language->setCurrentIndex(std::max(current, 0));
}

void GeneralPage::buildStorage()
{
    auto* outer = static_cast<QVBoxLayout*>(layout());
    //% "Storage"
    outer->addWidget(sectionHeader(m_texts, QT_TRID_NOOP("section_storage"), this));
    auto* card = new Card(this);
    //% "Maximum history items limit:"
    m_history = pickerRow(card->body(), m_texts, QT_TRID_NOOP("history_limit"), 195);
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
    m_history->clear();
    for (qint64 choice : HistoryLimits::choicesWith(limit)) {
        // A stored limit beyond what a count can show is named by its digits.
        const QString name = choice <= std::numeric_limits<int>::max()
                                 //% "%n items"
                                 ? m_context.language.string("items_count_format", int(choice))
                                 : QString::number(choice);
        m_history->addItem(name, choice);
    }
    m_history->setCurrentIndex(std::max(m_history->findData(limit), 0));
}

} // namespace tessel
