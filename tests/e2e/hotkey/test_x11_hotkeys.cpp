#include "core/SettingsStore.h"
#include "hotkey/HotkeyManager.h"
#include "platform/x11/X11HotkeyBackend.h"
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

// A second X client that holds a key grab of its own, as another hot-key program would.
class OtherClient {
public:
    OtherClient()
        : m_connection(xcb_connect(nullptr, nullptr))
    {}
    ~OtherClient() { xcb_disconnect(m_connection); }
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

    bool grab(uint32_t keysym, uint16_t modifiers)
    {
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
        bool ok = codes && codes[0];
        if (ok) {
            const xcb_window_t root =
                xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
            auto cookie = xcb_grab_key_checked(m_connection, 0, root, modifiers, codes[0],
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            xcb_generic_error_t* error = xcb_request_check(m_connection, cookie);
            ok = !error;
            std::free(error);
        }
        std::free(codes);
        xcb_key_symbols_free(symbols);
        return ok;
    }

private:
    xcb_connection_t* m_connection;
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
    }

    void pressesReachTheHandler_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("lockKey");
        QTest::newRow("us") << u"us"_s << QString();
        QTest::newRow("us, Caps Lock on") << u"us"_s << u"Caps_Lock"_s;
        QTest::newRow("us, Num Lock on") << u"us"_s << u"Num_Lock"_s;
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
        if (!lockKey.isEmpty())
            QVERIFY(run(u"xdotool"_s, {u"key"_s, lockKey}));

        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+v"_s}));
        QTRY_COMPARE(m_actions, QList<Action>{Action::clipboard});
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+period"_s}));
        QTRY_COMPARE(m_actions, (QList<Action>{Action::clipboard, Action::emoji}));
        // Without Shift it is another combination.
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+v"_s}));

        if (!lockKey.isEmpty())
            QVERIFY(run(u"xdotool"_s, {u"key"_s, lockKey}));
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
