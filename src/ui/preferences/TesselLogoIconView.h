// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPainter;

namespace tessel {

// Tessel's logo drawn from shapes: a glowing blue disc with two sheets of paper, the front one
// lined. Every measure is a fraction of the diameter, so it is sharp at any size.
class TesselLogoIconView : public QWidget {
    Q_OBJECT

public:
    explicit TesselLogoIconView(qreal size, QWidget* parent = nullptr);

    qreal logoSize() const { return m_size; }
    QSize sizeHint() const override;

    // Draws the logo of diameter `size` centred on `centre`.
    static void paint(QPainter& painter, QPointF centre, qreal size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_size;
};

} // namespace tessel
