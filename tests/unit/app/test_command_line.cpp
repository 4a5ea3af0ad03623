// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using Kind = CommandLine::Kind;

Q_DECLARE_METATYPE(tessel::CommandLine::Kind)
Q_DECLARE_METATYPE(tessel::RemoteCommand)

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(u"tessel"_s);
        QCoreApplication::setApplicationVersion(u"1.2.3"_s);
    }

    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<RemoteCommand>("command");
        QTest::addColumn<QString>("textContains");

        const auto row = [](const char* name, QStringList args, Kind kind,
                            RemoteCommand command = RemoteCommand::toggle,
                            const QString& text = {}) {
            args.prepend(u"tessel"_s);
            QTest::newRow(name) << args << kind << command << text;
        };
        row("no option starts", {}, Kind::start);
        row("toggle", {u"--toggle"_s}, Kind::remote, RemoteCommand::toggle);
        row("emoji", {u"--emoji"_s}, Kind::remote, RemoteCommand::emoji);
        row("preferences", {u"--preferences"_s}, Kind::remote, RemoteCommand::preferences);
        row("quit", {u"--quit"_s}, Kind::remote, RemoteCommand::quit);
        row("help", {u"--help"_s}, Kind::help, RemoteCommand::toggle, u"--toggle"_s);
        row("version", {u"--version"_s}, Kind::version, RemoteCommand::toggle, u"tessel 1.2.3"_s);
        row("unknown option", {u"--paste"_s}, Kind::error, RemoteCommand::toggle, u"paste"_s);
        row("stray argument", {u"toggle"_s}, Kind::error, RemoteCommand::toggle, u"toggle"_s);
        row("two requests", {u"--toggle"_s, u"--quit"_s}, Kind::error, RemoteCommand::toggle,
            u"--toggle, --quit"_s);
        // Qt's own options are Qt's: they choose how Tessel starts, or go with a request.
        row("Qt's platform option", {u"-platform"_s, u"xcb"_s}, Kind::start);
        row("Qt's options, both spellings",
            {u"--platform=offscreen"_s, u"-style"_s, u"fusion"_s, u"-reverse"_s}, Kind::start);
        row("Qt's option with a request", {u"-display"_s, u":1"_s, u"--emoji"_s}, Kind::remote,
            RemoteCommand::emoji);
        row("Qt's option without its value", {u"-platform"_s}, Kind::error, RemoteCommand::toggle,
            u"-platform"_s);
        row("the same request twice", {u"--emoji"_s, u"--emoji"_s}, Kind::remote,
            RemoteCommand::emoji);
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Kind, kind);
        QFETCH(RemoteCommand, command);
        QFETCH(QString, textContains);
        const CommandLine parsed = CommandLine::parse(arguments);
        QCOMPARE(parsed.kind, kind);
        if (kind == Kind::remote)
            QCOMPARE(parsed.command, command);
        QVERIFY2(parsed.text.contains(textContains), qPrintable(parsed.text));
        // Every refusal is one line on standard error.
        if (kind == Kind::error)
            QVERIFY(!parsed.text.trimmed().contains(u'\n'));
    }

    // Each option the help lists does what it says: none of them silently starts Tessel, and
    // none is refused.
    void helpListsOnlyWhatIsHandled()
    {
        const QString help = CommandLine::parse({u"tessel"_s, u"--help"_s}).text;
        static const QRegularExpression optionLine(u"^  (-[^ ]+(?:, -[^ ]+)*)  "_s,
                                                   QRegularExpression::MultilineOption);
        QStringList listed;
        for (auto match = optionLine.globalMatch(help); match.hasNext();)
            listed += match.next().captured(1).split(u", "_s);
        QVERIFY2(listed.size() >= 6, qPrintable(help));
        for (const QString& option : std::as_const(listed)) {
            const CommandLine parsed = CommandLine::parse({u"tessel"_s, option});
            QVERIFY2(parsed.kind != Kind::start && parsed.kind != Kind::error,
                     qPrintable(option + u": "_s + parsed.text));
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
