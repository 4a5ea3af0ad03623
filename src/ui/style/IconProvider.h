// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace tessel {

// The interface's symbols by name ("gearshape", "xmark", "heart.fill", ...).
//
// Every symbol has a monochrome SVG shipped in the Qt resources under ":/icons/<symbol>.svg",
// drawn in "currentColor". The popup's glyphs use pixmap(), which always renders that SVG in
// the colour the caller asks for, so the popup looks the same on every desktop. icon() is for
// places that should wear the desktop's look (tray, window and menu icons): the freedesktop
// theme icon when the theme has one, else the shipped SVG in the palette's text colour.
//
// The resources live in the static library tessel_resources; every function here registers
// them (Q_INIT_RESOURCE) before reading them, so linking tessel_ui_style is all a user needs to do.
// Call from the GUI thread only (rendered pixmaps are kept in QPixmapCache).
class IconProvider {
public:
    // The names of all symbols, in table order.
    static QStringList symbols();
    // True when `symbol` is in the table.
    static bool contains(const QString& symbol);
    // The freedesktop icon name standing for `symbol`; empty when there is none or the
    // symbol is unknown.
    static QString themeName(const QString& symbol);
    // ":/icons/<symbol>.svg" for a known symbol, else an empty string.
    static QString resourcePath(const QString& symbol);

    // The theme's icon, falling back to the shipped SVG tinted with the application palette's
    // text colour (disabled text colour in QIcon::Disabled mode). Null for an unknown symbol.
    static QIcon icon(const QString& symbol);
    // The shipped SVG rendered `pixelSize` device-independent pixels square in `tint` (its
    // alpha is honoured), with `devicePixelRatio` set on the result. Null for an unknown
    // symbol or a size below 1.
    static QPixmap pixmap(const QString& symbol, int pixelSize, const QColor& tint,
                          qreal devicePixelRatio = 1);

    // The application icon: the theme's icon named by the application id (installed into
    // hicolor), else ours.
    static QIcon applicationIcon();
    // The tray icon: the theme's "<application id>-tray", else ours.
    static QIcon trayIcon();
};

} // namespace tessel
