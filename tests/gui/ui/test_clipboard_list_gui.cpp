#include "PopupFixture.h"
#include "app/PopupActions.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListModel.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/HistoryRowView.h"
#include "ui/widgets/ConfirmationSheet.h"
#include "window/PopupWindow.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
QStringList labelsOf(const QWidget* widget)
{
    QStringList texts;
    for (const QLabel* label : widget->findChildren<QLabel*>()) {
        if (label->isVisibleTo(widget) && !label->text().isEmpty())
            texts.append(label->text());
    }
    return texts;
}

QRect rowRect(const ClipboardListView& view, int row)
{
    return view.listView()->visualRect(view.model()->index(row, 0));
}
} // namespace

class TestClipboardListGui : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::PopupFixture> f;
    std::unique_ptr<QWidget> host;
    ClipboardListView* view = nullptr;

    void makeView(bool favoritesOnly)
    {
        host = std::make_unique<QWidget>();
        view = f->showList(*host, favoritesOnly);
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
    }

    // What the popup does with a key typed in it: true when the list used it.
    bool press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        const QKeyEvent event(QEvent::KeyPress, key, modifiers);
        return view->handlePopupKey(event);
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<test::PopupFixture>();
        for (const QString& text : {u"oldest"_s, u"middle"_s, u"newest"_s})
            f->copy(text);
    }

    void cleanup()
    {
        host.reset();
        f.reset();
    }

    void modelFollowsTheHistoryRowByRow()
    {
        ClipboardListModel history(f->manager);
        ClipboardListFilter all(&history, false);
        ClipboardListFilter favorites(&history, true);
        QAbstractItemModelTester tester(&history,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester favoritesTester(
            &favorites, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(&history, &QAbstractItemModel::modelReset);
        const auto rowsMatch = [&] {
            for (int row = 0; row < f->manager.entries().size(); ++row) {
                if (all.entryAt(row) != f->manager.entries().at(row))
                    return false;
            }
            return all.rowCount() == f->manager.entries().size();
        };
        // A hovered or selected row keeps pointing at its entry while others come and go.
        const QPersistentModelIndex hovered = all.index(0, 0);
        const ClipboardEntryPtr hoveredEntry = all.entryAt(0);

        f->settings.set(settings::maxHistoryItems, qint64(4));
        for (const QString& text : {u"a"_s, u"b"_s, u"a"_s}) // a trim, then a move to the top
            f->copy(text);
        QVERIFY(rowsMatch());
        f->manager.toggleFavorite(f->manager.entries().at(2));
        QCOMPARE(favorites.rowCount(), 1);
        f->manager.select(f->manager.entries().last());
        QVERIFY(rowsMatch());
        f->manager.deleteEntry(f->manager.entries().at(1));
        QVERIFY(rowsMatch());
        QVERIFY(hovered.isValid());
        QCOMPARE(hovered.data(ClipboardListModel::EntryRole).value<ClipboardEntryPtr>(),
                 hoveredEntry);
        f->manager.clearAll();
        QVERIFY(rowsMatch());
        QCOMPARE(favorites.rowCount(), 1);
        QCOMPARE(resets.count(), 0);
    }

    void thePopupMayCloseUnderAnOpenRowMenu()
    {
        // A global shortcut pressed while the "..." menu is open closes the popup, and the view
        // that opened the menu is deleted while the menu is still up.
        makeView(false);
        auto* rows = qobject_cast<HistoryRowView*>(view->listView()->itemDelegate());
        QPointer<ClipboardListView> watched = view;
        QTimer::singleShot(0, this, [this] { host.reset(); });
        Q_EMIT rows->menuRequested(view->model()->index(0, 0), QPoint(100, 100));
        QTRY_VERIFY(!watched);
        QTest::qWait(50); // events still queued for the menu must find nothing
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QMenu*>(widget) || !widget->isVisible());
    }

    void keyboardSelectionStopsAtBothEnds()
    {
        makeView(false);
        QCOMPARE(view->selectedIndex(), 0);
        QVERIFY(view->model()->index(0, 0).data(ClipboardListModel::KeyboardSelectedRole).toBool());
        for (int i = 0; i < 4; ++i)
            QVERIFY(press(Qt::Key_Down));
        QCOMPARE(view->selectedIndex(), 2);
        for (int i = 0; i < 4; ++i)
            QVERIFY(press(Qt::Key_Up));
        QCOMPARE(view->selectedIndex(), 0);
        QVERIFY(!press(Qt::Key_A)); // other keys go on to the focused widget
    }

    void emptyListLetsKeysThrough()
    {
        f->manager.clearAll();
        makeView(false);
        QVERIFY(view->isShowingEmptyState());
        QVERIFY(!press(Qt::Key_Down));
        QVERIFY(!press(Qt::Key_Return));
        QVERIFY(labelsOf(view).contains(f->language.string(u"empty_clipboard"_s)));
        QVERIFY(labelsOf(view).contains(f->language.string(u"empty_clipboard_sub"_s)));
        QVERIFY(view->clearButton()->isVisible());
    }

    void returnAndKeypadEnterChooseTheSelection_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }

    void returnAndKeypadEnterChooseTheSelection()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        // Inside a real popup, whose key router hands the keys to the list.
        auto* list = new ClipboardListView(f->manager, f->language, f->settings, false);
        connect(list, &ClipboardListView::chosen, &f->actions, &PopupActions::chooseEntry);
        f->windowController.open(PopupTab::clipboard, list);
        QVERIFY(f->windowController.isOpen());
        bool pendingWhenClosed = true;
        connect(&f->windowController, &WindowController::closed, this,
                [&] { pendingWhenClosed = f->paste.isPastePending(); });

        QTest::keyClick(f->windowController.window(), Qt::Key_Down);
        QTest::keyClick(f->windowController.window(), Qt::Key(key), modifiers);
        QCOMPARE(*f->pasteboard.stringForType(PasteboardType::plainText), u"middle"_s);
        QCOMPARE(f->manager.entries().first()->textContent(), u"middle"_s);
        QVERIFY(!f->windowController.isOpen());
        QVERIFY(!pendingWhenClosed); // closed first, then the paste is scheduled
        QVERIFY(f->paste.isPastePending());
        QVERIFY(f->keys.chords.isEmpty());
        QTRY_COMPARE(f->keys.chords.size(), 1);
    }

    void selectionPastTheEndChoosesNothing()
    {
        makeView(false);
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        f->manager.deleteEntry(f->manager.entries().at(2));
        f->manager.deleteEntry(f->manager.entries().at(1));
        const int writes = f->pasteboard.writeCount();
        QVERIFY(!press(Qt::Key_Return));
        QCOMPARE(f->pasteboard.writeCount(), writes);
        QVERIFY(press(Qt::Key_Down));
        QCOMPARE(view->selectedIndex(), 0);
    }

    void clickChoosesButPinAndMenuButtonsDoNot()
    {
        makeView(false);
        const QRect row = rowRect(*view, 1);
        QWidget* viewport = view->listView()->viewport();
        const auto* rows = qobject_cast<HistoryRowView*>(view->listView()->itemDelegate());

        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          rows->pinButtonRect(row, view->model()->index(1, 0)).center());
        QVERIFY(f->manager.entries().at(1)->isFavorite());
        QCOMPARE(f->pasteboard.writeCount(), 3);
        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          rows->pinButtonRect(row, view->model()->index(1, 0)).center());
        QVERIFY(!f->manager.entries().at(1)->isFavorite());

        QTimer::singleShot(0, this, [] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
                menu->close();
        });
        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          HistoryRowView::menuButtonRect(row).center());
        QCOMPARE(f->pasteboard.writeCount(), 3);

        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          HistoryRowView::cardRect(row).topLeft() + QPoint(20, 20));
        QCOMPARE(*f->pasteboard.stringForType(PasteboardType::plainText), u"middle"_s);
        QCOMPARE(f->manager.entries().first()->textContent(), u"middle"_s);
    }

    void rowMenuPinsAndDeletes()
    {
        makeView(false);
        const QRect row = rowRect(*view, 0);
        QWidget* viewport = view->listView()->viewport();
        const auto triggerMenuItem = [&](int item) {
            QTest::mouseClick(viewport, Qt::LeftButton, {},
                              HistoryRowView::menuButtonRect(row).center());
            QTRY_VERIFY(view->rowMenu() && view->rowMenu()->isVisible());
            view->rowMenu()->actions().at(item)->trigger();
            view->rowMenu()->close();
        };
        triggerMenuItem(0); // pin
        QVERIFY(f->manager.entries().first()->isFavorite());
        triggerMenuItem(2); // delete (after the separator)
        QCOMPARE(f->manager.entries().size(), 2);
        QCOMPARE(f->manager.entries().first()->textContent(), u"middle"_s);
    }

    void favouritesTabFollowsPins()
    {
        makeView(true);
        QVERIFY(view->isShowingEmptyState());
        const QStringList texts = labelsOf(view);
        QVERIFY(texts.contains(f->language.string(u"empty_favorites_sub"_s)));
        QCOMPARE(texts.count(f->language.string(u"tab_favorites"_s)), 2); // header and empty state
        QVERIFY(view->clearButton()->isVisible());

        f->manager.toggleFavorite(f->manager.entries().at(2));
        QVERIFY(!view->isShowingEmptyState());
        QCOMPARE(view->model()->rowCount(), 1);
        const auto* rows = qobject_cast<HistoryRowView*>(view->listView()->itemDelegate());
        QTest::mouseClick(
            view->listView()->viewport(), Qt::LeftButton, {},
            rows->pinButtonRect(rowRect(*view, 0), view->model()->index(0, 0)).center());
        QCOMPARE(view->model()->rowCount(), 0);
        QVERIFY(view->isShowingEmptyState());
    }

    void clearAskesFirstUnlessTurnedOff()
    {
        f->manager.toggleFavorite(f->manager.entries().at(0));
        makeView(true);
        QTest::mouseClick(view->clearButton(), Qt::LeftButton);
        QVERIFY(view->clearSheet()->isVisible());
        QTest::mouseClick(view->clearSheet()->cancelButton(), Qt::LeftButton);
        QVERIFY(!view->clearSheet()->isVisible());
        QCOMPARE(f->manager.entries().size(), 3);

        QTest::mouseClick(view->clearButton(), Qt::LeftButton);
        QTest::mouseClick(view->clearSheet()->confirmButton(), Qt::LeftButton);
        QCOMPARE(f->manager.entries().size(), 1);
        QCOMPARE(view->model()->rowCount(), 1); // the favourites tab keeps its favourite

        f->copy(u"later"_s);
        f->settings.set(settings::confirmClear, false);
        QTest::mouseClick(view->clearButton(), Qt::LeftButton);
        QVERIFY(!view->clearSheet()->isVisible());
        QCOMPARE(f->manager.entries().size(), 1);
    }
};

QTEST_MAIN(TestClipboardListGui)
#include "test_clipboard_list_gui.moc"
