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
    // modifiers (nothing changes); `takenBySystem` when the service refused it (it stays stored).
    std::optional<ShortcutError> updateClipboardShortcut(const SavedShortcut& shortcut);
    std::optional<ShortcutError> updateEmojiShortcut(const SavedShortcut& shortcut);

    // While suspended the combinations stay accepted but their grabs are let go, so that the
    // keys reach Tessel's own windows (the preferences record a new shortcut with them).
    // Resuming registers both again.
    void setSuspended(bool suspended);
    bool isSuspended() const { return m_suspended; }

    SavedShortcut clipboardShortcut() const { return m_clipboardShortcut; }
    SavedShortcut emojiShortcut() const { return m_emojiShortcut; }
    bool isClipboardRegistered() const { return m_clipboardRegistered; }
    bool isEmojiRegistered() const { return m_emojiRegistered; }

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

private:
    std::optional<ShortcutError> update(Action which, const SavedShortcut& shortcut);
    bool registerShortcut(int id, const SavedShortcut& shortcut);
    void onActivated(int id);
    void releaseGrabs();

    SettingsStore& m_settings;
    HotkeyBackend& m_backend;
    Handler m_handler;
    bool m_installed = false;
    bool m_clipboardRegistered = false;
    bool m_emojiRegistered = false;
    bool m_suspended = false;
    SavedShortcut m_clipboardShortcut;
    SavedShortcut m_emojiShortcut;
};

} // namespace tessel
