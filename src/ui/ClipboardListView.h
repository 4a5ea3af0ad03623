#pragma once

#include <QMenu>
#include <QPointer>
#include <QWidget>

class QLabel;
class QListView;
class QPushButton;
class QStackedLayout;

namespace tessel {

class ClipboardListFilter;
class ConfirmationSheet;
class ClipboardManager;
class HistoryRowView;
class LanguageManager;
class PasteSimulator;
class SettingsStore;
class WindowController;

// The clipboard tab (every entry) or the favourites tab (favourites only): a header with the
// clear button, then the entries as cards, or an empty state. Choosing an entry (click, Return or
// keypad Enter on the keyboard selection) puts it back on the clipboard, closes the popup and
// schedules the paste.
class ClipboardListView : public QWidget {
    Q_OBJECT

public:
    ClipboardListView(ClipboardManager& manager, WindowController& windowController,
                      LanguageManager& language, SettingsStore& settings, PasteSimulator& paste,
                      bool showFavoritesOnly, QWidget* parent = nullptr);
    ~ClipboardListView() override;

    bool showFavoritesOnly() const { return m_favoritesOnly; }
    int selectedIndex() const { return m_selectedIndex; }
    // The rows shown: the history, or its favourites.
    ClipboardListFilter* model() const { return m_model; }
    QListView* listView() const { return m_list; }
    QPushButton* clearButton() const { return m_clear; }
    bool isShowingEmptyState() const;
    bool isKeyboardMonitorInstalled() const { return m_keyMonitor; }

    // The open row menu ("..."), or nullptr.
    QMenu* rowMenu() const { return m_rowMenu; }

    // The sheet that asks before clearing; visible while it asks.
    ConfirmationSheet* clearSheet() const { return m_sheet; }

    // Chooses the displayed entry at `row`: select, close the popup, schedule the paste.
    void choose(int row);
    // The clear button's action.
    void clearRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void startKeyboardMonitor();
    void stopKeyboardMonitor();
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void setSelectedIndex(int index);
    void updateEmptyState();
    void showRowMenu(const QModelIndex& index, const QPoint& globalPos);
    QWidget* buildEmptyState();
    void applyColours();

    ClipboardManager& m_manager;
    WindowController& m_windowController;
    LanguageManager& m_language;
    SettingsStore& m_settings;
    PasteSimulator& m_paste;
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
    bool m_keyMonitor = false;
};

} // namespace tessel
