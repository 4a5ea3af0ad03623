// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QKeyEvent;

namespace tessel {

class HotkeyManager;

// Records a new global shortcut from the keys the user presses: which command is being
// recorded, the last error, and the rules for each key press. While recording, Tessel's own
// global grabs are let go so that even the current shortcut can be pressed and recorded.
class ShortcutRecorder : public QObject {
    Q_OBJECT

public:
    enum class Target { none, clipboard, emoji };

    explicit ShortcutRecorder(HotkeyManager& hotkeys, QObject* parent = nullptr);
    ~ShortcutRecorder() override;

    // Starts recording for `target`, ending any other recording and clearing the error.
    void startRecording(Target target);
    // Ends recording and clears the error; nothing happens when idle.
    void stop();
    // Ends recording, then sets the default clipboard and emoji shortcuts, in that order.
    void resetToDefaults();

    // One key press while recording. Returns true when the press was used (the caller then
    // swallows it): Escape ends recording; a combination without modifier shows the minimum
    // error; a combination is applied, and ends recording unless refused. Presses of modifier
    // keys alone wait for the main key. False when idle.
    bool handleKeyPress(const QKeyEvent& event);

    Target target() const { return m_target; }
    bool isRecording() const { return m_target != Target::none; }
    // The text id of the last error ("shortcut_min_error", ...), null when none.
    const char* errorKey() const { return m_errorKey; }

Q_SIGNALS:
    // The target or the error changed.
    void changed();

private:
    void setState(Target target, const char* errorKey);

    HotkeyManager& m_hotkeys;
    Target m_target = Target::none;
    const char* m_errorKey = nullptr;
};

} // namespace tessel
