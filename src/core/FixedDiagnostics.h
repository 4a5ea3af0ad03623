// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// The three failures that Tessel always reports, whatever the logging rules say: each a warning
// of one line in its logging category, on standard error, saying what went wrong on this desktop.
namespace FixedDiagnostics {

// The global-shortcut listener could not be installed; `status` is its non-zero status.
void hotkeyHandlerNotInstalled(int status);
// The paste keystroke could not be typed into the application.
void pasteFallbackFailed(const QString& description);
// The emoji catalogue could not be read or parsed.
void emojiCatalogueNotLoaded(const QString& description);

} // namespace FixedDiagnostics
} // namespace tessel
