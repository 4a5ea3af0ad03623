// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/XdgAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <optional>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
constexpr auto kEntryName = "tessel.desktop"_L1;

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Exec= needs reserved characters quoted, and backslash, quote, backtick and dollar escaped; a
// literal percent sign is doubled because % starts a field code.
QString quotedExec(const QString& path)
{
    static const QString reserved = u" \t\n\"'\\><~|&;$*?#()`"_s;
    QString executable = path;
    executable.replace(u"%"_s, u"%%"_s);
    bool needsQuotes = false;
    for (const QChar c : executable)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (!needsQuotes)
        return executable;
    QString escaped;
    for (const QChar c : executable) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    // The desktop-entry string escape turns each backslash into two.
    escaped.replace(u"\\"_s, u"\\\\"_s);
    return u'"' + escaped + u'"';
}

std::optional<QByteArray> systemEntry()
{
    for (const QString& path : XdgAutostart::systemEntryPaths()) {
        if (QFileInfo::exists(path))
            return readFile(path);
    }
    return std::nullopt;
}
} // namespace

XdgAutostart::XdgAutostart(QString executable)
    : m_executable(std::move(executable))
{}

QString XdgAutostart::userEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/autostart/"_L1 + kEntryName;
}

QStringList XdgAutostart::systemEntryPaths()
{
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = u"/etc/xdg"_s;
    QStringList paths;
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts))
        paths.append(dir + "/autostart/"_L1 + kEntryName);
    return paths;
}

QByteArray XdgAutostart::desktopEntry(const QString& executable, bool hidden)
{
    QByteArray entry = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Tessel\n"
                       "Comment=Clipboard history\n"
                       "Icon=" TESSEL_APP_ID "\n"
                       "Terminal=false\n"
                       "Exec=" +
                       quotedExec(executable).toUtf8() + "\n";
    if (hidden)
        entry += "Hidden=true\n";
    return entry;
}

bool XdgAutostart::isHidden(const QByteArray& entry)
{
    bool inMainGroup = false;
    for (const QByteArray& rawLine : entry.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('['))
            inMainGroup = line == "[Desktop Entry]";
        else if (inMainGroup && line.startsWith("Hidden")) {
            const qsizetype equals = line.indexOf('=');
            if (equals > 0 && line.left(equals).trimmed() == "Hidden")
                return line.mid(equals + 1).trimmed() == "true";
        }
    }
    return false;
}

bool XdgAutostart::isEnabled() const
{
    const QString user = userEntryPath();
    if (QFileInfo::exists(user))
        return !isHidden(readFile(user));
    const auto system = systemEntry();
    return system && !isHidden(*system);
}

bool XdgAutostart::setEnabled(bool enabled)
{
    m_error.clear();
    if (enabled)
        return write(desktopEntry(m_executable, false));

    const auto system = systemEntry();
    if (system && !isHidden(*system))
        return write(desktopEntry(m_executable, true));
    QFile user(userEntryPath());
    if (user.exists() && !user.remove()) {
        m_error = user.errorString();
        return false;
    }
    return true;
}

bool XdgAutostart::write(const QByteArray& contents)
{
    const QString path = userEntryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        m_error = u"cannot create "_s + QFileInfo(path).absolutePath();
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
        !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

} // namespace tessel
