// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QWidget;

namespace tessel {

// The appearance chosen in "themeMode": "dark", "light", or anything else to follow the desktop.
namespace Theme {

enum class Scheme { dark, light, system };

Scheme schemeFor(const QString& themeMode);

// The palette a window gets: Tessel's dark or light one, or the desktop's.
QPalette palette(Scheme scheme);

// Gives `window` (and its children) the palette of `themeMode`.
void apply(QWidget* window, const QString& themeMode);

// Colours the views derive from a palette, in the roles the design names.
QColor accent(const QPalette& palette);
QColor primary(const QPalette& palette);
QColor secondary(const QPalette& palette);
QColor tertiary(const QPalette& palette);
// The fill of a card (a history row) on the window background.
QColor cardFill(const QPalette& palette);
// A style sheet for a slim vertical scroll bar without arrows: a rounded handle on a clear
// track, in the palette's text colour, a little stronger under the pointer.
QString scrollBarStyle(const QPalette& palette);
// `colour` with its alpha set to `opacity` (0 to 1).
QColor withOpacity(QColor colour, qreal opacity);
bool isDark(const QPalette& palette);

} // namespace Theme
} // namespace tessel
