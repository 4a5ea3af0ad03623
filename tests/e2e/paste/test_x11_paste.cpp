// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "paste/PasteSimulator.h"
#include "paste/SoundPlayer.h"
#include "platform/x11/X11KeySynthesizer.h"
#include "platform/x11/X11Workspace.h"
#include "support/Desktop.h"
#include "support/FakePasteServices.h"
#include "support/TesselProcess.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::test::run;

// A GTK text field in another process gets the paste.
class TestX11Paste : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<test::EntryDialog> m_target;

    void startTarget()
    {
        m_target = std::make_unique<test::EntryDialog>();
        QVERIFY(m_target->open(u"Tessel paste target"_s));
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing =
            test::missingForDesktopTest({u"xdotool"_s, u"setxkbmap"_s, u"zenity"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        QVERIFY(x11::X11KeySynthesizer().isAvailable());
    }

    void init()
    {
        QFile::remove(m_dir.filePath(u"settings.json"_s));
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(u"settings.json"_s));
    }

    void cleanup()
    {
        run(u"xdotool"_s, {u"keyup"_s, u"super"_s, u"shift"_s});
        run(u"setxkbmap"_s, {u"us"_s});
        m_target.reset();
    }

    void pastesIntoTheFocusedTextField_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("holdSuperShift");
        QTest::newRow("us") << u"us"_s << false;
        QTest::newRow("us, Super and Shift still held") << u"us"_s << true;
        QTest::newRow("dvorak, Super and Shift still held") << u"dvorak"_s << true;
        QTest::newRow("russian: no key types v") << u"ru"_s << false;
    }
    void pastesIntoTheFocusedTextField()
    {
        QFETCH(QString, layout);
        QFETCH(bool, holdSuperShift);
        startTarget();
        x11::X11Workspace workspace;
        QTRY_VERIFY(workspace.frontmostApplicationId().contains("zenity"_L1, Qt::CaseInsensitive));
        QVERIFY(run(u"setxkbmap"_s, {layout}));

        const QString text = u"Tessel ação ✓ %1"_s.arg(layout);
        // Served by xclip: this process blocks while it confirms the dialog, and zenity may
        // still be asking for the text then.
        QVERIFY(test::xclipWrite(text.toUtf8()));
        if (holdSuperShift)
            QVERIFY(run(u"xdotool"_s, {u"keydown"_s, u"super"_s, u"shift"_s}));

        x11::X11KeySynthesizer keys;
        test::CountingSoundPlayer sound;
        PasteSimulator paster(*m_settings, keys, workspace, sound);
        QSignalSpy pasted(&paster, &PasteSimulator::pasted);
        paster.schedulePaste();
        QTRY_COMPARE(pasted.count(), 1);
        QCOMPARE(sound.pops, 1);

        run(u"setxkbmap"_s, {u"us"_s});
        QCOMPARE(m_target->confirm(), text);
    }
};

QTEST_MAIN(TestX11Paste)
#include "test_x11_paste.moc"
