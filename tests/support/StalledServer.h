// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessel::test {

// A Unix socket server that lets clients in and never says a word, as a session bus or a
// compositor that hangs: the kernel completes their connections, nobody reads or writes.
class StalledServer {
public:
    explicit StalledServer(const QString& path)
        : m_path(path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        if (size_t(name.size()) >= sizeof address.sun_path)
            return;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_fd >= 0 &&
            (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
             ::listen(m_fd, 64) != 0)) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~StalledServer()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            QFile::remove(m_path);
        }
    }
    StalledServer(const StalledServer&) = delete;
    StalledServer& operator=(const StalledServer&) = delete;

    bool isListening() const { return m_fd >= 0; }

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace tessel::test
