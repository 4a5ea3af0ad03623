// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FixedDiagnostics.h"

#include <cstdio>

namespace tessel::FixedDiagnostics {

namespace {
void writeLine(const QString& line)
{
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}
} // namespace

void hotkeyHandlerNotInstalled(int status)
{
    writeLine(QStringLiteral("[Tessel] Erro ao instalar Carbon EventHandler: ") +
              QString::number(status));
}

void pasteFallbackFailed(const QString& description)
{
    writeLine(QStringLiteral("[PasteSimulator] Error executing AppleScript fallback: ") +
              description);
}

void emojiCatalogueNotLoaded(const QString& description)
{
    writeLine(QStringLiteral("Tessel: erro ao carregar emoji.json: ") + description);
}

} // namespace tessel::FixedDiagnostics
