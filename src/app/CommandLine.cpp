// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
struct RemoteOption {
    RemoteCommand command;
    const char16_t* name;
    const char16_t* description;
};
// Options of Qt's own, which the application object takes: not Tessel's to refuse.
constexpr std::array<const char16_t*, 13> kQtOptionsWithValue{
    u"platform",        u"platformpluginpath", u"platformtheme", u"plugin",
    u"qwindowgeometry", u"qwindowicon",        u"qwindowtitle",  u"session",
    u"display",         u"geometry",           u"name",          u"style",
    u"stylesheet"};
constexpr std::array<const char16_t*, 5> kQtFlags{u"reverse", u"widgetcount", u"nograb", u"dograb",
                                                  u"sync"};

bool isOneOf(QStringView name, const auto& names)
{
    return std::any_of(names.begin(), names.end(),
                       [&](const char16_t* n) { return name == QStringView(n); });
}

// `arguments` without Qt's options and their values; an option of Qt's that lacks its value is
// named in `missing`.
QStringList withoutQtOptions(const QStringList& arguments, QString& missing)
{
    QStringList ours;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (i == 0 || !argument.startsWith(u'-') || argument == "--"_L1) {
            ours.append(argument);
            continue;
        }
        QStringView name = QStringView(argument).sliced(argument.startsWith("--"_L1) ? 2 : 1);
        const bool withValue = name.contains(u'=');
        name = name.left(name.indexOf(u'='));
        if (isOneOf(name, kQtOptionsWithValue)) {
            if (!withValue && ++i >= arguments.size())
                missing = argument;
        } else if (!isOneOf(name, kQtFlags)) {
            ours.append(argument);
        }
    }
    return ours;
}

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
    QString missing;
    const QStringList ours = withoutQtOptions(arguments, missing);
    if (!missing.isEmpty()) {
        result.kind = Kind::error;
        result.text = u"Missing value after '%1'."_s.arg(missing);
        return result;
    }
    if (!parser.parse(ours)) {
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
