// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/GnomeKeybindings.h"

#include "platform/desktop/DesktopKeys.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tessel::desktop {

namespace {
const QString kListSchema = u"org.gnome.settings-daemon.plugins.media-keys"_s;
const QString kListKey = u"custom-keybindings"_s;
const QString kEntrySchema = u"org.gnome.settings-daemon.plugins.media-keys.custom-keybinding"_s;
const QString kBase = u"/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/"_s;
const QString kOwnPrefix = kBase + u"tessel-"_s;
} // namespace

GnomeKeybindings::GnomeKeybindings(QObject* parent)
    : DesktopKeybindings(parent)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    connect(&m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        auto next = std::move(m_next);
        m_next = nullptr;
        if (status != QProcess::NormalExit || code != 0) {
            fail(u"gsettings failed: "_s +
                 QString::fromUtf8(m_process.readAllStandardError()).trimmed());
            return;
        }
        if (next)
            next(QString::fromUtf8(m_process.readAllStandardOutput()).trimmed());
    });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            m_next = nullptr;
            fail(u"gsettings could not be started"_s);
        }
    });
}

GnomeKeybindings::~GnomeKeybindings()
{
    m_next = nullptr;
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

bool GnomeKeybindings::isOffered() const
{
    if (QStandardPaths::findExecutable(u"gsettings"_s).isEmpty())
        return false;
    // Where GLib looks for compiled schemas; the schema's source file is installed beside them.
    QStringList dirs = qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
    if (dirs.isEmpty())
        dirs = {u"/usr/local/share"_s, u"/usr/share"_s};
    return std::any_of(dirs.cbegin(), dirs.cend(), [](const QString& dir) {
        return QFileInfo::exists(dir + "/glib-2.0/schemas/"_L1 + kListSchema + ".gschema.xml"_L1);
    });
}

QString GnomeKeybindings::pathFor(const QString& id)
{
    return kOwnPrefix + id + u'/';
}

QStringList GnomeKeybindings::parseList(const QString& printed)
{
    QStringList entries;
    static const QRegularExpression entry(u"'((?:[^'\\\\]|\\\\.)*)'"_s);
    for (const auto& match : entry.globalMatch(printed))
        entries << match.captured(1);
    return entries;
}

QString GnomeKeybindings::quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"\\'"_s);
    return u'\'' + escaped + u'\'';
}

void GnomeKeybindings::gsettings(const QStringList& arguments,
                                 std::function<void(const QString&)> next)
{
    m_next = std::move(next);
    m_process.start(u"gsettings"_s, arguments);
    // A hung settings service must not leave the change pending for ever.
    QTimer::singleShot(commandTimeoutMs, &m_process, [this, arguments] {
        if (m_process.state() != QProcess::NotRunning && m_process.arguments() == arguments)
            m_process.kill();
    });
}

void GnomeKeybindings::begin(Done done)
{
    if (m_process.state() != QProcess::NotRunning) {
        // One change at a time: the newer one rewrites whatever the older had reached.
        m_next = nullptr;
        m_process.kill();
        m_process.waitForFinished(1000);
    }
    // The older change's outcome no longer matters: the newer one's is the one to tell.
    m_queue.clear();
    m_done = std::move(done);
}

void GnomeKeybindings::apply(const QList<Binding>& bindings, Done done)
{
    begin(std::move(done));
    gsettings({u"get"_s, kListSchema, kListKey}, [this, bindings](const QString& printed) {
        QStringList paths = parseList(printed);
        for (const Binding& binding : bindings) {
            const QString path = pathFor(binding.id);
            const QString schema = kEntrySchema + u':' + path;
            const QString accelerator =
                DesktopKeys::gnomeAccelerator(binding.keysym, binding.modifiers);
            m_queue << QStringList{u"set"_s, schema, u"name"_s, quoted(binding.name)}
                    << QStringList{u"set"_s, schema, u"command"_s, quoted(binding.command)}
                    << QStringList{u"set"_s, schema, u"binding"_s, quoted(accelerator)};
            if (!paths.contains(path))
                paths << path;
        }
        // The entries first, then the list that makes GNOME read them.
        m_queue << QStringList{u"set"_s, kListSchema, kListKey, listLiteral(paths)};
        runQueue();
    });
}

void GnomeKeybindings::remove(Done done)
{
    begin(std::move(done));
    gsettings({u"get"_s, kListSchema, kListKey}, [this](const QString& printed) {
        QStringList paths = parseList(printed);
        QStringList own;
        for (const QString& path : std::as_const(paths)) {
            if (path.startsWith(kOwnPrefix))
                own << path;
        }
        paths.removeIf([](const QString& path) { return path.startsWith(kOwnPrefix); });
        // The list first: GNOME forgets an entry once it leaves the list; then the entries'
        // values, so that no trace is left in the user's settings.
        m_queue << QStringList{u"set"_s, kListSchema, kListKey, listLiteral(paths)};
        for (const QString& path : std::as_const(own)) {
            for (const QString& key : {u"name"_s, u"command"_s, u"binding"_s})
                m_queue << QStringList{u"reset"_s, kEntrySchema + u':' + path, key};
        }
        runQueue();
    });
}

void GnomeKeybindings::runQueue()
{
    if (m_queue.isEmpty()) {
        succeed();
        return;
    }
    gsettings(m_queue.takeFirst(), [this](const QString&) { runQueue(); });
}

QString GnomeKeybindings::listLiteral(const QStringList& paths)
{
    if (paths.isEmpty())
        return u"@as []"_s;
    QStringList items;
    for (const QString& path : paths)
        items << quoted(path);
    return u'[' + items.join(u", "_s) + u']';
}

void GnomeKeybindings::fail(const QString& error)
{
    m_queue.clear();
    Done done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(Result::failure(error));
}

void GnomeKeybindings::succeed()
{
    Done done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(Result::success());
}

} // namespace tessel::desktop
