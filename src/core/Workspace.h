#pragma once

#include <QString>

namespace tessel {

// The desktop's notion of "the application the user is working in".
class Workspace {
public:
    virtual ~Workspace() = default;

    // An identifier of the application that owns the active window (on X11 its WM_CLASS instance
    // and class, "instance.class"); empty when there is no active window or it cannot be named.
    virtual QString frontmostApplicationId() const = 0;
};

} // namespace tessel
