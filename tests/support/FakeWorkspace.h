// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Workspace.h"

namespace tessel::test {

class FakeWorkspace final : public Workspace {
public:
    QString frontmostApplicationId() const override { return appId; }
    void rememberActiveWindow() override { remembered = appId; }
    bool restoreFocus() override
    {
        ++restoreCalls;
        return !remembered.isEmpty();
    }
    QStringList focusedApplicationIds() const override { return focusedIds; }
    QStringList runningApplicationIds() const override { return runningIds; }

    QString appId;
    QString remembered;
    int restoreCalls = 0;
    QStringList focusedIds;
    QStringList runningIds;
};

} // namespace tessel::test
