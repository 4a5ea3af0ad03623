// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "hotkey/HotkeyManager.h"
#include "hotkey/KeyCodeTable.h"
#include "support/FakeHotkeyBackend.h"
#include "support/LogCapture.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using Action = HotkeyManager::Action;
using ShortcutError = HotkeyManager::ShortcutError;

namespace {
constexpr quint32 kShiftSuper = ShortcutModifier::command | ShortcutModifier::shift;
const SavedShortcut kSuperShiftV = SavedShortcut::defaultClipboard();
const SavedShortcut kSuperShiftPeriod = SavedShortcut::defaultEmoji();
const SavedShortcut kSuperShiftC{8, kShiftSuper, {u"⌘"_s, u"⇧"_s, u"C"_s}};
} // namespace

Q_DECLARE_METATYPE(tessel::SavedShortcut)

class TestHotkeyManager : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<test::FakeHotkeyBackend> m_backend;

    std::unique_ptr<HotkeyManager> makeManager()
    {
        return std::make_unique<HotkeyManager>(*m_settings, *m_backend);
    }
    QString path() const { return m_dir.filePath(u"settings.json"_s); }

private Q_SLOTS:
    void init()
    {
        QFile::remove(path());
        m_settings = std::make_unique<SettingsStore>(path());
        m_backend = std::make_unique<test::FakeHotkeyBackend>();
    }

    void defaultsWhenAbsentOrUndecodable()
    {
        m_settings->set(settings::savedEmojiShortcut, "{broken"_ba);
        const auto manager = makeManager();
        QCOMPARE(manager->clipboardShortcut(), kSuperShiftV);
        QCOMPARE(manager->emojiShortcut(), kSuperShiftPeriod);
        // The bad data stays until a change overwrites it.
        QCOMPARE(m_settings->value(settings::savedEmojiShortcut), std::optional("{broken"_ba));
        QVERIFY(m_backend->log.isEmpty());
    }

    void storedShortcutSurvivesRestart()
    {
        QVERIFY(!makeManager()->updateClipboardShortcut(kSuperShiftC));
        SettingsStore reread(path());
        test::FakeHotkeyBackend backend;
        HotkeyManager manager(reread, backend);
        QCOMPARE(manager.clipboardShortcut(), kSuperShiftC);
        QCOMPARE(manager.emojiShortcut(), kSuperShiftPeriod);
    }

    void startRegistersBothOnceAndSwapsHandler()
    {
        const auto manager = makeManager();
        QList<Action> first;
        QList<Action> second;
        manager->start([&](Action a) { first.append(a); });
        manager->start([&](Action a) { second.append(a); });
        QCOMPARE(m_backend->installs, 1);
        QCOMPARE(m_backend->active.value(HotkeyManager::clipboardId),
                 (test::FakeHotkeyBackend::Registration{0x76, kShiftSuper}));
        QCOMPARE(m_backend->active.value(HotkeyManager::emojiId),
                 (test::FakeHotkeyBackend::Registration{0x2e, kShiftSuper}));

        m_backend->press(HotkeyManager::emojiId);
        m_backend->press(7);
        m_backend->press(HotkeyManager::clipboardId);
        // Queued: nothing runs inside the press itself.
        QVERIFY(second.isEmpty());
        QTRY_COMPARE(second, (QList<Action>{Action::emoji, Action::clipboard}));
        QVERIFY(first.isEmpty());
    }

    void failedInstallStillRegisters()
    {
        m_backend->installStatus = -7;
        const auto manager = makeManager();
        const test::LogCapture log;
        manager->start([](Action) {});
        QVERIFY(m_backend->log.contains(u"register 1"_s));
        QVERIFY(!manager->isClipboardRegistered());
        // Said once, as a warning of the shortcuts' category, with the status.
        QCOMPARE(log.messages().size(), 1);
        QCOMPARE(log.messages().constFirst().type, QtWarningMsg);
        QCOMPARE(log.messages().constFirst().category, u"tessel.hotkey"_s);
        QVERIFY(log.messages().constFirst().text.contains(u"status -7"_s));
    }

    void duplicateOfOtherCommand_data()
    {
        QTest::addColumn<bool>("clipboard");
        QTest::addColumn<SavedShortcut>("shortcut");
        QTest::newRow("clipboard onto emoji") << true << kSuperShiftPeriod;
        QTest::newRow("different display texts still equal")
            << true << SavedShortcut{47, kShiftSuper, {u"whatever"_s}};
    }
    void duplicateOfOtherCommand()
    {
        QFETCH(bool, clipboard);
        QFETCH(SavedShortcut, shortcut);
        const auto manager = makeManager();
        manager->start([](Action) {});
        m_backend->log.clear();
        QSignalSpy clipSpy(manager.get(), &HotkeyManager::clipboardShortcutChanged);
        QSignalSpy emojiSpy(manager.get(), &HotkeyManager::emojiShortcutChanged);

        const auto result = clipboard ? manager->updateClipboardShortcut(shortcut)
                                      : manager->updateEmojiShortcut(shortcut);
        QCOMPARE(result, std::optional(ShortcutError::duplicate));
        QCOMPARE(manager->clipboardShortcut(), kSuperShiftV);
        QCOMPARE(manager->emojiShortcut(), kSuperShiftPeriod);
        QCOMPARE(clipSpy.count() + emojiSpy.count(), 0);
        QVERIFY(!m_settings->value(settings::savedClipboardShortcut));
        QVERIFY(!m_settings->value(settings::savedEmojiShortcut));
        QVERIFY(m_backend->log.isEmpty());
    }

    void ownValueIsAccepted()
    {
        const auto manager = makeManager();
        manager->start([](Action) {});
        QSignalSpy spy(manager.get(), &HotkeyManager::clipboardShortcutChanged);
        QCOMPARE(manager->updateClipboardShortcut(kSuperShiftV), std::nullopt);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(m_settings->value(settings::savedClipboardShortcut),
                 std::optional(kSuperShiftV.toJson()));
        QVERIFY(manager->isClipboardRegistered());
    }

    void refusedShortcutIsKeptButReported()
    {
        m_backend->taken.insert(qMakePair(0x63u, kShiftSuper));
        const auto manager = makeManager();
        manager->start([](Action) {});
        QCOMPARE(manager->updateEmojiShortcut(kSuperShiftC),
                 std::optional(ShortcutError::takenBySystem));
        QCOMPARE(manager->emojiShortcut(), kSuperShiftC);
        QCOMPARE(m_settings->value(settings::savedEmojiShortcut),
                 std::optional(kSuperShiftC.toJson()));
        QVERIFY(!manager->isEmojiRegistered());
        QVERIFY(manager->isClipboardRegistered());
    }

    void answersThatArriveLaterOrChange()
    {
        m_backend->deferAnswers = true;
        m_backend->taken.insert(qMakePair(0x63u, kShiftSuper));
        const auto manager = makeManager();
        QSignalSpy answers(manager.get(), &HotkeyManager::registrationChanged);
        manager->start([](Action) {});
        // Not registered while the service has not answered.
        QVERIFY(!manager->isClipboardRegistered());
        m_backend->answer(HotkeyManager::clipboardId);
        QVERIFY(manager->isClipboardRegistered());
        QCOMPARE(answers.count(), 1);
        QCOMPARE(answers.at(0).at(1).toBool(), true);

        // A refusal that comes later is not an error of the update itself, but is announced.
        QCOMPARE(manager->updateEmojiShortcut(kSuperShiftC), std::nullopt);
        answers.clear();
        m_backend->answer(HotkeyManager::clipboardId);
        m_backend->answer(HotkeyManager::emojiId);
        QVERIFY(!manager->isEmojiRegistered());
        QCOMPARE(answers.count(), 2);
        QCOMPARE(answers.at(1).at(0).value<Action>(), Action::emoji);
        QCOMPARE(answers.at(1).at(1).toBool(), false);

        // The service withdraws a standing registration (a layout without the key) and restores
        // it.
        Q_EMIT m_backend->registrationChanged(HotkeyManager::clipboardId, false);
        QVERIFY(!manager->isClipboardRegistered());
        Q_EMIT m_backend->registrationChanged(HotkeyManager::clipboardId, true);
        QVERIFY(manager->isClipboardRegistered());
    }

    void keyOutsideTheTableCannotRegister()
    {
        const auto manager = makeManager();
        manager->start([](Action) {});
        const SavedShortcut odd{52, kShiftSuper, {u"⌘"_s, u"⇧"_s, u"Key52"_s}};
        QCOMPARE(manager->updateClipboardShortcut(odd),
                 std::optional(ShortcutError::takenBySystem));
    }

    void resetOrderWhenEmojiHoldsClipboardDefault()
    {
        const auto manager = makeManager();
        manager->start([](Action) {});
        QVERIFY(!manager->updateClipboardShortcut(kSuperShiftC));
        QVERIFY(!manager->updateEmojiShortcut(kSuperShiftV));
        // Reset: clipboard first, then emoji.
        QCOMPARE(manager->updateClipboardShortcut(SavedShortcut::defaultClipboard()),
                 std::optional(ShortcutError::duplicate));
        QCOMPARE(manager->updateEmojiShortcut(SavedShortcut::defaultEmoji()), std::nullopt);
        QCOMPARE(manager->clipboardShortcut(), kSuperShiftC);
        QCOMPARE(manager->emojiShortcut(), kSuperShiftPeriod);
    }

    void convertEvent_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<quint32>("eventKeysym");
        QTest::addColumn<quint32>("baseKeysym");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<quint32>("mask");
        QTest::addColumn<QStringList>("display");

        QTest::newRow("no modifier gives nothing")
            << int(Qt::NoModifier) << 0x61u << 0u << -1 << 0u << QStringList();
        QTest::newRow("keypad modifier alone is no modifier")
            << int(Qt::KeypadModifier) << 0x61u << 0u << -1 << 0u << QStringList();
        QTest::newRow("all four, glyph order")
            << int(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier)
            << 0x4bu << 0u << 40 << 6912u << QStringList{u"⌘"_s, u"⇧"_s, u"⌥"_s, u"⌃"_s, u"K"_s};
        QTest::newRow("shifted symbol read from its key")
            << int(Qt::MetaModifier | Qt::ShiftModifier) << 0x3eu << 0x2eu << 47 << 768u
            << QStringList{u"⌘"_s, u"⇧"_s, u"."_s};
        QTest::newRow("F1 named Key122") << int(Qt::ControlModifier) << 0xffbeu << 0u << 122
                                         << 4096u << QStringList{u"⌃"_s, u"Key122"_s};
        QTest::newRow("key without a code gives nothing")
            << int(Qt::MetaModifier) << 0x6d7u << 0u << -1 << 0u << QStringList();
    }
    void convertEvent()
    {
        QFETCH(int, modifiers);
        QFETCH(quint32, eventKeysym);
        QFETCH(quint32, baseKeysym);
        QFETCH(int, keyCode);
        QFETCH(quint32, mask);
        QFETCH(QStringList, display);

        constexpr quint32 scanCode = 60;
        m_backend->baseKeysyms.insert(scanCode, baseKeysym);
        const QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown, Qt::KeyboardModifiers(modifiers),
                              scanCode, eventKeysym, 0);
        const auto manager = makeManager();
        const auto shortcut = manager->shortcutFromEvent(event);
        if (keyCode < 0) {
            QVERIFY(!shortcut);
            return;
        }
        QVERIFY(shortcut);
        QCOMPARE(shortcut->keyCode, static_cast<quint32>(keyCode));
        QCOMPARE(shortcut->carbonModifiers, mask);
        QCOMPARE(shortcut->displayKeys, display);
    }

    void roundTripEveryRow()
    {
        QVERIFY(KeyCodeTable::size() > 47);
        for (int i = 0; i < KeyCodeTable::size(); ++i) {
            const quint32 code = KeyCodeTable::keyCodeAt(i);
            const auto keysym = KeyCodeTable::keysymForKeyCode(code);
            QVERIFY2(keysym, qPrintable(QString::number(code)));
            QCOMPARE(KeyCodeTable::keyCodeForKeysym(*keysym), std::optional(code));
        }
    }

    void keysymLookup_data()
    {
        QTest::addColumn<quint32>("keysym");
        QTest::addColumn<int>("keyCode");
        QTest::newRow("v") << 0x76u << 9;
        QTest::newRow("V is the same key") << 0x56u << 9;
        QTest::newRow("greater is not a key of its own") << 0x3eu << -1;
        QTest::newRow("Cyrillic ve") << 0x6d7u << -1;
    }
    void keysymLookup()
    {
        QFETCH(quint32, keysym);
        QFETCH(int, keyCode);
        const auto found = KeyCodeTable::keyCodeForKeysym(keysym);
        if (keyCode < 0)
            QVERIFY(!found);
        else
            QCOMPARE(found, std::optional(static_cast<quint32>(keyCode)));
    }

    void keyName_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        // The US layout's own order, not the keys' labels: the places a table is easy to get wrong.
        QTest::newRow("22 is 6") << 22 << u"6"_s;
        QTest::newRow("23 is 5") << 23 << u"5"_s;
        QTest::newRow("42 backslash") << 42 << u"\\"_s;
        QTest::newRow("gap at 30") << 30 << u"Key30"_s;
    }
    void keyName()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QCOMPARE(KeyCodeTable::keyName(static_cast<quint16>(code)), name);
    }

    void jsonRoundTrip()
    {
        const SavedShortcut shortcut{40, 6912, {u"⌘"_s, u"⇧"_s, u"⌥"_s, u"⌃"_s, u"K"_s}};
        QCOMPARE(SavedShortcut::fromJson(shortcut.toJson()), std::optional(shortcut));
        const auto parsed = SavedShortcut::fromJson(
            R"({"keyCode":9,"carbonModifiers":768,"displayKeys":["⌘","⇧","V"]})");
        QCOMPARE(parsed, std::optional(SavedShortcut::defaultClipboard()));
    }

    void badJson_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not json") << QByteArray("garbage");
        QTest::newRow("missing keys") << QByteArray(R"({"keyCode":9,"carbonModifiers":768})");
        QTest::newRow("text code")
            << QByteArray(R"({"keyCode":"9","carbonModifiers":768,"displayKeys":[]})");
        QTest::newRow("fraction") << QByteArray(
            R"({"keyCode":9.5,"carbonModifiers":768,"displayKeys":[]})");
        QTest::newRow("too big") << QByteArray(
            R"({"keyCode":4294967296,"carbonModifiers":768,"displayKeys":[]})");
    }
    void badJson()
    {
        QFETCH(QByteArray, json);
        QVERIFY(!SavedShortcut::fromJson(json));
    }
};

QTEST_GUILESS_MAIN(TestHotkeyManager)
#include "test_hotkey_manager.moc"
