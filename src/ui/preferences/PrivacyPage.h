// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPushButton;

namespace tessel {

class Badge;
class SymbolIcon;
class TextBinder;
class ToneLabel;
struct PreferencesContext;

// The Privacy tab: the password-manager filter, the applications the user keeps out of the
// history, and the state of the input permission, with the way to the help when it is missing.
// The permission card follows the state live.
class PrivacyPage : public QWidget {
    Q_OBJECT

public:
    PrivacyPage(PreferencesContext& context, TextBinder& texts, QWidget* parent = nullptr);

private:
    // Where the user refused the desktop's request to let Tessel type into its windows: says so,
    // and offers to be asked again at the next paste.
    QWidget* buildRefusalNote();
    QWidget* buildStatusCard();
    // `keyPrefix` + "title" and + "sub" are the card's texts.
    QWidget* buildFeatureCard(const QString& symbol, const char* titleId,
                              const char* explanationId);
    QWidget* buildGuidance();
    void showPermissionState();

    PreferencesContext& m_context;
    TextBinder& m_texts;
    SymbolIcon* m_statusIcon = nullptr;
    ToneLabel* m_statusTitle = nullptr;
    ToneLabel* m_statusExplanation = nullptr;
    Badge* m_statusBadge = nullptr;
    ToneLabel* m_verified = nullptr;
    QWidget* m_steps = nullptr;
};

} // namespace tessel
