// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/ShortcutRecorder.h"

#include "hotkey/HotkeyManager.h"

#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}
} // namespace

ShortcutRecorder::ShortcutRecorder(HotkeyManager& hotkeys, QObject* parent)
    : QObject(parent)
    , m_hotkeys(hotkeys)
{}

ShortcutRecorder::~ShortcutRecorder()
{
    // The grabs must come back even when the window goes away mid-recording.
    m_hotkeys.setSuspended(false);
}

void ShortcutRecorder::startRecording(Target target)
{
    if (target == Target::none) {
        stop();
        return;
    }
    m_hotkeys.setSuspended(true);
    setState(target, nullptr);
}

void ShortcutRecorder::stop()
{
    m_hotkeys.setSuspended(false);
    setState(Target::none, nullptr);
}

void ShortcutRecorder::resetToDefaults()
{
    stop();
    m_hotkeys.updateClipboardShortcut(SavedShortcut::defaultClipboard());
    m_hotkeys.updateEmojiShortcut(SavedShortcut::defaultEmoji());
}

bool ShortcutRecorder::handleKeyPress(const QKeyEvent& event)
{
    if (m_target == Target::none)
        return false;
    if (event.key() == Qt::Key_Escape) {
        stop();
        return true;
    }
    // Modifiers come first; the combination is complete with the main key.
    if (isModifierKey(event.key()))
        return true;
    const auto shortcut = m_hotkeys.shortcutFromEvent(event);
    if (!shortcut) {
        //% "Shortcut requires at least 2 keys (e.g. Super, Shift + key)."
        setState(m_target, QT_TRID_NOOP("shortcut_min_error"));
        return true;
    }
    const auto error = m_target == Target::clipboard ? m_hotkeys.updateClipboardShortcut(*shortcut)
                                                     : m_hotkeys.updateEmojiShortcut(*shortcut);
    if (!error)
        stop();
    else if (*error == HotkeyManager::ShortcutError::duplicate)
        //% "This shortcut is already used by the other command."
        setState(m_target, QT_TRID_NOOP("shortcut_duplicate_error"));
    else
        //% "This shortcut is already used by the desktop or another app."
        setState(m_target, QT_TRID_NOOP("shortcut_taken_error"));
    return true;
}

void ShortcutRecorder::setState(Target target, const char* errorKey)
{
    if (m_target == target && qstrcmp(m_errorKey, errorKey) == 0)
        return;
    m_target = target;
    m_errorKey = errorKey;
    Q_EMIT changed();
}

} // namespace tessel
