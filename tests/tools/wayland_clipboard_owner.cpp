// SPDX-License-Identifier: GPL-3.0-or-later
// A Wayland client that sets the clipboard with several MIME types at once, as password managers
// and rich editors do (wl-copy offers one), and serves it until another client takes over.
// Usage: wayland_clipboard_owner [--junk-types N] TYPE TEXT [TYPE TEXT]...
// Prints "ready <ms>" once the selection is set, with the moment it was set (CLOCK_MONOTONIC).
// --junk-types offers N made-up types first, as a hostile source does to flood its readers.
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandDataControl.h"

#include <QCoreApplication>
#include <chrono>
#include <csignal>
#include <cstdio>

using namespace tessel::wayland;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::signal(SIGPIPE, SIG_IGN);
    WaylandDataControl::Contents contents;
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() >= 2 && arguments.first() == QLatin1StringView("--junk-types")) {
        const int junk = arguments.at(1).toInt();
        for (int i = 0; i < junk; ++i)
            contents.append({QStringLiteral("application/x-junk-%1").arg(i), QByteArray()});
        arguments = arguments.mid(2);
    }
    if (arguments.isEmpty() || arguments.size() % 2 != 0) {
        std::fprintf(stderr,
                     "usage: wayland_clipboard_owner [--junk-types N] TYPE TEXT [TYPE TEXT]...\n");
        return 2;
    }
    for (qsizetype i = 0; i < arguments.size(); i += 2)
        contents.append({arguments.at(i), arguments.at(i + 1).toUtf8(), {}});
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
    const double setAt = std::chrono::duration<double, std::milli>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
    std::printf("ready %.3f\n", setAt);
    std::fflush(stdout);
    return app.exec();
}
