// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"

#include <QObject>
#include <QPointer>

namespace tessel {

class DesktopKeybindings;
class HotkeyManager;
class SettingsStore;

// Tessel's two shortcuts kept in the desktop's keyboard settings, where the desktop offers no
// other way (GNOME's custom keybindings running `tessel --toggle` and `tessel --emoji`): written
// only once the user agrees, rewritten whenever the recorder changes a shortcut, and removed when
// the user turns them off. The agreement is a setting, so the bindings follow the shortcuts across
// restarts. Main thread only.
class DesktopShortcuts : public QObject {
    Q_OBJECT

public:
    // `keybindings` may be null (a desktop without them); `executable` is what the commands run.
    DesktopShortcuts(SettingsStore& settings, HotkeyManager& hotkeys,
                     DesktopKeybindings* keybindings, QString executable,
                     QObject* parent = nullptr);

    // Whether the desktop has keybindings to offer the user.
    bool isOffered() const;
    // Whether the user agreed and the bindings are kept.
    bool isEnabled() const;
    // Writes the bindings again when the user agreed before (they may have been edited away).
    void start();
    // The user's answer: write the bindings (and keep them in step), or remove them.
    void setEnabled(bool enabled);
    // What the desktop's settings call the two commands, in the interface language; bindings
    // already kept are renamed.
    void setNames(const QString& clipboard, const QString& emoji);
    // The last write or removal failed: why, for the interface to say. Empty otherwise.
    QString lastError() const { return m_lastError; }

Q_SIGNALS:
    // The agreement changed, or a write or removal finished (see `lastError`).
    void changed();

private:
    void write();
    void finished(const Result& result);

    SettingsStore& m_settings;
    HotkeyManager& m_hotkeys;
    QPointer<DesktopKeybindings> m_keybindings;
    QString m_executable;
    QString m_clipboardName;
    QString m_emojiName;
    QString m_lastError;
};

} // namespace tessel
