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

// The colours every window draws with, one set per theme. Each text role reads at 4.5:1 or more
// on each of the three surfaces, and the control border at 3:1 or more.
struct Roles {
    // Surfaces: the window's background, a card or history row on it, and a text field's or a
    // list's (Qt's Base role).
    QColor window;
    QColor card;
    QColor field;
    // Texts, from the strongest: body text, descriptions, section titles and captions, and the
    // hint in an empty text field.
    QColor text;
    QColor secondary;
    QColor tertiary;
    QColor placeholder;
    // Accented texts and symbols (links, the active tab), readable on every surface.
    QColor accent;
    // The outline of a check box, a combo box or a text field.
    QColor controlBorder;
    // A chosen item in a list or menu, and its text.
    QColor selection;
    QColor selectionText;
    QColor error;
    QColor warning;
    QColor success;
};

// Tessel's own roles for a dark or a light theme.
Roles roles(Scheme scheme);
// The roles of the theme `palette` belongs to: Tessel's own for its palettes, and for another
// palette (the desktop's) roles made from its colours with the same contrast.
Roles roles(const QPalette& palette);

// The palette a window gets: Tessel's dark or light one, or the desktop's.
QPalette palette(Scheme scheme);
// The desktop's own palette, as Qt had it before Tessel set the application's.
QPalette desktopPalette();
// `palette` with the roles Tessel relies on (the hint in an empty field, the selection, links)
// replaced where they would not read: the desktop's palette as Tessel applies it.
QPalette mended(QPalette palette);

// Gives `window` (and its children) the palette of `themeMode`; a window that follows the
// desktop takes the application's palette, and with it every later change of that palette.
void apply(QWidget* window, const QString& themeMode);
// Makes `palette` the application's: every window, menu, drop-down list and tooltip of Qt's
// takes it unless a window sets its own.
void applyToApplication(const QPalette& palette);

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

// The WCAG contrast ratio of two opaque colours (1 to 21).
double contrast(const QColor& a, const QColor& b);
// `foreground` drawn over `background`: the opaque colour the eye sees.
QColor composite(const QColor& foreground, const QColor& background);

} // namespace Theme
} // namespace tessel
