// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Workspace.h"

#include <cstdint>

namespace tessel::x11 {

// The active window as the window manager publishes it (EWMH _NET_ACTIVE_WINDOW), and the focus
// hand-back through the same protocol.
class X11Workspace final : public Workspace {
public:
    QString frontmostApplicationId() const override;
    void rememberActiveWindow() override;
    bool restoreFocus() override;
    QStringList focusedApplicationIds() const override;
    // The applications of the windows in the window manager's list (EWMH _NET_CLIENT_LIST).
    QStringList runningApplicationIds() const override;

    // "instance.class" from a raw WM_CLASS property value (two NUL-terminated strings).
    static QString applicationIdFromWmClass(const QByteArray& wmClass);
    // The non-empty strings of a raw WM_CLASS value, instance first.
    static QStringList wmClassParts(const QByteArray& wmClass);

private:
    uint32_t m_remembered = 0;
};

} // namespace tessel::x11
