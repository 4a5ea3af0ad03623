// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/preferences/PreferencesContext.h"

#include <QList>
#include <QWidget>
#include <memory>

class QStackedWidget;
class QVBoxLayout;

namespace tessel {

class PreferencesTabButton;
class ShortcutRecorder;
class ShortcutsPage;
class TextBinder;

// The preferences window's content: a header with the logo and the About button, four tabs
// (General, Appearance, Privacy, Shortcuts), and the selected tab's sections. Every control
// writes its setting at once; texts follow the language and colours the theme while it is open.
class PreferencesView : public QWidget {
    Q_OBJECT

public:
    enum Tab { general = 0, appearance = 1, privacy = 2, shortcuts = 3 };

    explicit PreferencesView(PreferencesContext context, QWidget* parent = nullptr);
    ~PreferencesView() override;

    // Sizes the window to show its header and its tallest page whole, within its screen (the
    // pages scroll where the screen is too small); again at every language change.
    void fitToContent();

    int selectedTab() const;
    void selectTab(int index);
    QList<PreferencesTabButton*> tabButtons() const { return m_tabButtons; }
    ShortcutRecorder& recorder() const { return *m_recorder; }
    ShortcutsPage* shortcutsPage() const { return m_shortcutsPage; }

protected:
    // Closing the window ends a recording, so typing elsewhere is not taken for a shortcut.
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildTabRow();
    void addPage(QWidget* page);

    PreferencesContext m_context;
    std::unique_ptr<TextBinder> m_texts;
    std::unique_ptr<ShortcutRecorder> m_recorder;
    QList<PreferencesTabButton*> m_tabButtons;
    QWidget* m_content = nullptr;
    QVBoxLayout* m_top = nullptr;
    QStackedWidget* m_pages = nullptr;
    bool m_fitted = false;
    ShortcutsPage* m_shortcutsPage = nullptr;
};

} // namespace tessel
