// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "hotkey/HotkeyManager.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11HotkeyBackend.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/XcbReply.h"
#include "support/TesselProcess.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::test::run;
using Action = HotkeyManager::Action;

namespace {
constexpr uint32_t kKeysymV = 0x76;
constexpr uint32_t kKeysymPeriod = 0x2e;

// The first keycode that types `keysym` in keyboard group `group` of the live map.
uint8_t keycodeOf(uint32_t keysym, int group = 0)
{
    const auto codes = x11::X11Keymap(x11::X11Connection::connection()).keycodesFor(keysym, group);
    return codes.isEmpty() ? 0 : codes.first();
}

// A second X client that holds a key grab of its own, as another hot-key program would.
class OtherClient {
public:
    OtherClient()
        : m_connection(xcb_connect(nullptr, nullptr))
    {}
    // Lets go of the grab and waits until the server has done so: a bare disconnect is handled
    // whenever the server gets to it, possibly after the next client's grab.
    ~OtherClient()
    {
        for (const auto& [keycode, modifiers] : std::as_const(m_grabs))
            xcb_ungrab_key(m_connection, keycode, m_root, modifiers);
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        xcb_disconnect(m_connection);
    }
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

    bool grab(uint32_t keysym, uint16_t modifiers)
    {
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
        bool ok = codes && codes[0];
        if (ok) {
            m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
            auto cookie = xcb_grab_key_checked(m_connection, 0, m_root, modifiers, codes[0],
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            xcb_generic_error_t* error = xcb_request_check(m_connection, cookie);
            ok = !error;
            std::free(error);
            if (ok)
                m_grabs.append({codes[0], modifiers});
        }
        std::free(codes);
        xcb_key_symbols_free(symbols);
        return ok;
    }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    QList<std::pair<xcb_keycode_t, uint16_t>> m_grabs;
};
} // namespace

class TestX11Hotkeys : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<x11::X11HotkeyBackend> m_backend;
    std::unique_ptr<HotkeyManager> m_manager;
    QList<Action> m_actions;

    void startManager()
    {
        m_backend = std::make_unique<x11::X11HotkeyBackend>();
        m_manager = std::make_unique<HotkeyManager>(*m_settings, *m_backend);
        m_manager->start([this](Action action) { m_actions.append(action); });
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != "xcb"_L1)
            QSKIP("needs an X11 display (DISPLAY) with a window manager");
        for (const auto* tool : {"xdotool", "setxkbmap"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QString::fromLatin1(tool) + " is not installed"_L1));
        }
    }

    void init()
    {
        QFile::remove(m_dir.filePath(u"settings.json"_s));
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(u"settings.json"_s));
        m_actions.clear();
    }

    void cleanup()
    {
        m_manager.reset();
        m_backend.reset();
        run(u"setxkbmap"_s, {u"us"_s});
        // A row that failed half-way may have left a lock key on for the rows after it.
        auto* c = x11::X11Connection::connection();
        const x11::XcbReply<xcb_query_pointer_reply_t> pointer(xcb_query_pointer_reply(
            c, xcb_query_pointer(c, x11::X11Connection::rootWindow()), nullptr));
        const uint16_t numLock = x11::X11Keymap(c).numLockMask();
        if (pointer && (pointer->mask & XCB_MOD_MASK_LOCK))
            run(u"xdotool"_s, {u"key"_s, u"Caps_Lock"_s});
        if (pointer && numLock && (pointer->mask & numLock))
            run(u"xdotool"_s, {u"key"_s, u"Num_Lock"_s});
    }

    // Hands the backend a key event as the server would deliver it.
    void deliver(uint8_t type, uint8_t keycode, uint32_t time)
    {
        xcb_key_press_event_t event{};
        event.response_type = type;
        event.detail = keycode;
        event.time = time;
        event.root = x11::X11Connection::rootWindow();
        event.state = x11::X11Keymap(x11::X11Connection::connection())
                          .maskFor(ShortcutModifier::command | ShortcutModifier::shift);
        m_backend->nativeEventFilter("xcb_generic_event_t", &event, nullptr);
    }

    void pressesReachTheHandler_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("lockKey");
        QTest::newRow("us") << u"us"_s << QString();
        QTest::newRow("us, Caps Lock on") << u"us"_s << u"Caps_Lock"_s;
        QTest::newRow("us, Num Lock on") << u"us"_s << u"Num_Lock"_s;
        QTest::newRow("us, Caps Lock and Num Lock on") << u"us"_s << u"Caps_Lock+Num_Lock"_s;
        QTest::newRow("dvorak, after the layout changed") << u"dvorak"_s << QString();
    }
    void pressesReachTheHandler()
    {
        QFETCH(QString, layout);
        QFETCH(QString, lockKey);
        startManager();
        QVERIFY(m_manager->isClipboardRegistered());
        QVERIFY(m_manager->isEmojiRegistered());
        if (layout != "us"_L1) {
            const quint32 usPeriodKeycode = 60;
            QVERIFY(run(u"setxkbmap"_s, {layout}));
            // Dvorak types "v" on the US full-stop key; the grabs follow the new map.
            QTRY_COMPARE(m_backend->baseKeysym(usPeriodKeycode), kKeysymV);
        }
        const QStringList lockKeys = lockKey.isEmpty() ? QStringList() : lockKey.split(u'+');
        for (const QString& key : lockKeys)
            QVERIFY(run(u"xdotool"_s, {u"key"_s, key}));

        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+v"_s}));
        QTRY_COMPARE(m_actions, QList<Action>{Action::clipboard});
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+period"_s}));
        QTRY_COMPARE(m_actions, (QList<Action>{Action::clipboard, Action::emoji}));
        // Without Shift it is another combination.
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+v"_s}));

        for (const QString& key : lockKeys)
            QVERIFY(run(u"xdotool"_s, {u"key"_s, key}));
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+period"_s}));
        QTRY_COMPARE(m_actions.size(), 3);
        QCOMPARE(m_actions.last(), Action::emoji);
    }

    void combinationHeldByAnotherClient_data()
    {
        QTest::addColumn<uint16_t>("extraModifiers");
        QTest::newRow("plain") << uint16_t(0);
        QTest::newRow("only its Caps Lock variant") << uint16_t(XCB_MOD_MASK_LOCK);
        QTest::newRow("only its Num Lock variant") << uint16_t(XCB_MOD_MASK_2);
    }
    void combinationHeldByAnotherClient()
    {
        QFETCH(uint16_t, extraModifiers);
        auto other = std::make_unique<OtherClient>();
        QVERIFY(other->grab(kKeysymV, XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT | extraModifiers));

        startManager();
        // Silent at start: the shortcut is simply not live.
        QVERIFY(!m_manager->isClipboardRegistered());
        QVERIFY(m_manager->isEmojiRegistered());
        QCOMPARE(m_manager->updateClipboardShortcut(SavedShortcut::defaultClipboard()),
                 std::optional(HotkeyManager::ShortcutError::takenBySystem));

        // Once the other program lets go, the same shortcut registers.
        other.reset();
        QCOMPARE(m_manager->updateClipboardShortcut(SavedShortcut::defaultClipboard()),
                 std::nullopt);
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+v"_s}));
        QTRY_COMPARE(m_actions, QList<Action>{Action::clipboard});
    }

    void aLayoutWithoutTheKeyAndBack()
    {
        startManager();
        const uint8_t v = keycodeOf(kKeysymV);
        QVERIFY(run(u"setxkbmap"_s, {u"ru"_s}));
        QTRY_VERIFY(m_backend->baseKeysym(v) != kKeysymV);
        // No key types v here: the shortcut is not reported as working meanwhile.
        QTRY_VERIFY(!m_manager->isClipboardRegistered());
        QVERIFY(m_manager->isEmojiRegistered());
        QVERIFY(run(u"setxkbmap"_s, {u"us"_s}));
        QTRY_COMPARE(m_backend->baseKeysym(v), kKeysymV);
        QTRY_VERIFY(m_manager->isClipboardRegistered());
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+v"_s}));
        QTRY_COMPARE(m_actions, QList<Action>{Action::clipboard});
    }

    void aNonLatinFirstLayoutUsesThePhysicalKeys()
    {
        const uint8_t v = keycodeOf(kKeysymV);
        const uint8_t period = keycodeOf(kKeysymPeriod);
        QVERIFY(run(u"setxkbmap"_s, {u"-layout"_s, u"ru,us"_s}));
        QTRY_VERIFY(keycodeOf(kKeysymV) == 0);
        const uint8_t russianPeriod = keycodeOf(kKeysymPeriod);
        QVERIFY(russianPeriod != 0 && russianPeriod != period);

        startManager();
        QVERIFY(m_manager->isClipboardRegistered());
        QVERIFY(m_manager->isEmojiRegistered());
        deliver(XCB_KEY_PRESS, v, 1000);
        deliver(XCB_KEY_RELEASE, v, 1100);
        QTRY_COMPARE(m_actions, QList<Action>{Action::clipboard});
        // Full stop is where the stored key code says, not where Russian types it.
        deliver(XCB_KEY_PRESS, russianPeriod, 1200);
        deliver(XCB_KEY_RELEASE, russianPeriod, 1300);
        deliver(XCB_KEY_PRESS, period, 1400);
        deliver(XCB_KEY_RELEASE, period, 1500);
        QTRY_COMPARE(m_actions, (QList<Action>{Action::clipboard, Action::emoji}));
    }

    // The core mapping lists the first two groups in columns 0-3 and the further ones from
    // column 8 on; V sits on evdev keycode 55 in "us" and on 60 (the US full stop) in "dvorak".
    void keymapFindsKeysInEveryGroup_data()
    {
        QTest::addColumn<QString>("layouts");
        QTest::addColumn<QList<int>>("vKeycodes"); // per group; 0: no key types v
        QTest::newRow("us,dvorak") << u"us,dvorak"_s << QList<int>{55, 60};
        QTest::newRow("dvorak,ru,us,dvorak")
            << u"dvorak,ru,us,dvorak"_s << QList<int>{60, 0, 55, 60};
    }
    void keymapFindsKeysInEveryGroup()
    {
        QFETCH(QString, layouts);
        QFETCH(QList<int>, vKeycodes);
        QVERIFY(run(u"setxkbmap"_s, {u"-layout"_s, layouts}));
        for (int group = 0; group < vKeycodes.size(); ++group)
            QCOMPARE(int(keycodeOf(kKeysymV, group)), vKeycodes.at(group));
    }

    void aHeldShortcutIsOnePress()
    {
        startManager();
        const uint8_t v = keycodeOf(kKeysymV);
        // Detectable auto-repeat: presses alone while the key is held.
        for (uint32_t time = 1000; time < 1500; time += 33)
            deliver(XCB_KEY_PRESS, v, time);
        deliver(XCB_KEY_RELEASE, v, 1500);
        // Plain auto-repeat: a release and a press with the same time stamp.
        deliver(XCB_KEY_PRESS, v, 2000);
        for (uint32_t time = 2033; time < 2500; time += 33) {
            deliver(XCB_KEY_RELEASE, v, time);
            deliver(XCB_KEY_PRESS, v, time);
        }
        deliver(XCB_KEY_RELEASE, v, 2600);
        // A release that never reached Tessel does not leave the shortcut dead.
        deliver(XCB_KEY_PRESS, v, 3000);
        deliver(XCB_KEY_PRESS, v, 9000);
        QTRY_COMPARE(m_actions.size(), 4);
        QTest::qWait(100);
        QCOMPARE(m_actions.size(), 4);
    }

    void ownGrabsAreReleasedOnChange()
    {
        startManager();
        const SavedShortcut superShiftC{8, 768, {u"⌘"_s, u"⇧"_s, u"C"_s}};
        QCOMPARE(m_manager->updateClipboardShortcut(superShiftC), std::nullopt);
        // Super+Shift+V is free again for anyone else.
        OtherClient other;
        QVERIFY(other.grab(kKeysymV, XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT));
        QVERIFY(!other.grab(0x63, XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT));
    }
};

QTEST_MAIN(TestX11Hotkeys)
#include "test_x11_hotkeys.moc"
