#include "PopupFixture.h"
#include "pickers/EmojiCategories.h"
#include "ui/CategoryButton.h"
#include "ui/ContentView.h"
#include "ui/EmojiPickerView.h"
#include "ui/PickerGridModel.h"
#include "ui/PickerGridView.h"
#include "ui/TextPickerView.h"
#include "window/PopupWindow.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
QStringList cellTexts(const PickerGridModel& model)
{
    QStringList texts;
    for (const PickerGridItem& item : model.items()) {
        if (item.kind == PickerGridItem::Kind::cell)
            texts.append(item.text);
    }
    return texts;
}

QStringList titles(const PickerGridModel& model)
{
    QStringList texts;
    for (const PickerGridItem& item : model.items()) {
        if (item.kind == PickerGridItem::Kind::title)
            texts.append(item.text);
    }
    return texts;
}

QString highlightedText(const PickerGridView& grid)
{
    const int row = grid.highlightedRow();
    return row < 0 ? QString() : grid.gridModel()->item(row).text;
}

const QString cat = u"\U0001F63A"_s;     // grinning cat, the first match of "gato"
const QString catBody = u"\U0001F408"_s; // cat
const QString flagBrazil = u"\U0001F1E7\U0001F1F7"_s;
// "¯\_(ツ)_/¯": a backslash; "( ͡° ͜ʖ ͡°)": combining marks.
const QString shrug = u"\u00AF\\_(\u30C4)_/\u00AF"_s;
} // namespace

class TestPickersGui : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::PopupFixture> f;

    // A popup opened on `tab` as the shortcut opens it, choices wired to the application.
    ContentView* openPopup(PopupTab tab)
    {
        auto* view = new ContentView(f->context(), tab);
        f->actions.connectTo(*view);
        f->windowController.open(tab, view);
        QCoreApplication::processEvents(); // the popup's deferred activation gives the focus
        return view;
    }

    void pushRecents(const QStringList& characters)
    {
        for (const QString& character : characters) {
            for (const Emoji& emoji : f->emojis.emojis()) {
                if (emoji.character == character)
                    f->emojis.pushRecent(emoji);
            }
        }
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<test::PopupFixture>();
        QVERIFY(f->emojis.emojis().size() > 1000);
    }
    void cleanup() { f.reset(); }

    void recentsShowOnlyWithoutSearchOrCategory_data()
    {
        QTest::addColumn<bool>("hasRecents");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("category");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("wholeCatalogue");
        QTest::newRow("recents, nothing narrows") << true << QString() << false << true << true;
        QTest::newRow("spaces only") << true << u"   "_s << false << false << true;
        QTest::newRow("a search") << true << u"gato"_s << false << false << false;
        QTest::newRow("a category") << true << QString() << true << false << false;
    }

    void recentsShowOnlyWithoutSearchOrCategory()
    {
        QFETCH(bool, hasRecents);
        QFETCH(QString, search);
        QFETCH(bool, category);
        QFETCH(bool, shown);
        QFETCH(bool, wholeCatalogue);
        if (hasRecents)
            pushRecents({catBody, flagBrazil});
        EmojiPickerView view(f->emojis, f->language, search);
        QAbstractItemModelTester tester(view.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        if (category)
            view.selectCategory(u"Flags"_s);
        QCOMPARE(view.showsRecents(), shown);
        const QStringList expectedTitles = shown
                                               ? QStringList{f->language.string(u"recent_emojis"_s),
                                                             f->language.string(u"all_emojis"_s)}
                                               : QStringList();
        QCOMPARE(titles(*view.model()), expectedTitles);
        const QStringList cells = cellTexts(*view.model());
        if (shown)
            QCOMPARE(cells.mid(0, 2), (QStringList{flagBrazil, catBody})); // most recent first
        QCOMPARE(cells.size() == f->emojis.emojis().size() + (shown ? 2 : 0), wholeCatalogue);
    }

    void searchIgnoresTheCategoryAndFindsPastedEmoji()
    {
        EmojiPickerView view(f->emojis, f->language, QString());
        view.selectCategory(u"Flags"_s);
        QVERIFY(cellTexts(*view.model()).contains(flagBrazil));
        QVERIFY(!cellTexts(*view.model()).contains(cat));

        view.setSearchText(u" Gato\t"_s);
        const QStringList matches = cellTexts(*view.model());
        QCOMPARE(matches.first(), cat);
        QVERIFY(matches.contains(catBody));
        QVERIFY(!matches.contains(flagBrazil));
        QCOMPARE(view.selectedCategory(), std::optional<QString>(u"Flags"_s));

        view.setSearchText(catBody);
        QVERIFY(cellTexts(*view.model()).contains(catBody));
        view.setSearchText(u"no emoji is called this"_s);
        QVERIFY(view.model()->items().isEmpty());
    }

    void categoryClickEndsTheSearch()
    {
        ContentView* content = openPopup(PopupTab::emoji);
        auto* view = qobject_cast<EmojiPickerView*>(content->tabContent());
        QVERIFY(view);
        QTest::keyClicks(content->searchBar()->lineEdit(), u"gato"_s);
        QCOMPARE(cellTexts(*view->model()).first(), cat);

        const int flags = 1 + int(emojiCategories.size()) - 1; // the last button: "Flags"
        QTest::mouseClick(view->categoryButtons().at(flags), Qt::LeftButton);
        QCOMPARE(content->searchBar()->lineEdit()->text(), QString());
        QCOMPARE(content->searchText(), QString());
        QCOMPARE(view->selectedCategory(), std::optional<QString>(u"Flags"_s));
        QVERIFY(view->categoryButtons().at(flags)->isSelected());
        QVERIFY(!view->categoryButtons().first()->isSelected());
        const QStringList cells = cellTexts(*view->model());
        QVERIFY(cells.contains(flagBrazil));
        QVERIFY(!cells.contains(cat));
        // The click took no focus from the search field.
        QCOMPARE(content->window()->focusWidget(), content->searchBar()->lineEdit());

        // Clicking it again keeps it; only the all-categories button returns to everything.
        QTest::mouseClick(view->categoryButtons().at(flags), Qt::LeftButton);
        QCOMPARE(view->selectedCategory(), std::optional<QString>(u"Flags"_s));
        QTest::mouseClick(view->categoryButtons().first(), Qt::LeftButton);
        QCOMPARE(view->selectedCategory(), std::nullopt);
        QCOMPARE(cellTexts(*view->model()).size(), f->emojis.emojis().size());
    }

    void textPickersHideEmptySections_data()
    {
        QTest::addColumn<PopupTab>("tab");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("titleKeys");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("symbols, dollar")
            << PopupTab::symbols << u"$"_s << QStringList{u"symbol_currency"_s}
            << QStringList{u"$"_s, u"R$"_s};
        QTest::newRow("kaomoji, title word")
            << PopupTab::kaomoji << u" flip\n"_s << QStringList{u"kaomoji_action"_s}
            << kaomojiCategories().at(1).items;
        QTest::newRow("nothing matches")
            << PopupTab::symbols << u"zzz"_s << QStringList() << QStringList();
    }

    void textPickersHideEmptySections()
    {
        QFETCH(PopupTab, tab);
        QFETCH(QString, search);
        QFETCH(QStringList, titleKeys);
        QFETCH(QStringList, cells);
        std::unique_ptr<TextPickerView> view;
        if (tab == PopupTab::symbols)
            view = std::make_unique<SymbolsPickerView>(f->language, QString());
        else
            view = std::make_unique<KaomojiPickerView>(f->language, QString());
        QCOMPARE(titles(*view->model()).size(), 4);
        view->setSearchText(search);
        QStringList expectedTitles;
        for (const QString& key : titleKeys)
            expectedTitles.append(f->language.string(key));
        QCOMPARE(titles(*view->model()), expectedTitles);
        QCOMPARE(cellTexts(*view->model()), cells);
        // The first match waits for Return.
        QCOMPARE(highlightedText(*view->grid()), cells.isEmpty() ? QString() : cells.first());
    }

    void arrowsMoveTheHighlightThroughTheGrid()
    {
        pushRecents({catBody});
        ContentView* content = openPopup(PopupTab::emoji);
        auto* view = qobject_cast<EmojiPickerView*>(content->tabContent());
        QLineEdit* field = content->searchBar()->lineEdit();
        PickerGridView* grid = view->grid();
        QCOMPARE(grid->highlightedRow(), -1);
        const QList<int> cells = grid->cellRows(); // the recent, then the catalogue

        QTest::keyClick(field, Qt::Key_Down);
        QCOMPARE(grid->highlightedRow(), cells.at(0));
        QTest::keyClick(field, Qt::Key_Down); // into the catalogue's first row
        QCOMPARE(grid->highlightedRow(), cells.at(1));
        QTest::keyClick(field, Qt::Key_Down);
        QCOMPARE(grid->highlightedRow(), cells.at(1 + 7));
        QTest::keyClick(field, Qt::Key_Right);
        QTest::keyClick(field, Qt::Key_Tab);
        QCOMPARE(grid->highlightedRow(), cells.at(1 + 7 + 2));
        QTest::keyClick(field, Qt::Key_Left);
        QCOMPARE(grid->highlightedRow(), cells.at(1 + 7 + 1));
        QCOMPARE(content->window()->focusWidget(), field);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(grid->highlightedRow(), -1); // back in the search field
        QVERIFY(!grid->isKeyboardInGrid());

        // Outside the grid the side arrows belong to the text.
        QTest::keyClicks(field, u"gat"_s);
        QCOMPARE(highlightedText(*grid), cat);
        QTest::keyClick(field, Qt::Key_Left);
        QCOMPARE(field->cursorPosition(), 2);
        QCOMPARE(highlightedText(*grid), cat);
        QVERIFY(f->windowController.isOpen());
    }

    void returnPicksTheHighlightInFourSteps_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }

    void returnPicksTheHighlightInFourSteps()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        f->copy(u"an entry of the history"_s);
        ContentView* content = openPopup(PopupTab::emoji);
        QLineEdit* field = content->searchBar()->lineEdit();
        QStringList steps;
        connect(&f->emojis, &EmojiStore::recentEmojisChanged, this, [&] {
            steps << u"recent"_s;
            QCOMPARE(*f->pasteboard.stringForType(PasteboardType::plainText),
                     u"an entry of the history"_s);
        });
        connect(&f->windowController, &WindowController::closed, this, [&] {
            steps << u"close"_s;
            QCOMPARE(*f->pasteboard.stringForType(PasteboardType::plainText), cat);
            QVERIFY(!f->paste.isPastePending());
        });

        QTest::keyClicks(field, u"gato"_s);
        QTest::keyClick(field, Qt::Key(key), modifiers);
        QCOMPARE(steps, (QStringList{u"recent"_s, u"close"_s}));
        QCOMPARE(f->pasteboard.stringForType(PasteboardType::transient), std::optional(u"1"_s));
        QVERIFY(!f->windowController.isOpen());
        QVERIFY(f->paste.isPastePending());
        QCOMPARE(f->emojis.recentEmojis().first().character, cat);
        QTRY_COMPARE(f->keys.chords.size(), 1);
        // The pick is transient: the history does not record it.
        f->manager.poll();
        QCOMPARE(f->manager.entries().size(), 1);

        // Saved: a new store (a restart) shows it first among the recents.
        EmojiStore restarted(f->settings);
        QCOMPARE(restarted.recentEmojis().first().character, cat);
        EmojiPickerView view(restarted, f->language, QString());
        QCOMPARE(cellTexts(*view.model()).first(), cat);
    }

    void clickPicksTextExactlyAndRecordsNoRecent()
    {
        ContentView* content = openPopup(PopupTab::kaomoji);
        auto* view = qobject_cast<TextPickerView*>(content->tabContent());
        QVERIFY(view);
        PickerGridView* grid = view->grid();
        const int row = int(cellTexts(*view->model()).indexOf(shrug)) + 1; // after the title
        QCOMPARE(view->model()->item(row).text, shrug);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(view->model()->index(row)).center());
        QCOMPARE(f->pasteboard.stringForType(PasteboardType::plainText), std::optional(shrug));
        QCOMPARE(f->pasteboard.stringForType(PasteboardType::transient), std::optional(u"1"_s));
        QVERIFY(!f->windowController.isOpen());
        QVERIFY(f->paste.isPastePending());
        QVERIFY(f->emojis.recentEmojis().isEmpty());
    }

    void clicksOnTitlesAndGapsPickNothing()
    {
        SymbolsPickerView view(f->language, QString());
        view.resize(330, 360);
        view.show();
        QSignalSpy picked(&view, &TextPickerView::picked);
        PickerGridView* grid = view.grid();
        const QRect title = grid->visualRect(view.model()->index(0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, title.center());
        const QRect first = grid->visualRect(view.model()->index(1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, first.topRight() + QPoint(3, 0));
        QCOMPARE(picked.size(), 0);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked.first().first().toString(), u"$"_s);
    }

    // As many columns of the minimum width as fit, sharing the width; the emoji's 7 fixed ones
    // centred. No cell overlaps another or leaves the view.
    void gridsFillTheirWidthWithColumns_data()
    {
        QTest::addColumn<PopupTab>("tab");
        QTest::addColumn<int>("columns");
        QTest::newRow("emoji") << PopupTab::emoji << 7;
        QTest::newRow("kaomoji, at least 90 wide") << PopupTab::kaomoji << 3;
        QTest::newRow("symbols, at least 36 wide") << PopupTab::symbols << 7;
    }

    void gridsFillTheirWidthWithColumns()
    {
        QFETCH(PopupTab, tab);
        QFETCH(int, columns);
        ContentView* content = openPopup(tab);
        auto* grid = content->tabContent()->findChild<PickerGridView*>();
        QVERIFY(grid);
        const QList<int> cells = grid->cellRows();
        QVERIFY(cells.size() > columns);
        const int top = grid->contentRect(cells.first()).top();
        int inFirstRow = 0;
        QRect previous;
        for (int row : cells) {
            const QRect rect = grid->contentRect(row);
            QVERIFY(rect.left() >= 12 && rect.right() < grid->viewport()->width() - 11);
            if (rect.top() == previous.top())
                QVERIFY(rect.left() > previous.right());
            inFirstRow += rect.top() == top;
            previous = rect;
        }
        QCOMPARE(inFirstRow, columns);
    }

    void tooltipNamesTheEmojiInTheInterfaceLanguage()
    {
        f->language.setCurrentLanguageRaw(u"pt"_s);
        EmojiPickerView view(f->emojis, f->language, u"gato"_s);
        const QModelIndex first = view.model()->index(0);
        QCOMPARE(first.data(Qt::DisplayRole).toString(), cat);
        QCOMPARE(first.data(Qt::ToolTipRole).toString(), u"rosto de gato sorrindo"_s);
        f->language.setCurrentLanguageRaw(u"es"_s);
        QCOMPARE(first.data(Qt::ToolTipRole).toString(), u"gato sonriendo"_s);
    }
};

QTEST_MAIN(TestPickersGui)
#include "test_pickers_gui.moc"
