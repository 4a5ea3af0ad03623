// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/PasteboardTypes.h"
#include "clipboard/SnapshotHandOver.h"
#include "platform/wayland/WaylandDataControlPipe.h"
#include "platform/wayland/WaylandDataControlReader.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using tessel::ClipboardSnapshot;
using tessel::SnapshotHandOver;
using tessel::wayland::PipeTransfer;
using tessel::wayland::PipeWriter;
using tessel::wayland::WaylandDataControlReader;

namespace {

// Another client's selection, answering each request through a pipe: with bytes (written as a
// source would, while the reader drains the other end), by refusing, or by never writing.
class FakeSource {
public:
    enum class Behaviour { answer, refuse, stall };

    void offer(const QString& mimeType, const QByteArray& bytes,
               Behaviour behaviour = Behaviour::answer)
    {
        m_answers.insert(mimeType, {bytes, behaviour});
    }

    WaylandDataControlReader::Receive receive()
    {
        return [this](const QString& mimeType) {
            requested.append(mimeType);
            const auto answer = m_answers.value(mimeType);
            if (answer.second == Behaviour::refuse)
                return -1;
            int fds[2];
            if (::pipe2(fds, O_CLOEXEC) < 0)
                return -1;
            if (answer.second == Behaviour::stall)
                m_stalled.append(fds[1]);
            else
                PipeWriter::start(fds[1], answer.first, 5s);
            return fds[0];
        };
    }

    ~FakeSource()
    {
        for (const int fd : m_stalled)
            ::close(fd);
    }

    QStringList requested;

private:
    QHash<QString, std::pair<QByteArray, Behaviour>> m_answers;
    QList<int> m_stalled;
};

struct Recorder {
    explicit Recorder(SnapshotHandOver& handOver)
    {
        handOver.setHandler([this](const ClipboardSnapshot& s) { snapshots.append(s); });
    }
    QList<ClipboardSnapshot> snapshots;
};

} // namespace

class TestWaylandClipboardReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // As in Tessel: a peer closing its end early must not end the process.
        std::signal(SIGPIPE, SIG_IGN);
    }

    void readsTheContentTheHistoryPrefers_data()
    {
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("empty");
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<QStringList>("expectRequested");
        QTest::addColumn<QString>("expectType");

        const QStringList none;
        const QStringList textTypes{u"TEXT"_s, u"STRING"_s, u"text/plain"_s,
                                    u"text/plain;charset=utf-8"_s, u"UTF8_STRING"_s};
        QTest::newRow("text: the UTF-8 target")
            << textTypes << none << none << QStringList{u"UTF8_STRING"_s}
            << u"public.utf8-plain-text"_s;
        QTest::newRow("image before text")
            << QStringList{u"text/plain"_s, u"image/tiff"_s, u"image/png"_s} << none << none
            << QStringList{u"image/png"_s} << u"public.png"_s;
        QTest::newRow("an empty image falls back")
            << QStringList{u"image/png"_s, u"image/tiff"_s, u"text/plain"_s}
            << QStringList{u"image/png"_s} << none << QStringList{u"image/png"_s, u"image/tiff"_s}
            << u"public.tiff"_s;
        QTest::newRow("a refused image falls back")
            << QStringList{u"image/png"_s, u"text/plain"_s} << none << QStringList{u"image/png"_s}
            << QStringList{u"image/png"_s, u"text/plain"_s} << u"public.utf8-plain-text"_s;
        QTest::newRow("markers are listed, never read")
            << QStringList{u"x-kde-passwordManagerHint"_s, u"text/plain"_s} << none << none
            << QStringList{u"text/plain"_s} << u"public.utf8-plain-text"_s;
    }

    void readsTheContentTheHistoryPrefers()
    {
        QFETCH(QStringList, offered);
        QFETCH(QStringList, empty);
        QFETCH(QStringList, refused);
        QFETCH(QStringList, expectRequested);
        QFETCH(QString, expectType);

        SnapshotHandOver handOver;
        Recorder recorder(handOver);
        WaylandDataControlReader reader(handOver, {});
        FakeSource source;
        for (const QString& mimeType : offered) {
            const auto behaviour = refused.contains(mimeType) ? FakeSource::Behaviour::refuse
                                                              : FakeSource::Behaviour::answer;
            source.offer(mimeType, empty.contains(mimeType) ? QByteArray() : mimeType.toUtf8(),
                         behaviour);
        }
        reader.selectionChanged(offered, source.receive(), u"org.example.editor"_s);

        QTRY_COMPARE(recorder.snapshots.size(), 1);
        const ClipboardSnapshot& snapshot = recorder.snapshots.first();
        QCOMPARE(source.requested, expectRequested);
        QCOMPARE(snapshot.applicationId, u"org.example.editor"_s);
        QVERIFY(snapshot.types.contains(expectType));
        if (expectType == tessel::PasteboardType::plainText) {
            QCOMPARE(snapshot.text, std::optional(expectRequested.last()));
            QVERIFY(snapshot.data.isEmpty());
        } else {
            QCOMPARE(snapshot.data.value(expectType), expectRequested.last().toUtf8());
        }
        QVERIFY(!reader.isReading());
    }

    void keepsWithinThePayloadLimit()
    {
        SnapshotHandOver handOver;
        Recorder recorder(handOver);
        WaylandDataControlReader reader(handOver, {.maxPayloadBytes = 256 * 1024});
        // Larger than a pipe's buffer, so it arrives in many reads.
        const QByteArray fits(200 * 1024, 'x');
        const QByteArray tooLarge(300 * 1024, 'y');
        FakeSource source;
        source.offer(u"image/png"_s, tooLarge);
        source.offer(u"text/plain;charset=utf-8"_s, fits);
        reader.selectionChanged({u"image/png"_s, u"text/plain;charset=utf-8"_s}, source.receive(),
                                {});
        QTRY_COMPARE(recorder.snapshots.size(), 1);
        QVERIFY(!recorder.snapshots.first().data.contains(tessel::PasteboardType::png));
        QCOMPARE(recorder.snapshots.first().text, std::optional(QString::fromLatin1(fits)));

        // Text beyond the limit still reports the change and its types, without the text.
        FakeSource large;
        large.offer(u"text/plain"_s, tooLarge);
        reader.selectionChanged({u"text/plain"_s, u"x-custom"_s}, large.receive(), {});
        QTRY_COMPARE(recorder.snapshots.size(), 2);
        QCOMPARE(recorder.snapshots.last().text, std::nullopt);
        QCOMPARE(recorder.snapshots.last().types,
                 (QStringList{tessel::PasteboardType::plainText, u"x-custom"_s}));
    }

    void aStalledSourceTimesOutWithoutHoldingUpTheThread()
    {
        SnapshotHandOver handOver;
        Recorder recorder(handOver);
        WaylandDataControlReader reader(handOver, {.transferTimeout = 300ms});
        FakeSource stalled;
        stalled.offer(u"image/png"_s, {}, FakeSource::Behaviour::stall);
        stalled.offer(u"text/plain"_s, "never asked");

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);
        QElapsedTimer elapsed;
        elapsed.start();
        reader.selectionChanged({u"image/png"_s, u"text/plain"_s}, stalled.receive(), {});
        QVERIFY(elapsed.elapsed() < 200);
        QTRY_VERIFY(!reader.isReading());
        // The event loop ran meanwhile, and the change ended without contents.
        QVERIFY(ticks > 3);
        QCOMPARE(stalled.requested, QStringList{u"image/png"_s});
        QTest::qWait(50);
        QVERIFY(recorder.snapshots.isEmpty());

        // The next selection is read as usual.
        FakeSource next;
        next.offer(u"text/plain"_s, "after the stall");
        reader.selectionChanged({u"text/plain"_s}, next.receive(), {});
        QTRY_COMPARE(recorder.snapshots.size(), 1);
        QCOMPARE(recorder.snapshots.first().text, std::optional(u"after the stall"_s));
    }

    void aNewerSelectionReplacesOneStillBeingRead()
    {
        SnapshotHandOver handOver;
        Recorder recorder(handOver);
        WaylandDataControlReader reader(handOver, {.transferTimeout = 10s});
        FakeSource stalled;
        stalled.offer(u"text/plain"_s, {}, FakeSource::Behaviour::stall);
        reader.selectionChanged({u"text/plain"_s}, stalled.receive(), {});
        FakeSource newer;
        newer.offer(u"text/plain"_s, "newer");
        reader.selectionChanged({u"text/plain"_s}, newer.receive(), {});
        QTRY_COMPARE(recorder.snapshots.size(), 1);
        QCOMPARE(recorder.snapshots.first().text, std::optional(u"newer"_s));
        // Two changes seen: the snapshot is stamped with the second.
        QCOMPARE(recorder.snapshots.first().changeCount, handOver.changeCount());
        QCOMPARE(handOver.changeCount(), 3);
    }

    void aClearedSelectionIsAnEmptyChange()
    {
        SnapshotHandOver handOver;
        Recorder recorder(handOver);
        WaylandDataControlReader reader(handOver, {});
        reader.selectionChanged({}, {}, {});
        QTRY_COMPARE(recorder.snapshots.size(), 1);
        QVERIFY(recorder.snapshots.first().types.isEmpty());
        QCOMPARE(recorder.snapshots.first().text, std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestWaylandClipboardReader)
#include "test_wayland_clipboard_reader.moc"
