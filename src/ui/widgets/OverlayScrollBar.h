// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollBar>

class QAbstractScrollArea;

namespace tessel {

// A slim vertical scroll bar that floats over the right edge of a scroll area instead of taking
// a column of its own, so content padded equally on both sides stays centred. It mirrors the
// area's own (hidden) vertical scroll bar both ways, shows only while there is something to
// scroll, and follows the palette of the area.
class OverlayScrollBar : public QScrollBar {
    Q_OBJECT

public:
    static constexpr int barWidth = 10;

    // Parents itself to `area` and takes over its vertical scrolling.
    explicit OverlayScrollBar(QAbstractScrollArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    void place();
    void restyle();

    QAbstractScrollArea* m_area; // our parent: it outlives us
};

} // namespace tessel
