// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QRect>

namespace tessel::test {

// The geometry of tessel's visible 330x450 popup, or an empty rectangle.
QRect popupGeometry();
// Presses `shortcut` with the pointer at (300, 200), again while a busy machine is still starting
// Tessel, until the popup shows; then gives it the moment it takes to grab the keyboard.
bool openPopupWith(const QString& shortcut, int presses = 3);

// For a test program on the headless sway of the Wayland tests, before its QGuiApplication: Qt
// takes the compositor rather than an X server that may be there too, and swaymsg finds the
// session's sway through its socket in the runtime directory.
void useSwaySession();

// A GTK text field of another process (zenity --entry), in front with the keyboard: the
// application the user types in. Killed on destruction if still open.
class EntryDialog {
public:
    EntryDialog() = default;
    ~EntryDialog();
    EntryDialog(const EntryDialog&) = delete;
    EntryDialog& operator=(const EntryDialog&) = delete;

    bool open(const QString& title);
    // Confirms the dialog with Return and returns what its field held, exactly.
    QString confirm();

private:
    QProcess m_process;
};

} // namespace tessel::test
