#include "platform/wayland/WaylandPlatformFactory.h"

#include "platform/wayland/WaylandPasteboard.h"

using namespace Qt::StringLiterals;

namespace tessel::wayland {

WaylandPlatformFactory::WaylandPlatformFactory(QStringList globals)
    : m_globals(std::move(globals))
{}

QString WaylandPlatformFactory::name() const
{
    return u"wayland"_s;
}

std::unique_ptr<Pasteboard> WaylandPlatformFactory::createPasteboard()
{
    if (offers("zwlr_data_control_manager_v1")) {
        if (auto pasteboard = WaylandPasteboard::create())
            return pasteboard;
    }
    return NullPlatformFactory::createPasteboard();
}

bool WaylandPlatformFactory::offers(const char* name) const
{
    return m_globals.contains(QLatin1StringView(name));
}

} // namespace tessel::wayland
