#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>

namespace tessel {

// Where Tessel keeps its files, and the private way of writing them.
namespace AppPaths {

// $XDG_CONFIG_HOME/tessel (settings).
QString configDir();
// $XDG_DATA_HOME/tessel (history registry and image blobs).
QString dataDir();

// Creates `path` (and its parents) and restricts it to the owner (0700).
// Fails when the directory cannot be created or its mode set.
Result ensurePrivateDir(const QString& path);

// Replaces `path` atomically with `bytes`, readable by the owner only (0600): a reader sees either
// the old complete file or the new one. On any failure the old file is left as it was.
Result writePrivateFile(const QString& path, const QByteArray& bytes);

} // namespace AppPaths
} // namespace tessel
