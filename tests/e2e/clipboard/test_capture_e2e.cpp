// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/PasteboardTypes.h"
#include "clipboard/SnapshotHandOver.h"
#include "core/SettingsStore.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"
#include "platform/x11/X11ClipboardReader.h"
#include "support/FakeWorkspace.h"
#include "support/TempHome.h"
#include "support/TesselProcess.h"
#include "support/TestImages.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using namespace tessel::test;

namespace {
// Capture follows the copy at once and the save 0.4 s later; allow for a loaded machine.
constexpr int kSavedWithinMs = 4000;
// A payload limit for the reader under test: more than one INCR chunk, and no multiple of four
// (properties are read in units of four bytes).
constexpr qsizetype kLimit = 100'003;

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

// tests/tools/clipboard_owner taking the clipboard as another application, until destroyed.
class Owner {
public:
    explicit Owner(const QStringList& arguments)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(qEnvironmentVariable("TESSEL_BINARY_DIR") +
                            "/tests/tools/clipboard_owner"_L1,
                        arguments);
    }
    ~Owner()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    bool owns()
    {
        return QTest::qWaitFor([&] { return m_process.canReadLine(); }, 15000) &&
               m_process.readLine().startsWith("owned");
    }

private:
    QProcess m_process;
};

// The text `clipboard_owner --text-size` serves.
QString ownerText(qsizetype size)
{
    QString text(size, u'0');
    for (qsizetype at = 0; at < size; ++at)
        text[at] = QLatin1Char(char('0' + at % 10));
    return text;
}
} // namespace

class TestCaptureE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = missingForDesktopTest({u"xclip"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        QVERIFY(QFileInfo::exists(TesselProcess::executable()));
    }

    void capturesOtherClientsAndKeepsTheHistoryAcrossRestarts()
    {
        QTemporaryDir home;
        {
            TesselProcess tessel(home.path());
            QVERIFY(tessel.start());
            QVERIFY(xclipWrite("  hello from xclip \n"_ba));
            QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts(), QStringList{u"hello from xclip"_s},
                                      kSavedWithinMs);
            const QByteArray png = encodedImage("png", Qt::red, 16);
            QVERIFY(xclipWrite(png, u"image/png"_s));
            QTRY_COMPARE_WITH_TIMEOUT(tessel.registry().size(), 2, kSavedWithinMs);
            const QJsonObject pngRecord = tessel.registry().at(0).toObject();
            QCOMPARE(pngRecord.value("mimetype"_L1).toString(), u"public.png"_s);
            QFile blob(tessel.imagesDir() + u'/' + pngRecord.value("imageFile"_L1).toString());
            QVERIFY(blob.open(QIODevice::ReadOnly));
            QCOMPARE(blob.readAll(), png);
            QVERIFY(xclipWrite(encodedImage("tiff", Qt::blue, 16), u"image/tiff"_s));
            QTRY_COMPARE_WITH_TIMEOUT(tessel.registry().size(), 3, kSavedWithinMs);
            QCOMPARE(tessel.registry().at(0).toObject().value("mimetype"_L1).toString(),
                     u"public.tiff"_s);

            QVERIFY(xclipWrite("copied just before log-out"_ba));
            // Ends the session before the debounced save (0.4 s after the capture) could run.
            QTest::qWait(200);
            QCOMPARE(tessel.terminate(), 0);
            QCOMPARE(tessel.registryTexts().value(0), u"copied just before log-out"_s);
        }
        TesselProcess again(home.path());
        QVERIFY(again.start());
        QVERIFY(xclipWrite("after restart"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(again.registryTexts().size(), 5, kSavedWithinMs);
        QCOMPARE(again.registryTexts(),
                 (QStringList{u"after restart"_s, u"copied just before log-out"_s, u"<image>"_s,
                              u"<image>"_s, u"hello from xclip"_s}));

        // A second instance on the same history refuses to start and leaves it alone.
        const QDateTime saved = QFileInfo(again.registryPath()).lastModified();
        const auto [code, said] = TesselProcess(home.path()).refusedStart();
        QCOMPARE(code, 1);
        QVERIFY(said.contains("already running"));
        QCOMPARE(QFileInfo(again.registryPath()).lastModified(), saved);
        QCOMPARE(again.terminate(), 0);
    }

    // The reader with a small payload limit, against an owner that serves its text in one
    // property or incrementally (INCR, 64 KiB at a time), next to an image that is empty.
    void readerKeepsToThePayloadLimit_data()
    {
        QTest::addColumn<QStringList>("serving");
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<bool>("read");
        const QStringList incr{u"--incr-chunk"_s, u"65536"_s};
        QTest::newRow("at the limit") << QStringList() << kLimit << true;
        QTest::newRow("one byte over") << QStringList() << kLimit + 1 << false;
        QTest::newRow("at the limit, by INCR") << incr << kLimit << true;
        QTest::newRow("one byte over, by INCR") << incr << kLimit + 1 << false;
        QTest::newRow("by INCR, past what was announced and the limit")
            << incr + QStringList{u"--announce"_s, u"1000"_s} << kLimit + 1 << false;
        QTest::newRow("next to an empty image")
            << QStringList{u"--empty-image"_s} << qsizetype(100) << true;
    }

    void readerKeepsToThePayloadLimit()
    {
        QFETCH(QStringList, serving);
        QFETCH(qsizetype, size);
        QFETCH(bool, read);
        SnapshotHandOver handOver;
        QList<ClipboardSnapshot> snapshots;
        handOver.setHandler([&](const ClipboardSnapshot& s) { snapshots.append(s); });
        x11::X11ClipboardReader reader(handOver, {.maxPayloadBytes = kLimit});
        QVERIFY(reader.start());
        Owner owner(serving + QStringList{u"--text-size"_s, QString::number(size)});
        QVERIFY(owner.owns());
        QTRY_VERIFY_WITH_TIMEOUT(!snapshots.isEmpty() &&
                                     snapshots.last().types.contains(PasteboardType::plainText),
                                 5000);
        const ClipboardSnapshot& snapshot = snapshots.last();
        QVERIFY(snapshot.data.isEmpty());
        if (read)
            QCOMPARE(snapshot.text, std::optional(ownerText(size)));
        else
            QCOMPARE(snapshot.text, std::nullopt);
    }

    void anUnusableDataFolderIsNamed()
    {
        // The history folder linked elsewhere: refused, and said so, not "already running".
        QTemporaryDir home;
        QTemporaryDir elsewhere;
        QVERIFY(QDir().mkpath(home.filePath(u"data"_s)));
        QVERIFY(QFile::link(elsewhere.path(), home.filePath(u"data/tessel"_s)));
        const auto [code, said] = TesselProcess(home.path()).refusedStart();
        QCOMPARE(code, 1);
        QVERIFY2(said.contains("symbolic link") && !said.contains("already running"),
                 said.constData());
        QVERIFY(QDir(elsewhere.path()).isEmpty());
    }

    void chosenEntryReachesOtherClientsAndIsNotCapturedAgain()
    {
        test::TempHome home;
        test::FakeWorkspace workspace;
        SettingsStore settings(SettingsStore::defaultFilePath());
        const auto pasteboard = PlatformFactory::create({})->createPasteboard();
        QVERIFY(pasteboard->reportsChanges());
        ClipboardManager manager(*pasteboard, workspace, settings,
                                 std::make_unique<ClipboardStore>(home.dataHome()));
        manager.startMonitoring();
        QVERIFY(test::xclipWrite("hint"_ba, u"x-kde-passwordManagerHint"_s));
        QTRY_VERIFY(pasteboard->types().contains(u"x-kde-passwordManagerHint"_s));
        QVERIFY(!pasteboard->types().contains(u"TARGETS"_s));
        {
            // Copied in a password manager's window, which was active then.
            Owner vault({u"--class"_s, u"KeePassXC"_s, u"--text"_s, u"vault secret"_s});
            QVERIFY(vault.owns());
            QTRY_COMPARE(pasteboard->stringForType(PasteboardType::plainText),
                         std::optional(u"vault secret"_s));
        }
        QVERIFY(test::xclipWrite("older"_ba));
        QTRY_VERIFY(!manager.entries().isEmpty() &&
                    manager.entries().first()->textContent() == u"older"_s);
        QCOMPARE(manager.entries().size(), 1); // the marked copies were passed over
        QVERIFY(test::xclipWrite("newer"_ba));
        QTRY_COMPARE(manager.entries().size(), 2);

        const auto older = manager.entries().last();
        manager.select(older);
        QCOMPARE(QString::fromUtf8(readClipboard(u"UTF8_STRING"_s)), u"older"_s);
        // Several ticks with the selection's owner change and the reads of other clients.
        QTest::qWait(1000);
        QCOMPARE(manager.entries().size(), 2);
        QCOMPARE(manager.entries().first(), older);
        QCOMPARE(manager.lastChangeCount(), pasteboard->changeCount());

        // A pick goes out marked transient, as one change.
        PasteboardItem pick;
        pick.setString(PasteboardType::plainText, u"ünïcode pick"_s);
        pick.setData(PasteboardType::transient, "1"_ba);
        pasteboard->writeItem(pick);
        const qint64 written = pasteboard->changeCount();
        QCOMPARE(QString::fromUtf8(readClipboard(u"UTF8_STRING"_s)), u"ünïcode pick"_s);
        QVERIFY(readClipboard(u"TARGETS"_s).contains("org.nspasteboard.TransientType"));
        QTest::qWait(300);
        QCOMPARE(pasteboard->changeCount(), written);
        QCOMPARE(manager.entries().size(), 2);

        // Another client's copy afterwards is captured as usual.
        QVERIFY(test::xclipWrite("from elsewhere"_ba));
        QTRY_COMPARE(manager.entries().size(), 3);

        // A chosen image goes out as it was captured, and as TIFF made for the client that asks.
        const QByteArray png = encodedImage("png", Qt::magenta, 24);
        QVERIFY(test::xclipWrite(png, u"image/png"_s));
        QTRY_COMPARE(manager.entries().size(), 4);
        QVERIFY(test::xclipWrite("after the image"_ba));
        QTRY_COMPARE(manager.entries().size(), 5);
        manager.select(manager.entries().at(1));
        const QByteArray targets = readClipboard(u"TARGETS"_s);
        QVERIFY(targets.contains("image/tiff") && targets.contains("image/png"));
        QCOMPARE(readClipboard(u"image/png"_s), png);
        QImage tiff;
        QVERIFY(tiff.loadFromData(readClipboard(u"image/tiff"_s), "TIFF"));
        QCOMPARE(tiff.size(), QSize(24, 24));
        QCOMPARE(tiff.pixelColor(12, 12), QColor(Qt::magenta));
        QTest::qWait(300);
        QCOMPARE(manager.entries().size(), 5);
        manager.stopMonitoring();
        QVERIFY(manager.store().waitForPendingSaves(3000));
    }
};

QTEST_MAIN(TestCaptureE2E)
#include "test_capture_e2e.moc"
