#include "support/TesselProcess.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel::test;

namespace {
constexpr int kEntries = 10000;
constexpr int kOld = 9876; // near the end: one of the oldest entries

QString entryText(int i)
{
    return u"Invoice INV-%1 for Café Ünïcode, order %2 of the year"_s.arg(i, 5, 10, QChar(u'0'))
        .arg(i * 7);
}

bool popupShown()
{
    const QStringList windows =
        commandOutput(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--class"_s, u"tessel"_s})
            .split(u'\n', Qt::SkipEmptyParts);
    for (const QString& window : windows) {
        if (commandOutput(u"xdotool"_s, {u"getwindowgeometry"_s, window})
                .contains(u"Geometry: 330x450"_s))
            return true;
    }
    return false;
}

// A history of kEntries texts, newest first, and the limit that keeps them all.
bool writeHistory(const QString& home)
{
    QJsonArray records;
    const double now = double(QDateTime::currentSecsSinceEpoch());
    for (int i = 0; i < kEntries; ++i) {
        records.append(QJsonObject{{u"mimetype"_s, u"public.utf8-plain-text"_s},
                                   {u"favorite"_s, false},
                                   {u"timestamp"_s, now - i},
                                   {u"text"_s, entryText(i)}});
    }
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return QDir().mkpath(path.section(u'/', 0, -2)) && file.open(QIODevice::WriteOnly) &&
               file.write(bytes) == bytes.size();
    };
    return write(home + "/data/tessel/registry.json"_L1, QJsonDocument(records).toJson()) &&
           write(home + "/config/tessel/settings.json"_L1, R"({"maxHistoryItems": 10000})"_ba);
}
} // namespace

// A long history with real programs: the shortcut, part of an old entry typed, and Return pastes
// that entry into another application's text field.
class TestHistorySearchE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingForDesktopTest({u"xdotool"_s, u"zenity"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
    }

    void typeAndPasteAnOldEntryOfTenThousand()
    {
        QTemporaryDir home;
        QVERIFY(writeHistory(home.path()));
        TesselProcess tessel(home.path());
        QVERIFY(tessel.start());
        QTest::qWait(1500);

        QProcess editor;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"NO_AT_BRIDGE"_s, u"1"_s);
        editor.setProcessEnvironment(env);
        editor.start(u"zenity"_s, {u"--entry"_s, u"--title"_s, u"Search editor"_s, u"--text"_s,
                                   u"Paste here"_s});
        const QString window = commandOutput(u"xdotool"_s, {u"search"_s, u"--sync"_s, u"--name"_s,
                                                            u"^Search editor$"_s})
                                   .section(u'\n', 0, 0);
        QVERIFY(!window.isEmpty());
        QVERIFY(run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, window}));

        // A busy machine may still be loading the history at the first press.
        QVERIFY(run(u"xdotool"_s, {u"mousemove"_s, u"300"_s, u"200"_s}));
        for (int press = 0; press < 3 && !popupShown(); ++press) {
            QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+v"_s}));
            QElapsedTimer timer;
            timer.start();
            while (!popupShown() && timer.elapsed() < 5000)
                QTest::qWait(100);
        }
        QVERIFY(popupShown());
        QTest::qWait(400); // the popup takes the keyboard once it is mapped

        // Lower case for an upper-case text; the entry is near the end of the history.
        QVERIFY(run(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"80"_s, u"inv-09876"_s}));
        QTest::qWait(500);
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"Return"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!popupShown(), 5000);
        QTest::qWait(700); // the paste lands 0.12 s after the popup closed
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"Return"_s}));
        if (!editor.waitForFinished(10000))
            run(u"import"_s, {u"-window"_s, u"root"_s, u"/tmp/history-search-failure.png"_s});
        QCOMPARE(editor.state(), QProcess::NotRunning);
        QString pasted = QString::fromUtf8(editor.readAllStandardOutput());
        if (pasted.endsWith(u'\n'))
            pasted.chop(1);
        QCOMPARE(pasted, entryText(kOld));

        // Chosen, it is the newest entry; nothing was lost from the long history.
        QTRY_VERIFY_WITH_TIMEOUT(!tessel.registryTexts().isEmpty() &&
                                     tessel.registryTexts().first() == entryText(kOld),
                                 8000);
        QCOMPARE(tessel.registryTexts().size(), kEntries);
        QCOMPARE(tessel.terminate(), 0);
    }
};

QTEST_MAIN(TestHistorySearchE2E)
#include "test_history_search_e2e.moc"
