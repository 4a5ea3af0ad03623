#include "core/HistoryLimits.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tessel::HistoryLimits {

QList<qint64> choicesWith(qint64 current)
{
    QList<qint64> list(std::begin(choices), std::end(choices));
    const auto at = std::lower_bound(list.begin(), list.end(), current);
    if (current > 0 && (at == list.end() || *at != current))
        list.insert(at, current);
    return list;
}

QString label(qint64 limit)
{
    return QString::number(limit) + u" itens"_s;
}

} // namespace tessel::HistoryLimits
