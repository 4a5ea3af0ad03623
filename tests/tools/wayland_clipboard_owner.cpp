// A Wayland client that sets the clipboard with several MIME types at once, as password managers
// and rich editors do (wl-copy offers one), and serves it until another client takes over.
// Usage: wayland_clipboard_owner TYPE=TEXT...   Prints "ready" once the selection is set.
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandDataControl.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

using namespace tessel::wayland;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::signal(SIGPIPE, SIG_IGN);
    WaylandDataControl::Contents contents;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        const qsizetype equals = argument.indexOf(u'=');
        if (equals <= 0) {
            std::fprintf(stderr, "usage: wayland_clipboard_owner TYPE=TEXT...\n");
            return 2;
        }
        contents.append({argument.left(equals), argument.mid(equals + 1).toUtf8()});
    }
    const auto connection = WaylandConnection::open();
    const auto control = connection ? WaylandDataControl::create(*connection) : nullptr;
    if (!control) {
        std::fprintf(stderr, "wayland_clipboard_owner: no compositor with data-control\n");
        return 1;
    }
    QObject::connect(control.get(), &WaylandDataControl::selectionLost, &app,
                     &QCoreApplication::quit);
    QObject::connect(connection.get(), &WaylandConnection::failed, &app, &QCoreApplication::quit);
    control->setSelection(contents);
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
