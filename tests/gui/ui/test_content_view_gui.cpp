// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopupFixture.h"
#include "app/AppDelegate.h"
#include "clipboard/ClipboardStore.h"
#include "hotkey/HotkeyManager.h"
#include "permissions/PlatformNotice.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "support/FullDisk.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/ContentView.h"
#include "ui/popup/PermissionOnboardingView.h"
#include "ui/popup/TabButton.h"
#include "ui/style/Theme.h"
#include "ui/widgets/SearchBar.h"
#include "window/PopupWindow.h"

#include <QBuffer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
TabButton* tabButton(const ContentView& view, PopupTab tab)
{
    for (TabButton* button : view.tabButtons()) {
        if (button->tab() == tab)
            return button;
    }
    return nullptr;
}

// The label that shows `text`, with its commands held together on one line or not.
QLabel* labelWithText(const QWidget& root, const QString& text)
{
    const auto unjoined = [](QString shown) {
        return shown.remove(QChar(0x2060)).replace(QChar::Nbsp, u' ');
    };
    for (QLabel* label : root.findChildren<QLabel*>()) {
        if (unjoined(label->text()) == unjoined(text))
            return label;
    }
    return nullptr;
}

// The application launched on a fixture's services, as at login; quits when it goes.
struct LaunchedApp {
    test::FakeHotkeyBackend backend;
    HotkeyManager hotkeys;
    test::FakeLoginItems loginItems;
    AppDelegate app;

    explicit LaunchedApp(test::PopupFixture& f)
        : hotkeys(f.settings, backend)
        , app(f.settings, f.language, f.manager, f.windowController, hotkeys, f.permissions,
              f.paste, f.emojis, f.actions, loginItems)
    {
        app.applicationDidFinishLaunching();
    }
    ~LaunchedApp() { app.applicationWillTerminate(); }
};

// Whether a launch opens the popup by itself, by the time its delayed opening would have run (a
// wait that never ends counts as opened, so that it fails the checks that expect nothing).
bool popupOpensAtLaunch(test::PopupFixture& f)
{
    LaunchedApp launched(f);
    bool later = false;
    QTimer::singleShot(AppDelegate::onboardingDelayMs * 2, [&later] { later = true; });
    const bool waited = QTest::qWaitFor([&later] { return later; }, 10000);
    const bool opened = f.windowController.isOpen();
    f.windowController.close(false);
    return opened || !waited;
}

PermissionOnboardingView* platformNotice(const ContentView& view)
{
    auto* onboarding = qobject_cast<PermissionOnboardingView*>(view.onboarding());
    return onboarding && onboarding->form() == PermissionOnboardingView::Form::platformNotice
               ? onboarding
               : nullptr;
}

QString headerTitle(const ContentView& view)
{
    const auto labels = view.findChildren<QLabel*>();
    return labels.isEmpty() ? QString() : labels.first()->text();
}
} // namespace

class TestContentViewGui : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::PopupFixture> f;

private Q_SLOTS:
    void init() { f = std::make_unique<test::PopupFixture>(); }
    void cleanup() { f.reset(); }

    // A search belongs to what it searches: an emoji search never narrows the history, and
    // the two history tabs, which search the same history, share theirs.
    void eachKindOfContentKeepsItsOwnSearch()
    {
        f->copy(u"heartbeat"_s);
        f->copy(u"unrelated"_s);
        ContentView view(f->context(), PopupTab::emoji);
        view.show();
        const auto field = [&view] { return view.searchBar()->lineEdit()->text(); };
        const auto rows = [&view] {
            return qobject_cast<ClipboardListView*>(view.tabContent())->model()->rowCount();
        };
        QTest::keyClicks(view.searchBar()->lineEdit(), u"zzzz"_s);
        QTest::mouseClick(tabButton(view, PopupTab::clipboard), Qt::LeftButton);
        QCOMPARE(view.activeTab(), PopupTab::clipboard);
        QCOMPARE(field(), QString());
        QCOMPARE(rows(), 2);

        QTest::keyClicks(view.searchBar()->lineEdit(), u"heart"_s);
        QCOMPARE(rows(), 1);
        QCOMPARE(*qobject_cast<ClipboardListView*>(view.tabContent())
                      ->model()
                      ->entryAt(0)
                      ->textContent(),
                 u"heartbeat"_s);
        QTest::mouseClick(tabButton(view, PopupTab::favorites), Qt::LeftButton);
        QCOMPARE(field(), u"heart"_s);
        QTest::mouseClick(tabButton(view, PopupTab::emoji), Qt::LeftButton);
        QCOMPARE(field(), u"zzzz"_s);
        QTest::mouseClick(tabButton(view, PopupTab::symbols), Qt::LeftButton);
        QCOMPARE(field(), QString());
        QVERIFY(tabButton(view, PopupTab::symbols)->isActive());
        QVERIFY(!tabButton(view, PopupTab::clipboard)->isActive());

        QTest::mouseClick(tabButton(view, PopupTab::clipboard), Qt::LeftButton);
        QCOMPARE(field(), u"heart"_s);
        QCOMPARE(rows(), 1);
    }

    void onboardingFollowsThePermissionLive()
    {
        f->trusted = false;
        f->permissions.checkPermission();
        QTRY_VERIFY(!f->permissions.isAccessibilityGranted());
        ContentView view(f->context(), PopupTab::favorites);
        view.show();
        auto* onboarding = qobject_cast<PermissionOnboardingView*>(view.onboarding());
        QVERIFY(onboarding && view.tabButtons().isEmpty() && !view.searchBar());
        QVERIFY(onboarding->openButton()->isVisible() && !onboarding->grantedRow()->isVisible());

        f->trusted = true;
        QTest::mouseClick(onboarding->retryButton(), Qt::LeftButton);
        QTRY_VERIFY(!view.onboarding());
        QCOMPARE(view.tabButtons().size(), 5);
        QCOMPARE(view.activeTab(), PopupTab::favorites);

        f->trusted = false;
        f->permissions.checkPermission();
        QTRY_VERIFY(view.onboarding());
    }

    void themeAndLanguageRebuildTheContent()
    {
        for (int i = 0; i < 3; ++i)
            f->copy(u"entry %1"_s.arg(i));
        ContentView view(f->context(), PopupTab::symbols);
        view.show();
        QTest::mouseClick(tabButton(view, PopupTab::clipboard), Qt::LeftButton);
        QTest::keyClicks(view.searchBar()->lineEdit(), u"entry"_s);
        QVERIFY(view.handlePopupKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Down, {})));
        QCOMPARE(qobject_cast<ClipboardListView*>(view.tabContent())->selectedIndex(), 1);
        const int builds = view.buildCount();

        f->settings.set(settings::themeMode, u"dark"_s);
        QCOMPARE(view.buildCount(), builds + 1);
        QVERIFY(Theme::isDark(view.palette()));
        QCOMPARE(qobject_cast<ClipboardListView*>(view.tabContent())->selectedIndex(), 0);

        f->language.setCurrentLanguageRaw(u"es"_s);
        QCOMPARE(view.buildCount(), builds + 2);
        QCOMPARE(headerTitle(view), u"Emoji y más"_s);
        QCOMPARE(view.activeTab(), PopupTab::clipboard);
        QCOMPARE(view.searchText(), u"entry"_s);
    }

    // The tab views are built before they join the popup: their fixed colours must come from the
    // theme's palette, not from the application's.
    void childrenTakeTheThemeColours_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QString>("textKey");
        QTest::addColumn<bool>("tertiary"); // the faintest text colour, else the secondary one
        QTest::newRow("dark empty list") << u"dark"_s << true << u"empty_clipboard_sub"_s << true;
        QTest::newRow("light onboarding")
            << u"light"_s << false << u"onboarding_subtitle"_s << false;
    }

    void childrenTakeTheThemeColours()
    {
        QFETCH(QString, mode);
        QFETCH(bool, trusted);
        QFETCH(QString, textKey);
        QFETCH(bool, tertiary);
        f->trusted = trusted;
        f->permissions.checkPermission();
        QTRY_COMPARE(f->permissions.isAccessibilityGranted(), trusted);
        f->settings.set(settings::themeMode, mode);
        ContentView view(f->context(), PopupTab::clipboard);
        view.show();
        const QPalette theme = Theme::palette(Theme::schemeFor(mode));
        QLabel* label = labelWithText(view, f->language.string(textKey.toLatin1().constData()));
        QCOMPARE(label->palette().color(QPalette::WindowText),
                 tertiary ? Theme::tertiary(theme) : Theme::secondary(theme));
        if (auto* list = qobject_cast<ClipboardListView*>(view.tabContent()))
            QVERIFY(list->clearButton()->styleSheet().contains(Theme::primary(theme).name()));
    }

    void escapeClosesThePopupWhenTheContentHasNoUseForIt()
    {
        f->windowController.open(PopupTab::emoji, new ContentView(f->context(), PopupTab::emoji));
        QVERIFY(f->windowController.isOpen());
        auto* view = qobject_cast<ContentView*>(f->windowController.window()->content());
        QTest::keyClick(view->searchBar()->lineEdit(), Qt::Key_Escape);
        QVERIFY(!f->windowController.isOpen());
        QVERIFY(!f->windowController.window());
    }

    void trayAndShortcutsToggleThePopup()
    {
        test::FakeHotkeyBackend backend;
        HotkeyManager hotkeys(f->settings, backend);
        test::FakeLoginItems loginItems;
        AppDelegate app(f->settings, f->language, f->manager, f->windowController, hotkeys,
                        f->permissions, f->paste, f->emojis, f->actions, loginItems);
        app.applicationDidFinishLaunching();

        // A save that cannot reach the disk shows in the tray's tool tip while it lasts.
        QCOMPARE(app.statusItem()->toolTip(), u"Tessel"_s);
        QVERIFY(f->manager.store().waitForPendingSaves(5000));
        QCoreApplication::processEvents();
        {
            test::FullDisk full;
            f->copy(u"not saved yet"_s);
            QSignalSpy saved(&f->manager.store(), &ClipboardStore::saveFinished);
            f->manager.store().save(f->manager.entries());
            QVERIFY(saved.wait(5000));
            QVERIFY(
                app.statusItem()->toolTip().startsWith(f->language.string("history_not_saved")));
        }
        f->copy(u"saved again"_s);
        QTRY_COMPARE(app.statusItem()->toolTip(), u"Tessel"_s);

        app.statusItemClicked(QSystemTrayIcon::Trigger);
        QVERIFY(f->windowController.isOpen());
        QCOMPARE(f->windowController.activeTab(), PopupTab::clipboard);
        // The tab switched inside the popup does not change what toggles it.
        auto* view = qobject_cast<ContentView*>(f->windowController.window()->content());
        view->setActiveTab(PopupTab::kaomoji);
        app.statusItemClicked(QSystemTrayIcon::Trigger);
        QVERIFY(!f->windowController.isOpen());

        backend.press(HotkeyManager::emojiId);
        QTRY_COMPARE(f->windowController.activeTab(), PopupTab::emoji);
        backend.press(HotkeyManager::clipboardId); // switches the open popup's tab
        QTRY_COMPARE(f->windowController.activeTab(), PopupTab::clipboard);
        QVERIFY(f->windowController.isOpen());

        app.openPreferences();
        QVERIFY(!f->windowController.isOpen() && app.preferencesWindow()->isVisible());
        app.openPopup(PopupTab::clipboard);
        QVERIFY(!app.preferencesWindow()->isVisible()); // ordered out, not destroyed

        PasteboardItem lastWords;
        lastWords.setString(PasteboardType::plainText, u"copied just before quitting"_s);
        f->pasteboard.writeExternal(lastWords); // after the last tick
        app.applicationWillTerminate();
        QCOMPARE(f->manager.entries().first()->textContent(), u"copied just before quitting"_s);
        QVERIFY(!f->manager.isMonitoring());
    }

    void thePopupHoldsThumbnailsForTheRowsOnScreenOnly()
    {
        // Forty distinct pictures among texts: scrolled through from top to bottom.
        for (int i = 0; i < 40; ++i) {
            QImage picture(320, 200, QImage::Format_RGB32);
            picture.fill(QColor::fromHsv(i * 9, 200, 200));
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "PNG");
            PasteboardItem item;
            item.setData(PasteboardType::png, png);
            f->pasteboard.writeExternal(item);
            f->manager.poll();
            f->copy(u"text after picture %1"_s.arg(i));
        }
        LaunchedApp launched(*f);
        ImageLoader& images = f->manager.images();
        launched.app.openPopup(PopupTab::clipboard);
        auto* view = qobject_cast<ContentView*>(f->windowController.window()->content());
        auto* list = qobject_cast<ClipboardListView*>(view->tabContent());
        QVERIFY(list);
        const qsizetype screen = qsizetype(list->width()) * list->height() * 4;
        qsizetype most = 0;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            list->handlePopupKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Down, {}));
            QCoreApplication::processEvents();    // the list lays its rows out from the event loop
            list->listView()->viewport()->grab(); // painted as on screen
            QTRY_VERIFY(images.isIdle());
            most = std::max(most, images.cachedBytes());
        }
        QVERIFY2(most > 0 && most <= 3 * screen,
                 qPrintable(u"%1 bytes held for a list of %2"_s.arg(most).arg(screen)));
        f->windowController.close(true);
        QCOMPARE(images.cachedBytes(), 0);
        QVERIFY(images.isIdle());
    }

    void launchWithoutPermissionOpensTheOnboarding()
    {
        f->trusted = false;
        test::FakeHotkeyBackend backend;
        HotkeyManager hotkeys(f->settings, backend);
        test::FakeLoginItems loginItems;
        AppDelegate app(f->settings, f->language, f->manager, f->windowController, hotkeys,
                        f->permissions, f->paste, f->emojis, f->actions, loginItems);
        app.applicationDidFinishLaunching();
        QVERIFY(f->permissions.isMonitoring());
        QVERIFY(!f->windowController.isOpen());
        QTRY_VERIFY(f->windowController.isOpen());
        auto* view = qobject_cast<ContentView*>(f->windowController.window()->content());
        QVERIFY(view->onboarding());
        app.applicationWillTerminate();
    }

    // Where the desktop holds back shortcuts or auto-paste, the first launch explains it in the
    // popup, once for each kind of limitation; plain X11, or a note already read, opens nothing.
    void limitedDesktopIsExplainedOncePerKind()
    {
        using AutoPaste = PlatformCapabilities::AutoPaste;
        QVERIFY(!popupOpensAtLaunch(*f));

        f->permissions.setCapabilities({false, AutoPaste::x11WindowsOnly, false});
        {
            LaunchedApp launched(*f);
            QTRY_VERIFY(f->windowController.isOpen());
            QCOMPARE(f->windowController.activeTab(), PopupTab::clipboard);
            auto* view = qobject_cast<ContentView*>(f->windowController.window()->content());
            PermissionOnboardingView* notice = platformNotice(*view);
            QVERIFY(notice && view->tabButtons().isEmpty());
            QVERIFY(labelWithText(*notice, f->language.string("platform_xwayland_note")));
            QVERIFY(notice->dismissButton()->isVisible());
            QVERIFY(!notice->openButton()->isVisible() && !notice->grantedRow()->isVisible());
            // Return carries on like the button: the tabs replace the note in the same popup.
            QTest::keyClick(notice->dismissButton(), Qt::Key_Return);
            QTRY_VERIFY(!view->onboarding());
            QCOMPARE(view->tabButtons().size(), 5);
            QCOMPARE(f->windowController.window()->content(), view);
        }
        QVERIFY(!popupOpensAtLaunch(*f));
        SettingsStore reloaded(f->settings.filePath());
        QVERIFY(!PlatformNotice(reloaded, f->permissions).isPending());

        // Another limitation has a note of its own; the one read before stays read.
        f->permissions.setCapabilities({false, AutoPaste::everywhere, false});
        ContentView view(f->context(), PopupTab::emoji);
        PermissionOnboardingView* notice = platformNotice(view);
        QVERIFY(notice);
        QVERIFY(labelWithText(*notice, f->language.string("platform_shortcuts_note")));
        notice->dismissButton()->click();
        QTRY_COMPARE(view.tabButtons().size(), 5);
        QCOMPARE(view.activeTab(), PopupTab::emoji);
        f->permissions.setCapabilities({false, AutoPaste::x11WindowsOnly, false});
        QVERIFY(!PlatformNotice(f->settings, f->permissions).isPending());
    }
};

QTEST_MAIN(TestContentViewGui)
#include "test_content_view_gui.moc"
