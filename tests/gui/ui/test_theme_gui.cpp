// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContrastProbe.h"
#include "PopupFixture.h"
#include "ui/popup/ContentView.h"
#include "ui/style/Appearance.h"
#include "ui/style/Theme.h"
#include "ui/widgets/SearchBar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

Q_DECLARE_METATYPE(tessel::Theme::Roles)

using namespace Qt::StringLiterals;
using namespace tessel;
using namespace tessel::test;

// The themes' colour roles, and what the views of test_every_view_gui do not show: a search field
// in a window whose theme is not the application's, drop-down lists and tooltips.
class TestThemeGui : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::PopupFixture> f;

    static QStringList themes() { return {u"dark"_s, u"light"_s}; }

private Q_SLOTS:
    void init() { f = std::make_unique<test::PopupFixture>(); }
    void cleanup()
    {
        QToolTip::hideText();
        f.reset();
    }

    void rolesReadOnEverySurface_data()
    {
        QTest::addColumn<Theme::Roles>("roles");
        QTest::newRow("dark") << Theme::roles(Theme::Scheme::dark);
        QTest::newRow("light") << Theme::roles(Theme::Scheme::light);
        // A desktop's own palettes: Qt's standard light one, and a dark one with a faint link.
        QTest::newRow("desktop light")
            << Theme::roles(Theme::mended(QApplication::style()->standardPalette()));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
        dark.setColor(QPalette::WindowText, QColor(0xdd, 0xdd, 0xdd));
        dark.setColor(QPalette::Link, QColor(0x20, 0x40, 0x90));
        dark.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
        dark.setColor(QPalette::HighlightedText, QColor(0xff, 0xff, 0xff));
        QTest::newRow("desktop dark") << Theme::roles(Theme::mended(dark));
    }

    void rolesReadOnEverySurface()
    {
        QFETCH(Theme::Roles, roles);
        const QList<std::pair<const char*, QColor>> surfaces{
            {"window", roles.window}, {"card", roles.card}, {"field", roles.field}};
        const QList<std::tuple<const char*, QColor, double>> inks{
            {"text", roles.text, 4.5},
            {"secondary", roles.secondary, 4.5},
            {"tertiary", roles.tertiary, 4.5},
            {"placeholder", roles.placeholder, 4.5},
            {"accent", roles.accent, 4.5},
            {"error", roles.error, 4.5},
            {"warning", roles.warning, 4.5},
            {"success", roles.success, 4.5},
            {"control border", roles.controlBorder, 3.0}};
        for (const auto& [surface, fill] : surfaces) {
            for (const auto& [ink, colour, needed] : inks) {
                const double ratio = Theme::contrast(colour, fill);
                QVERIFY2(ratio >= needed,
                         qPrintable(u"%1 on %2: %3"_s
                                        .arg(QLatin1StringView(ink), QLatin1StringView(surface))
                                        .arg(ratio)));
            }
        }
        QVERIFY(Theme::contrast(roles.selectionText, roles.selection) >= 4.5);
        // The levels stay apart: each weaker text is weaker than the one above.
        QVERIFY(Theme::contrast(roles.text, roles.window) >
                Theme::contrast(roles.secondary, roles.window));
        QVERIFY(Theme::contrast(roles.secondary, roles.window) >=
                Theme::contrast(roles.tertiary, roles.window));
    }

    // What the user types and the hint before it, in a popup whose theme is not the
    // application's: the search field takes its window's colours, not the application's.
    void searchFieldTakesItsWindowsColours_data()
    {
        QTest::addColumn<QString>("mode");
        for (const QString& mode : themes())
            QTest::newRow(qPrintable(mode)) << mode;
    }

    void searchFieldTakesItsWindowsColours()
    {
        QFETCH(QString, mode);
        f->settings.set(settings::themeMode, mode);
        const Appearance appearance(f->settings, nullptr);
        Theme::applyToApplication(
            Theme::palette(mode == "dark"_L1 ? Theme::Scheme::light : Theme::Scheme::dark));
        ContentView view(f->context(), PopupTab::clipboard);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(Theme::isDark(view.palette()), mode == "dark"_L1);
        SearchBar* bar = view.searchBar();
        QLineEdit* edit = bar->lineEdit();
        const QRect field = edit->geometry();

        const Reading hint = measure(bar, field);
        QCOMPARE(hint.background.lightness() < 128, mode == "dark"_L1);
        QVERIFY2(Theme::contrast(edit->palette().color(QPalette::PlaceholderText),
                                 hint.background) >= 4.5,
                 qPrintable(edit->palette().color(QPalette::PlaceholderText).name()));
        QVERIFY2(hint.contrast >= kTextFloor, qPrintable(describe(u"placeholder"_s, hint)));

        QTest::keyClicks(edit, u"HWM"_s);
        const Reading typed = measure(bar, field);
        QVERIFY2(Theme::contrast(edit->palette().color(QPalette::Text), typed.background) >= 4.5,
                 qPrintable(edit->palette().color(QPalette::Text).name()));
        QVERIFY2(typed.contrast >= 4.5, qPrintable(describe(u"typed text"_s, typed)));
    }

    // Qt's own pieces that no view shows for long take the theme too: a combo box's list and a
    // tooltip. (Menus and check boxes are measured in every view by test_every_view_gui.)
    void qtWidgetsFollowTheTheme_data()
    {
        QTest::addColumn<QString>("mode");
        for (const QString& mode : themes())
            QTest::newRow(qPrintable(mode)) << mode;
    }

    void qtWidgetsFollowTheTheme()
    {
        QFETCH(QString, mode);
        const bool dark = mode == "dark"_L1;
        f->settings.set(settings::themeMode, mode);
        const Appearance appearance(f->settings, nullptr);

        QWidget host;
        auto* combo = new QComboBox(&host);
        combo->addItems({u"Automatic"_s, u"English"_s, u"Español"_s});
        host.resize(300, 80);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        combo->showPopup();
        QWidget* list = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(list->window()));
        const Reading listText = measure(list);
        QCOMPARE(listText.background.lightness() < 128, dark);
        QVERIFY2(listText.contrast >= 4.5, qPrintable(describe(u"drop-down list"_s, listText)));
        combo->hidePopup();

        QToolTip::showText(host.mapToGlobal(QPoint(10, 10)), u"Preferences…"_s, &host);
        QWidget* tip = nullptr;
        QTRY_VERIFY((tip = [] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->inherits("QTipLabel") && top->isVisible())
                    return top;
            }
            return static_cast<QWidget*>(nullptr);
        }()));
        const Reading tipText = measure(tip);
        QCOMPARE(tipText.background.lightness() < 128, dark);
        QVERIFY2(tipText.contrast >= 4.5, qPrintable(describe(u"tooltip"_s, tipText)));
    }
};

QTEST_MAIN(TestThemeGui)
#include "test_theme_gui.moc"
