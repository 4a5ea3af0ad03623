// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Workspace.h"

#include <QPointer>
#include <functional>

namespace tessel::wayland {

class WaylandToplevels;

// The application the user works in, as the compositor's window list tells it: the active
// window's app_id. Without that list (a compositor that does not offer it) nothing can be
// named; the first question then says once in the log that password managers are recognised
// by their clipboard hints alone.
class WaylandWorkspace final : public Workspace {
public:
    // `isOwnWindow` tells Tessel's windows apart by application id; `toplevels` may be null.
    WaylandWorkspace(WaylandToplevels* toplevels,
                     std::function<bool(const QString& appId)> isOwnWindow);

    // The active window's app_id; empty when none is active or it cannot be known.
    QString frontmostApplicationId() const override;
    // Remembers the active window; over one of Tessel's own, keeps the one remembered before.
    void rememberActiveWindow() override;
    // Asks the compositor to activate the remembered window when Tessel's window (or none) is
    // active; many compositors do that by themselves when the popup closes, and asking again
    // does no harm.
    bool restoreFocus() override;
    // The app_id of the window that receives a paste: the active one, or while Tessel's popup
    // is still active, the remembered one it will hand the keyboard back to.
    QStringList focusedApplicationIds() const override;
    QStringList runningApplicationIds() const override;

private:
    bool available() const;

    QPointer<WaylandToplevels> m_toplevels;
    std::function<bool(const QString&)> m_isOwnWindow;
    quint64 m_remembered = 0;
    mutable bool m_saidUnavailable = false;
};

} // namespace tessel::wayland
