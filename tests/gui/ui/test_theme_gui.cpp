// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopupFixture.h"
#include "core/ColourSchemeSource.h"
#include "platform/desktop/PortalColourScheme.h"
#include "support/FakePortal.h"
#include "support/SessionBus.h"
#include "ui/popup/ContentView.h"
#include "ui/style/Appearance.h"
#include "ui/style/Theme.h"
#include "ui/widgets/SearchBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDBusVariant>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolTip>

Q_DECLARE_METATYPE(tessel::Theme::Roles)
Q_DECLARE_METATYPE(tessel::PopupTab)

using namespace Qt::StringLiterals;
using namespace tessel;
using Preference = ColourSchemeSource::Preference;

namespace {

// A desktop whose colour-scheme preference the test sets.
class SetPreference final : public ColourSchemeSource {
public:
    Preference preference() const override { return m_preference; }
    void set(Preference preference)
    {
        m_preference = preference;
        Q_EMIT preferenceChanged();
    }

private:
    Preference m_preference = Preference::none;
};

QImage pixels(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The colour covering most of `area`: the background its text is drawn on.
QColor dominant(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    }
    return QColor(best);
}

// The strongest contrast a pixel of `area` makes with `background`: the core of the glyphs.
double strongest(const QImage& image, const QRect& area, const QColor& background)
{
    double best = 1;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            best = std::max(best, Theme::contrast(QColor(image.pixel(x, y)), background));
    }
    return best;
}

// What a text drawn in `widget` (a label, a menu...) measures against its background.
struct Reading {
    QColor background;
    double contrast;
};
Reading measure(QWidget* widget, QRect area = {})
{
    const QImage image = pixels(widget);
    if (area.isNull())
        area = image.rect();
    const QColor background = dominant(image, area);
    return {background, strongest(image, area, background)};
}

QString describe(const QString& what, const Reading& reading)
{
    return u"%1: %2 on %3"_s.arg(what)
        .arg(reading.contrast, 0, 'f', 2)
        .arg(reading.background.name());
}

// Antialiasing leaves thin glyphs a little short of their colour; the measured cores of text in
// a role that reads at 4.5:1 come within this of it, and a wrong colour falls far below.
constexpr double kTextFloor = 4.0;
} // namespace

// Every text and control of the popup and of Qt's own widgets in both themes, measured where it
// is drawn; and the "follow the system" theme, which follows the desktop's settings portal.
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

    // "Follow the system": the desktop's preference picks Tessel's dark or light theme, and with
    // no preference the desktop's own palette stays.
    void followsTheDesktopPreference()
    {
        f->settings.set(settings::themeMode, u"system"_s);
        SetPreference desktop;
        const Appearance appearance(f->settings, &desktop);
        QCOMPARE(appearance.scheme(), Theme::Scheme::system);
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 Theme::desktopPalette().color(QPalette::Window));
        // Where the desktop's own hint and highlight would not read, Tessel's take their place.
        const QPalette applied = QApplication::palette();
        QVERIFY(Theme::contrast(applied.color(QPalette::PlaceholderText),
                                applied.color(QPalette::Base)) >= 4.5);
        QVERIFY(Theme::contrast(applied.color(QPalette::HighlightedText),
                                applied.color(QPalette::Highlight)) >= 4.5);
        ContentView view(f->context(), PopupTab::clipboard);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        desktop.set(Preference::dark);
        QCOMPARE(appearance.scheme(), Theme::Scheme::dark);
        QTRY_VERIFY(Theme::isDark(view.searchBar()->lineEdit()->palette()));
        // A choice of the user's own wins over the desktop's.
        f->settings.set(settings::themeMode, u"light"_s);
        QCOMPARE(appearance.scheme(), Theme::Scheme::light);
        QTRY_VERIFY(!Theme::isDark(view.palette()));
        f->settings.set(settings::themeMode, u"system"_s);
        QTRY_VERIFY(Theme::isDark(view.palette()));
        desktop.set(Preference::none);
        QCOMPARE(appearance.scheme(), Theme::Scheme::system);
    }

    // The same through the settings portal on a session bus: it answers "prefer light" first,
    // then the user switches the desktop to dark and back while the popup is open.
    void followsTheSettingsPortalWhileOpen()
    {
        if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
            QSKIP("dbus-daemon is not installed");
        test::SessionBus bus;
        QVERIFY(bus.isRunning());
        test::FakePortal portal(bus.address());
        QVERIFY(portal.isRegistered());
        const QString settingsPortal = u"org.freedesktop.portal.Settings"_s;
        portal.handle(settingsPortal, u"Read"_s, [](const QDBusMessage& call) {
            if (call.arguments().value(0).toString() != "org.freedesktop.appearance"_L1 ||
                call.arguments().value(1).toString() != "color-scheme"_L1)
                return test::FakePortal::Answer{{}, u"org.freedesktop.portal.Error.NotFound"_s};
            // Read wraps the value in a second variant.
            const QDBusVariant inner(QVariant::fromValue(2u));
            return test::FakePortal::Answer{
                {QVariant::fromValue(QDBusVariant(QVariant::fromValue(inner)))}, {}};
        });
        const auto change = [&](uint value) {
            portal.emitSignal(u"/org/freedesktop/portal/desktop"_s, settingsPortal,
                              u"SettingChanged"_s,
                              {u"org.freedesktop.appearance"_s, u"color-scheme"_s,
                               QVariant::fromValue(QDBusVariant(QVariant::fromValue(value)))});
        };
        {
            const QDBusConnection client =
                QDBusConnection::connectToBus(bus.address(), u"tessel-theme-client"_s);
            desktop::PortalColourScheme scheme(client);
            f->settings.set(settings::themeMode, u"system"_s);
            const Appearance appearance(f->settings, &scheme);
            QTRY_COMPARE(scheme.preference(), Preference::light);
            QCOMPARE(appearance.scheme(), Theme::Scheme::light);
            ContentView view(f->context(), PopupTab::clipboard);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            change(1);
            QTRY_COMPARE(appearance.scheme(), Theme::Scheme::dark);
            QTRY_VERIFY(Theme::isDark(view.palette()));
            QLineEdit* edit = view.searchBar()->lineEdit();
            QTest::keyClicks(edit, u"HWM"_s);
            const Reading typed = measure(view.searchBar(), edit->geometry());
            QVERIFY2(typed.background.lightness() < 128 && typed.contrast >= 4.5,
                     qPrintable(describe(u"typed text after the switch"_s, typed)));

            // Another setting of the same portal changes nothing.
            portal.emitSignal(u"/org/freedesktop/portal/desktop"_s, settingsPortal,
                              u"SettingChanged"_s,
                              {u"org.freedesktop.appearance"_s, u"accent-color"_s,
                               QVariant::fromValue(QDBusVariant(QVariant::fromValue(2u)))});
            change(2);
            QTRY_COMPARE(appearance.scheme(), Theme::Scheme::light);
            QTRY_VERIFY(!Theme::isDark(view.palette()));
            QCOMPARE(portal.callsOf(u"Read"_s).size(), 1);
        }
        QDBusConnection::disconnectFromBus(u"tessel-theme-client"_s);
    }
};

QTEST_MAIN(TestThemeGui)
#include "test_theme_gui.moc"
