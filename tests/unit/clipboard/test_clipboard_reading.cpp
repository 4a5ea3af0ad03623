#include "clipboard/PasteboardTypes.h"
#include "clipboard/SnapshotHandOver.h"
#include "clipboard/TargetList.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <thread>

using namespace Qt::StringLiterals;
using namespace tessel;

// The pieces of clipboard reading that need no X server: what an owner's target list offers,
// and how a reader's results reach the main thread.
class TestClipboardReading : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void targetListBecomesTypesAndReadTargets_data()
    {
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QString>("textTarget");
        QTest::addColumn<QString>("pngTarget");

        const QString text = PasteboardType::plainText;
        QTest::newRow("xclip text") << QStringList{u"TARGETS"_s, u"UTF8_STRING"_s}
                                    << QStringList{text} << u"UTF8_STRING"_s << QString();
        QTest::newRow("GTK text: every alias is one type, UTF-8 preferred")
            << QStringList{u"TIMESTAMP"_s,  u"TARGETS"_s,
                           u"MULTIPLE"_s,   u"SAVE_TARGETS"_s,
                           u"STRING"_s,     u"TEXT"_s,
                           u"text/plain"_s, u"text/plain;charset=utf-8"_s,
                           u"UTF8_STRING"_s}
            << QStringList{text} << u"UTF8_STRING"_s << QString();
        QTest::newRow("legacy Latin-1 only")
            << QStringList{u"STRING"_s} << QStringList{text} << u"STRING"_s << QString();
        QTest::newRow("image with markers keeps the owner's order and names")
            << QStringList{u"x-kde-passwordManagerHint"_s, u"image/png"_s,
                           u"application/x-qt-image"_s, u"image/bmp"_s, u"image/png"_s}
            << QStringList{u"x-kde-passwordManagerHint"_s, QString(PasteboardType::png),
                           u"image/bmp"_s}
            << QString() << u"image/png"_s;
        QTest::newRow("nothing but protocol targets")
            << QStringList{u"TARGETS"_s, u"MULTIPLE"_s, u"TIMESTAMP"_s} << QStringList()
            << QString() << QString();
    }

    void targetListBecomesTypesAndReadTargets()
    {
        QFETCH(QStringList, targets);
        QFETCH(QStringList, types);
        QFETCH(QString, textTarget);
        QFETCH(QString, pngTarget);
        const auto offer = TargetList::fromTargets(targets);
        QCOMPARE(offer.types, types);
        QCOMPARE(offer.text.target, textTarget);
        QCOMPARE(offer.pngTarget, pngTarget);
    }

    void aFloodOfTargetsIsCutAtTheCap()
    {
        QStringList targets{u"UTF8_STRING"_s};
        for (int i = 0; i < 100'000; ++i)
            targets.append(u"x-filler-"_s + QString::number(i));
        targets.append(u"image/png"_s);
        const auto offer = TargetList::fromTargets(targets);
        QCOMPARE(offer.types.size(), TargetList::maxTargets);
        QCOMPARE(offer.text.target, u"UTF8_STRING"_s);
        // Beyond the cap: never looked at.
        QVERIFY(offer.pngTarget.isEmpty());
    }

    void standardTypesRoundTripToTheirWriteTargets()
    {
        for (const QLatin1StringView type :
             {PasteboardType::plainText, PasteboardType::png, PasteboardType::tiff})
            QCOMPARE(TargetList::typeForTarget(TargetList::targetForType(type)), QString(type));
        QCOMPARE(TargetList::targetForType(u"x-custom"_s), u"x-custom"_s);
        QCOMPARE(TargetList::decodeText("caf\xe9"_ba, TargetList::TextEncoding::latin1), u"café"_s);
    }

    void handOverStampsSnapshotsOnItsOwnThreadInOrder()
    {
        SnapshotHandOver handOver;
        QList<ClipboardSnapshot> delivered;
        QList<bool> onMainThread;
        handOver.setHandler([&](const ClipboardSnapshot& s) {
            delivered.append(s);
            onMainThread.append(QThread::currentThread() == thread());
        });
        const qint64 start = handOver.changeCount();
        std::thread reader([&] {
            for (quint64 serial = 1; serial <= 3; ++serial) {
                handOver.changeSeen(serial);
                ClipboardSnapshot s;
                s.text = QString::number(serial);
                handOver.contentsRead(serial, std::move(s));
            }
        });
        reader.join();
        QVERIFY(delivered.isEmpty()); // nothing runs on the reader's thread
        QTRY_COMPARE(delivered.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(delivered[i].text, QString::number(i + 1));
            QCOMPARE(delivered[i].changeCount, start + i + 1);
            QVERIFY(onMainThread[i]);
        }
    }

    void handOverDropsContentsOfAReplacedChange()
    {
        SnapshotHandOver handOver;
        QList<ClipboardSnapshot> delivered;
        handOver.setHandler([&](const ClipboardSnapshot& s) { delivered.append(s); });
        handOver.changeSeen(1);
        handOver.changeSeen(2);
        handOver.contentsRead(1, {});
        QCoreApplication::processEvents();
        QVERIFY(delivered.isEmpty());

        // An own write after a change was seen moves the count past the snapshot's stamp.
        handOver.contentsRead(2, {});
        handOver.countOwnWrite();
        QCoreApplication::processEvents();
        QCOMPARE(delivered.size(), 1);
        QVERIFY(delivered[0].changeCount < handOver.changeCount());
    }
};

QTEST_GUILESS_MAIN(TestClipboardReading)
#include "test_clipboard_reading.moc"
