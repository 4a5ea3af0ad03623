#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

// The desktop's notion of "the application the user is working in".
class Workspace {
public:
    virtual ~Workspace() = default;

    // An identifier of the application that owns the active window (on X11 its WM_CLASS instance
    // and class, "instance.class"); empty when there is no active window or it cannot be named.
    virtual QString frontmostApplicationId() const = 0;

    // Remembers the window that is active now; called when the popup opens, so that closing it
    // can give the keyboard back. Remembers nothing where windows cannot be named.
    virtual void rememberActiveWindow() = 0;

    // Gives the focus back to the remembered window if Tessel's own window took it (a window of
    // Tessel, or none, is active now). Returns false when there was nothing to give back: no
    // window remembered, it is still active, the user moved to another application, or the
    // platform cannot do it.
    virtual bool restoreFocus() = 0;

    // The WM_CLASS instance and class of the window that has the keyboard focus, the one that
    // receives a paste; empty when unknown.
    virtual QStringList focusedWindowClass() const = 0;
};

} // namespace tessel
