// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace tessel {

// Qt's Fusion style with the outlines of check boxes, radio buttons, combo boxes, push buttons and
// framed text fields drawn in the theme's control-border role. Fusion darkens the window colour for
// them, which on a dark window leaves an outline the eye can hardly find; the palette has no role
// for it, so the style draws it.
class ControlStyle : public QProxyStyle {
    Q_OBJECT

public:
    ControlStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};

} // namespace tessel
