// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>

namespace tessel::test {

// Points XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME into a fresh temporary directory for
// the object's life, so a test never touches the user's real settings or history.
class TempHome {
public:
    TempHome()
    {
        for (int i = 0; i < 3; ++i) {
            m_old[i] = qgetenv(kVariables[i]);
            qputenv(kVariables[i], (path() + kFolders[i]).toLocal8Bit());
        }
    }
    ~TempHome()
    {
        for (int i = 0; i < 3; ++i)
            qputenv(kVariables[i], m_old[i]);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return m_dir.path(); }
    QString configHome() const { return path() + kFolders[0]; }
    QString dataHome() const { return path() + kFolders[1]; }
    QString cacheHome() const { return path() + kFolders[2]; }

private:
    static constexpr const char* kVariables[3] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                                  "XDG_CACHE_HOME"};
    static constexpr QLatin1StringView kFolders[3] = {
        QLatin1StringView("/config"), QLatin1StringView("/data"), QLatin1StringView("/cache")};
    QTemporaryDir m_dir;
    QByteArray m_old[3];
};

} // namespace tessel::test
