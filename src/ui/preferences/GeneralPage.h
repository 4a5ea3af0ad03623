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

    // The choices of the history picker, in order. The limit in force joins them when it is not
    // one of the usual four (a value written by hand), so the picker never shows another value.
    static QList<qint64> historyChoices(qint64 limitInForce);

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
