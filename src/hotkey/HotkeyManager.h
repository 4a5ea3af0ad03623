// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkey/SavedShortcut.h"

#include <QObject>
#include <functional>
#include <optional>

class QKeyEvent;

namespace tessel {

class HotkeyBackend;
class SettingsStore;

// The two global shortcuts: kept in the settings, registered with the hot-key service, turned
// into actions on a press, and validated when the user records a new one. Main thread only.
class HotkeyManager : public QObject {
    Q_OBJECT

public:
    enum class Action { clipboard, emoji };
    Q_ENUM(Action)
    enum class ShortcutError { duplicate, takenBySystem };
    using Handler = std::function<void(Action)>;

    // Registration identifiers for the two commands.
    static constexpr int clipboardId = 1;
    static constexpr int emojiId = 2;

    // Loads both shortcuts (stored value, or the default when absent or undecodable); registers
    // nothing until `start`.
    HotkeyManager(SettingsStore& settings, HotkeyBackend& backend, QObject* parent = nullptr);

    // Keeps `handler`; the first call also installs the press listener and registers both keys.
    void start(Handler handler);
    // Releases and registers both shortcuts again from their current values.
    void registerAllShortcuts();

    // Stores and registers a new shortcut. `duplicate` when it has the other command's key and
    // modifiers (nothing changes); `takenBySystem` when the service refused it at once (it stays
    // stored). A service that answers later reports through `registrationChanged`.
    std::optional<ShortcutError> updateClipboardShortcut(const SavedShortcut& shortcut);
    std::optional<ShortcutError> updateEmojiShortcut(const SavedShortcut& shortcut);

    // While suspended the combinations stay accepted but their grabs are let go, so that the
    // keys reach Tessel's own windows (the preferences record a new shortcut with them).
    // Resuming registers both again.
    void setSuspended(bool suspended);
    bool isSuspended() const { return m_suspended; }
    // What the desktop's shortcut settings call the two commands, in the interface language.
    void setActionNames(const QString& clipboard, const QString& emoji);

    SavedShortcut clipboardShortcut() const { return m_clipboardShortcut; }
    SavedShortcut emojiShortcut() const { return m_emojiShortcut; }
    // Whether the service holds the shortcut now; false while its answer is awaited.
    bool isClipboardRegistered() const { return m_clipboardState == State::registered; }
    bool isEmojiRegistered() const { return m_emojiState == State::registered; }

    // A shortcut from a key press: its modifiers (Meta is Command) and its key. `baseKeysym`
    // names the key as typed without modifiers; 0 uses the event's own keysym. Nothing when no
    // modifier is held or the key has no key code.
    static std::optional<SavedShortcut> convertEventToShortcut(const QKeyEvent& event,
                                                               quint32 baseKeysym = 0);
    // The same, asking the hot-key service for the key's unmodified keysym.
    std::optional<SavedShortcut> shortcutFromEvent(const QKeyEvent& event) const;

    static QString keyName(quint16 keyCode);

Q_SIGNALS:
    void clipboardShortcutChanged(const tessel::SavedShortcut& shortcut);
    void emojiShortcutChanged(const tessel::SavedShortcut& shortcut);
    // The service answered a registration of a shortcut, or changed its answer later.
    void registrationChanged(tessel::HotkeyManager::Action action, bool registered);

private:
    // None: nothing asked; pending: asked, no answer yet.
    enum class State { none, pending, registered, refused };

    std::optional<ShortcutError> update(Action which, const SavedShortcut& shortcut);
    void registerShortcut(int id, const SavedShortcut& shortcut);
    State& stateOf(int id) { return id == clipboardId ? m_clipboardState : m_emojiState; }
    void onRegistrationChanged(int id, bool registered);
    void onActivated(int id);
    void releaseGrabs();

    SettingsStore& m_settings;
    HotkeyBackend& m_backend;
    Handler m_handler;
    bool m_installed = false;
    State m_clipboardState = State::none;
    State m_emojiState = State::none;
    bool m_suspended = false;
    SavedShortcut m_clipboardShortcut;
    SavedShortcut m_emojiShortcut;
};

} // namespace tessel
