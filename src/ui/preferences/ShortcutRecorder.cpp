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
    setState(target, {});
}

void ShortcutRecorder::stop()
{
    m_hotkeys.setSuspended(false);
    setState(Target::none, {});
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
        setState(m_target, u"shortcut_min_error"_s);
        return true;
    }
    const auto error = m_target == Target::clipboard ? m_hotkeys.updateClipboardShortcut(*shortcut)
                                                     : m_hotkeys.updateEmojiShortcut(*shortcut);
    if (!error)
        stop();
    else if (*error == HotkeyManager::ShortcutError::duplicate)
        setState(m_target, u"shortcut_duplicate_error"_s);
    else
        setState(m_target, u"shortcut_taken_error"_s);
    return true;
}

void ShortcutRecorder::setState(Target target, const QString& errorKey)
{
    if (m_target == target && m_errorKey == errorKey)
        return;
    m_target = target;
    m_errorKey = errorKey;
    Q_EMIT changed();
}

} // namespace tessel
