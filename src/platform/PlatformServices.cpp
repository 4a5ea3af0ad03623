#include "platform/PlatformServices.h"

#include "platform/QtPasteboard.h"
#include "platform/x11/X11Workspace.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace tessel::PlatformServices {

namespace {
class NullWorkspace final : public Workspace {
public:
    QString frontmostApplicationId() const override { return {}; }
};
} // namespace

bool isX11()
{
    return QGuiApplication::platformName() == "xcb"_L1;
}

std::unique_ptr<Pasteboard> createPasteboard()
{
    return std::make_unique<QtPasteboard>(QGuiApplication::clipboard());
}

std::unique_ptr<Workspace> createWorkspace()
{
    if (isX11())
        return std::make_unique<x11::X11Workspace>();
    return std::make_unique<NullWorkspace>();
}

} // namespace tessel::PlatformServices
