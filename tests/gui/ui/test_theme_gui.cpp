// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContrastProbe.h"
#include "PopupFixture.h"
#include "ui/popup/ContentView.h"
#include "ui/style/Appearance.h"
#include "ui/style/Theme.h"
#include "ui/widgets/SearchBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolTip>

Q_DECLARE_METATYPE(tessel::Theme::Roles)
Q_DECLARE_METATYPE(tessel::PopupTab)

using namespace Qt::StringLiterals;
using namespace tessel;
using namespace tessel::test;

// Every text and control of the popup and of Qt's own widgets in both themes, measured where it
// is drawn.
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

    // What the user types and the hint before it, in the search field of a history tab and of a
    // picker tab, measured on the field's own fill; also in a popup whose theme is not the
    // application's, where the field must still take its window's colours.
    void searchFieldReads_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<PopupTab>("tab");
        QTest::addColumn<bool>("apart");
        for (const QString& mode : themes()) {
            QTest::addRow("%s clipboard", qPrintable(mode)) << mode << PopupTab::clipboard << false;
            QTest::addRow("%s emoji", qPrintable(mode)) << mode << PopupTab::emoji << false;
            QTest::addRow("%s apart", qPrintable(mode)) << mode << PopupTab::clipboard << true;
        }
    }

    void searchFieldReads()
    {
        QFETCH(QString, mode);
        QFETCH(PopupTab, tab);
        QFETCH(bool, apart);
        f->settings.set(settings::themeMode, mode);
        const Appearance appearance(f->settings, nullptr);
        if (apart) {
            Theme::applyToApplication(
                Theme::palette(mode == "dark"_L1 ? Theme::Scheme::light : Theme::Scheme::dark));
        }
        ContentView view(f->context(), tab);
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

    // Every label of every tab, empty and with content, and of the onboarding.
    void labelsRead_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<PopupTab>("tab");
        QTest::addColumn<bool>("content");
        QTest::addColumn<bool>("trusted");
        for (const QString& mode : themes()) {
            for (PopupTab tab : allPopupTabs) {
                QTest::addRow("%s tab %d empty", qPrintable(mode), int(tab))
                    << mode << tab << false << true;
                QTest::addRow("%s tab %d", qPrintable(mode), int(tab))
                    << mode << tab << true << true;
            }
            QTest::addRow("%s onboarding", qPrintable(mode))
                << mode << PopupTab::clipboard << false << false;
        }
    }

    void labelsRead()
    {
        QFETCH(QString, mode);
        QFETCH(PopupTab, tab);
        QFETCH(bool, content);
        QFETCH(bool, trusted);
        f->trusted = trusted;
        f->permissions.checkPermission();
        QTRY_COMPARE(f->permissions.isAccessibilityGranted(), trusted);
        if (content)
            f->copy(u"A copied line"_s);
        f->settings.set(settings::themeMode, mode);
        const Appearance appearance(f->settings, nullptr);
        ContentView view(f->context(), tab);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        int measured = 0;
        const auto labels = view.findChildren<QLabel*>();
        for (QLabel* label : labels) {
            if (!label->isVisibleTo(&view) || label->text().trimmed().isEmpty())
                continue;
            const Reading reading = measure(label);
            QVERIFY2(reading.contrast >= kTextFloor, qPrintable(describe(label->text(), reading)));
            ++measured;
        }
        // The empty states and the onboarding are labels; the rows and cells are painted.
        if (!trusted || tab == PopupTab::favorites || (tab == PopupTab::clipboard && !content))
            QVERIFY(measured > 0);
    }

    // Qt's own pieces take the theme: a menu (the row menu, the tray menu), a combo box's list, a
    // tooltip, and the outline of an unchecked check box.
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

        QMenu menu;
        menu.addAction(u"Copy to the clipboard"_s);
        menu.addAction(u"Delete"_s);
        menu.popup(QPoint(50, 50));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        const Reading menuText = measure(&menu);
        QCOMPARE(menuText.background.lightness() < 128, dark);
        QVERIFY2(menuText.contrast >= 4.5, qPrintable(describe(u"menu"_s, menuText)));
        menu.hide();

        QWidget host;
        auto* combo = new QComboBox(&host);
        combo->addItems({u"Automatic"_s, u"English"_s, u"Español"_s});
        auto* box = new QCheckBox(u"Launch at login"_s, &host);
        box->move(0, 40);
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

        // The outline of the empty box against the window it sits on.
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator =
            box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        const QImage image = pixels(box);
        const QColor window = box->palette().color(QPalette::Window);
        double outline = 1;
        for (int x = indicator.left(); x <= indicator.right(); ++x) {
            for (int y : {indicator.top(), indicator.top() + 1}) {
                outline = std::max(outline, Theme::contrast(QColor(image.pixel(x, y)), window));
            }
        }
        QVERIFY2(outline >= 3.0, qPrintable(u"check box outline: %1"_s.arg(outline)));
    }
};

QTEST_MAIN(TestThemeGui)
#include "test_theme_gui.moc"
