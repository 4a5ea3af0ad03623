// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"
#include "core/XdgAutostart.h"
#include "gui/ui/PopupFixture.h"
#include "hotkey/HotkeyBackend.h"
#include "hotkey/HotkeyManager.h"
#include "platform/PlatformFactory.h"
#include "platform/SessionChoice.h"
#include "support/Desktop.h"
#include "support/TesselProcess.h"
#include "ui/preferences/KeyCapButton.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesView.h"
#include "ui/preferences/ShortcutsPage.h"

#include <QCheckBox>
#include <QFile>
#include <QTest>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::test::run;

namespace {
constexpr uint32_t kKeysymV = 0x76;
constexpr uint32_t kKeysymC = 0x63;

// Another X client trying to grab a key on the root window, as another hot-key program would.
bool otherClientCanGrab(uint32_t keysym, uint16_t modifiers)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    bool ok = codes && codes[0];
    if (ok) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        auto cookie = xcb_grab_key_checked(connection, 0, root, modifiers, codes[0],
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(connection, cookie);
        ok = !error;
        std::free(error);
    }
    std::free(codes);
    xcb_key_symbols_free(symbols);
    xcb_disconnect(connection); // lets go of the grab
    return ok;
}

} // namespace

// The preferences window on a real X desktop: a new shortcut recorded with real key presses
// opens the popup, lets go of the old chord, and survives a restart; launch at login writes and
// removes the autostart entry.
class TestPreferencesE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing = test::missingForDesktopTest({u"xdotool"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
    }

    void recordAShortcutAndLaunchAtLogin()
    {
        test::PopupFixture f;
        auto backend = PlatformFactory::create({})->createHotkeyBackend();
        const auto loginItems = PlatformFactory::create({})->createLoginItems();
        auto hotkeys = std::make_unique<HotkeyManager>(f.settings, *backend);
        auto app = std::make_unique<AppDelegate>(f.settings, f.language, f.manager,
                                                 f.windowController, *hotkeys, f.permissions,
                                                 f.paste, f.emojis, f.actions, *loginItems);
        app->applicationDidFinishLaunching();
        QVERIFY(hotkeys->isClipboardRegistered());

        app->openPreferences();
        auto* prefs = qobject_cast<PreferencesView*>(app->preferencesWindow());
        QVERIFY(QTest::qWaitForWindowExposed(prefs));
        QVERIFY(
            run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, QString::number(prefs->winId())}));
        prefs->selectTab(PreferencesView::shortcuts);
        KeyCapButton* button = prefs->shortcutsPage()->clipboardButton();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isRecording());

        // The old chord reaches the recorder instead of opening the popup.
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+v"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!button->isRecording(), 5000);
        QVERIFY(!f.windowController.isOpen());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+c"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!button->isRecording(), 5000);
        QCOMPARE(hotkeys->clipboardShortcut().text(), u"Super+Shift+C"_s);

        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"super+shift+c"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(f.windowController.isOpen(), 5000);
        f.windowController.close(false);
        QVERIFY(otherClientCanGrab(kKeysymV, XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT));
        QVERIFY(!otherClientCanGrab(kKeysymC, XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT));

        app->openPreferences();
        prefs->selectTab(PreferencesView::general);
        auto* launch = prefs->findChild<QCheckBox*>(u"launchAtLogin"_s);
        QVERIFY(!launch->isChecked());
        launch->click();
        QVERIFY(QFile::exists(XdgAutostart::userEntryPath()));
        QVERIFY(XdgAutostart::userEntryPath().startsWith(f.home.configHome()));
        launch->click();
        QVERIFY(!QFile::exists(XdgAutostart::userEntryPath()));

        app->applicationWillTerminate();
        app.reset();
        hotkeys.reset();
        backend.reset(); // as when the process ends: the X server drops its grabs

        // After a restart the recorded chord still opens the popup.
        test::TesselProcess tessel(f.home.path());
        QVERIFY(tessel.start());
        QVERIFY(test::openPopupWith(u"super+shift+c"_s, 6));
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"Escape"_s}));
        QCOMPARE(tessel.terminate(), 0);
    }
};

QTEST_MAIN(TestPreferencesE2E)
#include "test_preferences_e2e.moc"
