// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "paste/PasteSimulator.h"
#include "paste/TerminalClasses.h"
#include "support/FakePasteServices.h"
#include "support/FakeWorkspace.h"
#include "support/LogCapture.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace tessel;

class TestPasteSimulator : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    test::FakeKeySynthesizer m_keys;
    test::CountingSoundPlayer m_sound;
    test::FakeWorkspace m_workspace;
    std::unique_ptr<PasteSimulator> m_paster;

private Q_SLOTS:
    void init()
    {
        QFile::remove(m_dir.filePath(u"settings.json"_s));
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(u"settings.json"_s));
        m_keys = {};
        m_sound = {};
        m_workspace.focusedIds = {u"gedit"_s, u"Gedit"_s};
        m_paster = std::make_unique<PasteSimulator>(*m_settings, m_keys, m_workspace, m_sound);
    }

    void aSecondPickRestartsTheDelayAndOnePasteGoesOut()
    {
        // The paste follows the last pick: the first pick's time must not send it early.
        QSignalSpy pasted(m_paster.get(), &PasteSimulator::pasted);
        m_paster->schedulePaste(1000ms);
        QTest::qWait(600);
        m_paster->schedulePaste(1000ms);
        QTest::qWait(600); // past the first pick's time, well before the second's
        QVERIFY(m_keys.chords.isEmpty());
        QVERIFY(m_paster->isPastePending());
        QTRY_COMPARE_WITH_TIMEOUT(pasted.count(), 1, 3000);
        QVERIFY(!m_paster->isPastePending());
        QTest::qWait(200); // nothing else is left to run
        QCOMPARE(m_keys.chords, QList<PasteChord>{PasteChord::controlV});
        QCOMPARE(m_sound.pops, 1);
    }

    void settings_data()
    {
        QTest::addColumn<QVariant>("pasteOnSelect");
        QTest::addColumn<QVariant>("playSound");
        QTest::addColumn<int>("chords");
        QTest::addColumn<int>("pops");
        QTest::newRow("both absent") << QVariant() << QVariant() << 1 << 1;
        QTest::newRow("paste off: nothing sent, nothing played")
            << QVariant(false) << QVariant(true) << 0 << 0;
        QTest::newRow("paste stored as text counts as on")
            << QVariant(u"no"_s) << QVariant() << 1 << 1;
        QTest::newRow("sound off") << QVariant(true) << QVariant(false) << 1 << 0;
    }
    void settings()
    {
        QFETCH(QVariant, pasteOnSelect);
        QFETCH(QVariant, playSound);
        QFETCH(int, chords);
        QFETCH(int, pops);
        if (pasteOnSelect.typeId() == QMetaType::Bool)
            m_settings->set(settings::pasteOnSelect, pasteOnSelect.toBool());
        else if (pasteOnSelect.isValid())
            m_settings->setText(settings::pasteOnSelect.name, pasteOnSelect.toString());
        if (playSound.isValid())
            m_settings->set(settings::playSoundEffects, playSound.toBool());

        m_paster->schedulePaste(0ms);
        QCOMPARE(m_paster->isPastePending(), chords > 0);
        QTRY_VERIFY(!m_paster->isPastePending());
        QTest::qWait(20);
        QCOMPARE(m_keys.chords.size(), chords);
        QCOMPARE(m_sound.pops, pops);
    }

    void failuresPlayNoSound()
    {
        QSignalSpy pasted(m_paster.get(), &PasteSimulator::pasted);
        m_keys.error = u"no Control key"_s;
        const test::LogCapture log;
        m_paster->paste();
        // The synthesiser's own words, in a warning of the paste category.
        QCOMPARE(log.messages().size(), 1);
        QCOMPARE(log.messages().constFirst().type, QtWarningMsg);
        QCOMPARE(log.messages().constFirst().category, u"tessel.paste"_s);
        QVERIFY(log.messages().constFirst().text.contains(u"no Control key"_s));
        m_keys.available = false;
        m_paster->paste();
        QCOMPARE(m_keys.chords.size(), 1); // nothing is sent without synthetic input
        QCOMPARE(pasted.count(), 0);
        QCOMPARE(m_sound.pops, 0);
    }

    void chordFollowsTheTarget_data()
    {
        QTest::addColumn<QStringList>("wmClass");
        QTest::addColumn<bool>("terminal");
        QTest::newRow("editor") << QStringList{u"gedit"_s, u"Gedit"_s} << false;
        QTest::newRow("GNOME Terminal")
            << QStringList{u"gnome-terminal-server"_s, u"Gnome-terminal"_s} << true;
        QTest::newRow("Alacritty, class only") << QStringList{u"x"_s, u"Alacritty"_s} << true;
        QTest::newRow("a name that merely contains one")
            << QStringList{u"kittyhawk"_s, u"Footnotes"_s} << false;
        // On Wayland the target is named by its app_id alone.
        QTest::newRow("foot's app_id") << QStringList{u"foot"_s} << true;
        QTest::newRow("GNOME Terminal's app_id") << QStringList{u"org.gnome.Terminal"_s} << true;
        QTest::newRow("Konsole's app_id") << QStringList{u"org.kde.konsole"_s} << true;
        QTest::newRow("an editor's app_id") << QStringList{u"org.gnome.TextEditor"_s} << false;
    }
    void chordFollowsTheTarget()
    {
        QFETCH(QStringList, wmClass);
        QFETCH(bool, terminal);
        QCOMPARE(TerminalClasses::isTerminal(wmClass), terminal);
        m_workspace.focusedIds = wmClass;
        m_paster->paste();
        QCOMPARE(m_keys.chords,
                 QList<PasteChord>{terminal ? PasteChord::controlShiftV : PasteChord::controlV});
    }
};

QTEST_GUILESS_MAIN(TestPasteSimulator)
#include "test_paste_simulator.moc"
