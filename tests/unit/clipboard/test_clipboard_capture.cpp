// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManagerFixture.h"
#include "clipboard/IgnoredApplications.h"
#include "support/TestImages.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using namespace tessel::test;

class TestClipboardCapture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void captureFilters_data()
    {
        QTest::addColumn<QStringList>("extraTypes");
        QTest::addColumn<QString>("frontmostApp");
        QTest::addColumn<bool>("ignorePasswordManagers");
        QTest::addColumn<bool>("recorded");

        QTest::newRow("plain copy") << QStringList{} << u"gedit.Gedit"_s << true << true;
        QTest::newRow("transient in any case, filters off")
            << QStringList{u"x-TRANSIENT-data"_s} << QString() << false << false;
        QTest::newRow("concealed type")
            << QStringList{u"org.nspasteboard.ConcealedType"_s} << QString() << true << false;
        QTest::newRow("concealed type, filters off")
            << QStringList{u"org.nspasteboard.ConcealedType"_s} << QString() << false << true;
        QTest::newRow("password manager in front")
            << QStringList{} << u"1Password.1Password"_s << true << false;
        QTest::newRow("password manager in front, filters off")
            << QStringList{} << u"bitwarden.Bitwarden"_s << false << true;
        QTest::newRow("singular 'password' app is no marker")
            << QStringList{} << u"password-notes.Notes"_s << true << true;
    }

    void captureFilters()
    {
        QFETCH(QStringList, extraTypes);
        QFETCH(QString, frontmostApp);
        QFETCH(bool, ignorePasswordManagers);
        QFETCH(bool, recorded);
        Fixture f;
        f.settings.set(settings::ignorePasswordManagers, ignorePasswordManagers);
        f.workspace.appId = frontmostApp;
        PasteboardItem content = textItem(u"s3cret"_s);
        for (const QString& type : extraTypes)
            content.setData(type, "1"_ba);
        f.copy(content);
        QCOMPARE(f.manager.entries().size(), recorded ? 1 : 0);
    }

    void ignoredApplications_data()
    {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("frontmostApp");
        QTest::addColumn<bool>("recorded");
        const QStringList keepass{u"KeePassXC"_s};
        QTest::newRow("X11 class") << keepass << u"keepassxc.KeePassXC"_s << false;
        QTest::newRow("Wayland app_id") << keepass << u"org.keepassxc.KeePassXC"_s << false;
        QTest::newRow("whole identifier")
            << QStringList{u"org.gnome.TextEditor"_s} << u"org.gnome.TextEditor"_s << false;
        QTest::newRow("part of a word is no match")
            << QStringList{u"keepass"_s} << u"keepassxc.KeePassXC"_s << true;
        QTest::newRow("another application") << keepass << u"gedit.Gedit"_s << true;
        QTest::newRow("no application in front") << keepass << QString() << true;
    }

    void ignoredApplications()
    {
        QFETCH(QStringList, listed);
        QFETCH(QString, frontmostApp);
        QFETCH(bool, recorded);
        Fixture f;
        // The user's list applies with the password-manager filter switched off too.
        f.settings.set(settings::ignorePasswordManagers, false);
        IgnoredApplications::setList(f.settings, listed);
        f.workspace.appId = frontmostApp;
        f.copyText(u"copied"_s);
        QCOMPARE(f.manager.entries().size(), recorded ? 1 : 0);
    }

    void theIgnoredListIsKeptTidy()
    {
        Fixture f;
        IgnoredApplications::setList(f.settings,
                                     {u" gimp "_s, u""_s, u"GIMP"_s, u"org.example.Notes"_s});
        QCOMPARE(IgnoredApplications::list(f.settings),
                 (QStringList{u"gimp"_s, u"org.example.Notes"_s}));
        QVERIFY(!IgnoredApplications::add(f.settings, u"Gimp"_s));
        QVERIFY(IgnoredApplications::add(f.settings, u"inkscape"_s));
        IgnoredApplications::remove(f.settings, u"GIMP"_s);
        QCOMPARE(IgnoredApplications::list(f.settings),
                 (QStringList{u"org.example.Notes"_s, u"inkscape"_s}));
        // Read back from the file, one per line.
        SettingsStore again(f.settings.filePath());
        QCOMPARE(IgnoredApplications::list(again), IgnoredApplications::list(f.settings));
    }

    void formatsAreTriedPngTiffText_data()
    {
        QTest::addColumn<qsizetype>("pngSize");
        QTest::addColumn<bool>("withTiff");
        QTest::addColumn<QString>("expectedType");
        constexpr qsizetype limit = 10485760;
        QTest::newRow("PNG at the limit") << limit << true << QString(PasteboardType::png);
        QTest::newRow("PNG over the limit, TIFF next")
            << limit + 1 << true << QString(PasteboardType::tiff);
        QTest::newRow("PNG over the limit, text next")
            << limit + 1 << false << QString(PasteboardType::plainText);
        QTest::newRow("empty PNG, text next")
            << qsizetype(0) << false << QString(PasteboardType::plainText);
    }

    void formatsAreTriedPngTiffText()
    {
        QFETCH(qsizetype, pngSize);
        QFETCH(bool, withTiff);
        QFETCH(QString, expectedType);
        Fixture f;
        PasteboardItem content;
        content.setData(PasteboardType::png, QByteArray(pngSize, 'p'));
        if (withTiff)
            content.setData(PasteboardType::tiff, test::encodedImage("tiff"));
        content.setString(PasteboardType::plainText, u"caption"_s);
        f.copy(content);
        QCOMPARE(f.manager.entries().size(), 1);
        QCOMPARE(f.manager.entries().first()->mimetype(), expectedType);
    }

    void textIsTrimmedAndBlankTextIgnored()
    {
        Fixture f;
        f.copyText(u"  \n spaced out \t\n"_s);
        f.copyText(u" \n\t "_s);
        f.copy(PasteboardItem());
        QCOMPARE(f.texts(), QStringList{u"spaced out"_s});
    }

    void contentAlreadyOnThePasteboardAtStartIsNotCaptured()
    {
        Fixture f;
        f.manager.stopMonitoring();
        f.pasteboard.writeExternal(textItem(u"before start"_s));
        f.manager.startMonitoring();
        f.manager.poll();
        QVERIFY(f.manager.entries().isEmpty());
    }

    void reportedChangesAreJudgedByTheApplicationAtTheCopy()
    {
        Fixture f(Fixture::Reported);
        QVERIFY(f.manager.isMonitoring());
        // The password manager was in front when it copied; the focus moved on before the
        // contents arrived.
        f.workspace.appId = u"gedit.Gedit"_s;
        f.pasteboard.reportExternal(textItem(u"vault"_s), u"keepassxc.KeePassXC"_s);
        QVERIFY(f.manager.entries().isEmpty());
        f.workspace.appId = u"keepassxc.KeePassXC"_s;
        const ClipboardSnapshot note =
            f.pasteboard.reportExternal(textItem(u"note"_s), u"gedit.Gedit"_s);
        QCOMPARE(f.texts(), QStringList{u"note"_s});

        // A change is recorded once however often it is reported, and never polled.
        f.manager.captureSnapshot(note);
        f.pasteboard.writeExternal(textItem(u"only a poll would see this"_s));
        f.manager.poll();
        QCOMPARE(f.texts(), QStringList{u"note"_s});
    }

    void aChangeOvertakenByOurOwnWriteIsNotRecorded()
    {
        Fixture f(Fixture::Reported);
        f.pasteboard.reportExternal(textItem(u"chosen later"_s));
        // Seen before the user chose an entry, its contents arriving after the write.
        ClipboardSnapshot late;
        late.changeCount = f.pasteboard.changeCount();
        late.types = QStringList{QString(PasteboardType::plainText)};
        late.text = u"late"_s;
        f.manager.select(f.manager.entries().first());
        f.manager.captureSnapshot(late);
        QCOMPARE(f.texts(), QStringList{u"chosen later"_s});
    }

    void textLargerThanThePayloadLimitIsNotRecorded_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recorded");
        constexpr qsizetype limit = ClipboardManager::maxPayloadSize;
        // Two bytes each in UTF-8: the limit counts bytes, not characters.
        QTest::newRow("UTF-8 at the limit") << QString(limit / 2, u'é') << true;
        QTest::newRow("UTF-8 one byte over") << QString(limit / 2, u'é') + u'a' << false;
    }

    void textLargerThanThePayloadLimitIsNotRecorded()
    {
        QFETCH(QString, text);
        QFETCH(bool, recorded);
        Fixture f;
        f.copyText(text);
        QCOMPARE(f.manager.entries().size(), recorded ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestClipboardCapture)
#include "test_clipboard_capture.moc"
