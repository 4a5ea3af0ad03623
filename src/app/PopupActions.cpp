// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PopupActions.h"

#include "clipboard/ClipboardManager.h"
#include "paste/PasteSimulator.h"
#include "pickers/EmojiStore.h"
#include "pickers/PickerWrite.h"
#include "ui/popup/ContentView.h"
#include "window/WindowController.h"

namespace tessel {

PopupActions::PopupActions(ClipboardManager& clipboard, Pasteboard& pasteboard, EmojiStore& emojis,
                           WindowController& windowController, PasteSimulator& paste,
                           QObject* parent)
    : QObject(parent)
    , m_clipboard(clipboard)
    , m_pasteboard(pasteboard)
    , m_emojis(emojis)
    , m_windowController(windowController)
    , m_paste(paste)
{}

void PopupActions::connectTo(ContentView& view)
{
    connect(&view, &ContentView::entryChosen, this, &PopupActions::chooseEntry);
    connect(&view, &ContentView::emojiChosen, this, &PopupActions::chooseEmoji);
    connect(&view, &ContentView::textPicked, this, &PopupActions::choosePickedText);
}

void PopupActions::chooseEntry(const ClipboardEntryPtr& entry)
{
    if (!entry)
        return;
    m_clipboard.select(entry);
    closeAndPaste();
}

void PopupActions::choosePickedText(const QString& text)
{
    writePickedText(m_pasteboard, text);
    closeAndPaste();
}

void PopupActions::chooseEmoji(const Emoji& emoji)
{
    m_emojis.pushRecent(emoji);
    choosePickedText(emoji.character);
}

void PopupActions::closeAndPaste()
{
    // Closing first gives the keyboard back to the other application before the chord is due.
    m_windowController.close(true);
    m_paste.schedulePaste(PasteSimulator::defaultDelay);
}

} // namespace tessel
