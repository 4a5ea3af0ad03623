// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"

#include <QLockFile>
#include <QString>

namespace tessel {

// Two Tessels would overwrite each other's registry: the history has one owner, the process that
// holds "tessel.lock" in its folder. Held for the object's life.
class HistoryLock {
public:
    // A lock whose contents name no process is older than this when it was left behind, not
    // being written by a Tessel starting at the same moment.
    static constexpr int damagedLockAgeMs = 2000;

    explicit HistoryLock(const QString& dataDir);

    // Takes the lock, private to the user (0600). Fails, with one line for the user, when another
    // Tessel holds it or when something other than a file (a folder, a link, a FIFO) is in its
    // place. A lock left by a Tessel that is gone, or one damaged so that it names no process, is
    // taken over.
    Result acquire();

    const QString& path() const { return m_path; }
    // After a failed `acquire`: whether another Tessel holds the lock, running or starting.
    bool heldByAnother() const { return m_heldByAnother; }

private:
    Result take();

    QString m_path;
    QLockFile m_lock;
    bool m_heldByAnother = false;
};

} // namespace tessel
