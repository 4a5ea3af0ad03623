#include "ui/ClipboardListModel.h"

#include "clipboard/ClipboardManager.h"

namespace tessel {

ClipboardListModel::ClipboardListModel(ClipboardManager& manager, bool favoritesOnly,
                                       QObject* parent)
    : QAbstractListModel(parent)
    , m_manager(manager)
    , m_favoritesOnly(favoritesOnly)
    , m_rows(displayedEntries())
{
    connect(&manager, &ClipboardManager::entriesChanged, this, &ClipboardListModel::refresh);
    connect(&manager, &ClipboardManager::entryChanged, this, &ClipboardListModel::onEntryChanged);
}

int ClipboardListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ClipboardListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ClipboardEntryPtr& entry = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return entry->previewText();
    case EntryRole:
        return QVariant::fromValue(entry);
    case IsImageRole:
        return entry->isImage();
    case IsFavoriteRole:
        return entry->isFavorite();
    case KeyboardSelectedRole:
        return index.row() == m_selectedRow;
    default:
        return {};
    }
}

ClipboardEntryPtr ClipboardListModel::entryAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row) : nullptr;
}

void ClipboardListModel::setKeyboardSelectedRow(int row)
{
    if (row == m_selectedRow)
        return;
    const int old = m_selectedRow;
    m_selectedRow = row;
    for (int r : {old, row}) {
        if (r >= 0 && r < m_rows.size())
            Q_EMIT dataChanged(index(r), index(r), {KeyboardSelectedRole});
    }
}

void ClipboardListModel::setSearchText(const QString& searchText)
{
    m_search.setSearchText(searchText);
    refresh();
}

ClipboardEntryList ClipboardListModel::displayedEntries() const
{
    if (!m_favoritesOnly && !m_search.isActive())
        return m_manager.entries();
    ClipboardEntryList shown;
    for (const auto& entry : m_manager.entries()) {
        if ((!m_favoritesOnly || entry->isFavorite()) && m_search.matches(*entry))
            shown.append(entry);
    }
    return shown;
}

void ClipboardListModel::refresh()
{
    beginResetModel();
    m_rows = displayedEntries();
    endResetModel();
}

void ClipboardListModel::onEntryChanged(const ClipboardEntryPtr& entry)
{
    // A pin toggled on the favourites tab adds or removes a row; elsewhere the row redraws.
    if (m_favoritesOnly) {
        refresh();
        return;
    }
    const auto row = m_rows.indexOf(entry);
    if (row >= 0)
        Q_EMIT dataChanged(index(int(row)), index(int(row)), {IsFavoriteRole});
}

} // namespace tessel
