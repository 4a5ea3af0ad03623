// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/TesselLogoIconView.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace tessel {

namespace {
// The glow reaches this far beyond the disc, as a fraction of the diameter.
constexpr qreal kGlowReach = 0.2;

QColor rgb(qreal r, qreal g, qreal b, qreal alpha = 1.0)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(alpha));
}

void fillRounded(QPainter& painter, const QRectF& rect, qreal radius, const QColor& colour)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.fillPath(path, colour);
}

// A soft shadow: the shape repeated a few times, each a little larger and fainter.
void softShadow(QPainter& painter, const QRectF& rect, qreal radius, qreal blur, QColor colour)
{
    constexpr int kSteps = 4;
    const qreal alpha = colour.alphaF() / kSteps;
    colour.setAlphaF(float(alpha));
    for (int i = 1; i <= kSteps; ++i) {
        const qreal grow = blur * i / kSteps / 2;
        fillRounded(painter, rect.adjusted(-grow, -grow, grow, grow), radius + grow, colour);
    }
}
} // namespace

TesselLogoIconView::TesselLogoIconView(qreal size, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TesselLogoIconView::sizeHint() const
{
    const int side = int(std::ceil(m_size * (1 + 2 * kGlowReach)));
    return QSize(side, side);
}

void TesselLogoIconView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()).center(), m_size);
}

void TesselLogoIconView::paint(QPainter& painter, QPointF centre, qreal size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const qreal radius = size / 2;

    // The glow: the shadow colour at 60 % fading out over the blur radius around the disc.
    const qreal glowRadius = radius + kGlowReach * size;
    QRadialGradient glow(centre, glowRadius);
    glow.setColorAt(radius / glowRadius * 0.9, rgb(0, 0.7, 1.0, 0.6));
    glow.setColorAt(1, rgb(0, 0.7, 1.0, 0));
    painter.setBrush(glow);
    painter.drawEllipse(centre, glowRadius, glowRadius);

    QLinearGradient disc(centre.x(), centre.y() - radius, centre.x(), centre.y() + radius);
    disc.setColorAt(0, rgb(0, 0.82, 1.0));
    disc.setColorAt(1, rgb(0, 0.48, 1.0));
    painter.setBrush(disc);
    painter.drawEllipse(centre, radius, radius);

    const qreal corner = 0.08 * size;
    QRectF back(0, 0, 0.44 * size, 0.6 * size);
    back.moveCenter(centre + QPointF(-0.08 * size, -0.06 * size));
    fillRounded(painter, back, corner, rgb(1, 1, 1, 0.85));

    QRectF front(0, 0, 0.46 * size, 0.62 * size);
    front.moveCenter(centre + QPointF(0.06 * size, 0.06 * size));
    softShadow(painter, front.translated(0, 2), corner, 4, rgb(0, 0, 0, 0.12));
    fillRounded(painter, front, corner, Qt::white);

    struct Bar {
        qreal width, height, radius;
        QColor colour;
    };
    const QColor light = rgb(0.5, 0.75, 1.0);
    const Bar bars[] = {{0.22, 0.04, 2, rgb(0, 0.5, 1.0)},
                        {0.30, 0.035, 1.5, light},
                        {0.24, 0.035, 1.5, light},
                        {0.28, 0.035, 1.5, light}};
    qreal y = front.top() + 0.12 * size;
    const qreal x = front.left() + 0.08 * size;
    for (const Bar& bar : bars) {
        const QRectF shape(x, y, bar.width * size, bar.height * size);
        // Small logos cannot hold the full corner radius of the bars.
        fillRounded(painter, shape, std::min(bar.radius, shape.height() / 2), bar.colour);
        y += shape.height() + 0.045 * size;
    }
    painter.restore();
}

} // namespace tessel
