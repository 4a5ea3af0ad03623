// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/ClipboardListFilter.h"

#include "ui/popup/ClipboardListModel.h"

namespace tessel {

ClipboardListFilter::ClipboardListFilter(ClipboardListModel* history, bool favoritesOnly,
                                         QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_history(history)
    , m_favoritesOnly(favoritesOnly)
{
    setSourceModel(history);
    // Re-filters a row whose favourite flag changed; the order stays the history's own.
    setDynamicSortFilter(true);
}

QVariant ClipboardListFilter::data(const QModelIndex& index, int role) const
{
    if (role == ClipboardListModel::KeyboardSelectedRole)
        return index.isValid() && index.row() == m_selectedRow;
    return QSortFilterProxyModel::data(index, role);
}

ClipboardEntryPtr ClipboardListFilter::entryAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    return index(row, 0).data(ClipboardListModel::EntryRole).value<ClipboardEntryPtr>();
}

void ClipboardListFilter::setKeyboardSelectedRow(int row)
{
    if (row == m_selectedRow)
        return;
    const int old = m_selectedRow;
    m_selectedRow = row;
    for (int r : {old, row}) {
        if (r >= 0 && r < rowCount())
            Q_EMIT dataChanged(index(r, 0), index(r, 0),
                               {ClipboardListModel::KeyboardSelectedRole});
    }
}

void ClipboardListFilter::setSearchText(const QString& searchText)
{
    m_search.setSearchText(searchText);
    // One layout change rather than a removal per gap between matches: at a long history a
    // keystroke can open thousands of gaps, and the list relayouts once either way.
    invalidate();
}

int ClipboardListFilter::rowOf(const ClipboardEntryPtr& entry) const
{
    const int sourceRow = m_history->rowOf(entry);
    if (sourceRow < 0)
        return -1;
    return mapFromSource(m_history->index(sourceRow)).row();
}

bool ClipboardListFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (sourceParent.isValid())
        return false;
    const ClipboardEntryPtr entry = m_history->entryAt(sourceRow);
    return entry && (!m_favoritesOnly || entry->isFavorite()) && m_search.matches(*entry);
}

} // namespace tessel
