// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/LoginItems.h"

namespace tessel::test {

// Launch at login held in memory; `refuse` makes every change fail as a read-only disk would.
class FakeLoginItems final : public LoginItems {
public:
    bool isEnabled() const override { return enabled; }
    bool setEnabled(bool value) override
    {
        ++changes;
        if (refuse) {
            error = QStringLiteral("refused");
            return false;
        }
        enabled = value;
        error.clear();
        return true;
    }
    QString errorString() const override { return error; }

    bool enabled = false;
    bool refuse = false;
    int changes = 0;
    QString error;
};

} // namespace tessel::test
