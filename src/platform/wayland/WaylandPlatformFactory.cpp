#include "platform/wayland/WaylandPlatformFactory.h"

using namespace Qt::StringLiterals;

namespace tessel::wayland {

WaylandPlatformFactory::WaylandPlatformFactory(QStringList globals)
    : m_globals(std::move(globals))
{}

QString WaylandPlatformFactory::name() const
{
    return u"wayland"_s;
}

bool WaylandPlatformFactory::offers(const char* name) const
{
    return m_globals.contains(QLatin1StringView(name));
}

} // namespace tessel::wayland
