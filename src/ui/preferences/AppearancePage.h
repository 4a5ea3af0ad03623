// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;

namespace tessel {

class TextBinder;
struct PreferencesContext;

// The Appearance tab: the theme of every window.
class AppearancePage : public QWidget {
    Q_OBJECT

public:
    AppearancePage(PreferencesContext& context, TextBinder& texts, QWidget* parent = nullptr);

private:
    void fillThemes();

    PreferencesContext& m_context;
    TextBinder& m_texts;
    QComboBox* m_theme = nullptr;
};

} // namespace tessel
