// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopupFixture.h"
#include "pickers/EmojiCategories.h"
#include "ui/popup/CategoryButton.h"
#include "ui/popup/ContentView.h"
#include "ui/popup/EmojiPickerView.h"
#include "ui/popup/PickerGridModel.h"
#include "ui/popup/PickerGridView.h"
#include "ui/popup/TextPickerView.h"
#include "window/PopupWindow.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
QStringList texts(const PickerGridModel& model,
                  PickerGridItem::Kind kind = PickerGridItem::Kind::cell)
{
    QStringList result;
    for (const PickerGridItem& item : model.items()) {
        if (item.kind == kind)
            result.append(item.text);
    }
    return result;
}

QString highlightedText(const PickerGridView& grid)
{
    const int row = grid.highlightedRow();
    return row < 0 ? QString() : grid.gridModel()->item(row).text;
}

const QString cat = u"\U0001F63A"_s;     // grinning cat, the first match of "gato"
const QString catBody = u"\U0001F408"_s; // cat
const QString flagBrazil = u"\U0001F1E7\U0001F1F7"_s;
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

private Q_SLOTS:
    void init() { f = std::make_unique<test::PopupFixture>(); }
    void cleanup() { f.reset(); }

    void recentsShowOnlyWithoutSearchOrCategory_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("category");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("wholeCatalogue");
        QTest::newRow("nothing narrows") << QString() << false << true << true;
        QTest::newRow("spaces only") << u"   "_s << false << false << true;
        QTest::newRow("a search") << u"gato"_s << false << false << false;
        QTest::newRow("a category") << QString() << true << false << false;
    }

    void recentsShowOnlyWithoutSearchOrCategory()
    {
        QFETCH(QString, search);
        QFETCH(bool, category);
        QFETCH(bool, shown);
        QFETCH(bool, wholeCatalogue);
        for (const Emoji& emoji : f->emojis.emojis()) {
            if (emoji.character == catBody || emoji.character == flagBrazil)
                f->emojis.pushRecent(emoji);
        }
        EmojiPickerView view(f->emojis, f->language, search);
        QAbstractItemModelTester tester(view.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        if (category)
            view.selectCategory(u"Flags"_s);
        QCOMPARE(view.showsRecents(), shown);
        const QStringList titles{f->language.string("recent_emojis"),
                                 f->language.string("all_emojis")};
        QCOMPARE(texts(*view.model(), PickerGridItem::Kind::title), shown ? titles : QStringList());
        const QStringList cells = texts(*view.model());
        if (shown) // most recent first
            QCOMPARE(cells.mid(0, 2), (QStringList{flagBrazil, catBody}));
        QCOMPARE(cells.size() == f->emojis.emojis().size() + (shown ? 2 : 0), wholeCatalogue);
    }

    void categoryClickEndsTheSearch()
    {
        ContentView* content = openPopup(PopupTab::emoji);
        auto* view = qobject_cast<EmojiPickerView*>(content->tabContent());
        QLineEdit* field = content->searchBar()->lineEdit();
        QTest::keyClicks(field, u"gato"_s);
        QCOMPARE(texts(*view->model()).first(), cat);

        CategoryButton* flags = view->categoryButtons().last();
        QTest::mouseClick(flags, Qt::LeftButton);
        QCOMPARE(field->text(), QString());
        QCOMPARE(content->searchText(), QString());
        QCOMPARE(view->selectedCategory(), std::optional<QString>(u"Flags"_s));
        QVERIFY(flags->isSelected() && !view->categoryButtons().first()->isSelected());
        QVERIFY(texts(*view->model()).contains(flagBrazil));
        QVERIFY(!texts(*view->model()).contains(cat));
        // The click took no focus from the search field.
        QCOMPARE(content->window()->focusWidget(), field);

        // Clicking it again keeps it; only the all-categories button returns to everything.
        QTest::mouseClick(flags, Qt::LeftButton);
        QCOMPARE(view->selectedCategory(), std::optional<QString>(u"Flags"_s));
        QTest::mouseClick(view->categoryButtons().first(), Qt::LeftButton);
        QCOMPARE(view->selectedCategory(), std::nullopt);
        QCOMPARE(texts(*view->model()).size(), f->emojis.emojis().size());
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
        view->setSearchText(search);
        QStringList expectedTitles;
        for (const QString& key : titleKeys)
            expectedTitles.append(f->language.string(key.toLatin1().constData()));
        QCOMPARE(texts(*view->model(), PickerGridItem::Kind::title), expectedTitles);
        QCOMPARE(texts(*view->model()), cells);
        // The first match waits for Return.
        QCOMPARE(highlightedText(*view->grid()), cells.value(0));
    }

    void arrowsMoveTheHighlightThroughTheGrid()
    {
        for (const Emoji& emoji : f->emojis.emojis()) {
            if (emoji.character == catBody)
                f->emojis.pushRecent(emoji);
        }
        ContentView* content = openPopup(PopupTab::emoji);
        QLineEdit* field = content->searchBar()->lineEdit();
        PickerGridView* grid = qobject_cast<EmojiPickerView*>(content->tabContent())->grid();
        QCOMPARE(grid->highlightedRow(), -1);
        const QList<int> cells = grid->cellRows(); // the recent, then the catalogue
        const auto keys = [&](std::initializer_list<Qt::Key> presses) {
            for (Qt::Key key : presses)
                QTest::keyClick(field, key);
            return grid->highlightedRow();
        };
        QCOMPARE(keys({Qt::Key_Down}), cells.at(0));
        QCOMPARE(keys({Qt::Key_Down}), cells.at(1)); // into the catalogue's first row
        QCOMPARE(keys({Qt::Key_Down}), cells.at(1 + 7));
        QCOMPARE(keys({Qt::Key_Right, Qt::Key_Tab}), cells.at(1 + 7 + 2));
        QCOMPARE(keys({Qt::Key_Left}), cells.at(1 + 7 + 1));
        QCOMPARE(content->window()->focusWidget(), field);
        QCOMPARE(keys({Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}), -1); // back in the search field
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

        QTest::keyClicks(content->searchBar()->lineEdit(), u"gato"_s);
        QTest::keyClick(content->searchBar()->lineEdit(), Qt::Key(key), modifiers);
        QCOMPARE(steps, (QStringList{u"recent"_s, u"close"_s}));
        QCOMPARE(f->pasteboard.stringForType(PasteboardType::transient), std::optional(u"1"_s));
        QVERIFY(f->paste.isPastePending());
        QCOMPARE(EmojiStore(f->settings).recentEmojis().first().character, cat);
        QTRY_COMPARE(f->keys.chords.size(), 1);
        // The pick is transient: the history does not record it.
        f->manager.poll();
        QCOMPARE(f->manager.entries().size(), 1);
    }

    void clicksOnTitlesAndGapsPickNothing()
    {
        SymbolsPickerView view(f->language, QString());
        view.resize(330, 360);
        view.show();
        QSignalSpy picked(&view, &TextPickerView::picked);
        QWidget* viewport = view.grid()->viewport();
        const QRect title = view.grid()->visualRect(view.model()->index(0));
        const QRect first = view.grid()->visualRect(view.model()->index(1));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, title.center());
        QTest::mouseClick(viewport, Qt::LeftButton, {}, first.topRight() + QPoint(3, 0));
        QCOMPARE(picked.size(), 0);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, first.center());
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked.first().first().toString(), u"$"_s);
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
