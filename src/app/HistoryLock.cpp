// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HistoryLock.h"

#include "core/AppPaths.h"

#include <QDateTime>
#include <QFileInfo>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
QString whatIsThere(AppPaths::Kind kind)
{
    switch (kind) {
    case AppPaths::Kind::folder:
        return u"a folder"_s;
    case AppPaths::Kind::link:
        return u"a symbolic link"_s;
    default:
        return u"a FIFO, socket or device"_s;
    }
}
} // namespace

HistoryLock::HistoryLock(const QString& dataDir)
    : m_path(dataDir + "/tessel.lock"_L1)
    , m_lock(m_path)
{}

Result HistoryLock::acquire()
{
    // QLockFile would read a FIFO's "contents" and wait for a writer for ever.
    if (const auto kind = AppPaths::kindOf(m_path);
        kind != AppPaths::Kind::missing && kind != AppPaths::Kind::file)
        return Result::failure(
            u"Tessel cannot start: %1 is %2 where its lock file belongs; remove it and start "
            "again."_s.arg(m_path, whatIsThere(kind)));
    if (Result taken = take(); taken || m_lock.error() != QLockFile::LockFailedError)
        return taken;
    m_heldByAnother = true;

    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock.getLockInfo(&pid, &host, &application) && pid > 0)
        return Result::failure(
            u"Tessel is already running (process %1); not starting another."_s.arg(pid));
    // Damaged: it names no process, so no Tessel can be relying on it.
    const QDateTime written = QFileInfo(m_path).lastModified();
    if (written.isValid() && written.msecsTo(QDateTime::currentDateTime()) < damagedLockAgeMs)
        return Result::failure(u"Another Tessel is starting; not starting a second one."_s);
    m_lock.removeStaleLockFile();
    Result taken = take();
    m_heldByAnother = !taken && m_lock.error() == QLockFile::LockFailedError;
    return taken;
}

Result HistoryLock::take()
{
    // Who runs Tessel is nobody else's business: the file is created private, not made private
    // a moment later.
    const mode_t umask = ::umask(S_IRWXG | S_IRWXO);
    const bool locked = m_lock.tryLock(0);
    ::umask(umask);
    if (locked)
        return Result::success();
    switch (m_lock.error()) {
    case QLockFile::LockFailedError:
        return Result::failure(u"Tessel is already running; not starting another."_s);
    case QLockFile::PermissionError:
        return Result::failure(
            u"Tessel cannot create its lock file %1 (permission denied); not starting."_s.arg(
                m_path));
    default:
        return Result::failure(
            u"Tessel cannot create its lock file %1; not starting."_s.arg(m_path));
    }
}

} // namespace tessel
