#pragma once

#include <QProcess>
#include <QRect>

namespace tessel::test {

// The geometry of tessel's visible 330x450 popup, or an empty rectangle.
QRect popupGeometry();
// Presses `shortcut` with the pointer at (300, 200), again while a busy machine is still starting
// Tessel, until the popup shows; then gives it the moment it takes to grab the keyboard.
bool openPopupWith(const QString& shortcut, int presses = 3);

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
