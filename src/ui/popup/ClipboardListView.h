// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"
#include "window/PopupKeyTarget.h"

#include <QMenu>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <optional>

class QLabel;
class QListView;
class QPushButton;
class QStackedLayout;

namespace tessel {

class ClipboardListFilter;
class ConfirmationSheet;
class ClipboardManager;
class EntryPreview;
class HistoryRowView;
class LanguageManager;
class SettingsStore;

// The clipboard tab (every entry) or the favourites tab (favourites only): a header with the
// clear button, then the entries as cards, or an empty state. Choosing an entry (click, Return or
// keypad Enter on the keyboard selection) is announced with `chosen`; the application does the
// rest. The popup hands it the arrow keys, Return and keypad Enter, and the keys that act on the
// keyboard selection as the row's buttons and menu do. An entry is shown whole
// beside the popup while the pointer rests on its row, or on the preview key for the keyboard
// selection (which it then follows) until that key again, Escape, or the pointer moving away.
class ClipboardListView : public QWidget, public PopupKeyTarget {
    Q_OBJECT

public:
    ClipboardListView(ClipboardManager& manager, LanguageManager& language, SettingsStore& settings,
                      bool showFavoritesOnly, QWidget* parent = nullptr);

    // Shows the keyboard selection whole, and hides it again. A function key, so that it never
    // types into the search field.
    static constexpr Qt::Key previewKey = Qt::Key_F3;
    // With Ctrl, pins or unpins the keyboard selection: a chord that types nothing.
    static constexpr Qt::Key pinKey = Qt::Key_P;
    // How long the pointer rests on a row before the row is shown whole.
    static constexpr int hoverDelayMs = 600;

    bool showFavoritesOnly() const { return m_favoritesOnly; }
    int selectedIndex() const { return m_selectedIndex; }
    // The rows shown: the history, or its favourites.
    ClipboardListFilter* model() const { return m_model; }
    QListView* listView() const { return m_list; }
    QPushButton* clearButton() const { return m_clear; }
    bool isShowingEmptyState() const;

    // The window that shows an entry whole; null until first needed.
    EntryPreview* preview() const { return m_preview; }
    bool isPreviewShown() const;

    // The open row menu ("..."), or nullptr.
    QMenu* rowMenu() const { return m_rowMenu; }

    // The sheet that asks before clearing; visible while it asks.
    ConfirmationSheet* clearSheet() const { return m_sheet; }

    // Narrows the list to the entries matching `searchText` and selects the first of them; a blank
    // text shows the whole list again with the entry that was selected still selected.
    void setSearchText(const QString& searchText);

    // Chooses the displayed entry at `row`.
    void choose(int row);

    // What a row does when clicked, and what its pin button and the items of its menu do: one
    // path for the mouse, the keys and screen readers alike. `row` is a displayed row.
    enum class RowAction { choose, pin, remove, menu };
    void perform(RowAction action, int row);
    // The name of the pin or remove action in the interface language, as the row's button or
    // menu item says it; empty for the actions every toolkit names itself.
    QString actionText(RowAction action, int row) const;
    // The clear button's action.
    void clearRequested();

    // Up and Down move the keyboard selection, Return and keypad Enter choose it, the preview
    // key shows it whole, Escape closes that; Delete removes it (unless the search field has text
    // after its cursor), Ctrl+P pins or unpins it, the menu key and Shift+F10 open its menu.
    // While the clear sheet asks, Escape closes the sheet and the other keys go to its buttons;
    // nothing is used while the list is empty.
    bool handlePopupKey(const QKeyEvent& event) override;

Q_SIGNALS:
    void chosen(const tessel::ClipboardEntryPtr& entry);

protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // `byKey`: for the keyboard selection, which the preview then follows.
    void showPreview(int row, bool byKey);
    void hidePreview();
    // The pointer is at `pos` in the list's viewport, or left it (nothing).
    void hoverAt(std::optional<QPoint> pos);
    // Hides a preview whose entry has left the list.
    void checkPreviewedEntry();
    void setSelectedIndex(int index);
    // Tells screen readers which row the keyboard selection is on.
    void announceSelection();
    // The row buttons' and the row menu's actions, for the mouse and the keyboard alike.
    void togglePin(const ClipboardEntryPtr& entry);
    void deleteEntry(const ClipboardEntryPtr& entry);
    void showMenuAt(int row);
    void updateEmptyState();
    void showRowMenu(const QModelIndex& index, const QPoint& globalPos);
    QWidget* buildEmptyState();
    void applyColours();

    ClipboardManager& m_manager;
    LanguageManager& m_language;
    SettingsStore& m_settings;
    bool m_favoritesOnly;
    ClipboardListFilter* m_model;
    HistoryRowView* m_rows;
    QListView* m_list;
    QPushButton* m_clear;
    QStackedLayout* m_stack;
    QLabel* m_emptyIcon = nullptr;
    QLabel* m_emptyTitle = nullptr;
    QLabel* m_emptySubtitle = nullptr;
    ConfirmationSheet* m_sheet;
    QPointer<QMenu> m_rowMenu;
    int m_selectedIndex = 0;
    EntryPreview* m_preview = nullptr;
    bool m_previewByKey = false;
    QTimer m_hoverTimer;
    QPersistentModelIndex m_hovered;
};

} // namespace tessel
