#pragma once

#include "clipboard/ClipboardEntry.h"
#include "ui/HistorySearch.h"

#include <QAbstractListModel>

namespace tessel {

class ClipboardManager;

// The history as a list model: every entry, or the favourites only, in the manager's order,
// narrowed to the entries that match the search text while one is typed. It follows the
// manager's change signals; views never change entries through it.
class ClipboardListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        EntryRole = Qt::UserRole + 1, // ClipboardEntryPtr
        IsImageRole,
        IsFavoriteRole,
        KeyboardSelectedRole,
    };

    ClipboardListModel(ClipboardManager& manager, bool favoritesOnly, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    bool favoritesOnly() const { return m_favoritesOnly; }
    ClipboardEntryPtr entryAt(int row) const;
    const ClipboardEntryList& displayed() const { return m_rows; }

    // Narrows the rows to the entries matching `searchText` (all of them when it is blank).
    void setSearchText(const QString& searchText);
    bool isSearching() const { return m_search.isActive(); }

    // The row drawn as the keyboard selection; any value, also one out of range.
    int keyboardSelectedRow() const { return m_selectedRow; }
    void setKeyboardSelectedRow(int row);

private:
    ClipboardEntryList displayedEntries() const;
    void refresh();
    void onEntryChanged(const ClipboardEntryPtr& entry);

    ClipboardManager& m_manager;
    bool m_favoritesOnly;
    HistorySearch m_search;
    ClipboardEntryList m_rows;
    int m_selectedRow = 0;
};

} // namespace tessel
