#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tessel::test {

// Points XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME at a fresh temporary directory for the
// life of the object, so a test never touches the user's real settings or history.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return m_dir.path(); }
    QString configHome() const;
    QString dataHome() const;
    QString cacheHome() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    QByteArray m_oldData;
    QByteArray m_oldCache;
};

} // namespace tessel::test
