// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"

#include <QAbstractListModel>

namespace tessel {

class ClipboardManager;
class LanguageManager;

// The whole history as a list model, in the manager's order. It follows the manager's change
// signals row by row (insertions, moves, removals), never by a reset, so that hover, selection
// and scroll position survive a capture. Views never change entries through it. A row's display
// text and tool tip are the entry's preview, or for an image its name in the interface language.
class ClipboardListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        EntryRole = Qt::UserRole + 1, // ClipboardEntryPtr
        IsImageRole,
        IsFavoriteRole,
        KeyboardSelectedRole, // answered by the view's filter (ClipboardListFilter)
    };

    ClipboardListModel(ClipboardManager& manager, const LanguageManager& language,
                       QObject* parent = nullptr);

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
    const LanguageManager& m_language;
    ClipboardEntryList m_rows;
};

} // namespace tessel
