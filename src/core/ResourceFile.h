// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// Files compiled into Tessel that another program must open by path (a sound for the sound
// service, a page for the web browser).
namespace ResourceFile {

// Writes the Qt resource `resourcePath` to $XDG_CACHE_HOME/tessel/`fileName` unless an identical
// copy is already there, and returns that path; empty when the resource does not exist or the
// file cannot be written.
QString extract(const QString& resourcePath, const QString& fileName);

} // namespace ResourceFile
} // namespace tessel
