// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tessel {

namespace {
// The frame a window manager may add before the window is framed: borders and a title bar.
constexpr QSize kFrameAllowance{8, 40};

const QScreen* screenOf(const QWidget* window)
{
    const QScreen* screen = window->isVisible() ? window->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

QSize frameOf(const QWidget* window)
{
    const QSize framed = window->frameGeometry().size() - window->size();
    return framed.expandedTo(kFrameAllowance);
}
} // namespace

QSize fittedToScreen(const QWidget* window, QSize size)
{
    const QScreen* screen = screenOf(window);
    if (!screen)
        return size;
    return size.boundedTo(screen->availableGeometry().size() - frameOf(window));
}

void resizeOnScreen(QWidget* window, QSize size)
{
    window->resize(fittedToScreen(window, size));
    const QScreen* screen = screenOf(window);
    if (!screen || !window->isVisible())
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    const QPoint shift(std::min(0, available.right() - frame.right()),
                       std::min(0, available.bottom() - frame.bottom()));
    if (!shift.isNull())
        window->move(window->pos() + shift);
}

} // namespace tessel
