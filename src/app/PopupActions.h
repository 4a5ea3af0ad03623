// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"
#include "pickers/Emoji.h"

#include <QObject>
#include <QString>

namespace tessel {

class ClipboardManager;
class ContentView;
class EmojiStore;
class Pasteboard;
class PasteSimulator;
class WindowController;

// The one path every choice made in the popup takes: the views only announce what was chosen,
// and this object writes the clipboard, closes the popup (handing the keyboard back to the
// application the user was in) and schedules the paste there, in that order. Main thread only.
class PopupActions : public QObject {
    Q_OBJECT

public:
    PopupActions(ClipboardManager& clipboard, Pasteboard& pasteboard, EmojiStore& emojis,
                 WindowController& windowController, PasteSimulator& paste,
                 QObject* parent = nullptr);

    // Sends the choices of `view` here.
    void connectTo(ContentView& view);

    // A history entry: back on the clipboard and to the top of the history.
    void chooseEntry(const ClipboardEntryPtr& entry);
    // A picker's text: on the clipboard marked transient, so that no history records it.
    void choosePickedText(const QString& text);
    // An emoji: first in the recents (saved), then as a picker's text.
    void chooseEmoji(const Emoji& emoji);

private:
    void closeAndPaste();

    ClipboardManager& m_clipboard;
    Pasteboard& m_pasteboard;
    EmojiStore& m_emojis;
    WindowController& m_windowController;
    PasteSimulator& m_paste;
};

} // namespace tessel
