// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// The three single lines that Tessel writes to standard output, with their fixed, untranslated
// texts: scripts and users match on them, so they never move into a logging category.
namespace FixedDiagnostics {

// The global-shortcut listener could not be installed; `status` is its non-zero status.
void hotkeyHandlerNotInstalled(int status);
// The fallback way of pasting failed.
void pasteFallbackFailed(const QString& description);
// The emoji catalogue could not be read or parsed.
void emojiCatalogueNotLoaded(const QString& description);

} // namespace FixedDiagnostics
} // namespace tessel
