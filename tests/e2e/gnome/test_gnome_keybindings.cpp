// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "hotkey/DesktopShortcuts.h"
#include "hotkey/HotkeyManager.h"
#include "localization/LanguageManager.h"
#include "permissions/PermissionManager.h"
#include "platform/desktop/GnomeKeybindings.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "support/TesselProcess.h"
#include "ui/preferences/KeyCapButton.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesContext.h"
#include "ui/preferences/PreferencesView.h"
#include "ui/preferences/ShortcutsPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using test::commandOutput;

namespace {
const QString kList = u"org.gnome.settings-daemon.plugins.media-keys"_s;
const QString kEntry = u"org.gnome.settings-daemon.plugins.media-keys.custom-keybinding:"_s;
const QString kBase = u"/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/"_s;
const QString kUsersOwn = kBase + u"custom0/"_s;

QString gsettings(const QStringList& arguments)
{
    return commandOutput(u"gsettings"_s, arguments);
}

QString entry(const QString& id, const QString& key)
{
    return gsettings({u"get"_s, kEntry + kBase + u"tessel-"_s + id + u'/', key});
}

QStringList list()
{
    return desktop::GnomeKeybindings::parseList(
        gsettings({u"get"_s, kList, u"custom-keybindings"_s}));
}
} // namespace

// GNOME's custom keybindings, as the preferences keep them on a GNOME session (GSettings through
// dconf on the session's bus): written when the user agrees, read back with gsettings, changed by
// the recorder, removed when the user turns them off, and the user's own binding left alone.
class TestGnomeKeybindings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<LanguageManager> m_language;
    test::FakeHotkeyBackend m_backend;
    std::unique_ptr<HotkeyManager> m_hotkeys;
    std::unique_ptr<PermissionManager> m_permissions;
    test::FakeLoginItems m_loginItems;
    std::unique_ptr<desktop::GnomeKeybindings> m_keybindings;
    std::unique_ptr<DesktopShortcuts> m_desktop;
    QString m_before;

private Q_SLOTS:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("TESSEL_GNOME_SESSION"))
            QSKIP(
                "needs the headless GNOME session that scripts/test starts (start_gnome_desktop)");
        m_keybindings = std::make_unique<desktop::GnomeKeybindings>();
        QVERIFY2(m_keybindings->isOffered(), "gsettings or GNOME's media-keys schema is missing");
        m_before = gsettings({u"get"_s, kList, u"custom-keybindings"_s});
        // A binding of the user's own, which Tessel must keep.
        QVERIFY(test::run(u"gsettings"_s, {u"set"_s, kList, u"custom-keybindings"_s,
                                           u"['"_s + kUsersOwn + u"']"_s}));
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(u"settings.json"_s));
        m_language =
            std::make_unique<LanguageManager>(*m_settings, [] { return QStringList{u"en-US"_s}; });
        m_hotkeys = std::make_unique<HotkeyManager>(*m_settings, m_backend);
        m_hotkeys->start([](HotkeyManager::Action) {});
        m_permissions = std::make_unique<PermissionManager>([] { return true; },
                                                            [](const QUrl&) { return true; });
        m_desktop = std::make_unique<DesktopShortcuts>(*m_settings, *m_hotkeys, m_keybindings.get(),
                                                       u"/opt/tessel/tessel"_s);
    }

    void cleanupTestCase()
    {
        if (!m_before.isEmpty())
            test::run(u"gsettings"_s, {u"set"_s, kList, u"custom-keybindings"_s, m_before});
    }

    void preferencesKeepTheShortcutsInGnome()
    {
        PreferencesView view(PreferencesContext{*m_settings, *m_language, *m_hotkeys,
                                                *m_permissions, m_loginItems, [] {},
                                                m_desktop.get()});
        view.show();
        view.selectTab(PreferencesView::shortcuts);
        ShortcutsPage* page = view.shortcutsPage();
        QVERIFY(page->desktopToggle());
        QCheckBox* agree = page->desktopToggle()->checkBox();
        QVERIFY(!agree->isChecked());
        QVERIFY(list() == QStringList{kUsersOwn});

        // The user agrees: both bindings are written, after the user's own.
        agree->click();
        QTRY_COMPARE_WITH_TIMEOUT(
            list(),
            (QStringList{kUsersOwn, kBase + u"tessel-toggle/"_s, kBase + u"tessel-emoji/"_s}),
            10000);
        QCOMPARE(entry(u"toggle"_s, u"binding"_s), u"'<Super><Shift>v'"_s);
        QCOMPARE(entry(u"toggle"_s, u"command"_s), u"'/opt/tessel/tessel --toggle'"_s);
        QCOMPARE(entry(u"emoji"_s, u"binding"_s), u"'<Super><Shift>period'"_s);
        QCOMPARE(entry(u"emoji"_s, u"command"_s), u"'/opt/tessel/tessel --emoji'"_s);
        QVERIFY(m_settings->value(settings::desktopKeybindings));

        // The recorder changes the history's shortcut: GNOME's binding follows.
        QTest::mouseClick(page->clipboardButton(), Qt::LeftButton);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, 0, 0x6b,
                        0);
        QCoreApplication::sendEvent(page->clipboardButton(), &press);
        QTRY_COMPARE_WITH_TIMEOUT(entry(u"toggle"_s, u"binding"_s), u"'<Control><Alt>k'"_s, 10000);
        QCOMPARE(entry(u"emoji"_s, u"binding"_s), u"'<Super><Shift>period'"_s);

        // Turned off: Tessel's bindings leave the list and their values are reset; the user's own
        // stays.
        agree->click();
        QTRY_COMPARE_WITH_TIMEOUT(list(), QStringList{kUsersOwn}, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(entry(u"toggle"_s, u"binding"_s), u"''"_s, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(entry(u"emoji"_s, u"command"_s), u"''"_s, 10000);
        QVERIFY(!m_settings->value(settings::desktopKeybindings));
        QVERIFY(m_desktop->lastError().isEmpty());
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TestGnomeKeybindings test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_gnome_keybindings.moc"
