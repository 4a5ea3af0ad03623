// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkey/DesktopShortcuts.h"

#include "core/Log.h"
#include "core/SettingsStore.h"
#include "hotkey/DesktopKeybindings.h"
#include "hotkey/HotkeyManager.h"
#include "hotkey/KeyCodeTable.h"

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// Shell-quoted, since the desktop splits the command as a shell would.
QString commandFor(const QString& executable, const char* option)
{
    QString quoted = executable;
    if (quoted.contains(u' ') || quoted.contains(u'\'') || quoted.contains(u'"'))
        quoted = u'\'' + quoted.replace(u"'"_s, u"'\\''"_s) + u'\'';
    return quoted + u' ' + QLatin1StringView(option);
}
} // namespace

DesktopShortcuts::DesktopShortcuts(SettingsStore& settings, HotkeyManager& hotkeys,
                                   DesktopKeybindings* keybindings, QString executable,
                                   QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_hotkeys(hotkeys)
    , m_keybindings(keybindings)
    , m_executable(std::move(executable))
{
    auto follow = [this] {
        if (isEnabled())
            write();
    };
    connect(&m_hotkeys, &HotkeyManager::clipboardShortcutChanged, this, follow);
    connect(&m_hotkeys, &HotkeyManager::emojiShortcutChanged, this, follow);
}

bool DesktopShortcuts::isOffered() const
{
    // A plain pointer: the release build's null-dereference check does not see through QPointer.
    const DesktopKeybindings* keybindings = m_keybindings.data();
    return keybindings && keybindings->isOffered();
}

bool DesktopShortcuts::isEnabled() const
{
    return isOffered() && m_settings.value(settings::desktopKeybindings);
}

void DesktopShortcuts::start()
{
    if (isEnabled())
        write();
}

void DesktopShortcuts::setEnabled(bool enabled)
{
    DesktopKeybindings* keybindings = m_keybindings.data();
    if (!keybindings || !keybindings->isOffered())
        return;
    m_settings.set(settings::desktopKeybindings, enabled);
    m_lastError.clear();
    Q_EMIT changed();
    if (enabled) {
        write();
    } else {
        keybindings->remove([self = QPointer(this)](const Result& result) {
            if (self)
                self->finished(result);
        });
    }
}

void DesktopShortcuts::setNames(const QString& clipboard, const QString& emoji)
{
    if (clipboard == m_clipboardName && emoji == m_emojiName)
        return;
    m_clipboardName = clipboard;
    m_emojiName = emoji;
    if (isEnabled())
        write();
}

void DesktopShortcuts::write()
{
    QList<DesktopKeybindings::Binding> bindings;
    const struct {
        const char* id;
        const QString& name;
        const char* option;
        SavedShortcut shortcut;
    } wanted[] = {
        {"toggle", m_clipboardName, "--toggle", m_hotkeys.clipboardShortcut()},
        {"emoji", m_emojiName, "--emoji", m_hotkeys.emojiShortcut()},
    };
    for (const auto& one : wanted) {
        const auto keysym = KeyCodeTable::keysymForKeyCode(one.shortcut.keyCode);
        if (!keysym)
            continue;
        const QString command = commandFor(m_executable, one.option);
        // Unnamed, the desktop's list shows the command.
        bindings.append({QString::fromLatin1(one.id), one.name.isEmpty() ? command : one.name,
                         command, *keysym, one.shortcut.carbonModifiers});
    }
    DesktopKeybindings* keybindings = m_keybindings.data();
    if (!keybindings)
        return;
    keybindings->apply(bindings, [self = QPointer(this)](const Result& result) {
        if (self)
            self->finished(result);
    });
}

void DesktopShortcuts::finished(const Result& result)
{
    m_lastError = result.message();
    if (!result)
        qCInfo(lcHotkey, "the desktop's keyboard settings were not changed: %s",
               qPrintable(m_lastError));
    Q_EMIT changed();
}

} // namespace tessel
