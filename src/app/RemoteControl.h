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

    // `handler` runs on the main thread after the caller has been answered.
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

    Handler m_handler;
    bool m_registered = false;
};

} // namespace tessel
