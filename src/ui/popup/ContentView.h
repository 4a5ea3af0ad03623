// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"
#include "pickers/Emoji.h"
#include "ui/popup/PopupContext.h"
#include "ui/widgets/SearchBar.h"
#include "window/PopupKeyTarget.h"
#include "window/PopupTab.h"

#include <QMap>
#include <QPointer>
#include <QWidget>

class QVBoxLayout;

namespace tessel {

class TabButton;

// The popup's root view: header (title, preferences, close), the tab row, the search field that
// every tab shares and the active tab's content; the permission onboarding in place of the tabs
// while synthetic input is not allowed, or in its informational form while the user has not yet
// read what this desktop holds back. A change of theme or language rebuilds every child; the
// active tab and the search texts survive. Each kind of content keeps its own search text (the
// two history tabs share theirs), so a search on one tab never filters another. The tab views'
// choices come out of it as signals.
class ContentView : public QWidget, public PopupKeyTarget {
    Q_OBJECT

public:
    ContentView(PopupContext context, PopupTab initialTab, QWidget* parent = nullptr);

    PopupTab activeTab() const { return m_activeTab; }
    void setActiveTab(PopupTab tab);
    // The search text of the active tab.
    QString searchText() const { return m_searchTexts.value(searchScope(m_activeTab)); }

    // The widgets of the current build (rebuilt on theme, language and permission changes).
    QWidget* tabContent() const { return m_tabContent; }
    SearchBar* searchBar() const { return m_searchBar; }
    QWidget* onboarding() const { return m_onboarding; }
    QList<TabButton*> tabButtons() const { return m_tabButtons; }
    // The identity of the current build: "<themeMode>-<language code>".
    QString identity() const { return m_identity; }
    int buildCount() const { return m_builds; }

    // Hands the navigation keys (arrows, Return, keypad Enter, Tab), Escape and the history's
    // preview key to the visible tab's view.
    bool handlePopupKey(const QKeyEvent& event) override;

Q_SIGNALS:
    // A history entry was chosen on the clipboard or favourites tab.
    void entryChosen(const tessel::ClipboardEntryPtr& entry);
    // An emoji was chosen on the emoji tab.
    void emojiChosen(const tessel::Emoji& emoji);
    // A kaomoji or a symbol was chosen.
    void textPicked(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Makes the popup window that takes the view in a window for screen readers too, and
    // rebuilds on a new palette.
    void changeEvent(QEvent* event) override;
    // Tab and Shift+Tab step through the header, the tabs, the search field and the content.
    bool focusNextPrevChild(bool next) override;

private:
    void rebuild();
    void rebuildBody();
    QWidget* buildHeader();
    QWidget* buildTabRow();
    QWidget* buildTabContent(PopupTab tab);
    void syncWindowAppearance(const QString& mode);
    void clearBody();

    PopupContext m_context;
    PopupTab m_activeTab;
    static PopupTab searchScope(PopupTab tab);
    // The id of the search field's hint on `tab`.
    static const char* searchHintId(PopupTab tab);
    void rebuildForNewPalette();

    QMap<PopupTab, QString> m_searchTexts;
    // The window colour the current build was made with: a new application palette (the desktop
    // switched between light and dark) rebuilds the children whose colours were fixed then.
    QColor m_builtWindowColour;
    QString m_identity;
    int m_builds = 0;
    QVBoxLayout* m_layout;
    QWidget* m_frame = nullptr;
    QWidget* m_header = nullptr;
    QWidget* m_body = nullptr;
    QVBoxLayout* m_bodyLayout = nullptr;
    QPointer<QWidget> m_tabContent;
    QPointer<SearchBar> m_searchBar;
    QPointer<QWidget> m_onboarding;
    QList<TabButton*> m_tabButtons;
};

} // namespace tessel
