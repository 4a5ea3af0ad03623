// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;

namespace tessel {

// Where Tessel keeps its files, and the private way of reading and writing them. Tessel's own
// files are plain files in plain folders: a symbolic link, a FIFO or a device in their place is
// refused, never followed, so that a hostile link cannot redirect, hang or flood a read or write.
namespace AppPaths {

// $XDG_CONFIG_HOME/tessel (settings).
QString configDir();
// $XDG_DATA_HOME/tessel (history registry and image blobs).
QString dataDir();

// Creates `path` (and its parents) and restricts it to the owner (0700). Fails when it cannot be
// created or made private, or when `path` is a symbolic link or something other than a folder.
Result ensurePrivateDir(const QString& path);

// Replaces `path` atomically with `bytes`, readable by the owner only (0600): a reader sees either
// the old complete file or the new one. Fails, leaving the old file as it was, when any byte
// cannot reach the disk (a full disk included) or when `path` is not a regular file.
Result writePrivateFile(const QString& path, const QByteArray& bytes);
// The same, with the contents written piece by piece by `write`, which returns false when a
// write into the device failed.
Result writePrivateFile(const QString& path, const std::function<bool(QIODevice&)>& write);

// The regular file `path`, opened for reading without following a symbolic link and without
// waiting on a FIFO, when it is at most `maxBytes` long; fails with the reason otherwise. For
// readers that need only part of a file (an image's header).
Expected<std::unique_ptr<QFile>> openPrivateFile(const QString& path, qint64 maxBytes);

// The contents of the regular file `path`, at most `maxBytes` long, opened without following a
// symbolic link and without waiting on a FIFO. Fails with the reason otherwise.
Expected<QByteArray> readPrivateFile(const QString& path, qint64 maxBytes);

// What sits at `path`, without following a final symbolic link.
enum class Kind { missing, file, folder, link, other };
Kind kindOf(const QString& path);

// Moves `path` aside as "<path>.corrupt-<UTC time>" so that a later write cannot destroy what the
// user had; returns the new name, or a failure.
Expected<QString> setAside(const QString& path);

} // namespace AppPaths
} // namespace tessel
