// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkey/HotkeyManager.h"

#include "core/FixedDiagnostics.h"
#include "core/SettingsStore.h"
#include "hotkey/HotkeyBackend.h"
#include "hotkey/KeyCodeTable.h"

#include <QKeyEvent>
#include <array>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
SavedShortcut loadShortcut(const SettingsStore& settings, const DataSettingKey& key,
                           const SavedShortcut& fallback)
{
    // Undecodable data stays in the store until the next change overwrites it.
    const auto data = settings.value(key);
    if (!data)
        return fallback;
    return SavedShortcut::fromJson(*data).value_or(fallback);
}
} // namespace

HotkeyManager::HotkeyManager(SettingsStore& settings, HotkeyBackend& backend, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_backend(backend)
    , m_clipboardShortcut(loadShortcut(settings, settings::savedClipboardShortcut,
                                       SavedShortcut::defaultClipboard()))
    , m_emojiShortcut(
          loadShortcut(settings, settings::savedEmojiShortcut, SavedShortcut::defaultEmoji()))
{
    connect(&m_backend, &HotkeyBackend::activated, this, &HotkeyManager::onActivated);
    connect(&m_backend, &HotkeyBackend::registrationChanged, this,
            &HotkeyManager::onRegistrationChanged);
}

void HotkeyManager::start(Handler handler)
{
    m_handler = std::move(handler);
    if (m_installed)
        return;
    m_installed = true;
    if (const int status = m_backend.install();
        status != 0 && status != HotkeyBackend::notOffered) {
        FixedDiagnostics::hotkeyHandlerNotInstalled(status);
    }
    registerAllShortcuts();
}

void HotkeyManager::registerAllShortcuts()
{
    for (const int id : {clipboardId, emojiId}) {
        if (stateOf(id) != State::none)
            m_backend.unregisterHotkey(id);
        stateOf(id) = State::none;
    }
    registerShortcut(clipboardId, m_clipboardShortcut);
    registerShortcut(emojiId, m_emojiShortcut);
    // Registering still tells whether the service accepts a combination; the grab itself waits
    // for the end of the suspension.
    if (m_suspended)
        releaseGrabs();
}

void HotkeyManager::setSuspended(bool suspended)
{
    if (m_suspended == suspended)
        return;
    m_suspended = suspended;
    if (suspended)
        releaseGrabs();
    else if (m_installed)
        registerAllShortcuts();
}

void HotkeyManager::releaseGrabs()
{
    m_backend.unregisterHotkey(clipboardId);
    m_backend.unregisterHotkey(emojiId);
}

void HotkeyManager::registerShortcut(int id, const SavedShortcut& shortcut)
{
    stateOf(id) = State::pending;
    if (const auto keysym = KeyCodeTable::keysymForKeyCode(shortcut.keyCode))
        m_backend.registerHotkey(id, *keysym, shortcut.carbonModifiers);
    else
        onRegistrationChanged(id, false);
}

void HotkeyManager::onRegistrationChanged(int id, bool registered)
{
    if (id != clipboardId && id != emojiId)
        return;
    State& state = stateOf(id);
    const State next = registered ? State::registered : State::refused;
    // Nothing asked (an answer to a released registration), or no news.
    if (state == State::none || state == next)
        return;
    state = next;
    Q_EMIT registrationChanged(id == clipboardId ? Action::clipboard : Action::emoji, registered);
}

std::optional<HotkeyManager::ShortcutError>
HotkeyManager::updateClipboardShortcut(const SavedShortcut& shortcut)
{
    return update(Action::clipboard, shortcut);
}

std::optional<HotkeyManager::ShortcutError>
HotkeyManager::updateEmojiShortcut(const SavedShortcut& shortcut)
{
    return update(Action::emoji, shortcut);
}

std::optional<HotkeyManager::ShortcutError> HotkeyManager::update(Action which,
                                                                  const SavedShortcut& shortcut)
{
    const bool clipboard = which == Action::clipboard;
    const SavedShortcut& other = clipboard ? m_emojiShortcut : m_clipboardShortcut;
    if (shortcut.sameCombination(other))
        return ShortcutError::duplicate;

    if (clipboard) {
        m_clipboardShortcut = shortcut;
        Q_EMIT clipboardShortcutChanged(shortcut);
        m_settings.set(settings::savedClipboardShortcut, shortcut.toJson());
    } else {
        m_emojiShortcut = shortcut;
        Q_EMIT emojiShortcutChanged(shortcut);
        m_settings.set(settings::savedEmojiShortcut, shortcut.toJson());
    }
    registerAllShortcuts();
    if (stateOf(clipboard ? clipboardId : emojiId) == State::refused)
        return ShortcutError::takenBySystem;
    return std::nullopt;
}

void HotkeyManager::onActivated(int id)
{
    if (id != clipboardId && id != emojiId)
        return;
    const Action action = id == clipboardId ? Action::clipboard : Action::emoji;
    // The action runs after the current event has been handled, as a hot-key callback would.
    QMetaObject::invokeMethod(
        this,
        [this, action] {
            if (m_handler)
                m_handler(action);
        },
        Qt::QueuedConnection);
}

std::optional<SavedShortcut> HotkeyManager::convertEventToShortcut(const QKeyEvent& event,
                                                                   quint32 baseKeysym)
{
    struct Modifier {
        Qt::KeyboardModifier qt;
        quint32 mask;
        const char16_t* glyph;
    };
    static constexpr std::array kModifiers{
        Modifier{Qt::MetaModifier, ShortcutModifier::command, u"⌘"},
        Modifier{Qt::ShiftModifier, ShortcutModifier::shift, u"⇧"},
        Modifier{Qt::AltModifier, ShortcutModifier::option, u"⌥"},
        Modifier{Qt::ControlModifier, ShortcutModifier::control, u"⌃"},
    };

    SavedShortcut shortcut;
    for (const Modifier& modifier : kModifiers) {
        if (event.modifiers().testFlag(modifier.qt)) {
            shortcut.displayKeys.append(QString::fromUtf16(modifier.glyph));
            shortcut.carbonModifiers |= modifier.mask;
        }
    }
    if (shortcut.carbonModifiers == 0)
        return std::nullopt;

    const quint32 keysym = baseKeysym ? baseKeysym : event.nativeVirtualKey();
    const auto keyCode = KeyCodeTable::keyCodeForKeysym(keysym);
    if (!keyCode)
        return std::nullopt;
    shortcut.keyCode = *keyCode;
    shortcut.displayKeys.append(keyName(static_cast<quint16>(*keyCode)));
    return shortcut;
}

void HotkeyManager::setActionNames(const QString& clipboard, const QString& emoji)
{
    m_backend.setActionNames({{clipboardId, clipboard}, {emojiId, emoji}});
}

std::optional<SavedShortcut> HotkeyManager::shortcutFromEvent(const QKeyEvent& event) const
{
    return convertEventToShortcut(event, m_backend.baseKeysym(event.nativeScanCode()));
}

QString HotkeyManager::keyName(quint16 keyCode)
{
    return KeyCodeTable::keyName(keyCode);
}

} // namespace tessel
