// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

// What the running instance is asked to do from the command line.
enum class RemoteCommand { toggle, emoji, preferences, quit };

// Tessel's command line: no option starts Tessel; one of --toggle, --emoji, --preferences and
// --quit asks the running instance; --help and --version print and end. Qt's own options
// (-platform, -display, -style...) are left to Qt.
struct CommandLine {
    enum class Kind { start, remote, help, version, error };

    Kind kind = Kind::start;
    RemoteCommand command = RemoteCommand::toggle;
    // What to print: the help or version text (standard output) or why the command line is
    // refused (one line for standard error).
    QString text;

    // `arguments` as QCoreApplication::arguments gives them, the program first. Needs a
    // QCoreApplication (the help text names the program).
    static CommandLine parse(const QStringList& arguments);
};

} // namespace tessel
