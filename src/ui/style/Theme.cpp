// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/style/Theme.h"

#include <QApplication>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace tessel::Theme {

namespace {

QPalette makePalette(QColor window, QColor base, QColor text, QColor mid, QColor highlight)
{
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, withOpacity(text, 0.45));
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, highlight);
    p.setColor(QPalette::Mid, mid);
    p.setColor(QPalette::Dark, mid.darker(130));
    p.setColor(QPalette::Light, mid.lighter(130));
    p.setColor(QPalette::BrightText, Qt::white);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, withOpacity(text, 0.35));
    return p;
}

} // namespace

Scheme schemeFor(const QString& themeMode)
{
    if (themeMode == "dark"_L1)
        return Scheme::dark;
    if (themeMode == "light"_L1)
        return Scheme::light;
    return Scheme::system;
}

QPalette palette(Scheme scheme)
{
    switch (scheme) {
    case Scheme::dark:
        return makePalette(QColor(0x26, 0x27, 0x2b), QColor(0x32, 0x33, 0x38),
                           QColor(0xf2, 0xf2, 0xf5), QColor(0x48, 0x49, 0x4f),
                           QColor(0x0a, 0x84, 0xff));
    case Scheme::light:
        return makePalette(QColor(0xf4, 0xf4, 0xf6), QColor(0xff, 0xff, 0xff),
                           QColor(0x1d, 0x1d, 0x1f), QColor(0xc8, 0xc8, 0xcc),
                           QColor(0x00, 0x7a, 0xff));
    case Scheme::system:
        break;
    }
    return QApplication::palette();
}

void apply(QWidget* window, const QString& themeMode)
{
    if (!window)
        return;
    window->setPalette(palette(schemeFor(themeMode)));
}

bool isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor accent(const QPalette& palette)
{
    return isDark(palette) ? QColor(0x0a, 0x84, 0xff) : QColor(0x00, 0x7a, 0xff);
}

QColor primary(const QPalette& palette)
{
    return palette.color(QPalette::WindowText);
}

QColor secondary(const QPalette& palette)
{
    return withOpacity(primary(palette), 0.62);
}

QColor tertiary(const QPalette& palette)
{
    return withOpacity(primary(palette), 0.38);
}

QColor cardFill(const QPalette& palette)
{
    const QColor window = palette.color(QPalette::Window);
    return isDark(palette) ? window.lighter(128) : QColor(Qt::white);
}

QString scrollBarStyle(const QPalette& palette)
{
    const QColor handle = primary(palette);
    const auto css = [&](qreal opacity) {
        return withOpacity(handle, opacity).name(QColor::HexArgb);
    };
    // The bar is 10 pixels wide with a 6-pixel handle; add-line and sub-line of zero size remove
    // the arrows, and the transparent pages leave the cards visible under the track.
    return uR"(QScrollBar:vertical { background: transparent; width: 10px; margin: 4px 0 8px 0; }
QScrollBar::handle:vertical { background: %1; min-height: 28px; border-radius: 3px;
    margin: 0 2px 0 2px; }
QScrollBar::handle:vertical:hover { background: %2; }
QScrollBar::handle:vertical:pressed { background: %3; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: none; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; })"_s.arg(
        css(isDark(palette) ? 0.28 : 0.25), css(0.45), css(0.55));
}

QColor withOpacity(QColor colour, qreal opacity)
{
    colour.setAlphaF(float(opacity));
    return colour;
}

} // namespace tessel::Theme
