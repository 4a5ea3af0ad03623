// SPDX-License-Identifier: GPL-3.0-or-later
#include "paste/KeySynthesizer.h"
#include "platform/wayland/WaylandPlatformFactory.h"
#include "support/FakePasteServices.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using AutoPaste = PlatformCapabilities::AutoPaste;

Q_DECLARE_METATYPE(tessel::PlatformCapabilities::AutoPaste)

namespace {
const QStringList kSway{u"wl_seat"_s, u"zwlr_data_control_manager_v1"_s,
                        u"zwp_virtual_keyboard_manager_v1"_s};
// KWin: data-control, but no virtual keyboard for ordinary clients.
const QStringList kKwin{u"wl_seat"_s, u"zwlr_data_control_manager_v1"_s};
} // namespace

// How the paste keystroke is typed on a native Wayland compositor, from what it offers and
// whether XTEST on XWayland is there to fall back on.
class TestWaylandPlatformFactory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void autoPasteFollowsTheOfferAndTheFallback_data()
    {
        QTest::addColumn<QStringList>("globals");
        QTest::addColumn<bool>("xwayland");
        QTest::addColumn<AutoPaste>("expected");
        QTest::addColumn<int>("fallbacksMade");

        QTest::newRow("virtual keyboard: XWayland never asked")
            << kSway << true << AutoPaste::everywhere << 0;
        QTest::newRow("no virtual keyboard, XWayland with XTEST")
            << kKwin << true << AutoPaste::x11WindowsOnly << 1;
        QTest::newRow("no virtual keyboard, no XWayland")
            << kKwin << false << AutoPaste::unavailable << 1;
    }
    void autoPasteFollowsTheOfferAndTheFallback()
    {
        QFETCH(QStringList, globals);
        QFETCH(bool, xwayland);
        QFETCH(AutoPaste, expected);
        QFETCH(int, fallbacksMade);

        int made = 0;
        test::FakeKeySynthesizer* fallback = nullptr;
        wayland::WaylandPlatformFactory factory(globals, [&]() -> std::unique_ptr<KeySynthesizer> {
            ++made;
            if (!xwayland)
                return nullptr;
            auto keys = std::make_unique<test::FakeKeySynthesizer>();
            fallback = keys.get();
            return keys;
        });
        QCOMPARE(factory.capabilities().autoPaste, expected);
        // The permission state agrees with what the onboarding says.
        QCOMPARE(factory.createTrustProbe()(), expected != AutoPaste::unavailable);
        QCOMPARE(made, fallbacksMade);

        if (expected == AutoPaste::x11WindowsOnly) {
            // The keystroke is the one made to learn the capabilities, not a second connection.
            const auto keys = factory.createKeySynthesizer();
            QCOMPARE(keys.get(), fallback);
            QCOMPARE(made, 1);
        } else if (expected == AutoPaste::unavailable) {
            QVERIFY(!factory.createKeySynthesizer()->isAvailable());
        }
    }

    // A build without the X11 backend has no fallback to offer.
    void withoutAFallbackPasteIsUnavailable()
    {
        wayland::WaylandPlatformFactory factory(kKwin);
        QCOMPARE(factory.capabilities().autoPaste, AutoPaste::unavailable);
        QVERIFY(!factory.createTrustProbe()());
        QVERIFY(!factory.createKeySynthesizer()->isAvailable());
    }
};

QTEST_GUILESS_MAIN(TestWaylandPlatformFactory)
#include "test_wayland_platform_factory.moc"
