// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/ClipboardListModel.h"

#include "clipboard/ClipboardManager.h"
#include "localization/LanguageManager.h"

#include <QSet>

namespace tessel {

ClipboardListModel::ClipboardListModel(ClipboardManager& manager, const LanguageManager& language,
                                       QObject* parent)
    : QAbstractListModel(parent)
    , m_manager(manager)
    , m_language(language)
    , m_rows(manager.entries())
{
    connect(&manager, &ClipboardManager::entriesChanged, this, &ClipboardListModel::follow);
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
        if (entry->isImage()) {
            //% "[Image %1]"
            return m_language.string("image_row_name").arg(entry->hash().left(8));
        }
        return entry->previewText();
    case Qt::AccessibleTextRole:
        if (entry->isImage()) {
            if (const auto size = entry->imageSize()) {
                //% "Image, %1 x %2"
                return m_language.string("image_row_accessible")
                    .arg(size->width())
                    .arg(size->height());
            }
            //% "Image"
            return m_language.string("image_row_accessible_unsized");
        }
        return entry->previewText();
    case Qt::AccessibleDescriptionRole:
        if (!entry->isFavorite())
            return {};
        //% "Pinned"
        return m_language.string("pinned_state");
    case EntryRole:
        return QVariant::fromValue(entry);
    case IsImageRole:
        return entry->isImage();
    case IsFavoriteRole:
        return entry->isFavorite();
    default:
        return {};
    }
}

ClipboardEntryPtr ClipboardListModel::entryAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row) : nullptr;
}

void ClipboardListModel::follow()
{
    const ClipboardEntryList& target = m_manager.entries();
    QSet<const ClipboardEntry*> kept;
    kept.reserve(target.size());
    for (const auto& entry : target)
        kept.insert(entry.get());

    // Removals first, from the end, one contiguous run at a time (a trim is one run).
    for (int row = int(m_rows.size()) - 1; row >= 0;) {
        if (kept.contains(m_rows.at(row).get())) {
            --row;
            continue;
        }
        int first = row;
        while (first > 0 && !kept.contains(m_rows.at(first - 1).get()))
            --first;
        beginRemoveRows({}, first, row);
        m_rows.remove(first, row - first + 1);
        endRemoveRows();
        row = first - 1;
    }

    // Then, front to back, each row either is right, moves up from further down, or is new.
    for (int row = 0; row < target.size(); ++row) {
        const ClipboardEntryPtr& wanted = target.at(row);
        if (row < m_rows.size() && m_rows.at(row) == wanted)
            continue;
        const qsizetype from = m_rows.indexOf(wanted, row);
        if (from > row) {
            beginMoveRows({}, int(from), int(from), {}, row);
            m_rows.move(from, row);
            endMoveRows();
        } else {
            beginInsertRows({}, row, row);
            m_rows.insert(row, wanted);
            endInsertRows();
        }
    }
}

void ClipboardListModel::onEntryChanged(const ClipboardEntryPtr& entry)
{
    const auto row = m_rows.indexOf(entry);
    if (row >= 0)
        Q_EMIT dataChanged(index(int(row)), index(int(row)),
                           {IsFavoriteRole, Qt::AccessibleDescriptionRole});
}

} // namespace tessel
