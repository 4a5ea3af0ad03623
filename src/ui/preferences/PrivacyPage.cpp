// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/PrivacyPage.h"

#include "core/SettingsStore.h"
#include "permissions/PermissionManager.h"
#include "ui/preferences/IgnoredApplicationsCard.h"
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

    //% "Sensitive Data Protection"
    layout->addWidget(sectionHeader(texts, QT_TRID_NOOP("section_sensitive_data"), this));
    auto* filterCard = new Card(this);
    auto* filter = new ToggleRow(texts,
                                 //% "Ignore Password Managers"
                                 QT_TRID_NOOP("ignore_passwords"),
                                 //% "Does not record passwords copied from KeePassXC, 1Password, "
                                 //% "Bitwarden, etc."
                                 QT_TRID_NOOP("ignore_passwords_sub"), filterCard);
    bindToggle(filter->checkBox(), context.settings, settings::ignorePasswordManagers);
    filterCard->body()->addWidget(filter);
    layout->addWidget(filterCard);

    //% "Ignored Applications"
    layout->addWidget(sectionHeader(texts, QT_TRID_NOOP("section_ignored_apps"), this));
    layout->addWidget(
        new IgnoredApplicationsCard(context.settings, texts, context.runningApplications, this));

    //% "Keystroke Permission (X11)"
    layout->addWidget(sectionHeader(texts, QT_TRID_NOOP("section_accessibility"), this));
    layout->addWidget(buildStatusCard());
    layout->addWidget(buildFeatureCard(u"bolt.fill"_s,
                                       //% "Instant Auto-Paste"
                                       QT_TRID_NOOP("acc_card_paste_title"),
                                       //% "Inserts items and emojis into focused app with 1 click"
                                       QT_TRID_NOOP("acc_card_paste_sub")));
    layout->addWidget(buildFeatureCard(u"keyboard.fill"_s,
                                       //% "System Global Shortcuts"
                                       QT_TRID_NOOP("acc_card_shortcuts_title"),
                                       //% "Open clipboard from anywhere via Super+Shift+V"
                                       QT_TRID_NOOP("acc_card_shortcuts_sub")));
    layout->addWidget(buildFeatureCard(u"shield.checkerboard"_s,
                                       //% "100% Local Privacy"
                                       QT_TRID_NOOP("acc_card_privacy_title"),
                                       //% "Offline processing on your computer, zero tracking"
                                       QT_TRID_NOOP("acc_card_privacy_sub")));
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
    //% "You did not allow Tessel to type into this desktop's windows: chosen entries go to the "
    //% "clipboard, and Ctrl+V pastes them."
    m_texts.bind(note, QT_TRID_NOOP("desktop_paste_refused"));
    auto* askAgain = new QPushButton(box);
    askAgain->setObjectName(u"askDesktopAgain"_s);
    //% "Ask Again at the Next Paste"
    m_texts.bind(askAgain, QT_TRID_NOOP("desktop_paste_ask_again"));
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

QWidget* PrivacyPage::buildFeatureCard(const QString& symbol, const char* titleId,
                                       const char* explanationId)
{
    auto* card = new Card(this);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    auto* column = new QVBoxLayout;
    column->setSpacing(1);
    auto* title = new ToneLabel(Tone::primary, 12, QFont::DemiBold, card);
    m_texts.bind(title, titleId);
    auto* explanation = new ToneLabel(Tone::secondary, 11, QFont::Normal, card);
    explanation->setWordWrap(true);
    m_texts.bind(explanation, explanationId);
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
    //% "All operating system permissions are verified."
    m_texts.bind(m_verified, QT_TRID_NOOP("access_all_verified"));
    layout->addWidget(m_verified);

    m_steps = new QWidget(box);
    auto* steps = new QVBoxLayout(m_steps);
    steps->setContentsMargins(0, 0, 0, 0);
    steps->setSpacing(4);
    static const char* const stepIds[] = {
        //% "1. Click the button below to open the help page"
        QT_TRID_NOOP("acc_step_1"),
        //% "2. Restart Tessel in an X11 session or through XWayland"
        QT_TRID_NOOP("acc_step_2"),
    };
    for (const char* id : stepIds) {
        auto* step = new ToneLabel(Tone::secondary, 11, QFont::Normal, m_steps);
        step->setWordWrap(true);
        m_texts.bind(step, id);
        steps->addWidget(step);
    }
    auto* open = new QPushButton(m_steps);
    open->setObjectName(u"openAccessSettings"_s);
    open->setIcon(IconProvider::icon(u"gearshape.fill"_s));
    open->setCursor(Qt::PointingHandCursor);
    //% "How to Enable"
    m_texts.bind(open, QT_TRID_NOOP("open_access_settings"));
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
    //% "Keystrokes Allowed"
    const char* grantedTitle = QT_TRID_NOOP("access_granted");
    //% "X11 Session Required"
    const char* deniedTitle = QT_TRID_NOOP("access_denied");
    //% "Tessel has all required permissions to paste and listen to shortcuts."
    const char* grantedExplanation = QT_TRID_NOOP("access_granted_sub");
    //% "Auto-paste and global shortcuts need an X11 session (or XWayland)."
    const char* deniedExplanation = QT_TRID_NOOP("access_denied_sub");
    //% "ACTIVE"
    const char* active = QT_TRID_NOOP("status_active");
    //% "PENDING"
    const char* pending = QT_TRID_NOOP("status_pending");
    m_statusTitle->setText(m_texts.string(granted ? grantedTitle : deniedTitle));
    const char* note = m_context.permissions.platformNoteKey();
    m_statusExplanation->setText(m_texts.string(note      ? note
                                                : granted ? grantedExplanation
                                                          : deniedExplanation));
    m_statusBadge->set(m_texts.string(granted ? active : pending),
                       granted ? Tone::success : Tone::warning);
    m_verified->setVisible(granted);
    m_steps->setVisible(!granted);
}

} // namespace tessel
