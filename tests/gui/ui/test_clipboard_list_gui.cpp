// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopupFixture.h"
#include "app/PopupActions.h"
#include "support/TestImages.h"
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
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace tessel;

// The clipboard and favourites tabs: rows, keys, clicks and the search text.
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
    bool press(int key) { return view->handlePopupKey(QKeyEvent(QEvent::KeyPress, key, {})); }

    void click(QPoint at)
    {
        QTest::mouseClick(view->listView()->viewport(), Qt::LeftButton, {}, at);
    }

    QRect rowRect(int row) const
    {
        return view->listView()->visualRect(view->model()->index(row, 0));
    }

    QRect pinRect(int row) const
    {
        const auto* rows = qobject_cast<HistoryRowView*>(view->listView()->itemDelegate());
        return rows->pinButtonRect(rowRect(row), view->model()->index(row, 0));
    }

    // The rows shown, top to bottom; an image row as "[image]".
    QStringList shown() const
    {
        QStringList rows;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            rows << view->model()->entryAt(row)->textContent().value_or(u"[image]"_s);
        return rows;
    }

    QStringList labels() const
    {
        QStringList texts;
        for (const QLabel* label : view->findChildren<QLabel*>()) {
            if (label->isVisibleTo(view))
                texts.append(label->text());
        }
        return texts;
    }

    ClipboardEntryPtr entryWithText(const QString& text) const
    {
        for (const ClipboardEntryPtr& entry : f->manager.entries()) {
            if (entry->textContent() == text)
                return entry;
        }
        return nullptr;
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<test::PopupFixture>();
        f->copy(u"alpha one"_s);
        f->copy(u"Alpha two"_s);
        f->copy(u"gamma"_s);
        PasteboardItem picture;
        picture.setData(PasteboardType::png, test::encodedImage("png"));
        f->pasteboard.writeExternal(picture);
        f->manager.poll();
        f->copy(u"ALPHA three"_s);
    }

    void cleanup()
    {
        host.reset();
        f.reset();
    }

    void imageRowsAreNamedInTheInterfaceLanguage()
    {
        ClipboardListModel history(f->manager, f->language);
        const QModelIndex image = history.index(1);
        QVERIFY(history.entryAt(1)->isImage());
        const QString hash = history.entryAt(1)->hash().left(8);
        QCOMPARE(image.data(Qt::ToolTipRole).toString(), u"[Image "_s + hash + u']');
        f->settings.set(settings::appLanguage, u"pt"_s);
        QCOMPARE(image.data(Qt::ToolTipRole).toString(), u"[Imagem "_s + hash + u']');
        f->settings.set(settings::appLanguage, u"es"_s);
        QCOMPARE(image.data(Qt::DisplayRole).toString(), u"[Imagen "_s + hash + u']');
        QCOMPARE(history.index(0).data(Qt::DisplayRole).toString(), u"ALPHA three"_s);
    }

    void modelFollowsTheHistoryRowByRow()
    {
        ClipboardListModel history(f->manager, f->language);
        ClipboardListFilter all(&history, false);
        ClipboardListFilter favorites(&history, true);
        const auto mode = QAbstractItemModelTester::FailureReportingMode::QtTest;
        QAbstractItemModelTester tester(&history, mode), favoritesTester(&favorites, mode);
        QSignalSpy resets(&history, &QAbstractItemModel::modelReset);
        const auto rowsMatch = [&] {
            ClipboardEntryList rows;
            for (int row = 0; row < all.rowCount(); ++row)
                rows.append(all.entryAt(row));
            return rows == f->manager.entries();
        };
        // A hovered or selected row keeps pointing at its entry while others come and go.
        const QPersistentModelIndex hovered = all.index(0, 0);
        const ClipboardEntryPtr hoveredEntry = all.entryAt(0);

        f->settings.set(settings::maxHistoryItems, qint64(10));
        // Trims at the last two new texts, then a move to the top.
        for (const QString& text : {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s, u"g"_s, u"a"_s})
            f->copy(text);
        QVERIFY(rowsMatch());
        f->manager.toggleFavorite(f->manager.entries().at(2));
        QCOMPARE(favorites.rowCount(), 1);
        f->manager.select(f->manager.entries().last());
        QVERIFY(rowsMatch());
        f->manager.deleteEntry(f->manager.entries().at(1));
        QVERIFY(rowsMatch());
        QCOMPARE(hovered.data(ClipboardListModel::EntryRole).value<ClipboardEntryPtr>(),
                 hoveredEntry);
        f->manager.clearAll();
        QVERIFY(rowsMatch());
        QCOMPARE(favorites.rowCount(), 1);
        QCOMPARE(resets.count(), 0);
    }

    void markHeavyTextPaintsInsideItsRow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("marks above") << u"a"_s + QString(300, QChar(0x0301));
        QTest::newRow("marks below") << u"g"_s + QString(300, QChar(0x0316));
        QTest::newRow("both, on every letter")
            << QString(u"o"_s + QString(20, QChar(0x0301)) + QString(20, QChar(0x0316)))
                   .repeated(30);
    }

    void markHeavyTextPaintsInsideItsRow()
    {
        QFETCH(QString, text);
        f->copy(text);
        makeView(false);
        const auto* rows = qobject_cast<HistoryRowView*>(view->listView()->itemDelegate());
        const QModelIndex index = view->model()->index(0, 0);
        QStyleOptionViewItem option;
        option.initFrom(view->listView()->viewport());
        option.rect = QRect(0, 0, 330, 0);
        option.rect = QRect(QPoint(0, 300), rows->sizeHint(option, index));
        QImage canvas(330, 900, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        {
            QPainter painter(&canvas);
            rows->paint(&painter, option, index);
        }
        // Nothing the row draws may land on its neighbours.
        int outside = 0;
        for (int y = 0; y < canvas.height(); ++y) {
            if (y >= option.rect.top() && y <= option.rect.bottom())
                continue;
            for (int x = 0; x < canvas.width(); ++x)
                outside += qAlpha(canvas.pixel(x, y)) != 0;
        }
        QCOMPARE(outside, 0);
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

    void imageRowsAreDrawnBeforeTheirImagesAreDecoded()
    {
        // Decoding belongs off the main thread: a paint draws the row at once, with its image's
        // place empty, and the image follows when its decode is done.
        makeView(false);
        f->manager.images().clear(); // as for a new popup: nothing decoded yet
        const int row = int(shown().indexOf(u"[image]"_s));
        const QRect content =
            HistoryRowView::cardRect(rowRect(row))
                .adjusted(HistoryRowView::cardPadding, HistoryRowView::cardPadding, 0, 0);
        const QPoint inside = content.topLeft() + QPoint(4, 4); // the 8 x 8 red picture
        const auto drawn = [&] {
            return view->listView()->viewport()->grab().toImage().pixelColor(inside);
        };
        QVERIFY(drawn() != QColor(Qt::red));
        QTRY_COMPARE(drawn(), QColor(Qt::red));
    }

    void keyboardSelectionStopsAtBothEnds()
    {
        makeView(false);
        QCOMPARE(view->selectedIndex(), 0);
        for (int i = 0; i < 6; ++i)
            QVERIFY(press(Qt::Key_Down));
        QCOMPARE(view->selectedIndex(), 4);
        QVERIFY(view->model()->index(4, 0).data(ClipboardListModel::KeyboardSelectedRole).toBool());
        for (int i = 0; i < 6; ++i)
            QVERIFY(press(Qt::Key_Up));
        QCOMPARE(view->selectedIndex(), 0);
        QVERIFY(!press(Qt::Key_A)); // other keys go on to the focused widget

        // A selection left past the end by deletions chooses nothing.
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        while (f->manager.entries().size() > 1)
            f->manager.deleteEntry(f->manager.entries().last());
        const int writes = f->pasteboard.writeCount();
        QVERIFY(!press(Qt::Key_Return));
        QCOMPARE(f->pasteboard.writeCount(), writes);
        QVERIFY(press(Qt::Key_Down));
        QCOMPARE(view->selectedIndex(), 0);

        f->manager.clearAll();
        QVERIFY(view->isShowingEmptyState() && !press(Qt::Key_Down) && !press(Qt::Key_Return));
        QVERIFY(labels().contains(f->language.string("empty_clipboard_sub")));
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
        bool pendingWhenClosed = true;
        const int restoresBefore = f->workspace.restoreCalls;
        int restoresWhenClosed = -1;
        connect(&f->windowController, &WindowController::closed, this, [&] {
            pendingWhenClosed = f->paste.isPastePending();
            restoresWhenClosed = f->workspace.restoreCalls;
        });

        QTest::keyClick(f->windowController.window(), Qt::Key_Down);
        QTest::keyClick(f->windowController.window(), Qt::Key_Down);
        QTest::keyClick(f->windowController.window(), Qt::Key(key), modifiers);
        QCOMPARE(*f->pasteboard.stringForType(PasteboardType::plainText), u"gamma"_s);
        QCOMPARE(f->manager.entries().first()->textContent(), u"gamma"_s);
        QVERIFY(!f->windowController.isOpen());
        // Closed, with the focus handed back to the application, before the paste is scheduled.
        QVERIFY(!pendingWhenClosed);
        QCOMPARE(restoresWhenClosed, restoresBefore + 1);
        QVERIFY(f->keys.chords.isEmpty());
        QTRY_COMPARE(f->keys.chords.size(), 1);
    }

    void clickChoosesButPinAndMenuButtonsDoNot()
    {
        makeView(false);
        const int writes = f->pasteboard.writeCount();
        click(pinRect(2).center());
        QVERIFY(entryWithText(u"gamma"_s)->isFavorite());

        QTimer::singleShot(0, this, [] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
                menu->close();
        });
        click(HistoryRowView::menuButtonRect(rowRect(2)).center());
        QCOMPARE(f->pasteboard.writeCount(), writes);

        click(HistoryRowView::cardRect(rowRect(2)).topLeft() + QPoint(20, 20));
        QCOMPARE(*f->pasteboard.stringForType(PasteboardType::plainText), u"gamma"_s);
        QCOMPARE(f->manager.entries().first()->textContent(), u"gamma"_s);
    }

    void favouritesTabFollowsPins()
    {
        makeView(true);
        QVERIFY(view->isShowingEmptyState());
        QCOMPARE(labels().count(f->language.string("tab_favorites")), 2); // header, empty state
        f->manager.toggleFavorite(f->manager.entries().at(2));
        QCOMPARE(view->model()->rowCount(), 1);
        click(pinRect(0).center());
        QCOMPARE(view->model()->rowCount(), 0);
        QVERIFY(view->isShowingEmptyState());
    }

    void clearAsksFirstUnlessTurnedOff()
    {
        f->manager.toggleFavorite(f->manager.entries().at(0));
        makeView(true);
        QTest::mouseClick(view->clearButton(), Qt::LeftButton);
        QTest::mouseClick(view->clearSheet()->cancelButton(), Qt::LeftButton);
        QVERIFY(!view->clearSheet()->isVisible());
        QCOMPARE(f->manager.entries().size(), 5);

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

    void typingNarrowsInHistoryOrderWithoutImages()
    {
        makeView(false);
        view->setSearchText(u"alpha"_s);
        QCOMPARE(shown(), (QStringList{u"ALPHA three"_s, u"Alpha two"_s, u"alpha one"_s}));
        view->setSearchText(u"alpha t"_s);
        QCOMPARE(shown(), (QStringList{u"ALPHA three"_s, u"Alpha two"_s}));

        // A copy made while the query is typed shows only if it matches.
        f->copy(u"not this"_s);
        f->copy(u"alpha the newest"_s);
        QCOMPARE(shown(), (QStringList{u"alpha the newest"_s, u"ALPHA three"_s, u"Alpha two"_s}));

        view->setSearchText(u"zeta"_s);
        QVERIFY(view->isShowingEmptyState());
        QVERIFY(labels().contains(f->language.string("search_no_matches")));
        QVERIFY(!labels().contains(f->language.string("empty_clipboard_sub")));
        QVERIFY(!press(Qt::Key_Return));
    }

    void keyboardWorksOnTheNarrowedListAndKeepsItsEntryWhenCleared()
    {
        makeView(false);
        QVERIFY(press(Qt::Key_Down));
        view->setSearchText(u"alpha"_s);
        // The first match is selected, whatever was selected before.
        QCOMPARE(view->selectedIndex(), 0);
        for (int i = 0; i < 3; ++i)
            QVERIFY(press(Qt::Key_Down)); // stops on the last match
        QCOMPARE(view->selectedIndex(), 2);
        // "alpha one" stays selected in the whole list, and in sight.
        view->setSearchText(QString());
        QCOMPARE(view->selectedIndex(), 4);
        QVERIFY(view->listView()->viewport()->rect().intersects(rowRect(4)));
        QVERIFY(press(Qt::Key_Up));
        QVERIFY(press(Qt::Key_Return));
        QCOMPARE(*f->pasteboard.stringForType(PasteboardType::plainText), u"Alpha two"_s);
    }

    void pinsAndTheRowMenuActOnTheNarrowedRows()
    {
        makeView(false);
        view->setSearchText(u"two"_s);
        click(pinRect(0).center());
        QVERIFY(entryWithText(u"Alpha two"_s)->isFavorite());
        QVERIFY(!f->manager.entries().first()->isFavorite());

        view->setSearchText(u"three"_s);
        // The menu's last item deletes; it works whether the menu blocks or not.
        QTimer::singleShot(50, this, [] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                menu->actions().last()->trigger();
                menu->close();
            }
        });
        click(HistoryRowView::menuButtonRect(rowRect(0)).center());
        QTRY_VERIFY(!entryWithText(u"ALPHA three"_s));
        QCOMPARE(f->manager.entries().size(), 4);
        QVERIFY(view->isShowingEmptyState());
    }
};

QTEST_MAIN(TestClipboardListGui)
#include "test_clipboard_list_gui.moc"
