#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/PasteboardTypes.h"
#include "core/SettingsStore.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"
#include "support/FakeWorkspace.h"
#include "support/TempHome.h"
#include "support/TesselProcess.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
QByteArray readClipboard(const QString& target)
{
    QProcess xclip;
    xclip.start(u"xclip"_s, {u"-selection"_s, u"clipboard"_s, u"-o"_s, u"-t"_s, target});
    // Serve xclip's request from this process's event loop while it waits.
    QDeadlineTimer deadline(5000);
    while (xclip.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(10);
    return xclip.readAllStandardOutput();
}
} // namespace

// The clipboard as another X client sees it, and as Tessel's own reader sees other clients.
class TestPasteboardE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != "xcb"_L1)
            QSKIP("needs an X server (run through scripts/test)");
        if (!test::haveTool(u"xclip"_s))
            QSKIP("xclip is not installed");
    }

    void reportsOtherClientsTargets()
    {
        const auto created = PlatformFactory::create({})->createPasteboard();
        QVERIFY(created->reportsChanges());
        Pasteboard& pasteboard = *created;
        const qint64 before = pasteboard.changeCount();
        QVERIFY(test::xclipWrite("hint"_ba, u"x-kde-passwordManagerHint"_s));
        QTRY_VERIFY(pasteboard.changeCount() != before);
        QTRY_VERIFY(pasteboard.types().contains(u"x-kde-passwordManagerHint"_s));
        for (const auto& protocol : {u"TARGETS"_s, u"TIMESTAMP"_s, u"MULTIPLE"_s})
            QVERIFY(!pasteboard.types().contains(protocol));

        const qint64 afterHint = pasteboard.changeCount();
        QVERIFY(test::xclipWrite("plain words"_ba));
        QTRY_VERIFY(pasteboard.changeCount() != afterHint);
        QTRY_COMPARE(pasteboard.stringForType(PasteboardType::plainText).value_or(QString()),
                     u"plain words"_s);
        QVERIFY(pasteboard.types().contains(QString(PasteboardType::plainText)));
    }

    void ownWritesReachOtherClientsAndCountOnce()
    {
        const auto created = PlatformFactory::create({})->createPasteboard();
        Pasteboard& pasteboard = *created;
        PasteboardItem item;
        item.setString(PasteboardType::plainText, u"ünïcode pick"_s);
        item.setData(PasteboardType::transient, "1"_ba);
        pasteboard.clearContents();
        pasteboard.writeItem(item);
        const qint64 written = pasteboard.changeCount();
        QCOMPARE(QString::fromUtf8(readClipboard(u"UTF8_STRING"_s)), u"ünïcode pick"_s);
        QVERIFY(readClipboard(u"TARGETS"_s).contains("org.nspasteboard.TransientType"));
        QTest::qWait(300);
        QCOMPARE(pasteboard.changeCount(), written);
    }

    void selectedEntryIsNotCapturedAgain()
    {
        test::TempHome home;
        test::FakeWorkspace workspace;
        SettingsStore settings(SettingsStore::defaultFilePath());
        const auto created = PlatformFactory::create({})->createPasteboard();
        Pasteboard& pasteboard = *created;
        ClipboardManager manager(pasteboard, workspace, settings,
                                 std::make_unique<ClipboardStore>(home.dataHome()));
        manager.startMonitoring();
        QVERIFY(test::xclipWrite("older"_ba));
        QTRY_COMPARE(manager.entries().size(), 1);
        QVERIFY(test::xclipWrite("newer"_ba));
        QTRY_COMPARE(manager.entries().size(), 2);

        const auto older = manager.entries().last();
        manager.select(older);
        QCOMPARE(QString::fromUtf8(readClipboard(u"UTF8_STRING"_s)), u"older"_s);
        // Several ticks with the selection's owner change and the reads of other clients.
        QTest::qWait(1000);
        QCOMPARE(manager.entries().size(), 2);
        QCOMPARE(manager.entries().first(), older);
        QCOMPARE(manager.lastChangeCount(), pasteboard.changeCount());

        // Another client's copy afterwards is captured as usual.
        QVERIFY(test::xclipWrite("from elsewhere"_ba));
        QTRY_COMPARE(manager.entries().size(), 3);
        manager.stopMonitoring();
        QVERIFY(manager.store().waitForPendingSaves(3000));
    }
};

QTEST_MAIN(TestPasteboardE2E)
#include "test_pasteboard_e2e.moc"
