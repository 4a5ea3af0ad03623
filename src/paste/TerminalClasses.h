// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tessel {

// Terminal emulators known by their WM_CLASS (X11) or app_id (Wayland): they paste with
// Ctrl+Shift+V.
namespace TerminalClasses {

// True when the instance or the class name (case-insensitive) is a known terminal emulator.
bool isTerminal(const QStringList& wmClass);

} // namespace TerminalClasses
} // namespace tessel
