// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "hotkey/DesktopKeybindings.h"
#include "hotkey/DesktopShortcuts.h"
#include "hotkey/HotkeyManager.h"
#include "support/FakeHotkeyBackend.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
// Keybindings that hold what was last written, and answer when told to.
class FakeKeybindings final : public DesktopKeybindings {
public:
    bool offered = true;
    QList<Binding> written;
    int removals = 0;
    QList<Done> pending;

    bool isOffered() const override { return offered; }
    void apply(const QList<Binding>& bindings, Done done) override
    {
        written = bindings;
        pending << std::move(done);
    }
    void remove(Done done) override
    {
        written.clear();
        ++removals;
        pending << std::move(done);
    }
    void answer(const Result& result)
    {
        while (!pending.isEmpty())
            pending.takeFirst()(result);
    }
};
} // namespace

// The user's agreement decides whether Tessel's shortcuts live in the desktop's keyboard
// settings; once agreed they follow the recorder and come back at the next start.
class TestDesktopShortcuts : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    test::FakeHotkeyBackend m_backend;
    std::unique_ptr<HotkeyManager> m_hotkeys;
    FakeKeybindings m_keybindings;

private Q_SLOTS:
    void init()
    {
        QFile::remove(m_dir.filePath(u"settings.json"_s));
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(u"settings.json"_s));
        m_hotkeys = std::make_unique<HotkeyManager>(*m_settings, m_backend);
        m_keybindings.offered = true;
        m_keybindings.written.clear();
        m_keybindings.removals = 0;
        m_keybindings.pending.clear();
    }

    // Nothing is written before the user agrees; agreeing writes both commands with their keys;
    // the recorder's change rewrites them; turning off removes them.
    void writesOnlyWithTheUsersAgreement()
    {
        DesktopShortcuts shortcuts(*m_settings, *m_hotkeys, &m_keybindings, u"/usr/bin/tessel"_s);
        shortcuts.start();
        QVERIFY(shortcuts.isOffered());
        QVERIFY(!shortcuts.isEnabled());
        QVERIFY(m_keybindings.written.isEmpty());
        SavedShortcut controlAltK;
        controlAltK.keyCode = 40;
        controlAltK.carbonModifiers = ShortcutModifier::control | ShortcutModifier::option;
        QVERIFY(!m_hotkeys->updateClipboardShortcut(controlAltK));
        QVERIFY(m_keybindings.written.isEmpty());

        QSignalSpy changed(&shortcuts, &DesktopShortcuts::changed);
        shortcuts.setEnabled(true);
        QVERIFY(shortcuts.isEnabled());
        QCOMPARE(m_keybindings.written.size(), 2);
        const auto& toggle = m_keybindings.written.at(0);
        QCOMPARE(toggle.command, u"/usr/bin/tessel --toggle"_s);
        QCOMPARE(toggle.keysym, 0x6bu);
        QCOMPARE(toggle.modifiers, controlAltK.carbonModifiers);
        QCOMPARE(m_keybindings.written.at(1).command, u"/usr/bin/tessel --emoji"_s);
        QCOMPARE(m_keybindings.written.at(1).keysym, 0x2eu);

        m_keybindings.answer(Result::failure(u"dconf is read-only"_s));
        QCOMPARE(shortcuts.lastError(), u"dconf is read-only"_s);
        QVERIFY(m_hotkeys->updateEmojiShortcut(SavedShortcut::defaultClipboard()) == std::nullopt);
        QCOMPARE(m_keybindings.written.at(1).keysym, 0x76u);
        m_keybindings.answer(Result::success());
        QVERIFY(shortcuts.lastError().isEmpty());

        shortcuts.setEnabled(false);
        QVERIFY(!shortcuts.isEnabled());
        QCOMPARE(m_keybindings.removals, 1);
        QVERIFY(!m_hotkeys->updateClipboardShortcut(SavedShortcut::defaultEmoji()));
        QVERIFY(m_keybindings.written.isEmpty());
        QVERIFY(changed.size() >= 3);
    }

    // The agreement is kept: the next start writes the bindings again (the user may have
    // deleted them in the desktop's settings); a desktop without keybindings offers nothing.
    void agreementIsKeptAcrossStarts()
    {
        {
            DesktopShortcuts first(*m_settings, *m_hotkeys, &m_keybindings, u"tessel"_s);
            first.setEnabled(true);
        }
        m_keybindings.written.clear();
        DesktopShortcuts again(*m_settings, *m_hotkeys, &m_keybindings, u"/opt/my apps/tessel"_s);
        again.start();
        QCOMPARE(m_keybindings.written.size(), 2);
        QCOMPARE(m_keybindings.written.at(0).command, u"'/opt/my apps/tessel' --toggle"_s);

        m_keybindings.offered = false;
        m_keybindings.written.clear();
        DesktopShortcuts elsewhere(*m_settings, *m_hotkeys, &m_keybindings, u"tessel"_s);
        elsewhere.start();
        elsewhere.setEnabled(true);
        QVERIFY(!elsewhere.isEnabled());
        QVERIFY(m_keybindings.written.isEmpty());
    }

    // The desktop's list shows the names in the interface language: a change of language renames
    // kept bindings, and writes nothing where the user has not agreed.
    void namesFollowTheLanguage()
    {
        DesktopShortcuts shortcuts(*m_settings, *m_hotkeys, &m_keybindings, u"tessel"_s);
        shortcuts.setNames(u"Tessel: histórico"_s, u"Tessel: emojis"_s);
        QVERIFY(m_keybindings.written.isEmpty());
        shortcuts.setEnabled(true);
        QCOMPARE(m_keybindings.written.at(0).name, u"Tessel: histórico"_s);
        QCOMPARE(m_keybindings.written.at(1).name, u"Tessel: emojis"_s);

        m_keybindings.written.clear();
        shortcuts.setNames(u"Tessel: historial"_s, u"Tessel: emojis"_s);
        QCOMPARE(m_keybindings.written.size(), 2);
        QCOMPARE(m_keybindings.written.at(0).name, u"Tessel: historial"_s);
        QCOMPARE(m_keybindings.written.at(0).command, u"tessel --toggle"_s);
    }
};

QTEST_GUILESS_MAIN(TestDesktopShortcuts)
#include "test_desktop_shortcuts.moc"
