// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/OverlayScrollBar.h"

#include "ui/style/Theme.h"

#include <QAbstractScrollArea>
#include <QEvent>

namespace tessel {

OverlayScrollBar::OverlayScrollBar(QAbstractScrollArea* area)
    : QScrollBar(Qt::Vertical, area)
    , m_area(area)
{
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar* inner = area->verticalScrollBar();
    connect(inner, &QScrollBar::rangeChanged, this, &OverlayScrollBar::follow);
    connect(inner, &QScrollBar::valueChanged, this, &QScrollBar::setValue);
    connect(this, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);
    area->installEventFilter(this);
    setCursor(Qt::ArrowCursor);
    restyle();
    place();
}

void OverlayScrollBar::follow()
{
    const QScrollBar* inner = m_area->verticalScrollBar();
    setRange(inner->minimum(), inner->maximum());
    setPageStep(inner->pageStep());
    setSingleStep(inner->singleStep());
    setValue(inner->value());
    setVisible(inner->maximum() > inner->minimum());
    raise();
}

void OverlayScrollBar::place()
{
    setGeometry(m_area->width() - barWidth, 0, barWidth, m_area->height());
    follow();
}

void OverlayScrollBar::restyle()
{
    // A style sheet holds fixed colours: a new theme needs a new one. The colours come from the
    // area, whose palette the style sheet does not touch.
    const QString style = Theme::scrollBarStyle(m_area->palette());
    if (style != styleSheet())
        setStyleSheet(style);
}

bool OverlayScrollBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_area) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            place();
        else if (event->type() == QEvent::PaletteChange)
            restyle();
    }
    return QScrollBar::eventFilter(watched, event);
}

} // namespace tessel
