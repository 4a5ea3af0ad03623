// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/AppPaths.h"

#include "core/Clock.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tessel::AppPaths {

namespace {
QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString refusal(const QString& path, Kind kind)
{
    switch (kind) {
    case Kind::link:
        return u"%1 is a symbolic link; Tessel does not follow it"_s.arg(path);
    case Kind::folder:
        return u"%1 is a folder, not a file"_s.arg(path);
    default:
        return u"%1 is not a regular file (a FIFO, socket or device?)"_s.arg(path);
    }
}
} // namespace

QString configDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/tessel"_L1;
}

QString dataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/tessel"_L1;
}

Kind kindOf(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return Kind::missing;
    if (S_ISLNK(info.st_mode))
        return Kind::link;
    if (S_ISREG(info.st_mode))
        return Kind::file;
    if (S_ISDIR(info.st_mode))
        return Kind::folder;
    return Kind::other;
}

Result ensurePrivateDir(const QString& path)
{
    const Kind kind = kindOf(path);
    if (kind == Kind::link)
        return Result::failure(
            u"the folder %1 is a symbolic link; Tessel does not follow it"_s.arg(path));
    if (kind != Kind::missing && kind != Kind::folder)
        return Result::failure(u"%1 is in the way of a folder Tessel needs"_s.arg(path));
    if (kind == Kind::missing && !QDir().mkpath(path))
        return Result::failure(u"cannot create the folder %1"_s.arg(path));
    if (::chmod(QFile::encodeName(path).constData(), S_IRWXU) != 0)
        return Result::failure(
            u"cannot make the folder %1 private: %2"_s.arg(path, systemError(errno)));
    if (::access(QFile::encodeName(path).constData(), W_OK | X_OK) != 0)
        return Result::failure(
            u"the folder %1 is not writable: %2"_s.arg(path, systemError(errno)));
    return Result::success();
}

Result writePrivateFile(const QString& path, const QByteArray& bytes)
{
    return writePrivateFile(
        path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

Result writePrivateFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    // Qt's atomic writer would write through a link to its target and change the target's mode.
    if (const Kind kind = kindOf(path); kind != Kind::missing && kind != Kind::file)
        return Result::failure(refusal(path, kind));
    QSaveFile file(path);
    const auto failed = [&](const QString& what) {
        return Result::failure(u"cannot %1 %2: %3"_s.arg(what, path, file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed(u"write"_s);
    // The temporary file takes the umask's mode; narrow it before any byte is written to it.
    if (!file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        file.cancelWriting();
        return failed(u"make private"_s);
    }
    // Qt 6.4 commits a file whose buffered bytes could not be flushed (a full disk) and so
    // replaces the old file with a short one: flush and check before committing.
    if (!write(file) || !file.flush() || file.error() != QFileDevice::NoError) {
        const Result result = failed(u"write"_s);
        file.cancelWriting();
        return result;
    }
    if (!file.commit())
        return failed(u"replace"_s);
    return Result::success();
}

Expected<std::unique_ptr<QFile>> openPrivateFile(const QString& path, qint64 maxBytes)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP)
            return Result::failure(refusal(path, Kind::link));
        return Result::failure(u"cannot read %1: %2"_s.arg(path, systemError(error)));
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Result::failure(u"cannot read %1: %2"_s.arg(path, file->errorString()));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return Result::failure(refusal(path, S_ISDIR(info.st_mode) ? Kind::folder : Kind::other));
    if (info.st_size > maxBytes)
        return Result::failure(u"%1 is larger than %2 bytes; not read"_s.arg(path).arg(maxBytes));
    return file;
}

Expected<QByteArray> readPrivateFile(const QString& path, qint64 maxBytes)
{
    auto opened = openPrivateFile(path, maxBytes);
    if (!opened)
        return opened.result();
    QFile& file = *opened.value();
    const qint64 size = file.size();
    // Sized by the file (a buffer of the bound would reserve it all), one byte over to notice a
    // file that grew since; growth is read on, but still cut at the bound.
    QByteArray bytes(qsizetype(std::min<qint64>(size, maxBytes) + 1), Qt::Uninitialized);
    qint64 got = file.read(bytes.data(), bytes.size());
    while (got == bytes.size() && got <= maxBytes) {
        bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, bytes.size() * 2)));
        const qint64 more = file.read(bytes.data() + got, bytes.size() - got);
        if (more <= 0) {
            got = more < 0 ? more : got;
            break;
        }
        got += more;
    }
    if (got < 0 || file.error() != QFileDevice::NoError)
        return Result::failure(u"cannot read %1: %2"_s.arg(path, file.errorString()));
    bytes.truncate(qsizetype(got));
    if (bytes.size() > maxBytes)
        return Result::failure(u"%1 is larger than %2 bytes; not read"_s.arg(path).arg(maxBytes));
    return bytes;
}

Expected<QString> setAside(const QString& path)
{
    const QString stamp = Clock::nowUtc().toString(u"yyyyMMdd'T'HHmmss'Z'"_s);
    const QString aside = path + ".corrupt-"_L1 + stamp;
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0)
        return Result::failure(u"cannot move %1 aside: %2"_s.arg(path, systemError(errno)));
    return aside;
}

} // namespace tessel::AppPaths
