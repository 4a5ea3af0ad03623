// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"

#include <QObject>
#include <QString>
#include <functional>

namespace tessel {

// Which history entries a typed search keeps: text entries whose text contains the query under
// the pickers' comparison rules (locale-independent lower-casing, canonically equivalent
// sequences equal). Images never match a query. Each text's comparable form is computed once,
// the first time it is tested or ahead of time, and kept with the entry, so a keystroke at a long
// history costs one substring test per entry. The form covers the start of a text only (at most
// `maxSearchedUnits`, a few combining marks per character), so that neither a keystroke nor the
// memory the forms take grows with a text of megabytes.
class HistorySearch {
public:
    // How much of a text is searched, in UTF-16 code units from its start.
    static constexpr qsizetype maxSearchedUnits = 65536;

    // Computes the comparable forms of `entries` a batch at a time from the event loop, so that
    // the first keystroke after opening does not pay for them all; `done` runs after the last.
    // Stops early, without `done`, when `context` is destroyed.
    static void prepareInIdleTime(ClipboardEntryList entries, QObject* context,
                                  std::function<void()> done = {});
    // The form `entry`'s text is compared in (computed now if it was not yet); empty for images.
    static const QString& comparableText(const ClipboardEntry& entry);

    // Takes the search field's text; white space around it does not count.
    void setSearchText(const QString& searchText);
    // A query is typed: the list shows only what matches.
    bool isActive() const { return !m_query.isEmpty(); }
    // Every entry matches while no query is typed.
    bool matches(const ClipboardEntry& entry) const;

private:
    QString m_query;
};

} // namespace tessel
