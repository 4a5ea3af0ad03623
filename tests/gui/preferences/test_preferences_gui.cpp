// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"
#include "clipboard/IgnoredApplications.h"
#include "gui/ui/PopupFixture.h"
#include "hotkey/HotkeyManager.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "ui/popup/ContentView.h"
#include "ui/preferences/AboutView.h"
#include "ui/preferences/IgnoredApplicationsCard.h"
#include "ui/preferences/KeyCapButton.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesView.h"
#include "ui/preferences/ShortcutRecorder.h"
#include "ui/preferences/ShortcutsPage.h"
#include "ui/style/Theme.h"
#include "window/PopupWindow.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
namespace {
constexpr quint32 kKeysymA = 0x61;
constexpr quint32 kKeysymC = 0x63;
constexpr quint32 kKeysymV = 0x76;
constexpr quint32 kKeysymSpace = 0x20;
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
    using Fixture = test::PreferencesFixture;
    std::unique_ptr<Fixture> f;

    std::unique_ptr<PreferencesView> makeView()
    {
        auto view = std::make_unique<PreferencesView>(f->preferencesContext());
        view->resize(520, 500);
        view->show();
        return view;
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<Fixture>();
        f->hotkeys.start([](HotkeyManager::Action) {});
    }
    void cleanup() { f.reset(); }

    void togglesWriteTheirKeysAndTheConsumersFollow()
    {
        auto view = makeView();
        auto* autoPaste = view->findChild<QCheckBox*>(settings::pasteOnSelect.name);
        auto* sounds = view->findChild<QCheckBox*>(settings::playSoundEffects.name);
        auto* confirm = view->findChild<QCheckBox*>(settings::confirmClear.name);
        auto* passwords = view->findChild<QCheckBox*>(settings::ignorePasswordManagers.name);
        // Absent keys show on, as every reader applies them.
        QVERIFY(autoPaste->isChecked() && sounds->isChecked() && confirm->isChecked() &&
                passwords->isChecked());

        autoPaste->click();
        QVERIFY(!f->paste.shouldAutoPaste());
        sounds->click();
        f->paste.paste();
        QCOMPARE(f->sound.pops, 0);
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

    void ignoredApplicationsArePickedOrTypedAndKeptOutOfTheHistory()
    {
        f->runningApplications = {u"gedit.Gedit"_s, u"org.gnome.Calculator"_s};
        auto view = makeView();
        auto* card = view->findChild<IgnoredApplicationsCard*>();
        QVERIFY(card);
        QComboBox* field = card->field();
        QVERIFY(!card->list()->isVisibleTo(card));
        QVERIFY(!field->accessibleName().isEmpty() && !card->list()->accessibleName().isEmpty());

        // The open windows are offered when the field's list opens; picking one adds it.
        field->showPopup();
        QCOMPARE(field->count(), 2);
        field->hidePopup();
        field->setCurrentIndex(field->findText(u"gedit.Gedit"_s));
        QTest::mouseClick(card->addButton(), Qt::LeftButton);
        QCOMPARE(IgnoredApplications::list(f->settings), QStringList{u"gedit.Gedit"_s});
        QVERIFY(card->list()->isVisibleTo(card));
        // A typed identifier goes in with Return.
        QTest::keyClicks(field->lineEdit(), u"org.example.Vault"_s);
        QTest::keyClick(field->lineEdit(), Qt::Key_Return);
        QCOMPARE(card->list()->count(), 2);
        field->showPopup();
        QCOMPARE(field->count(), 1); // what is listed is not offered again
        field->hidePopup();

        f->workspace.appId = u"gedit.Gedit"_s;
        f->copy(u"from gedit"_s);
        QVERIFY(f->manager.entries().isEmpty());

        // Removing it (chosen in the list, then Delete) records its copies again.
        card->list()->setFocus();
        card->list()->setCurrentRow(0);
        QTest::keyClick(card->list(), Qt::Key_Delete);
        QCOMPARE(IgnoredApplications::list(f->settings), QStringList{u"org.example.Vault"_s});
        f->copy(u"from gedit again"_s);
        QCOMPARE(f->manager.entries().size(), 1);
        card->list()->setCurrentRow(0);
        QTest::mouseClick(card->removeButton(), Qt::LeftButton);
        QVERIFY(IgnoredApplications::list(f->settings).isEmpty());
        QVERIFY(!card->list()->isVisibleTo(card));
    }

    void historyPickerShowsTheLimitInForceAndTrimsAtOnce()
    {
        AppDelegate app(f->settings, f->language, f->manager, f->windowController, f->hotkeys,
                        f->permissions, f->paste, f->emojis, f->actions, f->loginItems);
        for (int i = 0; i < 30; ++i)
            f->copy(u"entry %1"_s.arg(i));
        app.openPreferences();
        auto* picker =
            app.preferencesWindow()->findChild<QComboBox*>(settings::maxHistoryItems.name);
        QCOMPARE(picker->currentText(), u"50 items"_s);
        QCOMPARE(picker->itemText(0), u"10 items"_s);

        picker->setCurrentIndex(0);
        Q_EMIT picker->activated(0);
        QCOMPARE(f->settings.intValue(settings::maxHistoryItems.name), std::optional<qint64>(10));
        QCOMPARE(f->manager.entries().size(), 10);

        // A hand-written limit is shown as it is, not as one of the choices.
        f->settings.set(settings::maxHistoryItems, qint64(30));
        QCOMPARE(picker->currentText(), u"30 items"_s);
        f->language.setCurrentLanguageRaw(u"pt"_s);
        QCOMPARE(picker->currentText(), u"30 itens"_s);
        app.applicationWillTerminate();
    }

    void launchAtLoginWritesTheEntryAndShowsFailures()
    {
        f->loginItems.enabled = true;
        auto view = makeView();
        auto* toggle = view->findChild<QCheckBox*>("launchAtLogin"_L1);
        auto* error = view->findChild<QLabel*>("launchAtLoginError"_L1);
        QVERIFY(toggle->isChecked());
        toggle->click();
        QVERIFY(!f->loginItems.enabled && error->isHidden());

        f->loginItems.refuse = true;
        toggle->click();
        QVERIFY(toggle->isChecked() && !error->isHidden()); // the user's choice stays
        QCOMPARE(error->text(), u"Could not change the launch at login setting."_s);
        f->loginItems.refuse = false;
        toggle->click();
        QVERIFY(error->isHidden());
    }

    void recordingErrorsFollowTheRules()
    {
        auto view = makeView();
        view->selectTab(PreferencesView::shortcuts);
        ShortcutsPage* page = view->shortcutsPage();
        KeyCapButton* emoji = page->emojiButton();
        const auto error = [&] { // an error keeps recording
            if (!emoji->isRecording())
                return u"<not recording>"_s;
            return page->errorLabel()->isHidden() ? QString() : page->errorLabel()->text();
        };

        // A screen reader names the key cap by its row and hears what it holds, that it records,
        // and each error, as its description.
        QAccessibleInterface* cap = QAccessible::queryAccessibleInterface(emoji);
        const auto said = [cap] { return cap->text(QAccessible::Description); };
        QCOMPARE(cap->text(QAccessible::Name), f->language.string("shortcut_emoji"));
        QCOMPARE(said(), emoji->keys().join(u'+'));

        QTest::mouseClick(emoji, Qt::LeftButton);
        QVERIFY(emoji->isRecording());
        QCOMPARE(said(), f->language.string("press_keys_prompt"));
        // Our own grabs are let go, so the current chords reach the recorder.
        QVERIFY(f->backend.active.isEmpty());

        // A modifier alone, as each arrives while the user builds the chord, is no shortcut yet.
        const std::pair<Qt::Key, Qt::KeyboardModifiers> modifierKeys[] = {
            {Qt::Key_Shift, Qt::ShiftModifier},
            {Qt::Key_Control, Qt::ControlModifier},
            {Qt::Key_Alt, Qt::AltModifier},
            {Qt::Key_Meta, Qt::MetaModifier},
            {Qt::Key_Super_L, Qt::MetaModifier}};
        for (const auto& [key, modifier] : modifierKeys) {
            press(emoji, key, modifier);
            QCOMPARE(error(), QString());
        }
        press(emoji, Qt::Key_A, Qt::NoModifier, kKeysymA);
        QCOMPARE(error(), f->language.string("shortcut_min_error"));
        QCOMPARE(said(), error());

        // Another program holds Super+Shift+C: the shortcut is kept but reported taken.
        f->backend.taken.insert({kKeysymC, ShortcutModifier::command | ShortcutModifier::shift});
        press(emoji, Qt::Key_C, kSuperShift, kKeysymC);
        QCOMPARE(error(), f->language.string("shortcut_taken_error"));
        QCOMPARE(emoji->keys(), (QStringList{u"Super"_s, u"Shift"_s, u"C"_s}));
        QVERIFY(f->backend.active.isEmpty());

        press(emoji, Qt::Key_Escape, Qt::NoModifier);
        QVERIFY(!emoji->isRecording());
        QVERIFY(page->errorLabel()->isHidden());
        QCOMPARE(said(), emoji->keys().join(u'+'));
        QCOMPARE(f->hotkeys.emojiShortcut().keyCode, 8u);
        // Recording is over: the clipboard shortcut is grabbed again, the refused one is not.
        QCOMPARE(f->backend.active.keys(), QList<int>{HotkeyManager::clipboardId});
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
        QVERIFY(clipboard->isRecording() && !emoji->isRecording());
        QVERIFY(page->errorLabel()->isHidden());

        // Recording the current chord of the clipboard is a success: its own grab was let go.
        press(clipboard, Qt::Key_V, Qt::ControlModifier | Qt::AltModifier, kKeysymV);
        QVERIFY(!clipboard->isRecording());
        QCOMPARE(clipboard->keys(), (QStringList{u"Ctrl"_s, u"Alt"_s, u"V"_s}));
        QCOMPARE(f->backend.active.value(HotkeyManager::clipboardId).modifiers,
                 ShortcutModifier::control | ShortcutModifier::option);
        QCOMPARE(f->backend.active.size(), 2);

        QTest::mouseClick(emoji, Qt::LeftButton);
        QTest::mouseClick(view->findChild<QPushButton*>(u"resetShortcuts"_s), Qt::LeftButton);
        QVERIFY(!emoji->isRecording());
        QCOMPARE(f->hotkeys.clipboardShortcut(), SavedShortcut::defaultClipboard());
        QCOMPARE(f->backend.active.size(), 2);

        // Key names are in the interface language; a key's own character stays as it is.
        f->language.setCurrentLanguageRaw(u"es"_s);
        QCOMPARE(clipboard->keys(), (QStringList{u"Super"_s, u"Mayús"_s, u"V"_s}));
        QTest::mouseClick(clipboard, Qt::LeftButton);
        press(clipboard, Qt::Key_Space, Qt::ControlModifier, kKeysymSpace);
        QCOMPARE(clipboard->keys(), (QStringList{u"Ctrl"_s, u"Espacio"_s}));
        QTest::mouseClick(view->findChild<QPushButton*>(u"resetShortcuts"_s), Qt::LeftButton);
        f->language.setCurrentLanguageRaw(u"en"_s);

        // Closing the window ends recording; keys typed later are not taken.
        QTest::mouseClick(emoji, Qt::LeftButton);
        QVERIFY(view->recorder().isRecording());
        view->close();
        QVERIFY(!view->recorder().isRecording() && !emoji->isRecording());
        QVERIFY(!f->hotkeys.isSuspended());
        press(emoji, Qt::Key_C, kSuperShift, kKeysymC);
        QCOMPARE(f->hotkeys.emojiShortcut(), SavedShortcut::defaultEmoji());
    }

    void permissionCardFollowsTheStateLive()
    {
        f->trusted = false;
        f->permissions.checkPermission();
        QTRY_VERIFY(!f->permissions.isAccessibilityGranted());
        auto view = makeView();
        view->selectTab(PreferencesView::privacy);
        QVERIFY(showsText(*view, f->language.string("access_denied")));
        auto* open = view->findChild<QPushButton*>(u"openAccessSettings"_s);
        QVERIFY(open->isVisibleTo(view.get()));
        open->click();
        QVERIFY(f->permissions.isMonitoring());

        f->trusted = true;
        f->permissions.checkPermission();
        QTRY_VERIFY(showsText(*view, f->language.string("access_granted")));
        QVERIFY(!open->isVisibleTo(view.get()));
    }

    void languageAndThemeReachEveryWindowAndTheTrayMenu()
    {
        AppDelegate app(f->settings, f->language, f->manager, f->windowController, f->hotkeys,
                        f->permissions, f->paste, f->emojis, f->actions, f->loginItems);
        app.applicationDidFinishLaunching();
        app.openPreferences();
        auto* prefs = qobject_cast<PreferencesView*>(app.preferencesWindow());
        prefs->findChild<QPushButton*>(u"aboutButton"_s)->click();
        QWidget* about = app.aboutWindow();
        QVERIFY(about->isVisible());
        app.openPreferences();
        f->windowController.open(PopupTab::clipboard,
                                 new ContentView(f->context(), PopupTab::clipboard));

        auto* language = prefs->findChild<QComboBox*>(settings::appLanguage.name);
        const int portuguese = language->findData(u"pt"_s);
        language->setCurrentIndex(portuguese);
        Q_EMIT language->activated(portuguese);
        QCOMPARE(f->settings.textValue(settings::appLanguage.name), std::optional(u"pt"_s));
        QCOMPARE(prefs->tabButtons().first()->text(), f->language.string("tab_general"));
        QCOMPARE(about->windowTitle(), u"Sobre o Tessel"_s);
        QCOMPARE(prefs->windowTitle(), u"Configurações do Tessel"_s);
        QTRY_COMPARE(app.statusMenu()->actions().first()->text(),
                     f->language.string("menu_open_clipboard"));
        QVERIFY(showsText(*f->windowController.window()->content(),
                          f->language.string("header_title")));

        auto* theme = prefs->findChild<QComboBox*>(settings::themeMode.name);
        for (const QString& mode : {u"dark"_s, u"light"_s}) {
            const int index = theme->findData(mode);
            theme->setCurrentIndex(index);
            Q_EMIT theme->activated(index);
            const bool dark = mode == "dark"_L1;
            QCOMPARE(Theme::isDark(prefs->palette()), dark);
            QCOMPARE(Theme::isDark(about->palette()), dark);
            QCOMPARE(Theme::isDark(f->windowController.window()->content()->palette()), dark);
        }
        f->windowController.close(false);
        app.applicationWillTerminate();
    }

    void aboutShowsThisVersionAndItsLinks()
    {
        QCOMPARE(AboutView::appVersionString(f->language, u"2.3"_s, u"45"_s),
                 u"Version 2.3 (Build 45)"_s);
        QList<QUrl> opened;
        AboutView view(f->language, f->settings, [&](const QUrl& url) {
            opened.append(url);
            return true;
        });
        auto* line = view.findChild<QLabel*>(u"versionLine"_s);
        QVERIFY(line->text().startsWith(u"Version "_s + QStringLiteral(TESSEL_VERSION)));
        f->language.setCurrentLanguageRaw(u"es"_s);
        QVERIFY(line->text().startsWith(u"Versión "_s));

        QTest::mouseClick(view.websiteLink(), Qt::LeftButton);
        QTest::mouseClick(view.supportLink(), Qt::LeftButton);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0], AboutView::websiteUrl());
        QCOMPARE(opened[1].scheme(), u"mailto"_s);
        QCOMPARE(opened[1].query(QUrl::FullyEncoded), u"subject=Feedback%20Tessel"_s);
    }
};

QTEST_MAIN(TestPreferencesGui)
#include "test_preferences_gui.moc"
