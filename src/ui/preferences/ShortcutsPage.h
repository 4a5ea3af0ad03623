// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QWidget>

namespace tessel {

class KeyCapButton;
struct SavedShortcut;
class ToggleRow;
class ShortcutRecorder;
class TextBinder;
class ToneLabel;
struct PreferencesContext;

// The Shortcuts tab: the two global shortcuts with their key caps, recording a new one, the
// recording error, and the reset to the defaults.
class ShortcutsPage : public QWidget {
    Q_OBJECT

public:
    ShortcutsPage(PreferencesContext& context, TextBinder& texts, ShortcutRecorder& recorder,
                  QWidget* parent = nullptr);

    KeyCapButton* clipboardButton() const { return m_clipboard; }
    KeyCapButton* emojiButton() const { return m_emoji; }
    ToneLabel* errorLabel() const { return m_error; }
    // "Keep these shortcuts in the desktop's settings"; null where the desktop has none.
    ToggleRow* desktopToggle() const { return m_desktop; }

private:
    KeyCapButton* addRow(QWidget* card, const char* titleId);
    void showState();
    // The key caps of `shortcut` in the interface language.
    QStringList keyCaps(const SavedShortcut& shortcut) const;

    PreferencesContext& m_context;
    TextBinder& m_texts;
    ShortcutRecorder& m_recorder;
    KeyCapButton* m_clipboard = nullptr;
    KeyCapButton* m_emoji = nullptr;
    ToneLabel* m_error = nullptr;
    ToggleRow* m_desktop = nullptr;
    ToneLabel* m_desktopError = nullptr;
};

} // namespace tessel
