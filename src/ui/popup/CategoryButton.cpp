// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/CategoryButton.h"

#include "ui/style/FocusRing.h"
#include "ui/style/IconProvider.h"
#include "ui/style/Theme.h"

#include <QPainter>

namespace tessel {

namespace {
constexpr int kSide = 28;
constexpr int kGlyph = 13;
} // namespace

CategoryButton::CategoryButton(QString symbol, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(std::move(symbol))
{
    setCursor(Qt::PointingHandCursor);
    // The search field keeps the keyboard while the user clicks through the categories; Tab
    // reaches them.
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(kSide, kSide);
}

void CategoryButton::setSelected(bool selected)
{
    m_selected = selected;
    update();
}

QSize CategoryButton::sizeHint() const
{
    return QSize(kSide, kSide);
}

void CategoryButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QColor accent = Theme::accent(pal);
    const QRectF square = QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25);
    painter.setBrush(m_selected ? Theme::withOpacity(accent, 0.18)
                                : Theme::withOpacity(Theme::primary(pal), 0.04));
    painter.setPen(m_selected ? QPen(Theme::withOpacity(accent, 0.30), 0.5) : QPen(Qt::NoPen));
    painter.drawRoundedRect(square, 7, 7);
    if (hasFocus())
        paintFocusRing(painter, square, 7, pal);
    // The selected symbol is drawn a size up, standing in for a bolder weight.
    const int glyph = m_selected ? kGlyph + 1 : kGlyph;
    const QRect icon((width() - glyph) / 2, (height() - glyph) / 2, glyph, glyph);
    painter.drawPixmap(icon, IconProvider::pixmap(m_symbol, glyph,
                                                  m_selected ? accent : Theme::secondary(pal),
                                                  devicePixelRatioF()));
}

} // namespace tessel
