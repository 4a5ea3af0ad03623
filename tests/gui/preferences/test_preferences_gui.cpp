#include "app/AppDelegate.h"
#include "gui/ui/PopupFixture.h"
#include "hotkey/HotkeyManager.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "ui/popup/ContentView.h"
#include "ui/preferences/KeyCapButton.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesView.h"
#include "ui/preferences/ShortcutRecorder.h"
#include "ui/preferences/ShortcutsPage.h"
#include "ui/style/Theme.h"
#include "window/PopupWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using Target = ShortcutRecorder::Target;

namespace {
constexpr quint32 kKeysymA = 0x61;
constexpr quint32 kKeysymC = 0x63;
constexpr quint32 kKeysymV = 0x76;
constexpr quint32 kKeysymPeriod = 0x2e;
constexpr Qt::KeyboardModifiers kSuperShift = Qt::MetaModifier | Qt::ShiftModifier;

// A key press as the X11 platform delivers it: the Qt key with the keysym it came from.
void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers, quint32 keysym = 0)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, 0, keysym, 0);
    QCoreApplication::sendEvent(target, &event);
}

bool showsText(const QWidget& root, const QString& text)
{
    for (const QLabel* label : root.findChildren<QLabel*>()) {
        if (label->text() == text && label->isVisibleTo(&root))
            return true;
    }
    return false;
}
} // namespace

class TestPreferencesGui : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::PopupFixture> f;
    std::unique_ptr<test::FakeHotkeyBackend> backend;
    std::unique_ptr<HotkeyManager> hotkeys;
    test::FakeLoginItems loginItems;
    bool aboutRequested = false;

    std::unique_ptr<PreferencesView> makeView()
    {
        auto view = std::make_unique<PreferencesView>(
            PreferencesContext{f->settings, f->language, *hotkeys, f->permissions, loginItems,
                               [this] { aboutRequested = true; }});
        view->resize(520, 500);
        view->show();
        return view;
    }

    template <typename T> T* control(const QWidget& view, QLatin1StringView name)
    {
        return view.findChild<T*>(name);
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<test::PopupFixture>();
        backend = std::make_unique<test::FakeHotkeyBackend>();
        hotkeys = std::make_unique<HotkeyManager>(f->settings, *backend);
        hotkeys->start([](HotkeyManager::Action) {});
        loginItems = {};
        aboutRequested = false;
    }
    void cleanup()
    {
        hotkeys.reset();
        backend.reset();
        f.reset();
    }

    void togglesWriteTheirKeysAndTheConsumersFollow()
    {
        auto view = makeView();
        auto* autoPaste = control<QCheckBox>(*view, settings::pasteOnSelect.name);
        auto* sounds = control<QCheckBox>(*view, settings::playSoundEffects.name);
        auto* confirm = control<QCheckBox>(*view, settings::confirmClear.name);
        auto* passwords = control<QCheckBox>(*view, settings::ignorePasswordManagers.name);
        QVERIFY(autoPaste && sounds && confirm && passwords);
        // Absent keys show on, as every reader applies them.
        QVERIFY(autoPaste->isChecked() && sounds->isChecked() && confirm->isChecked());
        QVERIFY(passwords->isChecked());

        autoPaste->click();
        QCOMPARE(f->settings.boolValue(settings::pasteOnSelect.name), std::optional(false));
        QVERIFY(!f->paste.shouldAutoPaste());
        sounds->click();
        f->paste.paste();
        QCOMPARE(f->sound.pops, 0);
        sounds->click();
        f->paste.paste();
        QCOMPARE(f->sound.pops, 1);
        confirm->click();
        QCOMPARE(f->settings.boolValue(settings::confirmClear.name), std::optional(false));

        // A copy from a password manager is kept once the filter is off.
        f->workspace.appId = u"keepassxc"_s;
        f->copy(u"hunter2"_s);
        QVERIFY(f->manager.entries().isEmpty());
        passwords->click();
        f->copy(u"hunter3"_s);
        QCOMPARE(f->manager.entries().size(), 1);

        // A change made elsewhere moves the box.
        f->settings.set(settings::pasteOnSelect, true);
        QVERIFY(autoPaste->isChecked());
    }

    void historyPickerShowsTheLimitInForceAndTrimsAtOnce()
    {
        test::FakeLoginItems items;
        AppDelegate app(f->settings, f->language, f->manager, f->windowController, *hotkeys,
                        f->permissions, f->paste, f->emojis, f->actions, items);
        for (int i = 0; i < 30; ++i)
            f->copy(u"entry %1"_s.arg(i));
        QCOMPARE(f->manager.entries().size(), 30);

        app.openPreferences();
        auto* picker = control<QComboBox>(*app.preferencesWindow(), settings::maxHistoryItems.name);
        QVERIFY(picker);
        QCOMPARE(picker->count(), 7);
        QCOMPARE(picker->currentText(), u"50 items"_s);
        QCOMPARE(picker->itemText(0), u"10 items"_s);
        QCOMPARE(picker->itemText(6), u"10000 items"_s);

        picker->setCurrentIndex(0);
        Q_EMIT picker->activated(0);
        QCOMPARE(f->settings.intValue(settings::maxHistoryItems.name), std::optional<qint64>(10));
        QCOMPARE(f->manager.entries().size(), 10);

        // A hand-written limit is shown as it is, not as one of the choices.
        f->settings.set(settings::maxHistoryItems, qint64(30));
        QCOMPARE(picker->currentText(), u"30 items"_s);
        QCOMPARE(picker->count(), 8);
        f->language.setCurrentLanguageRaw(u"pt"_s);
        QCOMPARE(picker->currentText(), u"30 itens"_s);
        app.applicationWillTerminate();
    }

    void launchAtLoginWritesTheEntryAndShowsFailures()
    {
        loginItems.enabled = true;
        auto view = makeView();
        auto* toggle = control<QCheckBox>(*view, "launchAtLogin"_L1);
        auto* error = control<QLabel>(*view, "launchAtLoginError"_L1);
        QVERIFY(toggle->isChecked());
        toggle->click();
        QVERIFY(!loginItems.enabled);
        QVERIFY(error->isHidden());

        loginItems.refuse = true;
        toggle->click();
        QVERIFY(toggle->isChecked()); // the user's choice stays
        QVERIFY(!error->isHidden());
        QCOMPARE(error->text(), u"Could not change the launch at login setting."_s);
        loginItems.refuse = false;
        toggle->click();
        QVERIFY(error->isHidden());
    }

    void recordingErrorsFollowTheRules()
    {
        auto view = makeView();
        view->selectTab(PreferencesView::shortcuts);
        ShortcutsPage* page = view->shortcutsPage();
        KeyCapButton* clipboard = page->clipboardButton();
        KeyCapButton* emoji = page->emojiButton();
        QCOMPARE(clipboard->keys(), (QStringList{u"Super"_s, u"Shift"_s, u"V"_s}));

        QTest::mouseClick(emoji, Qt::LeftButton);
        QVERIFY(emoji->isRecording());
        // Our own grabs are let go, so the current chords reach the recorder.
        QVERIFY(backend->active.isEmpty());

        press(emoji, Qt::Key_Shift, Qt::ShiftModifier);
        QVERIFY(page->errorLabel()->isHidden());
        press(emoji, Qt::Key_A, Qt::NoModifier, kKeysymA);
        QCOMPARE(page->errorLabel()->text(), f->language.string(u"shortcut_min_error"_s));
        QVERIFY(emoji->isRecording());

        press(emoji, Qt::Key_V, kSuperShift, kKeysymV);
        QCOMPARE(page->errorLabel()->text(), f->language.string(u"shortcut_duplicate_error"_s));
        QCOMPARE(hotkeys->emojiShortcut(), SavedShortcut::defaultEmoji());
        QVERIFY(emoji->isRecording());

        // Another program holds Super+Shift+C: the shortcut is kept but reported taken.
        backend->taken.insert({kKeysymC, ShortcutModifier::command | ShortcutModifier::shift});
        press(emoji, Qt::Key_C, kSuperShift, kKeysymC);
        QCOMPARE(page->errorLabel()->text(), f->language.string(u"shortcut_taken_error"_s));
        QCOMPARE(hotkeys->emojiShortcut().keyCode, 8u);
        QCOMPARE(emoji->keys(), (QStringList{u"Super"_s, u"Shift"_s, u"C"_s}));
        QVERIFY(emoji->isRecording());
        QVERIFY(backend->active.isEmpty());

        press(emoji, Qt::Key_Escape, Qt::NoModifier);
        QVERIFY(!emoji->isRecording());
        QVERIFY(page->errorLabel()->isHidden());
        QCOMPARE(hotkeys->emojiShortcut().keyCode, 8u);
        const auto stored = SavedShortcut::fromJson(
            f->settings.dataValue(settings::savedEmojiShortcut.name).value_or(QByteArray()));
        QCOMPARE(stored, hotkeys->emojiShortcut());
        // Recording is over: the clipboard shortcut is grabbed again, the refused one is not.
        QCOMPARE(backend->active.keys(), QList<int>{HotkeyManager::clipboardId});
    }

    void recordingSucceedsSwitchesRowsAndResets()
    {
        auto view = makeView();
        view->selectTab(PreferencesView::shortcuts);
        ShortcutsPage* page = view->shortcutsPage();
        KeyCapButton* clipboard = page->clipboardButton();
        KeyCapButton* emoji = page->emojiButton();

        QTest::mouseClick(emoji, Qt::LeftButton);
        press(emoji, Qt::Key_A, Qt::NoModifier, kKeysymA);
        QVERIFY(!page->errorLabel()->isHidden());
        QTest::mouseClick(clipboard, Qt::LeftButton);
        QVERIFY(clipboard->isRecording());
        QVERIFY(!emoji->isRecording());
        QVERIFY(page->errorLabel()->isHidden());

        // Recording the current chord of the clipboard is a success: its own grab was let go.
        press(clipboard, Qt::Key_V, Qt::ControlModifier | Qt::AltModifier, kKeysymV);
        QVERIFY(!clipboard->isRecording());
        QCOMPARE(clipboard->keys(), (QStringList{u"Ctrl"_s, u"Alt"_s, u"V"_s}));
        QCOMPARE(backend->active.value(HotkeyManager::clipboardId).modifiers,
                 ShortcutModifier::control | ShortcutModifier::option);
        QCOMPARE(backend->active.size(), 2);

        QTest::mouseClick(emoji, Qt::LeftButton);
        QTest::mouseClick(view->findChild<QPushButton*>(u"resetShortcuts"_s), Qt::LeftButton);
        QVERIFY(!emoji->isRecording());
        QCOMPARE(hotkeys->clipboardShortcut(), SavedShortcut::defaultClipboard());
        QCOMPARE(hotkeys->emojiShortcut(), SavedShortcut::defaultEmoji());
        QCOMPARE(backend->active.size(), 2);

        // Closing the window ends recording; keys typed later are not taken.
        QTest::mouseClick(emoji, Qt::LeftButton);
        QVERIFY(view->recorder().isRecording());
        view->close();
        QVERIFY(!view->recorder().isRecording());
        QVERIFY(!emoji->isRecording());
        QVERIFY(!hotkeys->isSuspended());
        press(emoji, Qt::Key_C, kSuperShift, kKeysymC);
        QCOMPARE(hotkeys->emojiShortcut(), SavedShortcut::defaultEmoji());
    }

    void permissionCardFollowsTheStateLive()
    {
        f->trusted = false;
        f->permissions.checkPermission();
        QTRY_VERIFY(!f->permissions.isAccessibilityGranted());
        auto view = makeView();
        view->selectTab(PreferencesView::privacy);
        QVERIFY(showsText(*view, f->language.string(u"access_denied"_s)));
        QVERIFY(showsText(*view, f->language.string(u"acc_step_1"_s)));
        auto* open = view->findChild<QPushButton*>(u"openAccessSettings"_s);
        QVERIFY(open && open->isVisibleTo(view.get()));
        open->click();
        QVERIFY(f->permissions.isMonitoring());

        f->trusted = true;
        f->permissions.checkPermission();
        QTRY_VERIFY(showsText(*view, f->language.string(u"access_granted"_s)));
        QVERIFY(!open->isVisibleTo(view.get()));
        QVERIFY(showsText(*view, u"All operating system permissions are verified."_s));
        f->language.setCurrentLanguageRaw(u"es"_s);
        QVERIFY(showsText(*view, u"Todos los permisos del sistema operativo están verificados."_s));
    }

    void languageAndThemeReachEveryWindowAndTheTrayMenu()
    {
        test::FakeLoginItems items;
        AppDelegate app(f->settings, f->language, f->manager, f->windowController, *hotkeys,
                        f->permissions, f->paste, f->emojis, f->actions, items);
        app.applicationDidFinishLaunching();
        app.openPreferences();
        auto* prefs = qobject_cast<PreferencesView*>(app.preferencesWindow());
        QVERIFY(prefs);
        prefs->findChild<QPushButton*>(u"aboutButton"_s)->click();
        QWidget* about = app.aboutWindow();
        QVERIFY(about && about->isVisible());
        app.openPreferences();
        f->windowController.open(PopupTab::clipboard,
                                 new ContentView(f->context(), PopupTab::clipboard));

        auto* language = control<QComboBox>(*prefs, settings::appLanguage.name);
        const int portuguese = language->findData(u"pt"_s);
        language->setCurrentIndex(portuguese);
        Q_EMIT language->activated(portuguese);
        QCOMPARE(f->settings.textValue(settings::appLanguage.name), std::optional(u"pt"_s));
        QCOMPARE(prefs->windowTitle(), u"Configurações do Tessel"_s);
        QCOMPARE(prefs->tabButtons().first()->text(), f->language.string(u"tab_general"_s));
        QCOMPARE(about->windowTitle(), f->language.string(u"about_tessel"_s));
        QTRY_COMPARE(app.statusMenu()->actions().first()->text(),
                     f->language.string(u"menu_open_clipboard"_s));
        QVERIFY(showsText(*f->windowController.window()->content(),
                          f->language.string(u"header_title"_s)));

        auto* theme = control<QComboBox>(*prefs, settings::themeMode.name);
        for (const QString& mode : {u"dark"_s, u"light"_s}) {
            const int index = theme->findData(mode);
            theme->setCurrentIndex(index);
            Q_EMIT theme->activated(index);
            QCOMPARE(f->settings.textValue(settings::themeMode.name), std::optional(mode));
            const bool dark = mode == "dark"_L1;
            QCOMPARE(Theme::isDark(prefs->palette()), dark);
            QCOMPARE(Theme::isDark(about->palette()), dark);
            QCOMPARE(Theme::isDark(f->windowController.window()->content()->palette()), dark);
        }
        f->windowController.close(false);
        app.applicationWillTerminate();
    }

    void aboutButtonAndTabs()
    {
        auto view = makeView();
        QCOMPARE(view->selectedTab(), int(PreferencesView::general));
        QTest::mouseClick(view->tabButtons().at(PreferencesView::appearance), Qt::LeftButton);
        QCOMPARE(view->selectedTab(), int(PreferencesView::appearance));
        QVERIFY(view->tabButtons().at(PreferencesView::appearance)->isChecked());
        QVERIFY(!view->tabButtons().at(PreferencesView::general)->isChecked());
        view->findChild<QPushButton*>(u"aboutButton"_s)->click();
        QVERIFY(aboutRequested);
    }
};

QTEST_MAIN(TestPreferencesGui)
#include "test_preferences_gui.moc"
