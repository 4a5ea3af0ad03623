// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopupFixture.h"
#include "hotkey/HotkeyManager.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/ContentView.h"
#include "ui/popup/TabButton.h"
#include "ui/preferences/AboutView.h"
#include "ui/preferences/PreferencesView.h"
#include "ui/widgets/ConfirmationSheet.h"
#include "ui/widgets/SearchBar.h"
#include "window/PopupWindow.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

// The popup, the preferences and About from the keyboard alone.
class TestPopupKeyboardGui : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::PopupFixture> f;

    ContentView* open(PopupTab tab)
    {
        f->windowController.open(tab, new ContentView(f->context(), tab));
        QWidget* window = f->windowController.window();
        window->activateWindow();
        if (!QTest::qWaitForWindowExposed(window))
            return nullptr;
        return qobject_cast<ContentView*>(f->windowController.window()->content());
    }

    // Where the popup's keys go: the widget with its focus.
    QWidget* focused() const
    {
        QWidget* window = f->windowController.window();
        return window ? window->focusWidget() : nullptr;
    }

    void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* target = focused();
        QVERIFY(target);
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    static ClipboardListView* list(ContentView* view)
    {
        return qobject_cast<ClipboardListView*>(view->tabContent());
    }

    QStringList history() const
    {
        QStringList texts;
        for (const auto& entry : f->manager.entries())
            texts << entry->textContent().value_or(QString());
        return texts;
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<test::PopupFixture>();
        f->copy(u"one"_s);
        f->copy(u"two"_s);
        f->copy(u"three"_s);
    }
    void cleanup()
    {
        f->windowController.close(false);
        f.reset();
    }

    void tabKeysSwitchTabs()
    {
        ContentView* view = open(PopupTab::clipboard);
        QVERIFY(view);
        key(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(view->activeTab(), PopupTab::emoji);
        key(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(view->activeTab(), PopupTab::kaomoji);
        key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(view->activeTab(), PopupTab::emoji);
        key(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(view->activeTab(), PopupTab::clipboard);
        // Round the ends.
        key(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(view->activeTab(), PopupTab::favorites);
        key(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(view->activeTab(), PopupTab::clipboard);
        key(Qt::Key_4, Qt::AltModifier);
        QCOMPARE(view->activeTab(), PopupTab::symbols);
        key(Qt::Key_1, Qt::AltModifier);
        QCOMPARE(view->activeTab(), PopupTab::clipboard);
        // The search field still has the keyboard, and its text survived.
        QCOMPARE(focused(), view->searchBar()->lineEdit());
        QVERIFY(f->windowController.isOpen());
    }

    void rowKeysPinDeleteAndOpenTheMenu()
    {
        ContentView* view = open(PopupTab::clipboard);
        QVERIFY(view);
        QCOMPARE(history(), (QStringList{u"three"_s, u"two"_s, u"one"_s}));
        key(Qt::Key_Down);
        key(Qt::Key_P, Qt::ControlModifier);
        QVERIFY(f->manager.entries().at(1)->isFavorite());
        // Typing goes to the search field; the pin chord typed no letter.
        QCOMPARE(view->searchBar()->lineEdit()->text(), QString());
        key(Qt::Key_5, Qt::AltModifier);
        QCOMPARE(view->activeTab(), PopupTab::favorites);
        QCOMPARE(list(view)->model()->rowCount(), 1);
        key(Qt::Key_P, Qt::ControlModifier); // unpins it from the favourites
        QCOMPARE(list(view)->model()->rowCount(), 0);
        QVERIFY(!f->manager.entries().at(1)->isFavorite());
        key(Qt::Key_1, Qt::AltModifier);

        // Delete removes the selected row, unless the search field has text to delete.
        key(Qt::Key_Down);
        key(Qt::Key_Delete);
        QCOMPARE(history(), (QStringList{u"three"_s, u"one"_s}));
        QTest::keyClicks(focused(), u"o"_s);
        key(Qt::Key_Home);
        key(Qt::Key_Delete);
        QCOMPARE(view->searchBar()->lineEdit()->text(), QString());
        QCOMPARE(history(), (QStringList{u"three"_s, u"one"_s}));

        // The menu key and Shift+F10 open the selected row's menu; Escape closes the menu only.
        for (const auto& [menuKey, modifiers] :
             {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
              std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
            key(menuKey, modifiers);
            QMenu* menu = list(view)->rowMenu();
            QVERIFY(menu);
            QTRY_VERIFY(menu->isVisible());
            QVERIFY(menu->activeAction());
            QTest::keyClick(menu, Qt::Key_Escape);
            QTRY_VERIFY(!list(view)->rowMenu() || !list(view)->rowMenu()->isVisible());
            QVERIFY(f->windowController.isOpen());
        }
        // Return in the menu runs its first action, as a click would: pin.
        key(Qt::Key_Menu);
        QTRY_VERIFY(list(view)->rowMenu() && list(view)->rowMenu()->isVisible());
        QTest::keyClick(list(view)->rowMenu(), Qt::Key_Return);
        QCOMPARE(history(), (QStringList{u"three"_s, u"one"_s}));
        QTRY_VERIFY(f->manager.entries().at(1)->isFavorite());
    }

    void escapeClosesTheInnermostThing()
    {
        f->settings.set(settings::confirmClear, true);
        ContentView* view = open(PopupTab::clipboard);
        QVERIFY(view);
        // Tab reaches "Clear all"; Space presses it.
        QPushButton* clear = list(view)->clearButton();
        for (int step = 0; step < 20 && focused() != clear; ++step)
            key(Qt::Key_Tab);
        QCOMPARE(focused(), clear);
        key(Qt::Key_Space);
        ConfirmationSheet* sheet = list(view)->clearSheet();
        QVERIFY(sheet->isVisible());
        QCOMPARE(focused(), sheet->cancelButton());
        key(Qt::Key_Escape);
        QVERIFY(!sheet->isVisible());
        QVERIFY(f->windowController.isOpen());
        QCOMPARE(history().size(), 3);

        // Return answers with the focused button.
        list(view)->clearRequested();
        QVERIFY(sheet->isVisible());
        key(Qt::Key_Return);
        QVERIFY(!sheet->isVisible());
        QCOMPARE(history().size(), 3);
        list(view)->clearRequested();
        key(Qt::Key_Tab);
        QCOMPARE(focused(), sheet->confirmButton());
        key(Qt::Key_Return);
        QVERIFY(!sheet->isVisible());
        QVERIFY(history().isEmpty());
        QVERIFY(f->windowController.isOpen());
        // With nothing inside left to close, Escape closes the popup.
        key(Qt::Key_Escape);
        QVERIFY(!f->windowController.isOpen());
    }

    void tabReachesEveryButton()
    {
        // As on the desktops Tessel runs on; Qt's offscreen platform would stop on text fields
        // and lists only.
        QGuiApplication::styleHints()->setTabFocusBehavior(Qt::TabFocusAllControls);
        ContentView* view = open(PopupTab::clipboard);
        QVERIFY(view);
        QList<QWidget*> visited;
        for (int step = 0; step < 30; ++step) {
            QWidget* now = focused();
            if (visited.contains(now))
                break;
            visited << now;
            key(Qt::Key_Tab);
        }
        QStringList order;
        for (const QWidget* widget : visited)
            order << QString::fromLatin1(widget->metaObject()->className());
        qInfo().noquote() << "Tab order:" << order.join(u", ");
        QVERIFY(visited.contains(view->searchBar()->lineEdit()));
        QVERIFY(visited.contains(list(view)->clearButton()));
        for (TabButton* tab : view->tabButtons())
            QVERIFY2(visited.contains(tab), qPrintable(rawValue(tab->tab())));
        // The header's preferences and close buttons, the only other buttons.
        QCOMPARE(visited.size(), 2 + view->tabButtons().size() + 2);
        // Space on a tab shows it.
        TabButton* emoji = view->tabButtons().at(1);
        emoji->setFocus();
        key(Qt::Key_Space);
        QCOMPARE(view->activeTab(), PopupTab::emoji);
    }

    void preferencesAndAboutCloseOnEscapeAndCtrlW()
    {
        test::FakeHotkeyBackend backend;
        HotkeyManager hotkeys(f->settings, backend);
        test::FakeLoginItems loginItems;
        int aboutOpenings = 0;
        PreferencesView preferences(PreferencesContext{f->settings,
                                                       f->language,
                                                       hotkeys,
                                                       f->permissions,
                                                       loginItems,
                                                       [&aboutOpenings] { ++aboutOpenings; },
                                                       nullptr,
                                                       {}});
        preferences.show();
        preferences.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&preferences));
        // Return presses the focused button, as Space does.
        auto* aboutButton = preferences.findChild<QPushButton*>(u"aboutButton"_s);
        QVERIFY(aboutButton);
        aboutButton->setFocus();
        QTest::keyClick(aboutButton, Qt::Key_Return);
        QCOMPARE(aboutOpenings, 1);
        // A setting changed from the keyboard, then Escape.
        auto* theme = preferences.findChild<QComboBox*>(u"themeMode"_s);
        QVERIFY(theme);
        preferences.selectTab(PreferencesView::appearance);
        const QString before = f->settings.value(settings::themeMode);
        theme->setFocus();
        QTest::keyClick(theme, Qt::Key_Down);
        QVERIFY(f->settings.value(settings::themeMode) != before);
        QTest::keyClick(&preferences, Qt::Key_Escape);
        QVERIFY(!preferences.isVisible());
        preferences.show();
        preferences.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&preferences));
        QTest::keyClick(&preferences, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!preferences.isVisible());

        AboutView about(f->language, f->settings);
        about.show();
        about.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestPopupKeyboardGui)
#include "test_popup_keyboard_gui.moc"
