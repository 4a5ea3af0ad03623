#pragma once

#include "clipboard/ClipboardEntry.h"

#include <QHash>
#include <QString>
#include <QUuid>

namespace tessel {

// Which history entries a typed search keeps: text entries whose text contains the query under
// the pickers' comparison rules (locale-independent lower-casing, canonically equivalent
// sequences equal). Images never match a query. Each text's comparable form is computed once,
// the first time it is tested, so a keystroke at a long history costs one substring test per
// entry.
class HistorySearch {
public:
    // Takes the search field's text; white space around it does not count.
    void setSearchText(const QString& searchText);
    // A query is typed: the list shows only what matches.
    bool isActive() const { return !m_query.isEmpty(); }
    // Every entry matches while no query is typed.
    bool matches(const ClipboardEntry& entry) const;

private:
    const QString& comparableText(const ClipboardEntry& entry) const;

    QString m_query;
    // Keyed by the entry's id, which is never reused, so a deleted entry cannot lend its text to
    // a new one.
    mutable QHash<QUuid, QString> m_comparable;
};

} // namespace tessel
