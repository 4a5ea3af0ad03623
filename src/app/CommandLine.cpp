// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <array>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
struct RemoteOption {
    RemoteCommand command;
    const char16_t* name;
    const char16_t* description;
};
constexpr std::array kRemoteOptions{
    RemoteOption{RemoteCommand::toggle, u"toggle",
                 u"Open the clipboard history of the running Tessel, or close it."},
    RemoteOption{RemoteCommand::emoji, u"emoji", u"Open the emoji picker of the running Tessel."},
    RemoteOption{RemoteCommand::preferences, u"preferences",
                 u"Open the preferences of the running Tessel."},
    RemoteOption{RemoteCommand::quit, u"quit", u"Quit the running Tessel, saving its history."},
};
} // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Clipboard history with emoji, kaomoji and symbol pickers. Without options, starts "
        "Tessel; an option asks the Tessel that is running, for example from a shortcut "
        "bound in the desktop's keyboard settings."_s);
    // Not addHelpOption(): it also adds --help-all, which lists Qt's own options, and Tessel
    // takes none of them.
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Displays this help."_s);
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    for (const RemoteOption& option : kRemoteOptions) {
        parser.addOption(QCommandLineOption(QString::fromUtf16(option.name),
                                            QString::fromUtf16(option.description)));
    }

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.kind = Kind::error;
        result.text = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.kind = Kind::error;
        result.text = u"Unexpected argument '%1'."_s.arg(parser.positionalArguments().constFirst());
        return result;
    }
    if (parser.isSet(help)) {
        result.kind = Kind::help;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.kind = Kind::version;
        result.text = QCoreApplication::applicationName() + u' ' +
                      QCoreApplication::applicationVersion() + u'\n';
        return result;
    }

    QStringList chosen;
    for (const RemoteOption& option : kRemoteOptions) {
        if (parser.isSet(QString::fromUtf16(option.name))) {
            chosen.append(u"--"_s + QString::fromUtf16(option.name));
            result.kind = Kind::remote;
            result.command = option.command;
        }
    }
    // Two requests at once have no order the user could rely on.
    if (chosen.size() > 1) {
        result.kind = Kind::error;
        result.text = u"Choose one of %1, not several."_s.arg(chosen.join(u", "_s));
    }
    return result;
}

} // namespace tessel
