#pragma once

#include "core/Workspace.h"

namespace tessel::test {

class FakeWorkspace final : public Workspace {
public:
    QString frontmostApplicationId() const override { return appId; }
    QString appId;
};

} // namespace tessel::test
