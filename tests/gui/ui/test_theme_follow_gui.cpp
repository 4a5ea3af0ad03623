// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContrastProbe.h"
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
#include <QDBusVariant>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using namespace tessel::test;
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

} // namespace

// "Follow the system": the theme the desktop prefers, told by a stand-in or by the settings
// portal on a session bus, switched while the popup is open.
class TestThemeFollowGui : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::PopupFixture> f;

private Q_SLOTS:
    void init() { f = std::make_unique<test::PopupFixture>(); }
    void cleanup() { f.reset(); }

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

QTEST_MAIN(TestThemeFollowGui)
#include "test_theme_follow_gui.moc"
