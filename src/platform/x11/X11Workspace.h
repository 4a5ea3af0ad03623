#pragma once

#include "core/Workspace.h"

namespace tessel::x11 {

// The active window as the window manager publishes it (EWMH _NET_ACTIVE_WINDOW).
class X11Workspace final : public Workspace {
public:
    QString frontmostApplicationId() const override;

    // "instance.class" from a raw WM_CLASS property value (two NUL-terminated strings).
    static QString applicationIdFromWmClass(const QByteArray& wmClass);
};

} // namespace tessel::x11
