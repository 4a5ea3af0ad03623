#include "support/TempHome.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace tessel::test {

TempHome::TempHome()
    : m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
    , m_oldData(qgetenv("XDG_DATA_HOME"))
    , m_oldCache(qgetenv("XDG_CACHE_HOME"))
{
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", cacheHome().toLocal8Bit());
}

TempHome::~TempHome()
{
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_DATA_HOME", m_oldData);
    qputenv("XDG_CACHE_HOME", m_oldCache);
}

QString TempHome::configHome() const
{
    return m_dir.path() + "/config"_L1;
}

QString TempHome::dataHome() const
{
    return m_dir.path() + "/data"_L1;
}

QString TempHome::cacheHome() const
{
    return m_dir.path() + "/cache"_L1;
}

} // namespace tessel::test
