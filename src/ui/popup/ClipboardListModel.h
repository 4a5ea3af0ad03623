// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"

#include <QAbstractListModel>

namespace tessel {

class ClipboardManager;

// The whole history as a list model, in the manager's order. It follows the manager's change
// signals row by row (insertions, moves, removals), never by a reset, so that hover, selection
// and scroll position survive a capture. Views never change entries through it.
class ClipboardListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        EntryRole = Qt::UserRole + 1, // ClipboardEntryPtr
        IsImageRole,
        IsFavoriteRole,
        KeyboardSelectedRole, // answered by the view's filter (ClipboardListFilter)
    };

    explicit ClipboardListModel(ClipboardManager& manager, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    ClipboardEntryPtr entryAt(int row) const;
    // The row of `entry`, or -1.
    int rowOf(const ClipboardEntryPtr& entry) const { return int(m_rows.indexOf(entry)); }

private:
    // Turns the rows shown into the manager's list with the fewest row operations.
    void follow();
    void onEntryChanged(const ClipboardEntryPtr& entry);

    ClipboardManager& m_manager;
    ClipboardEntryList m_rows;
};

} // namespace tessel
