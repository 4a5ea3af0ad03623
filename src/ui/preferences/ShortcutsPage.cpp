// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/ShortcutsPage.h"

#include "hotkey/DesktopShortcuts.h"
#include "hotkey/HotkeyManager.h"
#include "ui/preferences/KeyCapButton.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesContext.h"
#include "ui/preferences/ShortcutRecorder.h"
#include "ui/preferences/TextBinder.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tessel {

using Target = ShortcutRecorder::Target;

ShortcutsPage::ShortcutsPage(PreferencesContext& context, TextBinder& texts,
                             ShortcutRecorder& recorder, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_texts(texts)
    , m_recorder(recorder)
{
    auto* layout = pageLayout(this);
    layout->addWidget(sectionHeader(texts, u"section_shortcuts"_s, this));
    auto* card = new Card(this);
    m_clipboard = addRow(card, u"shortcut_clipboard"_s);
    m_emoji = addRow(card, u"shortcut_emoji"_s);
    layout->addWidget(card);

    m_error = new ToneLabel(ToneLabel::Tone::warning, 11, QFont::Medium, this);
    m_error->setObjectName(u"shortcutError"_s);
    m_error->setWordWrap(true);
    layout->addWidget(m_error);
    auto* tip = new ToneLabel(ToneLabel::Tone::secondary, 11, QFont::Normal, this);
    tip->setWordWrap(true);
    texts.bind(tip, u"shortcut_tip"_s);
    layout->addWidget(tip);
    auto* reset = new QPushButton(this);
    reset->setObjectName(u"resetShortcuts"_s);
    texts.bind(reset, u"reset_shortcuts"_s);
    layout->addWidget(reset, 0, Qt::AlignLeft);
    if (DesktopShortcuts* desktop = context.desktopShortcuts; desktop && desktop->isOffered()) {
        // Where Tessel cannot register its shortcuts itself, the user may let it keep them in the
        // desktop's keyboard settings; turning it off removes them there.
        auto* desktopCard = new Card(this);
        m_desktop = new ToggleRow(texts, u"desktop_shortcuts_toggle"_s,
                                  u"desktop_shortcuts_toggle_sub"_s, desktopCard);
        m_desktop->checkBox()->setObjectName(u"desktopShortcuts"_s);
        desktopCard->body()->addWidget(m_desktop);
        layout->addWidget(desktopCard);
        m_desktopError = new ToneLabel(ToneLabel::Tone::warning, 11, QFont::Medium, this);
        m_desktopError->setWordWrap(true);
        layout->addWidget(m_desktopError);
        connect(m_desktop->checkBox(), &QCheckBox::toggled, desktop, &DesktopShortcuts::setEnabled);
        connect(desktop, &DesktopShortcuts::changed, this, &ShortcutsPage::showState);
    }
    layout->addStretch(1);

    connect(m_clipboard, &QAbstractButton::clicked, this,
            [this] { m_recorder.startRecording(Target::clipboard); });
    connect(m_emoji, &QAbstractButton::clicked, this,
            [this] { m_recorder.startRecording(Target::emoji); });
    connect(reset, &QPushButton::clicked, this, [this] { m_recorder.resetToDefaults(); });
    connect(&recorder, &ShortcutRecorder::changed, this, &ShortcutsPage::showState);
    connect(&context.hotkeys, &HotkeyManager::clipboardShortcutChanged, this,
            &ShortcutsPage::showState);
    connect(&context.hotkeys, &HotkeyManager::emojiShortcutChanged, this,
            &ShortcutsPage::showState);
    texts.bind(this, [this] { showState(); });
}

KeyCapButton* ShortcutsPage::addRow(QWidget* card, const QString& titleKey)
{
    auto* row = new QHBoxLayout;
    auto* title = new ToneLabel(ToneLabel::Tone::primary, 13, QFont::Normal, card);
    m_texts.bind(title, titleKey);
    auto* button = new KeyCapButton(m_recorder, card);
    button->setObjectName(titleKey);
    row->addWidget(title, 1);
    row->addWidget(button);
    static_cast<Card*>(card)->body()->addLayout(row);
    return button;
}

void ShortcutsPage::showState()
{
    const QString prompt = m_texts.text(u"press_keys_prompt"_s);
    m_clipboard->setKeys(m_context.hotkeys.clipboardShortcut().keyCapNames());
    m_emoji->setKeys(m_context.hotkeys.emojiShortcut().keyCapNames());
    m_clipboard->setRecording(m_recorder.target() == Target::clipboard, prompt);
    m_emoji->setRecording(m_recorder.target() == Target::emoji, prompt);
    const QString errorKey = m_recorder.errorKey();
    m_error->setText(errorKey.isEmpty() ? QString() : m_texts.text(errorKey));
    m_error->setVisible(!errorKey.isEmpty());
    if (m_desktop) {
        const DesktopShortcuts& desktop = *m_context.desktopShortcuts;
        const QSignalBlocker quiet(m_desktop->checkBox());
        m_desktop->checkBox()->setChecked(desktop.isEnabled());
        const QString why = desktop.lastError();
        m_desktopError->setText(why.isEmpty() ? QString()
                                              : m_texts.text(u"desktop_shortcuts_failed"_s));
        m_desktopError->setToolTip(why);
        m_desktopError->setVisible(!why.isEmpty());
    }
}

} // namespace tessel
