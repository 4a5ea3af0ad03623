// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Desktop.h"
#include "support/FakePortal.h"
#include "support/SessionBus.h"
#include "support/TesselProcess.h"

#include <QDBusVariant>
#include <QHash>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel::test;

namespace {
const QString kSettingsPortal = u"org.freedesktop.portal.Settings"_s;

// The colour that covers most of the open popup on the screen: its background.
QColor popupBackground()
{
    const QRect popup = popupGeometry();
    if (popup.isEmpty())
        return {};
    QProcess import;
    import.start(
        u"import"_s,
        {u"-window"_s, u"root"_s, u"-crop"_s,
         u"%1x%2+%3+%4"_s.arg(popup.width()).arg(popup.height()).arg(popup.x()).arg(popup.y()),
         u"png:-"_s});
    if (!import.waitForFinished(10000))
        return {};
    const QImage image = QImage::fromData(import.readAllStandardOutput(), "PNG");
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            ++counts[image.pixel(x, y) | 0xff000000];
    }
    QRgb most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(most))
            most = it.key();
    }
    return counts.isEmpty() ? QColor() : QColor(most);
}

bool popupIsDark(bool dark)
{
    return QTest::qWaitFor(
        [dark] {
            const QColor background = popupBackground();
            return background.isValid() && (background.lightness() < 128) == dark;
        },
        5000);
}
} // namespace

// Tessel, left to follow the system, takes the colour scheme the desktop's settings portal
// reports, and a change of it while the popup is open, as the popup's pixels on the screen show.
class TestDesktopThemeE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing =
            missingForDesktopTest({u"xdotool"_s, u"import"_s, u"dbus-daemon"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
    }

    void thePopupFollowsTheDesktopsColourSchemeWhileOpen()
    {
        SessionBus bus;
        QVERIFY(bus.isRunning());
        FakePortal portal(bus.address());
        QVERIFY(portal.isRegistered());
        // "Prefer light" at the start; Read wraps the value in a second variant.
        portal.handle(kSettingsPortal, u"Read"_s, [](const QDBusMessage& call) {
            if (call.arguments().value(0).toString() != "org.freedesktop.appearance"_L1 ||
                call.arguments().value(1).toString() != "color-scheme"_L1)
                return FakePortal::Answer{{}, u"org.freedesktop.portal.Error.NotFound"_s};
            const QDBusVariant inner(QVariant::fromValue(2u));
            return FakePortal::Answer{
                {QVariant::fromValue(QDBusVariant(QVariant::fromValue(inner)))}, {}};
        });
        const auto prefer = [&](uint scheme) {
            portal.emitSignal(u"/org/freedesktop/portal/desktop"_s, kSettingsPortal,
                              u"SettingChanged"_s,
                              {u"org.freedesktop.appearance"_s, u"color-scheme"_s,
                               QVariant::fromValue(QDBusVariant(QVariant::fromValue(scheme)))});
        };

        QTemporaryDir home;
        TesselProcess tessel(home.path());
        QVERIFY(tessel.skipPlatformNotes());
        QVERIFY(tessel.start());
        QTRY_COMPARE_WITH_TIMEOUT(portal.callsOf(u"Read"_s).size(), 1, 5000);
        QVERIFY(openPopupWith(u"super+shift+v"_s));
        QVERIFY2(popupIsDark(false), qPrintable(popupBackground().name()));

        prefer(1); // dark
        QVERIFY2(popupIsDark(true), qPrintable(popupBackground().name()));
        prefer(0); // no preference: the desktop's own palette, light on this desktop
        QVERIFY2(popupIsDark(false), qPrintable(popupBackground().name()));
        prefer(1);
        QVERIFY(popupIsDark(true));
        prefer(2); // light
        QVERIFY2(popupIsDark(false), qPrintable(popupBackground().name()));
        QVERIFY(!popupGeometry().isEmpty()); // it stayed open throughout
        QCOMPARE(tessel.terminate(), 0);
    }
};

QTEST_MAIN(TestDesktopThemeE2E)
#include "test_desktop_theme_e2e.moc"
