// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "paste/PasteSimulator.h"
#include "paste/SoundPlayer.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeySynthesizer.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11Workspace.h"
#include "platform/x11/XcbReply.h"
#include "support/Desktop.h"
#include "support/FakePasteServices.h"
#include "support/TesselProcess.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::test::run;

namespace {
// Every keysym of the core keyboard mapping, keycode by keycode.
QList<uint32_t> keyboardMapping()
{
    const x11::X11Keymap keymap(x11::X11Connection::connection());
    QList<uint32_t> keysyms;
    for (int keycode = keymap.minKeycode(); keycode <= keymap.maxKeycode(); ++keycode) {
        for (int column = 0; column < 8; ++column)
            keysyms.append(keymap.keysym(uint8_t(keycode), column));
    }
    return keysyms;
}

constexpr uint32_t kKeysymNextGroup = 0xfe08;

// Presses and releases the key of `keysym` through XTEST (xdotool would switch the layout back
// after a layout switch of its own).
bool tapKey(uint32_t keysym)
{
    auto* c = x11::X11Connection::connection();
    const uint8_t keycode = x11::X11Keymap(c).keycodesFor(keysym).value(0, 0);
    for (const uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE})
        xcb_test_fake_input(c, type, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(c);
    return keycode != 0;
}

// The active keyboard group (0 is the first layout): XKB reports it in bits 13-14 of the core
// state.
int activeGroup()
{
    auto* c = x11::X11Connection::connection();
    const auto cookie = xcb_query_pointer(c, x11::X11Connection::rootWindow());
    const x11::XcbReply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(c, cookie, nullptr));
    return pointer ? (pointer->mask >> 13) & 0x3 : -1;
}
} // namespace

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
        run(u"setxkbmap"_s, {u"-layout"_s, u"us"_s, u"-option"_s, QString()});
        m_target.reset();
    }

    void pastesIntoTheFocusedTextField_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("holdSuperShift");
        QTest::newRow("us") << u"us"_s << 0 << false;
        QTest::newRow("us, Super and Shift still held") << u"us"_s << 0 << true;
        QTest::newRow("dvorak, Super and Shift still held") << u"dvorak"_s << 0 << true;
        // V is on another key in the second layout than in the first.
        QTest::newRow("us and dvorak, the second active") << u"us,dvorak"_s << 1 << false;
        // "v" is typed on a key borrowed for the paste, and the key is given back.
        QTest::newRow("russian: no key types v") << u"ru"_s << 0 << false;
    }
    void pastesIntoTheFocusedTextField()
    {
        QFETCH(QString, layout);
        QFETCH(int, group);
        QFETCH(bool, holdSuperShift);
        startTarget();
        x11::X11Workspace workspace;
        QTRY_VERIFY(workspace.frontmostApplicationId().contains("zenity"_L1, Qt::CaseInsensitive));
        // The Menu key switches layouts: pressed as the user would.
        QVERIFY(run(u"setxkbmap"_s, {u"-layout"_s, layout, u"-option"_s, u"grp:menu_toggle"_s}));
        for (int switches = 0; switches < group; ++switches)
            QVERIFY(tapKey(kKeysymNextGroup));
        QTRY_COMPARE(activeGroup(), group);
        const QList<uint32_t> mapping = keyboardMapping();

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
        QTRY_COMPARE(keyboardMapping(), mapping);

        run(u"setxkbmap"_s, {u"-layout"_s, u"us"_s, u"-option"_s, QString()});
        QCOMPARE(m_target->confirm(), text);
    }
};

QTEST_MAIN(TestX11Paste)
#include "test_x11_paste.moc"
