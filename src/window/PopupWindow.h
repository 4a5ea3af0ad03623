// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window/PopupPlacement.h"

#include <QSize>
#include <QWidget>

namespace tessel {

// The popup's top-level window. As an overlay it is a Qt::Popup, so it floats over the application
// the user works in without taking the active-window role from it, gets the keyboard while open,
// and closes on a click outside. As a floating window it is an ordinary frameless top-level of
// fixed size, which tiling compositors float, and it closes when another window takes the focus.
// It holds one content widget and has rounded corners: a shaped window as an overlay (X11 may
// run without a compositing manager), a translucent one with anti-aliased corners as a floating
// window.
//
// It is also the popup's one key router: while shown, Return on a focused button presses it;
// every other key typed inside it goes first to the content when the content is a
// `PopupKeyTarget`, then, when that did not use it, Escape asks for the popup to close, and any
// other key goes on to the focused widget.
class PopupWindow : public QWidget {
    Q_OBJECT

public:
    // The popup's size (330 by 450 at the design's font size, larger with a larger desktop font)
    // and the radius of its rounded corners; its content is drawn to match.
    static QSize contentSize();
    static constexpr int cornerRadius = 12;

    // Takes ownership of `content`.
    PopupWindow(QWidget* content, PopupStyle style);

    PopupStyle style() const { return m_style; }
    ~PopupWindow() override;

    QWidget* content() const { return m_content; }

Q_SIGNALS:
    // The window was closed or hidden, by us or by Qt (a click outside).
    void dismissed();
    // Escape was pressed inside the popup; the key goes no further.
    void escapePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setRouting(bool on);

    QWidget* m_content;
    // Cuts the corners of the translucent floating window; null as an overlay.
    QWidget* m_cutter = nullptr;
    PopupStyle m_style;
    bool m_routing = false;
    bool m_wasActive = false;
};

} // namespace tessel
