// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManagerFixture.h"
#include "clipboard/ClipboardKeeper.h"
#include "clipboard/IgnoredApplications.h"
#include "support/TestImages.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using namespace tessel::test;

namespace {
// A manager over a pasteboard that reports changes and keeps contents, with the keeper on it.
struct KeeperFixture : Fixture {
    ClipboardKeeper keeper{pasteboard, manager};

    KeeperFixture()
        : Fixture(Fixture::Reported)
    {}

    void copyFrom(const QString& application, const PasteboardItem& content)
    {
        pasteboard.reportExternal(content, application);
    }
    QString keptText(qsizetype index = 0) const
    {
        return QString::fromUtf8(
            pasteboard.kept.value(index).data(PasteboardType::plainText).value_or(QByteArray()));
    }
};

enum class Before { transientCopy, ignoredApplication, passwordManager, unreadChange, deleted };
} // namespace

Q_DECLARE_METATYPE(Before)

class TestClipboardKeeper : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aRecordedCopyIsKeptWhenItsOwnerGoesAndIsNoNewCopy()
    {
        KeeperFixture f;
        f.copyFrom(u"gedit.Gedit"_s, textItem(u"older"_s));
        f.clock.advance(1000);
        f.copyFrom(u"gedit.Gedit"_s, textItem(u"  the copy \n"_s));
        const ClipboardEntryPtr copy = f.manager.entries().first();
        const QDateTime copiedAt = copy->timestamp();
        const qint64 count = f.pasteboard.changeCount();
        QSignalSpy changed(&f.manager, &ClipboardManager::entriesChanged);

        f.clock.advance(1000);
        f.pasteboard.reportOwnerGone();
        QCOMPARE(f.pasteboard.kept.size(), 1);
        // What the history recorded: the trimmed text, under the plain-text type alone.
        QCOMPARE(f.keptText(), u"the copy"_s);
        QCOMPARE(f.pasteboard.kept.first().types(),
                 QStringList{QString(PasteboardType::plainText)});
        // Serving it again changes neither the history nor the change count.
        QCOMPARE(f.pasteboard.changeCount(), count + 1);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(f.texts(), (QStringList{u"the copy"_s, u"older"_s}));
        QCOMPARE(copy->timestamp(), copiedAt);
        QCOMPARE(f.manager.clipboardEntry(), copy);

        // The next copy is recorded as usual, and so is its owner's going.
        f.copyFrom(u"gedit.Gedit"_s, textItem(u"next"_s));
        QCOMPARE(f.manager.entries().size(), 3);
        f.pasteboard.reportOwnerGone();
        QCOMPARE(f.keptText(1), u"next"_s);
    }

    void whatWasNotRecordedLeavesTheClipboardEmpty_data()
    {
        QTest::addColumn<Before>("before");
        QTest::newRow("a transient copy") << Before::transientCopy;
        QTest::newRow("a copy from an ignored application") << Before::ignoredApplication;
        QTest::newRow("a copy while a password manager is in front") << Before::passwordManager;
        QTest::newRow("a copy whose contents never arrived") << Before::unreadChange;
        QTest::newRow("the entry deleted since") << Before::deleted;
    }

    void whatWasNotRecordedLeavesTheClipboardEmpty()
    {
        QFETCH(Before, before);
        KeeperFixture f;
        // The newest entry of the history must not stand in for what the clipboard held.
        f.copyFrom(u"gedit.Gedit"_s, textItem(u"recorded earlier"_s));
        IgnoredApplications::setList(f.settings, {u"secret-notes"_s});
        PasteboardItem transient = textItem(u"picked"_s);
        transient.setData(PasteboardType::transient, "1"_ba);
        switch (before) {
        case Before::transientCopy:
            f.copyFrom(u"gedit.Gedit"_s, transient);
            break;
        case Before::ignoredApplication:
            f.copyFrom(u"secret-notes.Secret-notes"_s, textItem(u"diary"_s));
            break;
        case Before::passwordManager:
            f.copyFrom(u"keepassxc.KeePassXC"_s, textItem(u"hunter2"_s));
            break;
        case Before::unreadChange:
            f.pasteboard.reportUnreadChange();
            break;
        case Before::deleted:
            f.manager.deleteEntry(f.manager.entries().first());
            break;
        }
        f.pasteboard.reportOwnerGone();
        QVERIFY(f.pasteboard.kept.isEmpty());
        QVERIFY(!f.manager.clipboardEntry());
        QCOMPARE(f.pasteboard.askToKeep(), std::optional(false));
    }

    void imagesAreKeptInTheFormatRecorded()
    {
        KeeperFixture f;
        const QByteArray png = encodedImage("png", Qt::green, 32);
        f.copyFrom(u"gimp.Gimp"_s, item({{PasteboardType::png, png}}));
        f.pasteboard.reportOwnerGone();
        QCOMPARE(f.pasteboard.kept.size(), 1);
        QCOMPARE(f.pasteboard.kept.first().data(PasteboardType::png), std::optional(png));

        // Once saved, the bytes come from the image's file, read away from the main thread; a
        // TIFF is served as the TIFF it was, not decoded and encoded again.
        const QByteArray tiff = encodedImage("tiff", Qt::blue, 32);
        f.copyFrom(u"gimp.Gimp"_s, item({{PasteboardType::tiff, tiff}}));
        f.waitForSave();
        QVERIFY(!f.manager.entries().first()->loadedImageData());
        f.pasteboard.reportOwnerGone();
        QTRY_COMPARE(f.pasteboard.kept.size(), 2);
        QCOMPARE(f.pasteboard.kept.last().types(), QStringList{QString(PasteboardType::tiff)});
        QCOMPARE(f.pasteboard.kept.last().data(PasteboardType::tiff), std::optional(tiff));
    }

    void aCopyThatArrivesWhileTheImageIsReadWins()
    {
        KeeperFixture f;
        f.copyFrom(u"gimp.Gimp"_s, item({{PasteboardType::png, encodedImage("png")}}));
        f.waitForSave();
        f.pasteboard.reportOwnerGone();
        f.copyFrom(u"gedit.Gedit"_s, textItem(u"newer"_s));
        QTest::qWait(200);
        QVERIFY(f.pasteboard.kept.isEmpty());
        QCOMPARE(f.pasteboard.types(), QStringList{QString(PasteboardType::plainText)});
    }

    void aProgramThatQuitsLearnsWhetherItsClipboardIsKept()
    {
        KeeperFixture f;
        f.copyFrom(u"gedit.Gedit"_s, textItem(u"handed over"_s));
        QCOMPARE(f.pasteboard.askToKeep(), std::optional(true));
        // A chosen entry is what the clipboard holds too.
        f.copyFrom(u"gedit.Gedit"_s, textItem(u"the last copy"_s));
        f.manager.select(f.manager.entries().last());
        QCOMPARE(f.pasteboard.askToKeep(), std::optional(true));
        f.pasteboard.reportUnreadChange();
        QCOMPARE(f.pasteboard.askToKeep(), std::optional(false));
    }
};

QTEST_GUILESS_MAIN(TestClipboardKeeper)
#include "test_clipboard_keeper.moc"
