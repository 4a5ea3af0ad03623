// SPDX-License-Identifier: GPL-3.0-or-later
// Every view of the application, opened as a user opens it (ViewTour.h), in both themes and every
// language: each text reads on its background and fits where it is drawn (ViewInspector.h), also
// with a larger desktop font and on a small screen at 1.5 times its resolution, as the test's
// environment sets them. Then under a pseudo-language made from the English translation file, in
// which each text is wrapped and written with accented look-alikes of its letters
// ("[!! Ƥŕéƒéŕéñçéš… ·· !!]"): whatever the views paint or show as a tool tip or window title with
// a plain Latin letter in it comes from somewhere else than the translation files, unless it is
// the user's or the catalogues' data.
#include "gui/ui/LaunchedApp.h"
#include "gui/ui/PaintedTexts.h"
#include "gui/ui/ViewInspector.h"
#include "gui/ui/ViewTour.h"
#include "pickers/TextCollections.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/preferences/AboutView.h"
#include "ui/style/Appearance.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

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
        const QList<test::PaintedText> texts = test::paintedTexts(window);
        QVERIFY2(!texts.isEmpty(), qPrintable(where + u" paints no text"_s));
        for (const test::PaintedText& text : texts)
            check(where, text.text);
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

class TestEveryViewGui : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The desktop's font, where the run names a size for it.
        if (const int points = qEnvironmentVariableIntValue("TESSEL_TEST_DESKTOP_FONT_POINTS")) {
            QFont font = QApplication::font();
            font.setPointSize(points);
            QApplication::setFont(font);
        }
    }

    void everyViewReadsAndFits_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("language");
        for (const char* theme : {"dark", "light"}) {
            for (const char* language : {"pt", "en", "es"})
                QTest::addRow("%s %s", theme, language)
                    << QString::fromLatin1(theme) << QString::fromLatin1(language);
        }
    }

    void everyViewReadsAndFits()
    {
        QFETCH(QString, theme);
        QFETCH(QString, language);
        test::PopupFixture f;
        f.settings.set(settings::themeMode, theme);
        const Appearance appearance(f.settings, nullptr);
        test::LaunchedApp launched(f);
        test::ViewInspector inspector(theme == "dark"_L1);
        QStringList views;
        test::tourEveryView(f, launched, language, [&](const QString& name, QWidget* window) {
            inspector.inspect(name, window);
            views << name;
        });
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(views.size() >= 20, qPrintable(views.join(u", "_s)));
        QVERIFY(inspector.measuredTexts() > 200);
        for (const QString& problem : inspector.problems())
            qWarning("%s", qPrintable(problem));
        QCOMPARE(inspector.problems().size(), 0);
    }

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
        Findings findings;
        // The user's data: the tour's history has no Latin letter but the image's hash; the
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
        findings.allow(u"V"_s);      // the keys' own characters on the key caps
        findings.allow(u"."_s);

        test::LaunchedApp launched(f);
        AppDelegate& app = launched.app;
        test::tourEveryView(f, launched, u"pseudo"_s, [&](const QString& name, QWidget* window) {
            if (name == "popup clipboard"_L1) {
                for (const ClipboardEntryPtr& entry : f.manager.entries()) {
                    if (entry->isImage())
                        findings.allow(entry->hash().left(8));
                }
                const QAbstractItemModel* rows = window->findChild<ClipboardListView*>()->model();
                for (int row = 0; row < rows->rowCount(); ++row) {
                    findings.check(u"history row tool tip"_s,
                                   rows->index(row, 0).data(Qt::ToolTipRole).toString());
                }
            }
            findings.checkWindow(name, window);
        });
        if (QTest::currentTestFailed())
            return;
        findings.check(u"tray tool tip"_s, app.statusItem()->toolTip());

        // The names the desktop's shortcut settings list: the shortcut service's, and the
        // keyboard settings' once the user lets Tessel keep the shortcuts there.
        QCOMPARE(launched.backend.actionNames.size(), 2);
        for (const QString& name : std::as_const(launched.backend.actionNames))
            findings.check(u"shortcut service's action"_s, name);
        app.openPreferences();
        app.preferencesWindow()->findChild<QCheckBox*>(u"desktopShortcuts"_s)->click();
        QCOMPARE(launched.keybindings.written.size(), 2);
        for (const DesktopKeybindings::Binding& binding : launched.keybindings.written)
            findings.check(u"desktop keybinding"_s, binding.name);

        QVERIFY(findings.checked() > 100);
        QVERIFY2(findings.problems().isEmpty(), qPrintable(findings.problems().join(u'\n')));
    }
};

QTEST_MAIN(TestEveryViewGui)
#include "test_every_view_gui.moc"
