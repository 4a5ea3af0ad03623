// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// The history sizes the preferences offer.
namespace tessel::HistoryLimits {

// In the order the picker lists them.
inline constexpr qint64 choices[] = {10, 20, 50, 100, 500, 1000, 10000};

// The choices, with a stored value that is not one of them (set by hand or by an older version)
// kept in its place by size, so the picker can show the limit in force.
QList<qint64> choicesWith(qint64 current);

} // namespace tessel::HistoryLimits
