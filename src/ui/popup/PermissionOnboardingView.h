#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tessel {

class LanguageManager;
class PermissionManager;

// Explains why Tessel needs to synthesise input and leads the user to the help page that says how
// to allow it; follows the permission's state live.
class PermissionOnboardingView : public QWidget {
    Q_OBJECT

public:
    PermissionOnboardingView(PermissionManager& permissions, LanguageManager& language,
                             QWidget* parent = nullptr);

    QPushButton* openButton() const { return m_open; }
    QPushButton* retryButton() const { return m_retry; }
    QWidget* grantedRow() const { return m_granted; }
    // The colour the shield is drawn in (green when allowed, orange otherwise).
    QColor iconColour() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    void applyColours();

    PermissionManager& m_permissions;
    QLabel* m_icon;
    QLabel* m_subtitle = nullptr;
    QPushButton* m_open;
    QPushButton* m_retry;
    QWidget* m_buttons;
    QWidget* m_granted;
};

} // namespace tessel
