// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandLine.h"
#include "core/Result.h"

#include <QObject>
#include <functional>

namespace tessel {

// The running Tessel's remote control: an object on the D-Bus session bus, under the
// application id, with one method per command. `tessel --toggle` and the others call it.
class RemoteControlService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", TESSEL_APP_ID)

public:
    using Handler = std::function<void(RemoteCommand)>;

    // `handler` runs on the main thread after the caller has been answered; calls that come
    // while the same command still waits to run are answered and merged into it.
    explicit RemoteControlService(Handler handler, QObject* parent = nullptr);
    ~RemoteControlService() override;

    // Publishes the object and claims the application id; a failure (no session bus, the name
    // held by another Tessel) says why.
    Result registerOnSessionBus();

    // The bus name, object path and interface both sides use.
    static QString serviceName();
    static QString objectPath();

    // Asks the running Tessel to carry out `command`; a failure names the reason in one line
    // for the user (none running, no session bus, no answer). `noneRunning`, when given, tells
    // whether it failed because no Tessel holds the bus name.
    static Result send(RemoteCommand command, bool* noneRunning = nullptr);

public Q_SLOTS:
    Q_SCRIPTABLE void Toggle();
    Q_SCRIPTABLE void ShowEmoji();
    Q_SCRIPTABLE void ShowPreferences();
    Q_SCRIPTABLE void Quit();

private:
    void request(RemoteCommand command);
    // One call on a connection of its own, waiting for the answer; `noneRunning` as for send.
    static Result exchange(RemoteCommand command, bool& noneRunning);

    Handler m_handler;
    bool m_registered = false;
    // The commands waiting to be carried out, one bit each.
    unsigned m_pending = 0;
};

} // namespace tessel
