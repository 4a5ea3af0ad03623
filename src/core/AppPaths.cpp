#include "core/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace tessel::AppPaths {

QString configDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/tessel"_L1;
}

QString dataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/tessel"_L1;
}

Result ensurePrivateDir(const QString& path)
{
    if (!QDir().mkpath(path))
        return Result::failure(u"cannot create the folder %1"_s.arg(path));
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return Result::failure(u"cannot make the folder %1 private"_s.arg(path));
    return Result::success();
}

Result writePrivateFile(const QString& path, const QByteArray& bytes)
{
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
    if (file.write(bytes) != bytes.size()) {
        const Result result = failed(u"write"_s);
        file.cancelWriting();
        return result;
    }
    if (!file.commit())
        return failed(u"replace"_s);
    return Result::success();
}

} // namespace tessel::AppPaths
