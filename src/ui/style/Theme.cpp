// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/style/Theme.h"

#include <QApplication>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tessel::Theme {

namespace {

// Measured against all three surfaces and against a row's selection tint (the accent at 12 %
// over a card), with some margin over the 4.5:1 and 3:1 that AA asks for.
const Roles kDark{
    .window = QColor(0x26, 0x27, 0x2b),
    .card = QColor(0x31, 0x32, 0x37),
    .field = QColor(0x32, 0x33, 0x38),
    .text = QColor(0xf2, 0xf2, 0xf5),
    .secondary = QColor(0xc2, 0xc2, 0xc8),
    .tertiary = QColor(0xb0, 0xb0, 0xb7),
    .placeholder = QColor(0xaa, 0xaa, 0xb2),
    .accent = QColor(0x80, 0xbf, 0xff),
    .controlBorder = QColor(0x85, 0x85, 0x8d),
    .selection = QColor(0x0a, 0x60, 0xc8),
    .selectionText = QColor(0xff, 0xff, 0xff),
    .error = QColor(0xff, 0x7f, 0x78),
    .warning = QColor(0xff, 0xb3, 0x40),
    .success = QColor(0x4c, 0xd9, 0x64),
};

const Roles kLight{
    .window = QColor(0xf4, 0xf4, 0xf6),
    .card = QColor(0xff, 0xff, 0xff),
    .field = QColor(0xff, 0xff, 0xff),
    .text = QColor(0x1d, 0x1d, 0x1f),
    .secondary = QColor(0x4e, 0x4e, 0x53),
    .tertiary = QColor(0x63, 0x63, 0x68),
    .placeholder = QColor(0x66, 0x66, 0x6b),
    .accent = QColor(0x00, 0x58, 0xb8),
    .controlBorder = QColor(0x80, 0x80, 0x86),
    .selection = QColor(0x00, 0x62, 0xcc),
    .selectionText = QColor(0xff, 0xff, 0xff),
    .error = QColor(0xc4, 0x00, 0x0f),
    .warning = QColor(0xa6, 0x3a, 0x00),
    .success = QColor(0x1c, 0x6e, 0x32),
};

QColor mix(const QColor& from, const QColor& to, double amount)
{
    const auto channel = [amount](int a, int b) { return int(std::lround(a + (b - a) * amount)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

double luminance(const QColor& colour)
{
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// The colour nearest to `surfaces` on the way from `strong` to them that still reads at `ratio`
// on every one of them (`strong` itself where even it does not).
QColor softened(const QColor& strong, const QList<QColor>& surfaces, double ratio)
{
    const QColor towards = surfaces.constFirst();
    for (double amount = 0.8; amount > 0; amount -= 0.02) {
        const QColor candidate = mix(strong, towards, amount);
        const bool reads = std::all_of(surfaces.begin(), surfaces.end(), [&](const QColor& s) {
            return contrast(candidate, s) >= ratio;
        });
        if (reads)
            return candidate;
    }
    return strong;
}

// Roles for a palette Tessel did not make, such as the desktop's: its own surfaces and text, and
// the weaker texts and the border made from them to the same contrast as Tessel's themes.
Roles derivedRoles(const QPalette& palette)
{
    const bool dark = isDark(palette);
    Roles roles = dark ? kDark : kLight;
    roles.window = palette.color(QPalette::Window);
    roles.field = palette.color(QPalette::Base);
    roles.card = dark ? roles.window.lighter(128) : QColor(Qt::white);
    roles.text = palette.color(QPalette::WindowText);
    const QList<QColor> surfaces{roles.window, roles.card, roles.field};
    roles.secondary = softened(roles.text, surfaces, 7.0);
    roles.tertiary = softened(roles.text, surfaces, 5.0);
    roles.placeholder = softened(roles.text, surfaces, 4.7);
    roles.controlBorder = softened(roles.text, surfaces, 3.3);
    const QColor link = palette.color(QPalette::Link);
    roles.accent = std::all_of(surfaces.begin(), surfaces.end(),
                               [&](const QColor& s) { return contrast(link, s) >= 4.5; })
                       ? link
                       : roles.accent;
    // Qt's own standard highlight carries white text at 3.4:1: Tessel's selection then.
    if (contrast(palette.color(QPalette::HighlightedText), palette.color(QPalette::Highlight)) >=
        4.5) {
        roles.selection = palette.color(QPalette::Highlight);
        roles.selectionText = palette.color(QPalette::HighlightedText);
    }
    return roles;
}

QPalette makePalette(const Roles& r)
{
    QPalette p;
    p.setColor(QPalette::Window, r.window);
    p.setColor(QPalette::WindowText, r.text);
    p.setColor(QPalette::Base, r.field);
    p.setColor(QPalette::AlternateBase, r.card);
    p.setColor(QPalette::Text, r.text);
    p.setColor(QPalette::Button, r.card);
    p.setColor(QPalette::ButtonText, r.text);
    p.setColor(QPalette::ToolTipBase, r.card);
    p.setColor(QPalette::ToolTipText, r.text);
    p.setColor(QPalette::PlaceholderText, r.placeholder);
    p.setColor(QPalette::Highlight, r.selection);
    p.setColor(QPalette::HighlightedText, r.selectionText);
    p.setColor(QPalette::Link, r.accent);
    p.setColor(QPalette::LinkVisited, r.accent);
    p.setColor(QPalette::Mid, r.controlBorder);
    p.setColor(QPalette::Dark, r.controlBorder.darker(130));
    p.setColor(QPalette::Light, r.card.lighter(110));
    p.setColor(QPalette::Midlight, r.card);
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));
    p.setColor(QPalette::BrightText, r.selectionText);
    // Disabled controls are exempt from the contrast rules, and should look it.
    for (auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
        p.setColor(QPalette::Disabled, role, mix(r.text, r.window, 0.6));
    p.setColor(QPalette::Disabled, QPalette::Highlight, mix(r.selection, r.window, 0.5));
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

Roles roles(Scheme scheme)
{
    switch (scheme) {
    case Scheme::dark:
        return kDark;
    case Scheme::light:
        return kLight;
    case Scheme::system:
        break;
    }
    return roles(desktopPalette());
}

Roles roles(const QPalette& palette)
{
    const QColor window = palette.color(QPalette::Window);
    const QColor text = palette.color(QPalette::WindowText);
    for (const Roles* own : {&kDark, &kLight}) {
        if (window == own->window && text == own->text)
            return *own;
    }
    return derivedRoles(palette);
}

QPalette palette(Scheme scheme)
{
    switch (scheme) {
    case Scheme::dark:
        return makePalette(kDark);
    case Scheme::light:
        return makePalette(kLight);
    case Scheme::system:
        break;
    }
    return QApplication::palette();
}

QPalette desktopPalette()
{
    static const QPalette desktop = QApplication::palette();
    return desktop;
}

QPalette mended(QPalette palette)
{
    const Roles made = roles(palette);
    palette.setColor(QPalette::PlaceholderText, made.placeholder);
    palette.setColor(QPalette::Highlight, made.selection);
    palette.setColor(QPalette::HighlightedText, made.selectionText);
    palette.setColor(QPalette::Link, made.accent);
    palette.setColor(QPalette::LinkVisited, made.accent);
    return palette;
}

void apply(QWidget* window, const QString& themeMode)
{
    if (!window)
        return;
    const Scheme scheme = schemeFor(themeMode);
    // A palette without roles of its own inherits the application's.
    window->setPalette(scheme == Scheme::system ? QPalette() : palette(scheme));
}

void applyToApplication(const QPalette& palette)
{
    desktopPalette(); // taken before it is replaced
    QApplication::setPalette(palette);
    // Qt keeps the tooltips' palette apart, from the desktop's theme.
    QToolTip::setPalette(palette);
}

bool isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor accent(const QPalette& palette)
{
    return roles(palette).accent;
}

QColor primary(const QPalette& palette)
{
    return palette.color(QPalette::WindowText);
}

QColor secondary(const QPalette& palette)
{
    return roles(palette).secondary;
}

QColor tertiary(const QPalette& palette)
{
    return roles(palette).tertiary;
}

QColor cardFill(const QPalette& palette)
{
    return roles(palette).card;
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

double contrast(const QColor& a, const QColor& b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor composite(const QColor& foreground, const QColor& background)
{
    return mix(background, QColor(foreground.red(), foreground.green(), foreground.blue()),
               foreground.alphaF());
}

} // namespace tessel::Theme
