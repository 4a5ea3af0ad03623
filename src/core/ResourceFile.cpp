// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ResourceFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace tessel::ResourceFile {

QString extract(const QString& resourcePath, const QString& fileName)
{
    QFile resource(resourcePath);
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    const QByteArray contents = resource.readAll();

    const QString dir =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/tessel"_L1;
    const QString path = dir + u'/' + fileName;
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == contents)
        return path;
    existing.close();

    QSaveFile file(path);
    if (!QDir().mkpath(dir) || !file.open(QIODevice::WriteOnly) ||
        file.write(contents) != contents.size() || !file.commit())
        return {};
    return path;
}

} // namespace tessel::ResourceFile
