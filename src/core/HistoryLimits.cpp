// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/HistoryLimits.h"

#include <algorithm>

namespace tessel::HistoryLimits {

QList<qint64> choicesWith(qint64 current)
{
    QList<qint64> list(std::begin(choices), std::end(choices));
    const auto at = std::lower_bound(list.begin(), list.end(), current);
    if (current > 0 && (at == list.end() || *at != current))
        list.insert(at, current);
    return list;
}

} // namespace tessel::HistoryLimits
