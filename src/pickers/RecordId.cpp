// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/RecordId.h"

#include <atomic>

namespace tessel {

quint64 nextRecordId()
{
    static std::atomic<quint64> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

} // namespace tessel
