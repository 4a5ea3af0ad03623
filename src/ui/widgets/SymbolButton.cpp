// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/SymbolButton.h"

#include "ui/style/FocusRing.h"
#include "ui/style/IconProvider.h"
#include "ui/style/Theme.h"

#include <QPainter>

namespace tessel {

SymbolButton::SymbolButton(QString symbol, int glyphSize, int padding, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(std::move(symbol))
    , m_glyph(glyphSize)
    , m_padding(padding)
{
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab; a click leaves the keyboard where it was. Its owner names it.
    setFocusPolicy(Qt::TabFocus);
}

QSize SymbolButton::sizeHint() const
{
    const int side = m_glyph + 2 * m_padding;
    return QSize(side, side);
}

void SymbolButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const qreal opacity = isDown() ? 0.14 : underMouse() ? 0.10 : 0.05;
    const int side = std::min(width(), height());
    const QRect circle((width() - side) / 2, (height() - side) / 2, side, side);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::withOpacity(Theme::primary(pal), opacity));
    painter.drawEllipse(circle);
    if (hasFocus())
        paintFocusRing(painter, circle, side / 2.0, pal);
    const QRect glyph(circle.center().x() - m_glyph / 2 + (m_glyph % 2 ? 0 : 1),
                      circle.center().y() - m_glyph / 2 + (m_glyph % 2 ? 0 : 1), m_glyph, m_glyph);
    painter.drawPixmap(
        glyph, IconProvider::pixmap(m_symbol, m_glyph, Theme::secondary(pal), devicePixelRatioF()));
}

} // namespace tessel
