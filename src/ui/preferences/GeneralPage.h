// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;

namespace tessel {

class ToneLabel;
class TextBinder;
struct PreferencesContext;

// The General tab: pasting, confirmation, sounds and launch at login; the interface language;
// the size of the history.
class GeneralPage : public QWidget {
    Q_OBJECT

public:
    GeneralPage(PreferencesContext& context, TextBinder& texts, QWidget* parent = nullptr);

private:
    void buildBehaviour();
    void buildLanguage();
    void buildStorage();
    void toggleLaunchAtLogin(bool enabled);
    void fillLanguages();
    void fillHistoryChoices();

    PreferencesContext& m_context;
    TextBinder& m_texts;
    QCheckBox* m_launchAtLogin = nullptr;
    ToneLabel* m_launchAtLoginError = nullptr;
    QComboBox* m_language = nullptr;
    QComboBox* m_history = nullptr;
};

} // namespace tessel
