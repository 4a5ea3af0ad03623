#include "ui/popup/HistorySearch.h"

#include "pickers/SearchText.h"

namespace tessel {

void HistorySearch::setSearchText(const QString& searchText)
{
    m_query = SearchText::textPickerQuery(searchText);
}

bool HistorySearch::matches(const ClipboardEntry& entry) const
{
    if (m_query.isEmpty())
        return true;
    if (!entry.textContent())
        return false;
    return comparableText(entry).contains(m_query);
}

const QString& HistorySearch::comparableText(const ClipboardEntry& entry) const
{
    auto it = m_comparable.find(entry.id());
    if (it == m_comparable.end())
        it = m_comparable.insert(entry.id(), SearchText::comparable(*entry.textContent()));
    return *it;
}

} // namespace tessel
