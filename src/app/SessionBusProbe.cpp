// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SessionBusProbe.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QUrl>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tessel::SessionBusProbe {

namespace {

// A socket closed when the probe ends.
struct Socket {
    int fd = -1;
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Waits until `fd` is ready for `events`; false when the deadline passed first.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int left = int(std::max<qint64>(deadline.remainingTime(), 0));
        const int ready = ::poll(&p, 1, left);
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

bool sendAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        if (!waitFor(fd, POLLOUT, deadline))
            return false;
        const ssize_t n =
            ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        sent += std::max<ssize_t>(n, 0);
    }
    return true;
}

// Reads until `done` says the bytes so far are enough; false at the deadline or when the bus
// hangs up.
template <typename Done>
bool receiveUntil(int fd, QByteArray& bytes, const QDeadlineTimer& deadline, Done done)
{
    char buffer[512];
    while (!done(bytes)) {
        if (!waitFor(fd, POLLIN, deadline))
            return false;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            return false;
        if (n > 0)
            bytes.append(buffer, qsizetype(n));
    }
    return true;
}

void padTo(QByteArray& bytes, int alignment, int offset)
{
    while ((offset + bytes.size()) % alignment != 0)
        bytes.append('\0');
}

void appendUint32(QByteArray& bytes, quint32 value)
{
    const quint32 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), 4);
}

// The first call every client makes, org.freedesktop.DBus.Hello, in the wire format.
QByteArray helloMessage()
{
    // The header fields start 16 bytes into the message, each field aligned to 8.
    constexpr int fieldsOffset = 16;
    QByteArray fields;
    const auto field = [&](char code, char signature, const QByteArray& value) {
        padTo(fields, 8, fieldsOffset);
        fields.append(code).append('\x01').append(signature).append('\0');
        appendUint32(fields, quint32(value.size()));
        fields.append(value).append('\0');
    };
    field(1, 'o', "/org/freedesktop/DBus"_ba); // path
    field(2, 's', "org.freedesktop.DBus"_ba);  // interface
    field(3, 's', "Hello"_ba);                 // member
    field(6, 's', "org.freedesktop.DBus"_ba);  // destination
    QByteArray message;
    message.append('l').append('\x01').append('\0').append('\x01'); // little endian, method call
    appendUint32(message, 0);                                       // no body
    appendUint32(message, 1);                                       // serial
    appendUint32(message, quint32(fields.size()));
    message.append(fields);
    padTo(message, 8, 0);
    return message;
}

QString unescape(const QString& value)
{
    return QUrl::fromPercentEncoding(value.toUtf8());
}

} // namespace

QString socketPath()
{
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (address.isEmpty()) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        struct stat info {};
        const QString bus = runtime + "/bus"_L1;
        if (!runtime.isEmpty() && ::stat(QFile::encodeName(bus).constData(), &info) == 0 &&
            S_ISSOCK(info.st_mode))
            return bus;
        return {};
    }
    for (const QString& one : address.split(u';', Qt::SkipEmptyParts)) {
        if (!one.startsWith("unix:"_L1))
            continue;
        for (const QString& pair : one.sliced(5).split(u',', Qt::SkipEmptyParts)) {
            if (pair.startsWith("path="_L1))
                return unescape(pair.sliced(5));
            if (pair.startsWith("abstract="_L1))
                return u'@' + unescape(pair.sliced(9));
        }
    }
    return {};
}

Result check(const QString& path, std::chrono::milliseconds timeout)
{
    if (path.isEmpty())
        return Result::success();
    const QDeadlineTimer deadline(timeout);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (size_t(name.size()) >= sizeof address.sun_path)
        return Result::success(); // not a path this probe can reach; left to libdbus
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(name.size()));
    if (path.startsWith(u'@'))
        address.sun_path[0] = '\0'; // an abstract name, not NUL-terminated
    else
        length += 1;

    Socket socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0)
        return Result::failure(u"no socket: %1"_s.arg(QString::fromLocal8Bit(strerror(errno))));
    if (::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN)
            return Result::failure(
                u"cannot connect to %1: %2"_s.arg(path, QString::fromLocal8Bit(strerror(errno))));
        if (!waitFor(socket.fd, POLLOUT, deadline))
            return Result::failure(u"%1 does not let a client in"_s.arg(path));
    }

    const QByteArray uid = QByteArray::number(::getuid()).toHex();
    QByteArray reply;
    if (!sendAll(socket.fd, "\0AUTH EXTERNAL "_ba + uid + "\r\n"_ba, deadline) ||
        !receiveUntil(socket.fd, reply, deadline,
                      [](const QByteArray& got) { return got.contains("\r\n"); }))
        return Result::failure(
            u"%1 does not answer within %2 ms"_s.arg(path).arg(qint64(timeout.count())));
    if (!reply.startsWith("OK "))
        return Result::success(); // it answers: what it thinks of us is libdbus's business
    QByteArray answer;
    if (!sendAll(socket.fd, "BEGIN\r\n"_ba + helloMessage(), deadline) ||
        !receiveUntil(socket.fd, answer, deadline,
                      [](const QByteArray& got) { return got.size() >= 16; }))
        return Result::failure(
            u"%1 lets clients in but answers no call within %2 ms"_s.arg(path).arg(
                qint64(timeout.count())));
    return Result::success();
}

void disableForThisProcess()
{
    // An address of a kind libdbus does not know fails at once, without a look elsewhere.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

} // namespace tessel::SessionBusProbe
