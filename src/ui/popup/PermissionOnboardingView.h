// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tessel {

class DesktopShortcuts;
class LanguageManager;
class PermissionManager;

// Explains why Tessel needs to synthesise input and leads the user to the help page that says how
// to allow it; follows the permission's state live. Where the input is allowed but the desktop
// still holds back shortcuts or auto-paste, its informational form says what works there and
// offers only a button to carry on.
class PermissionOnboardingView : public QWidget {
    Q_OBJECT

public:
    enum class Form { permission, platformNotice };

    // `desktopShortcuts`, where the desktop has keyboard settings Tessel may write, adds a button
    // to the informational form that keeps the shortcuts there (the user's agreement) and
    // carries on.
    PermissionOnboardingView(PermissionManager& permissions, LanguageManager& language,
                             Form form = Form::permission,
                             DesktopShortcuts* desktopShortcuts = nullptr,
                             QWidget* parent = nullptr);

    Form form() const { return m_form; }
    QPushButton* dismissButton() const { return m_dismiss; }
    QPushButton* openButton() const { return m_open; }
    QPushButton* retryButton() const { return m_retry; }
    // "Add the shortcuts to the desktop"; null where the desktop has no keyboard settings for it.
    QPushButton* desktopShortcutsButton() const { return m_addShortcuts; }
    QWidget* grantedRow() const { return m_granted; }
    // The colour the shield is drawn in (green when allowed, orange otherwise).
    QColor iconColour() const;

Q_SIGNALS:
    // The user has read the informational form's note.
    void dismissed();

protected:
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    void applyColours();

    PermissionManager& m_permissions;
    Form m_form;
    QLabel* m_icon;
    QLabel* m_subtitle = nullptr;
    QLabel* m_grantedText = nullptr;
    QLabel* m_grantedCheck = nullptr;
    QPushButton* m_open;
    QPushButton* m_retry;
    QPushButton* m_dismiss;
    QPushButton* m_addShortcuts = nullptr;
    QWidget* m_buttons;
    QWidget* m_granted;
};

} // namespace tessel
