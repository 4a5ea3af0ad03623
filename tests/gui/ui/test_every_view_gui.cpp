// SPDX-License-Identifier: GPL-3.0-or-later
// Every view under a pseudo-language made from the English translation file, in which each text
// is wrapped and written with accented look-alikes of its letters ("[!! Ƥŕéƒéŕéñçéš… ·· !!]"):
// whatever the views paint or show as a tool tip or window title with a plain Latin letter in
// it comes from somewhere else than the translation files, unless it is the user's or the
// catalogues' data.
#include "app/AppDelegate.h"
#include "gui/ui/PopupFixture.h"
#include "hotkey/DesktopKeybindings.h"
#include "hotkey/DesktopShortcuts.h"
#include "hotkey/HotkeyManager.h"
#include "pickers/TextCollections.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "support/TestImages.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/ContentView.h"
#include "ui/popup/EntryPreview.h"
#include "ui/popup/HistoryRowView.h"
#include "ui/preferences/AboutView.h"
#include "ui/preferences/KeyCapButton.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesView.h"
#include "ui/preferences/ShortcutsPage.h"
#include "ui/widgets/ConfirmationSheet.h"
#include "ui/widgets/SearchBar.h"
#include "window/PopupWindow.h"
#include "window/WindowController.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPaintEngine>
#include <QPushButton>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTextItem>
#include <algorithm>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

// A paint device that keeps the text painted on it, run by run, and draws nothing.
class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(QSize size)
        : m_size(size)
    {}

    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QStringList& texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return m_size.width() * 254 / 960;
        case PdmHeightMM:
            return m_size.height() * 254 / 960;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default: // the resolutions
            return 96;
        }
    }

private:
    struct Engine : QPaintEngine {
        Engine()
            : QPaintEngine(AllFeatures)
        {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawImage(const QRectF&, const QImage&, const QRectF&,
                       Qt::ImageConversionFlags) override
        {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
        Type type() const override { return User; }

        QStringList texts;
    };
    QSize m_size;
    mutable Engine m_engine;
};

// A desktop whose keyboard settings Tessel may keep its shortcuts in, and whose changes succeed.
class AgreeableKeybindings final : public DesktopKeybindings {
public:
    bool isOffered() const override { return true; }
    void apply(const QList<Binding>& bindings, Done done) override
    {
        written = bindings;
        done(Result::success());
    }
    void remove(Done done) override { done(Result::success()); }

    QList<Binding> written;
};

// The application launched on a fixture's services, with fakes for shortcuts and login, on a
// desktop that offers its keyboard settings for the shortcuts.
struct Launched {
    test::FakeHotkeyBackend backend;
    HotkeyManager hotkeys;
    test::FakeLoginItems loginItems;
    AgreeableKeybindings keybindings;
    DesktopShortcuts desktopShortcuts;
    AppDelegate app;

    explicit Launched(test::PopupFixture& f)
        : hotkeys(f.settings, backend)
        , desktopShortcuts(f.settings, hotkeys, &keybindings, u"tessel"_s)
        , app(f.settings, f.language, f.manager, f.windowController, hotkeys, f.permissions,
              f.paste, f.emojis, f.actions, loginItems)
    {
        app.setDesktopShortcuts(&desktopShortcuts);
        app.applicationDidFinishLaunching();
    }
    ~Launched() { app.applicationWillTerminate(); }
};

// What the user can read that does not come from the translation files.
class Findings {
public:
    // Texts of the user's or of the catalogues', which may hold Latin letters.
    void allow(const QString& data)
    {
        m_data.append(data);
        // Longest first, so that "R$" goes whole before "$" can leave its "R" behind.
        std::stable_sort(m_data.begin(), m_data.end(),
                         [](const QString& a, const QString& b) { return a.size() > b.size(); });
    }

    void check(const QString& where, const QString& text)
    {
        static const QRegularExpression latinLetter(u"[A-Za-z]"_s);
        QString rest = text;
        for (const QString& data : std::as_const(m_data))
            rest.remove(data);
        if (rest.contains(latinLetter))
            m_problems.append(where + u": \""_s + text + u'"');
        ++m_checked;
    }

    // Everything `window` paints, its title and the tool tips of its visible widgets and rows.
    void checkWindow(const QString& where, QWidget* window)
    {
        QVERIFY2(window->isVisible(), qPrintable(where));
        TextRecorder device(window->size());
        window->render(&device);
        QVERIFY2(!device.texts().isEmpty(), qPrintable(where + u" paints no text"_s));
        for (const QString& text : device.texts())
            check(where, text);
        if (!window->windowTitle().isEmpty())
            check(where + u" title"_s, window->windowTitle());
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(window))
                continue;
            const QString name =
                where + u" "_s + QString::fromLatin1(widget->metaObject()->className());
            if (!widget->toolTip().isEmpty())
                check(name + u" tool tip"_s, widget->toolTip());
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                check(name + u" placeholder"_s, edit->placeholderText());
            if (auto* combo = qobject_cast<QComboBox*>(widget)) {
                for (int i = 0; i < combo->count(); ++i)
                    check(name + u" choice"_s, combo->itemText(i));
            }
        }
    }

    void checkMenu(const QString& where, QMenu* menu)
    {
        QVERIFY2(menu, qPrintable(where));
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                check(where, action->text());
        }
        menu->popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        checkWindow(where, menu);
        menu->close();
    }

    int checked() const { return m_checked; }
    const QStringList& problems() const { return m_problems; }

private:
    QStringList m_data;
    QStringList m_problems;
    int m_checked = 0;
};

TranslationCatalogue pseudoCatalogue()
{
    return TranslationCatalogue::load(u":/test/pseudo"_s);
}

} // namespace

class TestPseudoLocaleGui : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void thePseudoLanguageWrapsEveryText()
    {
        test::PopupFixture f(pseudoCatalogue());
        f.settings.set(settings::appLanguage, u"pseudo"_s);
        QCOMPARE(f.language.activeLanguageCode(), u"pseudo"_s);
        QCOMPARE(f.language.string("clear_all"), u"[!! Çłéáŕ áłł ··· !!]"_s);
        QCOMPARE(f.language.string("items_count_format", 50), u"[!! 50 íŧéṁš ·· !!]"_s);
    }

    void noViewShowsATextOutsideTheTranslationFiles()
    {
        test::PopupFixture f(pseudoCatalogue());
        f.settings.set(settings::appLanguage, u"pseudo"_s);
        Findings findings;
        // The user's data: the history below has no Latin letter but the image's hash; the
        // pickers' characters, the languages' own names, the website and the keys' characters
        // are the catalogues' and the build's.
        for (const TextCategory& category : kaomojiCategories() + symbolCategories()) {
            for (const QString& item : category.items)
                findings.allow(item);
        }
        for (const QString& choice : f.language.catalogue().codes())
            findings.allow(f.language.label(choice));
        findings.allow(AboutView::websiteUrl().host());
        findings.allow(u"Ctrl+Q"_s); // the quit shortcut, in Qt's own words

        f.copy(u"١٢٣ — ٤٥٦"_s);
        PasteboardItem picture;
        picture.setData(PasteboardType::png, test::encodedImage("png"));
        f.pasteboard.writeExternal(picture);
        f.manager.poll();
        PasteboardItem broken;
        broken.setData(PasteboardType::png, "\x89PNG not really"_ba);
        f.pasteboard.writeExternal(broken);
        f.manager.poll();
        f.copy(u"日本語のテキスト"_s);
        for (const ClipboardEntryPtr& entry : f.manager.entries()) {
            if (entry->isImage())
                findings.allow(entry->hash().left(8));
        }

        Launched launched(f);
        AppDelegate& app = launched.app;
        findings.check(u"tray tool tip"_s, app.statusItem()->toolTip());
        findings.checkMenu(u"tray menu"_s, app.statusMenu());

        // Every tab of the popup, the history with and without favourites.
        for (PopupTab tab : allPopupTabs) {
            app.openPopup(tab);
            PopupWindow* popup = f.windowController.window();
            QVERIFY(QTest::qWaitForWindowExposed(popup));
            findings.checkWindow(u"popup "_s + rawValue(tab), popup);
            auto* content = qobject_cast<ContentView*>(popup->content());
            auto* list = qobject_cast<ClipboardListView*>(content->tabContent());
            if (tab == PopupTab::clipboard) {
                for (int row = 0; row < list->model()->rowCount(); ++row) {
                    findings.check(u"history row tool tip"_s,
                                   list->model()->index(row, 0).data(Qt::ToolTipRole).toString());
                }
                // The preview of the selected entry (the newest, a text) and its caption.
                QLineEdit* search = content->findChild<SearchBar*>()->findChild<QLineEdit*>();
                QTest::keyClick(search, ClipboardListView::previewKey);
                QTRY_VERIFY(list->isPreviewShown() && list->preview()->isVisible());
                findings.checkWindow(u"entry preview"_s, list->preview());
                QTest::keyClick(search, ClipboardListView::previewKey);
                // The row menu, the confirmation, a search without matches.
                QListView* rows = list->listView();
                const QRect rect = rows->visualRect(list->model()->index(0, 0));
                QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                                  HistoryRowView::menuButtonRect(rect).center());
                QTRY_VERIFY(list->rowMenu());
                findings.checkMenu(u"row menu"_s, list->rowMenu());
                list->clearRequested();
                QVERIFY(list->clearSheet()->isVisible());
                findings.checkWindow(u"clear confirmation"_s, popup);
                list->clearSheet()->cancelButton()->click();
                search->setText(u"∅∅∅"_s);
                QTRY_VERIFY(list->isShowingEmptyState());
                findings.checkWindow(u"popup without matches"_s, popup);
            }
            f.windowController.close(false);
        }
        f.manager.toggleFavorite(f.manager.entries().first());
        app.openPopup(PopupTab::favorites);
        QVERIFY(QTest::qWaitForWindowExposed(f.windowController.window()));
        findings.checkWindow(u"favourites"_s, f.windowController.window());
        f.windowController.close(false);

        // The first-start explanations: the missing permission, then a limited desktop.
        f.trusted = false;
        f.permissions.checkPermission();
        QTRY_VERIFY(!f.permissions.isAccessibilityGranted());
        app.openPopup(PopupTab::clipboard);
        QVERIFY(QTest::qWaitForWindowExposed(f.windowController.window()));
        findings.checkWindow(u"permission"_s, f.windowController.window());
        f.windowController.close(false);
        f.trusted = true;
        f.permissions.checkPermission();
        QTRY_VERIFY(f.permissions.isAccessibilityGranted());
        f.permissions.setCapabilities(
            {false, PlatformCapabilities::AutoPaste::x11WindowsOnly, true});
        app.openPopup(PopupTab::clipboard);
        QVERIFY(QTest::qWaitForWindowExposed(f.windowController.window()));
        QVERIFY(f.windowController.window()->findChild<QPushButton*>(u"addDesktopShortcuts"_s));
        findings.checkWindow(u"limited desktop"_s, f.windowController.window());
        f.windowController.close(false);

        // Every page of the preferences (with the note of a refused paste permission), a shortcut
        // being recorded and refused, then About.
        f.settings.set(settings::remoteDesktopRefused, true);
        app.openPreferences();
        auto* prefs = qobject_cast<PreferencesView*>(app.preferencesWindow());
        QVERIFY(QTest::qWaitForWindowExposed(prefs));
        findings.allow(u"V"_s); // the keys' own characters on the key caps
        findings.allow(u"."_s);
        const QWidget* refusal = prefs->findChild<QPushButton*>(u"askDesktopAgain"_s);
        QCheckBox* desktopKeys = prefs->findChild<QCheckBox*>(u"desktopShortcuts"_s);
        for (int page = PreferencesView::general; page <= PreferencesView::shortcuts; ++page) {
            prefs->selectTab(page);
            QCOMPARE(refusal->isVisibleTo(prefs), page == PreferencesView::privacy);
            QCOMPARE(desktopKeys->isVisibleTo(prefs), page == PreferencesView::shortcuts);
            findings.checkWindow(u"preferences page "_s + QString::number(page), prefs);
        }
        KeyCapButton* keys = prefs->shortcutsPage()->clipboardButton();
        QTest::mouseClick(keys, Qt::LeftButton);
        QVERIFY(keys->isRecording());
        findings.checkWindow(u"recording a shortcut"_s, prefs);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, 0x61, 0);
        QCoreApplication::sendEvent(keys, &press);
        QVERIFY(prefs->shortcutsPage()->errorLabel()->isVisible());
        findings.checkWindow(u"refused shortcut"_s, prefs);
        QTest::keyClick(keys, Qt::Key_Escape);

        // The names the desktop's shortcut settings list: the shortcut service's, and the
        // keyboard settings' once the user lets Tessel keep the shortcuts there.
        QCOMPARE(launched.backend.actionNames.size(), 2);
        for (const QString& name : std::as_const(launched.backend.actionNames))
            findings.check(u"shortcut service's action"_s, name);
        desktopKeys->click();
        QCOMPARE(launched.keybindings.written.size(), 2);
        for (const DesktopKeybindings::Binding& binding : launched.keybindings.written)
            findings.check(u"desktop keybinding"_s, binding.name);

        app.openAboutWindow();
        QVERIFY(QTest::qWaitForWindowExposed(app.aboutWindow()));
        findings.checkWindow(u"about"_s, app.aboutWindow());

        QVERIFY(findings.checked() > 100);
        QVERIFY2(findings.problems().isEmpty(), qPrintable(findings.problems().join(u'\n')));
    }
};

QTEST_MAIN(TestPseudoLocaleGui)
#include "test_pseudo_locale_gui.moc"
