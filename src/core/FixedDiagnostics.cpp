// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FixedDiagnostics.h"

#include "core/Log.h"

namespace tessel::FixedDiagnostics {

void hotkeyHandlerNotInstalled(int status)
{
    qCWarning(lcHotkey,
              "the global shortcuts could not be set up (status %d): Tessel's shortcuts will not "
              "open it; tessel --toggle still does",
              status);
}

void pasteFallbackFailed(const QString& description)
{
    qCWarning(lcPaste, "the paste keystroke could not be typed: %s; the entry is on the clipboard",
              qPrintable(description));
}

void emojiCatalogueNotLoaded(const QString& description)
{
    qCWarning(lcApp, "the emoji catalogue (emoji.json) could not be loaded: %s",
              qPrintable(description));
}

} // namespace tessel::FixedDiagnostics
