// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/style/ControlStyle.h"

#include "ui/style/Theme.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {

enum class Outline { box, round };

// Strokes the outline Fusion drew, again, in the border role (the accent while the keyboard is
// on it, as Fusion marks focus).
void strokeOutline(const QStyleOption& option, QPainter* painter, Outline shape, qreal radius)
{
    const Theme::Roles roles = Theme::roles(option.palette);
    const bool keyboardFocus = option.state.testFlag(QStyle::State_HasFocus) &&
                               option.state.testFlag(QStyle::State_KeyboardFocusChange);
    QColor colour = keyboardFocus ? roles.accent : roles.controlBorder;
    if (!option.state.testFlag(QStyle::State_Enabled))
        colour.setAlphaF(0.5f);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, shape == Outline::round || radius > 0);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(colour, 1));
    const QRectF frame = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    if (shape == Outline::round)
        painter->drawEllipse(frame);
    else
        painter->drawRoundedRect(frame, radius, radius);
    painter->restore();
}

} // namespace

ControlStyle::ControlStyle()
    : QProxyStyle(QStyleFactory::create(u"Fusion"_s))
{}

void ControlStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    switch (element) {
    case PE_IndicatorCheckBox:
    case PE_IndicatorItemViewItemCheck:
        strokeOutline(*option, painter, Outline::box, 0);
        break;
    case PE_IndicatorRadioButton:
        strokeOutline(*option, painter, Outline::round, 0);
        break;
    case PE_FrameLineEdit:
    case PE_PanelButtonCommand:
        strokeOutline(*option, painter, Outline::box, 2);
        break;
    default:
        break;
    }
}

void ControlStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                      QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ComboBox || control == CC_SpinBox) {
        const auto* frame = qstyleoption_cast<const QStyleOptionComboBox*>(option);
        // A combo box without a frame (inside an item view) has no outline to mend.
        if (control == CC_ComboBox && frame && !frame->frame)
            return;
        strokeOutline(*option, painter, Outline::box, 2);
    }
}

} // namespace tessel
