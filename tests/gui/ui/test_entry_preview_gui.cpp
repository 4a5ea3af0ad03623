// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopupFixture.h"
#include "support/TestImages.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ContentView.h"
#include "ui/popup/EntryPreview.h"
#include "window/PopupWindow.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

// An entry shown whole beside the popup: on the preview key for the keyboard selection, or with
// the pointer resting on a row.
class TestEntryPreviewGui : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::PopupFixture> f;
    ContentView* content = nullptr;
    ClipboardListView* list = nullptr;

    void openPopup()
    {
        f->windowController.open(PopupTab::clipboard,
                                 new ContentView(f->context(), PopupTab::clipboard));
        content = qobject_cast<ContentView*>(f->windowController.window()->content());
        list = qobject_cast<ClipboardListView*>(content->tabContent());
        QVERIFY(list);
    }

    // A key typed where the user types: into the popup's search field.
    void type(Qt::Key key) { QTest::keyClick(content->searchBar()->lineEdit(), key); }

    EntryPreview* preview() const { return list->preview(); }
    bool previewShows(const QString& text) const
    {
        return list->isPreviewShown() && preview()->isVisible() &&
               preview()->entry()->textContent() == text;
    }

    void moveOver(int row)
    {
        QWidget* viewport = list->listView()->viewport();
        const QPoint at = list->listView()->visualRect(list->model()->index(row, 0)).center();
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, {});
        QCoreApplication::sendEvent(viewport, &move);
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<test::PopupFixture>();
        QStringList lines;
        for (int i = 1; i <= 100; ++i)
            lines.append(u"line %1"_s.arg(i));
        f->copy(lines.join(u'\n'));
        f->copy(u"the newest"_s);
    }
    void cleanup()
    {
        f->windowController.close(false);
        f.reset();
    }

    void thePreviewKeyShowsTheSelectionWholeWithoutTyping()
    {
        openPopup();
        type(ClipboardListView::previewKey);
        QVERIFY(previewShows(u"the newest"_s));
        QVERIFY(content->searchBar()->lineEdit()->text().isEmpty());
        QCOMPARE(preview()->accessibleName(), f->language.string("preview_title"));

        // It follows the selection, showing thirty lines of a long text and how long it is.
        type(Qt::Key_Down);
        QVERIFY(preview()->entry()->textContent()->startsWith(u"line 1\n"_s));
        const QStringList shown = preview()->shownText().split(u'\n');
        QCOMPARE(shown.size(), EntryPreview::maxTextLines);
        QCOMPARE(shown.first(), u"line 1"_s);
        QCOMPARE(shown.last(), u"line 30"_s);
        QCOMPARE(preview()->caption(), u"Lines: 100 · Characters: 791"_s);
        // Beside the popup, not over it.
        QVERIFY(!preview()->geometry().intersects(f->windowController.window()->geometry()));

        // The same key closes it; the popup stays.
        type(ClipboardListView::previewKey);
        QVERIFY(!list->isPreviewShown() && !preview()->isVisible());
        QVERIFY(f->windowController.isOpen());
    }

    void escapeClosesThePreviewFirstThenThePopup()
    {
        openPopup();
        type(ClipboardListView::previewKey);
        QVERIFY(list->isPreviewShown());
        type(Qt::Key_Escape);
        QVERIFY(!list->isPreviewShown() && !preview()->isVisible());
        QVERIFY(f->windowController.isOpen());
        type(Qt::Key_Escape);
        QVERIFY(!f->windowController.isOpen());
    }

    void anImageIsShownAtUpToAThirdOfTheScreenWithItsSize()
    {
        const QByteArray png = test::encodedImage("png", Qt::darkCyan, 1500);
        PasteboardItem picture;
        picture.setData(PasteboardType::png, png);
        f->pasteboard.writeExternal(picture);
        f->manager.poll();
        openPopup();
        type(ClipboardListView::previewKey);
        QTRY_VERIFY(!preview()->shownImage().isNull());
        const QSize third = QGuiApplication::primaryScreen()->availableGeometry().size() / 3;
        const QSize image = preview()->shownImage().size();
        QVERIFY2(image.width() <= third.width() && image.height() <= third.height(),
                 qPrintable(u"%1x%2"_s.arg(image.width()).arg(image.height())));
        QCOMPARE(image.width(), image.height());
        QCOMPARE(preview()->caption(),
                 u"1,500 × 1,500 pixels · "_s + QLocale(u"en"_s).formattedDataSize(png.size()));
        QVERIFY(preview()->isVisible());
    }

    void restingThePointerOnARowShowsItUntilThePointerLeaves()
    {
        openPopup();
        moveOver(1);
        QVERIFY(!list->isPreviewShown());
        QTRY_VERIFY(list->isPreviewShown());
        QVERIFY(preview()->entry()->textContent()->startsWith(u"line 1"_s));
        // The next row follows at once, as tool tips do.
        moveOver(0);
        QVERIFY(previewShows(u"the newest"_s));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(list->listView()->viewport(), &leave);
        QVERIFY(!list->isPreviewShown() && !preview()->isVisible());
        QVERIFY(f->windowController.isOpen());
    }

    void aHugeTextShowsItsBeginningAndItsWholeSize()
    {
        f->copy(QString(4 * 1024 * 1024, u'x'));
        openPopup();
        type(ClipboardListView::previewKey);
        QVERIFY(list->isPreviewShown());
        QCOMPARE(preview()->shownText().split(u'\n').size(), EntryPreview::maxTextLines);
        QCOMPARE(preview()->caption(), u"Lines: 1 · Characters: 4,194,304"_s);
        QVERIFY(preview()->height() < QGuiApplication::primaryScreen()->geometry().height());
    }
};

QTEST_MAIN(TestEntryPreviewGui)
#include "test_entry_preview_gui.moc"
