// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/PrivacyPage.h"

#include "core/SettingsStore.h"
#include "permissions/PermissionManager.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesContext.h"
#include "ui/preferences/TextBinder.h"
#include "ui/style/IconProvider.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tessel {

using Tone = ToneLabel::Tone;

PrivacyPage::PrivacyPage(PreferencesContext& context, TextBinder& texts, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_texts(texts)
{
    auto* layout = pageLayout(this);

    layout->addWidget(sectionHeader(texts, u"section_sensitive_data"_s, this));
    auto* filterCard = new Card(this);
    auto* filter =
        new ToggleRow(texts, u"ignore_passwords"_s, u"ignore_passwords_sub"_s, filterCard);
    bindToggle(filter->checkBox(), context.settings, settings::ignorePasswordManagers);
    filterCard->body()->addWidget(filter);
    layout->addWidget(filterCard);

    layout->addWidget(sectionHeader(texts, u"section_accessibility"_s, this));
    layout->addWidget(buildStatusCard());
    layout->addWidget(buildFeatureCard(u"bolt.fill"_s, u"acc_card_paste_"_s));
    layout->addWidget(buildFeatureCard(u"keyboard.fill"_s, u"acc_card_shortcuts_"_s));
    layout->addWidget(buildFeatureCard(u"shield.checkerboard"_s, u"acc_card_privacy_"_s));
    layout->addWidget(buildGuidance());
    layout->addWidget(buildRefusalNote());
    layout->addStretch(1);

    texts.bind(this, [this] { showPermissionState(); });
    connect(&context.permissions, &PermissionManager::accessibilityGrantedChanged, this,
            &PrivacyPage::showPermissionState);
}

QWidget* PrivacyPage::buildRefusalNote()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 0);
    auto* note = new ToneLabel(Tone::warning, 11, QFont::Medium, box);
    note->setWordWrap(true);
    m_texts.bind(note, u"desktop_paste_refused"_s);
    auto* askAgain = new QPushButton(box);
    askAgain->setObjectName(u"askDesktopAgain"_s);
    m_texts.bind(askAgain, u"desktop_paste_ask_again"_s);
    layout->addWidget(note);
    layout->addWidget(askAgain, 0, Qt::AlignLeft);
    SettingsStore& settings = m_context.settings;
    connect(askAgain, &QPushButton::clicked, this,
            [&settings] { settings.set(settings::remoteDesktopRefused, false); });
    auto show = [box, &settings] {
        box->setVisible(settings.value(settings::remoteDesktopRefused));
    };
    connect(&settings, &SettingsStore::changed, box, [show](const QString& key) {
        if (key == settings::remoteDesktopRefused.name)
            show();
    });
    show();
    return box;
}

QWidget* PrivacyPage::buildStatusCard()
{
    auto* card = new Card(this);
    card->setObjectName(u"permissionCard"_s);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    m_statusIcon = new SymbolIcon(u"exclamationmark.shield.fill"_s, 28, Tone::warning, card);
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    m_statusTitle = new ToneLabel(Tone::primary, 13, QFont::DemiBold, card);
    m_statusExplanation = new ToneLabel(Tone::secondary, 11, QFont::Normal, card);
    m_statusExplanation->setWordWrap(true);
    column->addWidget(m_statusTitle);
    column->addWidget(m_statusExplanation);
    m_statusBadge = new Badge(card);
    row->addWidget(m_statusIcon, 0, Qt::AlignTop);
    row->addLayout(column, 1);
    row->addWidget(m_statusBadge, 0, Qt::AlignTop);
    card->body()->addLayout(row);
    return card;
}

QWidget* PrivacyPage::buildFeatureCard(const QString& symbol, const QString& keyPrefix)
{
    auto* card = new Card(this);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    auto* column = new QVBoxLayout;
    column->setSpacing(1);
    auto* title = new ToneLabel(Tone::primary, 12, QFont::DemiBold, card);
    m_texts.bind(title, keyPrefix + "title"_L1);
    auto* explanation = new ToneLabel(Tone::secondary, 11, QFont::Normal, card);
    explanation->setWordWrap(true);
    m_texts.bind(explanation, keyPrefix + "sub"_L1);
    column->addWidget(title);
    column->addWidget(explanation);
    row->addWidget(new SymbolIcon(symbol, 18, Tone::accent, card), 0, Qt::AlignVCenter);
    row->addLayout(column, 1);
    card->body()->addLayout(row);
    return card;
}

QWidget* PrivacyPage::buildGuidance()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 0);
    m_verified = new ToneLabel(Tone::success, 11, QFont::Medium, box);
    m_verified->setWordWrap(true);
    m_texts.bind(m_verified, u"access_all_verified"_s);
    layout->addWidget(m_verified);

    m_steps = new QWidget(box);
    auto* steps = new QVBoxLayout(m_steps);
    steps->setContentsMargins(0, 0, 0, 0);
    steps->setSpacing(4);
    for (const QString& key : {u"acc_step_1"_s, u"acc_step_2"_s}) {
        auto* step = new ToneLabel(Tone::secondary, 11, QFont::Normal, m_steps);
        step->setWordWrap(true);
        m_texts.bind(step, key);
        steps->addWidget(step);
    }
    auto* open = new QPushButton(m_steps);
    open->setObjectName(u"openAccessSettings"_s);
    open->setIcon(IconProvider::icon(u"gearshape.fill"_s));
    open->setCursor(Qt::PointingHandCursor);
    m_texts.bind(open, u"open_access_settings"_s);
    connect(open, &QPushButton::clicked, this,
            [this] { m_context.permissions.openAccessibilitySettings(); });
    steps->addWidget(open, 0, Qt::AlignLeft);
    layout->addWidget(m_steps);
    return box;
}

void PrivacyPage::showPermissionState()
{
    const bool granted = m_context.permissions.isAccessibilityGranted();
    m_statusIcon->setSymbol(granted ? u"checkmark.shield.fill"_s : u"exclamationmark.shield.fill"_s,
                            granted ? Tone::success : Tone::warning);
    m_statusTitle->setText(m_texts.text(granted ? u"access_granted"_s : u"access_denied"_s));
    const QString note = m_context.permissions.platformNoteKey();
    m_statusExplanation->setText(m_texts.text(!note.isEmpty() ? note
                                              : granted       ? u"access_granted_sub"_s
                                                              : u"access_denied_sub"_s));
    m_statusBadge->set(m_texts.text(granted ? u"status_active"_s : u"status_pending"_s),
                       granted ? Tone::success : Tone::warning);
    m_verified->setVisible(granted);
    m_steps->setVisible(!granted);
}

} // namespace tessel
