// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

// The desktop's notion of "the application the user is working in".
class Workspace {
public:
    virtual ~Workspace() = default;

    // An identifier of the application that owns the active window (on X11 "instance.class" of
    // the window's class hint, on Wayland its app_id); empty when there is no active window or
    // it cannot be named.
    virtual QString frontmostApplicationId() const = 0;

    // Remembers the window that is active now; called when the popup opens, so that closing it
    // can give the keyboard back. Remembers nothing where windows cannot be named.
    virtual void rememberActiveWindow() = 0;

    // Gives the focus back to the remembered window if Tessel's own window took it (a window of
    // Tessel, or none, is active now). Returns false when there was nothing to give back: no
    // window remembered, it is still active, the user moved to another application, or the
    // platform cannot do it.
    virtual bool restoreFocus() = 0;

    // The names the application with the keyboard focus goes by (the one that receives a paste),
    // most specific first, as the terminal table lists them; empty when unknown.
    virtual QStringList focusedApplicationIds() const = 0;

    // The identifiers (as frontmostApplicationId names them) of the applications that have a
    // window open, Tessel's own left out, each once; empty where windows cannot be listed.
    virtual QStringList runningApplicationIds() const { return {}; }
};

} // namespace tessel
