// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/ui/LaunchedApp.h"
#include "support/TestImages.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/ContentView.h"
#include "ui/popup/EntryPreview.h"
#include "ui/popup/HistoryRowView.h"
#include "ui/preferences/KeyCapButton.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesView.h"
#include "ui/preferences/ShortcutsPage.h"
#include "ui/widgets/ConfirmationSheet.h"
#include "ui/widgets/SearchBar.h"
#include "window/PopupWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace tessel::test {

// Hands a view's window, while it shows, to a check; `name` says which view it is.
using ViewVisit = std::function<void(const QString& name, QWidget* window)>;

// The history the tour copies: no Latin letter but an image's hash, so that a check for texts
// outside the translations can tell the user's data from the interface's.
inline void copyTourHistory(PopupFixture& f)
{
    f.copy(QStringLiteral("١٢٣ — ٤٥٦"));
    PasteboardItem picture;
    picture.setData(PasteboardType::png, encodedImage("png"));
    f.pasteboard.writeExternal(picture);
    f.manager.poll();
    PasteboardItem broken;
    broken.setData(PasteboardType::png, QByteArrayLiteral("\x89PNG not really"));
    f.pasteboard.writeExternal(broken);
    f.manager.poll();
    f.copy(QStringLiteral("日本語のテキスト"));
}

// Opens every view of the launched application in turn and visits each while it shows, after
// switching the interface to `language` with the preferences' picker while the preferences and
// About are open (they must fit their new texts): the tray menu; the history and favourites tabs
// empty; every tab with content and with a search that matches nothing; an entry's preview, the row
// menu and the "clear history" confirmation; the favourites; the first-start explanations (the
// missing permission, a limited desktop); every preferences page, with a refused paste permission's
// note, a shortcut being recorded and one refused; and About.
inline void tourEveryView(PopupFixture& f, LaunchedApp& launched, const QString& language,
                          const ViewVisit& visit)
{
    AppDelegate& app = launched.app;
    // A first start may open the popup by itself, after a moment, to explain the desktop.
    QTest::qWait(AppDelegate::onboardingDelayMs + 100);
    f.windowController.close(false);
    app.openPreferences();
    auto* prefs = qobject_cast<PreferencesView*>(app.preferencesWindow());
    QVERIFY(QTest::qWaitForWindowExposed(prefs));
    app.openAboutWindow();
    QVERIFY(QTest::qWaitForWindowExposed(app.aboutWindow()));
    auto* picker = prefs->findChild<QComboBox*>(settings::appLanguage.name);
    const int choice = picker->findData(language);
    QVERIFY2(choice >= 0, qPrintable(language));
    picker->setCurrentIndex(choice);
    Q_EMIT picker->activated(choice);
    QCOMPARE(f.language.activeLanguageCode(), language);
    app.aboutWindow()->hide();
    prefs->hide();
    // The activation leaves the hidden windows before a menu shows, which it would close.
    QTest::qWait(100);

    const auto showMenu = [&](const QString& name, QMenu* menu) {
        QVERIFY2(menu, qPrintable(name));
        menu->popup(QPoint(10, 10));
        QVERIFY2(QTest::qWaitForWindowExposed(menu), qPrintable(name));
        visit(name, menu);
        menu->close();
    };
    const auto openPopup = [&](PopupTab tab, const QString& name) -> ContentView* {
        app.openPopup(tab);
        PopupWindow* popup = f.windowController.window();
        if (!popup || !QTest::qWaitForWindowExposed(popup))
            return nullptr;
        visit(name, popup);
        return qobject_cast<ContentView*>(popup->content());
    };
    const auto searchFor = [&](ContentView* content, const QString& text, const QString& name) {
        content->searchBar()->lineEdit()->setText(text);
        QCoreApplication::processEvents();
        visit(name, f.windowController.window());
    };

    showMenu(QStringLiteral("tray menu"), app.statusMenu());
    for (PopupTab tab : {PopupTab::clipboard, PopupTab::favorites}) {
        QVERIFY(openPopup(tab, QStringLiteral("empty ") + rawValue(tab)));
        f.windowController.close(false);
    }

    copyTourHistory(f);
    for (PopupTab tab : allPopupTabs) {
        if (tab == PopupTab::favorites)
            continue;
        ContentView* content = openPopup(tab, QStringLiteral("popup ") + rawValue(tab));
        QVERIFY(content);
        if (tab == PopupTab::clipboard) {
            auto* list = qobject_cast<ClipboardListView*>(content->tabContent());
            QLineEdit* search = content->searchBar()->lineEdit();
            // The preview of the selected entry (the newest, a text) and its caption.
            QTest::keyClick(search, ClipboardListView::previewKey);
            QTRY_VERIFY(list->isPreviewShown() && list->preview()->isVisible());
            visit(QStringLiteral("entry preview"), list->preview());
            QTest::keyClick(search, ClipboardListView::previewKey);
            QListView* rows = list->listView();
            const QRect rect = rows->visualRect(list->model()->index(0, 0));
            QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                              HistoryRowView::menuButtonRect(rect).center());
            QTRY_VERIFY(list->rowMenu());
            showMenu(QStringLiteral("row menu"), list->rowMenu());
            list->clearRequested();
            QVERIFY(list->clearSheet()->isVisible());
            visit(QStringLiteral("clear confirmation"), f.windowController.window());
            list->clearSheet()->cancelButton()->click();
            searchFor(content, QStringLiteral("∅∅∅"), QStringLiteral("history without matches"));
            QVERIFY(list->isShowingEmptyState());
        } else {
            searchFor(content, QStringLiteral("∅∅∅"),
                      rawValue(tab) + QStringLiteral(" without matches"));
        }
        f.windowController.close(false);
    }
    f.manager.toggleFavorite(f.manager.entries().first());
    QVERIFY(openPopup(PopupTab::favorites, QStringLiteral("favourites")));
    f.windowController.close(false);

    f.trusted = false;
    f.permissions.checkPermission();
    QTRY_VERIFY(!f.permissions.isAccessibilityGranted());
    QVERIFY(openPopup(PopupTab::clipboard, QStringLiteral("permission")));
    f.windowController.close(false);
    f.trusted = true;
    f.permissions.checkPermission();
    QTRY_VERIFY(f.permissions.isAccessibilityGranted());
    f.permissions.setCapabilities({false, PlatformCapabilities::AutoPaste::x11WindowsOnly, true});
    QVERIFY(openPopup(PopupTab::clipboard, QStringLiteral("limited desktop")));
    QVERIFY(f.windowController.window()->findChild<QPushButton*>(
        QStringLiteral("addDesktopShortcuts")));
    f.windowController.close(false);

    f.settings.set(settings::remoteDesktopRefused, true);
    app.openPreferences();
    QVERIFY(QTest::qWaitForWindowExposed(prefs));
    const QWidget* refusal = prefs->findChild<QPushButton*>(QStringLiteral("askDesktopAgain"));
    for (int page = PreferencesView::general; page <= PreferencesView::shortcuts; ++page) {
        prefs->selectTab(page);
        QCOMPARE(refusal->isVisibleTo(prefs), page == PreferencesView::privacy);
        visit(QStringLiteral("preferences page ") + QString::number(page), prefs);
    }
    KeyCapButton* keys = prefs->shortcutsPage()->clipboardButton();
    QTest::mouseClick(keys, Qt::LeftButton);
    QVERIFY(keys->isRecording());
    visit(QStringLiteral("recording a shortcut"), prefs);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, 0x61, 0);
    QCoreApplication::sendEvent(keys, &press);
    QVERIFY(prefs->shortcutsPage()->errorLabel()->isVisible());
    visit(QStringLiteral("refused shortcut"), prefs);
    QTest::keyClick(keys, Qt::Key_Escape);

    app.openAboutWindow();
    QVERIFY(QTest::qWaitForWindowExposed(app.aboutWindow()));
    visit(QStringLiteral("about"), app.aboutWindow());
}

} // namespace tessel::test
