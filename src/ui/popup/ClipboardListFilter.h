// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"
#include "ui/popup/HistorySearch.h"

#include <QSortFilterProxyModel>

namespace tessel {

class ClipboardListModel;

// What one history tab shows of the history model: every entry, or the favourites only, in the
// same order, narrowed to the entries matching the search text while one is typed; it also knows
// which of its rows is the keyboard selection. Pinning or unpinning adds or removes a favourites
// row at once.
class ClipboardListFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    ClipboardListFilter(ClipboardListModel* history, bool favoritesOnly, QObject* parent = nullptr);

    bool favoritesOnly() const { return m_favoritesOnly; }
    QVariant data(const QModelIndex& index, int role) const override;

    // The entry shown at `row`, or nullptr out of range.
    ClipboardEntryPtr entryAt(int row) const;

    // Narrows the rows to the entries matching `searchText` (all of them when it is blank).
    void setSearchText(const QString& searchText);
    bool isSearching() const { return m_search.isActive(); }
    // The row showing `entry`, or -1.
    int rowOf(const ClipboardEntryPtr& entry) const;

    // The row drawn as the keyboard selection; any value, also one out of range.
    int keyboardSelectedRow() const { return m_selectedRow; }
    void setKeyboardSelectedRow(int row);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    ClipboardListModel* m_history;
    bool m_favoritesOnly;
    HistorySearch m_search;
    int m_selectedRow = 0;
};

} // namespace tessel
