#include "PopupFixture.h"
#include "app/PopupActions.h"
#include "support/TestImages.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListModel.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/HistoryRowView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace tessel;

// The clipboard and favourites tabs narrowed by the popup's search text.
class TestHistorySearchGui : public QObject {
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

    bool press(int key) { return view->handlePopupKey(QKeyEvent(QEvent::KeyPress, key, {})); }

    // The rows shown, top to bottom; an image row as "[image]".
    QStringList shown() const
    {
        QStringList rows;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            rows << view->model()->entryAt(row)->textContent().value_or(u"[image]"_s);
        return rows;
    }

    ClipboardEntryPtr entryWithText(const QString& text) const
    {
        for (const ClipboardEntryPtr& entry : f->manager.entries()) {
            if (entry->textContent() == text)
                return entry;
        }
        return nullptr;
    }

    QRect rowRect(int row) const
    {
        return view->listView()->visualRect(view->model()->index(row, 0));
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

    void typingNarrowsInHistoryOrderWithoutImages()
    {
        makeView(false);
        QCOMPARE(shown(), (QStringList{u"ALPHA three"_s, u"[image]"_s, u"gamma"_s, u"Alpha two"_s,
                                       u"alpha one"_s}));
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
        QStringList labels;
        for (const QLabel* label : view->findChildren<QLabel*>()) {
            if (label->isVisibleTo(view))
                labels << label->text();
        }
        QVERIFY(labels.contains(f->language.string(u"search_no_matches"_s)));
        QVERIFY(!labels.contains(f->language.string(u"empty_clipboard_sub"_s)));
        QVERIFY(!press(Qt::Key_Return));
    }

    void keyboardWorksOnTheNarrowedList()
    {
        makeView(false);
        QVERIFY(press(Qt::Key_Down));
        view->setSearchText(u"alpha"_s);
        // The first match is selected, whatever was selected before.
        QCOMPARE(view->selectedIndex(), 0);
        QVERIFY(press(Qt::Key_Down));
        QVERIFY(press(Qt::Key_Down));
        QVERIFY(press(Qt::Key_Down)); // stays on the last match
        QCOMPARE(view->selectedIndex(), 2);
        QVERIFY(view->model()->index(2, 0).data(ClipboardListModel::KeyboardSelectedRole).toBool());
        QVERIFY(press(Qt::Key_Up));
        QVERIFY(press(Qt::Key_Return));
        QCOMPARE(*f->pasteboard.stringForType(PasteboardType::plainText), u"Alpha two"_s);
        QCOMPARE(f->manager.entries().first()->textContent(), u"Alpha two"_s);
    }

    void clearingTheFieldKeepsTheSelectedEntry()
    {
        makeView(false);
        view->setSearchText(u"alpha"_s);
        QVERIFY(press(Qt::Key_Down));
        QVERIFY(press(Qt::Key_Down)); // "alpha one", the last row of the whole list
        view->setSearchText(QString());
        QCOMPARE(shown().size(), 5);
        QCOMPARE(view->selectedIndex(), 4);
        QVERIFY(view->model()->index(4, 0).data(ClipboardListModel::KeyboardSelectedRole).toBool());
        QVERIFY(view->listView()->viewport()->rect().intersects(rowRect(4)));
        QVERIFY(press(Qt::Key_Up));
        QVERIFY(press(Qt::Key_Return));
        QCOMPARE(*f->pasteboard.stringForType(PasteboardType::plainText), u"Alpha two"_s);
    }

    void pinsAndTheRowMenuActOnTheNarrowedRows()
    {
        makeView(false);
        view->setSearchText(u"two"_s);
        QCOMPARE(shown(), QStringList{u"Alpha two"_s});
        const auto* rows = qobject_cast<HistoryRowView*>(view->listView()->itemDelegate());
        QTest::mouseClick(view->listView()->viewport(), Qt::LeftButton, {},
                          rows->pinButtonRect(rowRect(0), view->model()->index(0, 0)).center());
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
        QTest::mouseClick(view->listView()->viewport(), Qt::LeftButton, {},
                          HistoryRowView::menuButtonRect(rowRect(0)).center());
        QTRY_VERIFY(!entryWithText(u"ALPHA three"_s));
        QCOMPARE(f->manager.entries().size(), 4);
        QVERIFY(view->isShowingEmptyState());
    }

    void favouritesTabSearchesItsFavourites()
    {
        f->manager.toggleFavorite(entryWithText(u"gamma"_s));
        f->manager.toggleFavorite(entryWithText(u"alpha one"_s));
        makeView(true);
        view->setSearchText(u"ALPHA"_s);
        QCOMPARE(shown(), QStringList{u"alpha one"_s});
        f->manager.toggleFavorite(entryWithText(u"ALPHA three"_s));
        QCOMPARE(shown(), (QStringList{u"ALPHA three"_s, u"alpha one"_s}));
        view->setSearchText(u" "_s);
        QCOMPARE(shown(), (QStringList{u"ALPHA three"_s, u"gamma"_s, u"alpha one"_s}));
    }
};

QTEST_MAIN(TestHistorySearchGui)
#include "test_history_search_gui.moc"
