// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleCensus.h"
#include "PopupFixture.h"
#include "hotkey/HotkeyManager.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "support/TestImages.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListModel.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/ContentView.h"
#include "ui/popup/EmojiPickerView.h"
#include "ui/popup/PickerGridModel.h"
#include "ui/popup/PickerGridView.h"
#include "ui/popup/TabButton.h"
#include "ui/preferences/AboutView.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesView.h"
#include "ui/widgets/SearchBar.h"
#include "window/PopupWindow.h"

#include <QAccessible>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
// The interactive parts of a history that the tree misses: a row without its cell, a cell
// without its pin and menu actions.
int unexposedRowParts(ClipboardListView& list)
{
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list.listView());
    int missing = 0;
    for (int row = 0; row < list.model()->rowCount(); ++row) {
        QAccessibleInterface* cell = table ? table->child(row) : nullptr;
        if (!cell) {
            missing += 3;
            continue;
        }
        const int actions =
            cell->actionInterface() ? cell->actionInterface()->actionNames().size() : 0;
        missing += std::max(0, 2 - actions);
    }
    return missing;
}

// The picker cells that the tree misses.
int unexposedCells(PickerGridView& grid)
{
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(&grid);
    const int cells = int(grid.cellRows().size());
    return std::max(0, cells - (node ? node->childCount() : 0));
}
struct Update {
    QObject* object;
    QAccessible::Event type;
    int child;
};

QList<Update>& updates()
{
    static QList<Update> recorded;
    return recorded;
}

void record(QAccessibleEvent* event)
{
    updates().append({event->object(), event->type(), event->child()});
}
} // namespace

// What a screen reader meets in the popup, the preferences and About, in two languages.
class TestAccessibilityGui : public QObject {
    Q_OBJECT

private:
    using Fixture = test::PreferencesFixture;
    std::unique_ptr<Fixture> f;

    ContentView* openPopup(PopupTab tab)
    {
        f->windowController.open(tab, new ContentView(f->context(), tab));
        auto* view = qobject_cast<ContentView*>(f->windowController.window()->content());
        f->windowController.window()->activateWindow();
        if (!QTest::qWaitForWindowExposed(f->windowController.window()))
            return nullptr;
        return view;
    }

    test::AccessibleCensus censusOfEveryView()
    {
        test::AccessibleCensus total;
        for (PopupTab tab : {PopupTab::clipboard, PopupTab::emoji}) {
            ContentView* view = openPopup(tab);
            if (!view)
                return total;
            test::AccessibleCensus popup;
            popup.walkWindow(f->windowController.window());
            if (auto* list = qobject_cast<ClipboardListView*>(view->tabContent()))
                popup.notExposed += unexposedRowParts(*list);
            if (auto* emoji = qobject_cast<EmojiPickerView*>(view->tabContent()))
                popup.notExposed += unexposedCells(*emoji->grid());
            total.add(popup);
            f->windowController.close(false);
        }
        PreferencesView preferences(f->preferencesContext());
        preferences.show();
        for (int tab = PreferencesView::general; tab <= PreferencesView::shortcuts; ++tab) {
            preferences.selectTab(tab);
            test::AccessibleCensus page;
            page.walkWindow(&preferences);
            // The header and the tab row show on every page: counted once.
            total.add(page);
        }
        AboutView about(f->language, f->settings);
        about.show();
        test::AccessibleCensus aboutCensus;
        aboutCensus.walkWindow(&about);
        total.add(aboutCensus);
        return total;
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<Fixture>();
        f->hotkeys.start([](HotkeyManager::Action) {});
        f->copy(u"first copied"_s);
        f->copy(u"second copied"_s);
        f->copy(u"third copied"_s);
    }
    void cleanup() { f.reset(); }

    void everyInteractiveElementHasARoleAndAName_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << u"en"_s;
        QTest::newRow("pt") << u"pt"_s;
    }

    void everyInteractiveElementHasARoleAndAName()
    {
        QFETCH(QString, language);
        f->settings.set(settings::appLanguage, language);
        const test::AccessibleCensus census = censusOfEveryView();
        qInfo().noquote() << u"census %1: exposed %2, named %3, wrong role %4, not exposed %5"_s
                                 .arg(language)
                                 .arg(census.exposed)
                                 .arg(census.named)
                                 .arg(census.wrongRole)
                                 .arg(census.notExposed);
        for (const QString& problem : census.problems)
            qInfo().noquote() << "  " << problem;
        QVERIFY(census.exposed > 20);
        QCOMPARE(census.named, census.exposed);
        QCOMPARE(census.wrongRole, 0);
    }

    void movingTheSelectionRaisesFocusAndSelection()
    {
        // Qt passes events on only while its bridge to a screen reader's bus is up; the test's
        // own run on the X server starts that bus (tests/gui/ui/CMakeLists.txt), and the bridge
        // joins it when the bus answers.
        if (qEnvironmentVariableIsSet("TESSEL_ACCESSIBILITY_BUS"))
            QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        ContentView* view = openPopup(PopupTab::clipboard);
        QVERIFY(view);
        auto* list = qobject_cast<ClipboardListView*>(view->tabContent());
        QVERIFY(list);
        updates().clear();
        const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(&record);
        QTest::keyClick(view->searchBar()->lineEdit(), Qt::Key_Down);
        QTest::keyClick(view->searchBar()->lineEdit(), Qt::Key_Down);
        QTest::keyClick(view->searchBar()->lineEdit(), Qt::Key_Up);
        QAccessible::installUpdateHandler(previous);
        QCOMPARE(list->selectedIndex(), 1);
        // The row the events name is the one a screen reader then reads: selected, by its text.
        QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(list->listView());
        QVERIFY(rows);
        QAccessibleInterface* row = rows->child(1);
        QVERIFY(row);
        QCOMPARE(row->text(QAccessible::Name), u"second copied"_s);
        QVERIFY(row->state().selected);
        QVERIFY(!rows->child(2)->state().selected);
        // Pinned, it says so.
        f->manager.toggleFavorite(f->manager.entries().at(1));
        QCOMPARE(row->text(QAccessible::Description), f->language.string("pinned_state"));
        QVERIFY(rows->child(0)->text(QAccessible::Description).isEmpty());

        if (!QAccessible::isActive())
            QSKIP("no accessibility bus: its own run checks the events");
        QList<int> focused, selected;
        for (const Update& update : updates()) {
            if (update.object != list->listView())
                continue;
            if (update.type == QAccessible::Focus)
                focused << update.child;
            else if (update.type == QAccessible::Selection)
                selected << update.child;
        }
        QCOMPARE(focused, (QList<int>{1, 2, 1}));
        QCOMPARE(selected, (QList<int>{1, 2, 1}));
    }

    // The popup is among the application's windows while open, named by its header, active: Qt
    // leaves popups out of the application's windows.
    void thePopupIsAWindowOfTheApplication()
    {
        f->settings.set(settings::appLanguage, u"pt"_s);
        QVERIFY(openPopup(PopupTab::clipboard));
        QWidget* window = f->windowController.window();
        QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
        QAccessibleInterface* popup = QAccessible::queryAccessibleInterface(window);
        QVERIFY(application && popup);
        const int index = application->indexOfChild(popup);
        QVERIFY(index >= 0);
        QCOMPARE(application->child(index), popup);
        QCOMPARE(popup->parent(), application);
        QCOMPARE(popup->role(), QAccessible::Window);
        QCOMPARE(popup->text(QAccessible::Name), f->language.string("header_title"));
        QVERIFY(popup->state().active);
        f->windowController.close(false);
        for (int i = 0; i < application->childCount(); ++i)
            QVERIFY(application->child(i) && application->child(i)->object() != window);
    }

    // A row's pin, delete and menu are actions of its item, run as the mouse runs them.
    void rowsPinDeleteAndOpenTheirMenuAsActions()
    {
        ContentView* view = openPopup(PopupTab::clipboard);
        QVERIFY(view);
        auto* list = qobject_cast<ClipboardListView*>(view->tabContent());
        QVERIFY(list);
        QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(list->listView());
        QAccessibleInterface* second = rows->child(1);
        QVERIFY(second && second->actionInterface());
        QAccessibleActionInterface* actions = second->actionInterface();
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
        QCOMPARE(actions->localizedActionName(u"pin"_s), f->language.string("pin_item"));
        actions->doAction(u"pin"_s);
        QVERIFY(f->manager.entries().at(1)->isFavorite());
        QCOMPARE(second->text(QAccessible::Description), f->language.string("pinned_state"));
        QCOMPARE(actions->localizedActionName(u"pin"_s), f->language.string("unpin_item"));

        actions->doAction(QAccessibleActionInterface::showMenuAction());
        QTRY_VERIFY(list->rowMenu() && list->rowMenu()->isVisible());
        // The menu of the row the action was asked of: its first item unpins.
        QCOMPARE(list->rowMenu()->actions().constFirst()->text(), f->language.string("unpin_item"));
        list->rowMenu()->close();

        rows->child(2)->actionInterface()->doAction(u"delete"_s);
        QCOMPARE(f->manager.entries().size(), 2);
        QCOMPARE(f->manager.entries().at(1)->textContent(), u"second copied"_s);
        QCOMPARE(rows->childCount(), 2);
        QVERIFY(!rows->child(2));
    }

    void pickerCellsAreListItemsNamedInTheInterfaceLanguage()
    {
        f->settings.set(settings::appLanguage, u"pt"_s);
        ContentView* view = openPopup(PopupTab::emoji);
        QVERIFY(view);
        auto* emoji = qobject_cast<EmojiPickerView*>(view->tabContent());
        QVERIFY(emoji);
        PickerGridView* grid = emoji->grid();
        QAccessibleInterface* cells = QAccessible::queryAccessibleInterface(grid);
        QVERIFY(cells);
        QCOMPARE(cells->role(), QAccessible::List);
        const QList<int> rows = grid->cellRows();
        QVERIFY(rows.size() > 100);
        QCOMPARE(cells->childCount(), int(rows.size()));
        QAccessibleInterface* first = cells->child(0);
        QVERIFY(first);
        QCOMPARE(first->role(), QAccessible::ListItem);
        const QModelIndex firstIndex = grid->gridModel()->index(rows.first());
        // The emoji's name in Portuguese, as its tool tip shows it; never the character alone.
        QCOMPARE(first->text(QAccessible::Name), firstIndex.data(Qt::ToolTipRole).toString());
        QVERIFY(first->text(QAccessible::Name) != firstIndex.data(Qt::DisplayRole).toString());
        QCOMPARE(cells->indexOfChild(first), 0);
        QVERIFY(!first->state().selected);
        // The keyboard enters the grid: the highlighted cell is the selected one.
        QTest::keyClick(view->searchBar()->lineEdit(), Qt::Key_Down);
        QCOMPARE(grid->highlightedRow(), rows.first());
        QVERIFY(first->state().selected);
        QVERIFY(!cells->child(1)->state().selected);
    }

    void imageRowsAreNamedByTheirSize()
    {
        PasteboardItem picture;
        picture.setData(PasteboardType::png, test::encodedImage("png"));
        f->pasteboard.writeExternal(picture);
        f->manager.poll();
        const ClipboardEntryPtr image = f->manager.entries().first();
        QVERIFY(image->isImage());
        ClipboardListModel history(f->manager, f->language);
        QCOMPARE(history.index(0).data(Qt::AccessibleTextRole).toString(), u"Image"_s);
        image->setImageSize(QSize(320, 200));
        QCOMPARE(history.index(0).data(Qt::AccessibleTextRole).toString(), u"Image, 320 x 200"_s);
        f->settings.set(settings::appLanguage, u"pt"_s);
        QCOMPARE(history.index(0).data(Qt::AccessibleTextRole).toString(), u"Imagem, 320 x 200"_s);
        QCOMPARE(history.index(1).data(Qt::AccessibleTextRole).toString(), u"third copied"_s);
    }

    void tabsArePageTabsCheckedWhileShown()
    {
        f->settings.set(settings::appLanguage, u"pt"_s);
        ContentView* view = openPopup(PopupTab::clipboard);
        QVERIFY(view);
        QAccessibleInterface* clipboard =
            QAccessible::queryAccessibleInterface(view->tabButtons().at(0));
        QAccessibleInterface* emoji =
            QAccessible::queryAccessibleInterface(view->tabButtons().at(1));
        QCOMPARE(clipboard->role(), QAccessible::PageTab);
        QVERIFY(clipboard->state().checked);
        QVERIFY(!emoji->state().checked);
        QCOMPARE(emoji->text(QAccessible::Name), f->language.string("tab_emoji"));
        // Its press action shows the tab, as a click does.
        emoji->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(view->activeTab(), PopupTab::emoji);

        // The preferences' tabs too: pressing one shows its page.
        PreferencesView preferences(f->preferencesContext());
        QAccessibleInterface* privacy = QAccessible::queryAccessibleInterface(
            preferences.tabButtons().at(PreferencesView::privacy));
        QCOMPARE(privacy->role(), QAccessible::PageTab);
        privacy->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(preferences.selectedTab(), int(PreferencesView::privacy));
        QVERIFY(privacy->state().checked);
    }
};

QTEST_MAIN(TestAccessibilityGui)
#include "test_accessibility_gui.moc"
