// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/HistorySearch.h"

#include "clipboard/DisplayText.h"
#include "pickers/SearchText.h"

#include <QTimer>

namespace tessel {

namespace {
// About a millisecond of work per turn of the event loop, so input never waits behind it.
constexpr qsizetype kBatch = 200;
} // namespace

void HistorySearch::prepareInIdleTime(ClipboardEntryList entries, QObject* context,
                                      std::function<void()> done)
{
    auto* timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, entries = std::move(entries), done = std::move(done),
                      next = qsizetype(0)]() mutable {
                         const qsizetype end = std::min(next + kBatch, entries.size());
                         for (; next < end; ++next)
                             comparableText(*entries.at(next));
                         if (next == entries.size()) {
                             timer->stop();
                             timer->deleteLater();
                             if (done)
                                 done();
                         }
                     });
    timer->start(0);
}

const QString& HistorySearch::comparableText(const ClipboardEntry& entry)
{
    if (!entry.searchForm()) {
        const QString text =
            DisplayText::prefix(entry.textContent().value_or(QString()), maxSearchedUnits, false)
                .text;
        QString form = SearchText::comparable(text);
        // Text already in comparable form shares its characters rather than holding them twice.
        entry.setSearchForm(form == text ? text : std::move(form));
    }
    return *entry.searchForm();
}

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

} // namespace tessel
