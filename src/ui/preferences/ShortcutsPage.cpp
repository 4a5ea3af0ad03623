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
    //% "System Global Shortcuts"
    layout->addWidget(sectionHeader(texts, QT_TRID_NOOP("section_shortcuts"), this));
    auto* card = new Card(this);
    //% "Clipboard"
    m_clipboard = addRow(card, QT_TRID_NOOP("shortcut_clipboard"));
    //% "Emojis, Kaomoji and Symbols"
    m_emoji = addRow(card, QT_TRID_NOOP("shortcut_emoji"));
    layout->addWidget(card);

    m_error = new ToneLabel(ToneLabel::Tone::warning, 11, QFont::Medium, this);
    m_error->setObjectName(u"shortcutError"_s);
    m_error->setWordWrap(true);
    layout->addWidget(m_error);
    auto* tip = new ToneLabel(ToneLabel::Tone::secondary, 11, QFont::Normal, this);
    tip->setWordWrap(true);
    //% "Tip: Shortcut combination requires at least 2 keys (modifier + key)."
    texts.bind(tip, QT_TRID_NOOP("shortcut_tip"));
    layout->addWidget(tip);
    auto* reset = new QPushButton(this);
    reset->setObjectName(u"resetShortcuts"_s);
    //% "Reset Default Shortcuts"
    texts.bind(reset, QT_TRID_NOOP("reset_shortcuts"));
    layout->addWidget(reset, 0, Qt::AlignLeft);
    if (DesktopShortcuts* desktop = context.desktopShortcuts; desktop && desktop->isOffered()) {
        // Where Tessel cannot register its shortcuts itself, the user may let it keep them in the
        // desktop's keyboard settings; turning it off removes them there.
        auto* desktopCard = new Card(this);
        m_desktop = new ToggleRow(texts,
                                  //% "Keep these shortcuts in the desktop's settings"
                                  QT_TRID_NOOP("desktop_shortcuts_toggle"),
                                  //% "Tessel adds them to GNOME's custom shortcuts "
                                  //% "(tessel --toggle, tessel --emoji) and keeps them "
                                  //% "in step; turning this off removes them."
                                  QT_TRID_NOOP("desktop_shortcuts_toggle_sub"), desktopCard);
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

QStringList ShortcutsPage::keyCaps(const SavedShortcut& shortcut) const
{
    QStringList caps;
    for (const KeyLabel& label : shortcut.keyCapLabels()) {
        if (!label.textId)
            caps.append(label.text);
        else if (label.text.isEmpty())
            caps.append(m_texts.string(label.textId));
        else
            caps.append(m_texts.string(label.textId).arg(label.text));
    }
    return caps;
}

KeyCapButton* ShortcutsPage::addRow(QWidget* card, const char* titleId)
{
    auto* row = new QHBoxLayout;
    auto* title = new ToneLabel(ToneLabel::Tone::primary, 13, QFont::Normal, card);
    m_texts.bind(title, titleId);
    auto* button = new KeyCapButton(m_recorder, card);
    button->setObjectName(QString::fromLatin1(titleId));
    title->setBuddy(button);
    m_texts.bind(button,
                 [this, button, titleId] { button->setAccessibleName(m_texts.string(titleId)); });
    row->addWidget(title, 1);
    row->addWidget(button);
    static_cast<Card*>(card)->body()->addLayout(row);
    return button;
}

void ShortcutsPage::showState()
{
    //% "Press shortcut keys..."
    const QString prompt = m_texts.string("press_keys_prompt");
    m_clipboard->setKeys(keyCaps(m_context.hotkeys.clipboardShortcut()));
    m_emoji->setKeys(keyCaps(m_context.hotkeys.emojiShortcut()));
    m_clipboard->setRecording(m_recorder.target() == Target::clipboard, prompt);
    m_emoji->setRecording(m_recorder.target() == Target::emoji, prompt);
    const char* errorKey = m_recorder.errorKey();
    m_error->setText(errorKey ? m_texts.string(errorKey) : QString());
    m_error->setVisible(errorKey != nullptr);
    // The recording row says what went wrong, where a screen reader is.
    if (KeyCapButton* recording = m_recorder.target() == Target::clipboard ? m_clipboard
                                  : m_recorder.target() == Target::emoji   ? m_emoji
                                                                           : nullptr;
        recording && errorKey)
        recording->setAccessibleDescription(m_error->text());
    if (m_desktop) {
        const DesktopShortcuts& desktop = *m_context.desktopShortcuts;
        const QSignalBlocker quiet(m_desktop->checkBox());
        m_desktop->checkBox()->setChecked(desktop.isEnabled());
        const QString why = desktop.lastError();
        //% "The desktop's keyboard settings could not be changed."
        m_desktopError->setText(why.isEmpty() ? QString()
                                              : m_texts.string("desktop_shortcuts_failed"));
        m_desktopError->setToolTip(why);
        m_desktopError->setVisible(!why.isEmpty());
    }
}

} // namespace tessel
