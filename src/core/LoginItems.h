// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// Starting Tessel when the user logs in.
class LoginItems {
public:
    virtual ~LoginItems() = default;

    // Whether Tessel starts at login now.
    virtual bool isEnabled() const = 0;

    // Makes Tessel start (or not) at login. Returns false when the change could not be made; the
    // previous state is then left in place and `errorString()` says why.
    virtual bool setEnabled(bool enabled) = 0;

    // What went wrong in the last failed `setEnabled`, for logs; empty after a success.
    virtual QString errorString() const = 0;
};

} // namespace tessel
