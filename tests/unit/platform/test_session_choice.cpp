// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SessionChoice.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

Q_DECLARE_METATYPE(tessel::PlatformKind)

namespace {
const QStringList kSway{u"wl_seat"_s, u"zwlr_data_control_manager_v1"_s, u"xdg_wm_base"_s};
const QStringList kMutter{u"wl_seat"_s, u"xdg_wm_base"_s,
                          u"zwp_primary_selection_device_manager_v1"_s};
} // namespace

// Which Qt platform Tessel asks for, and which backend then serves it.
class TestSessionChoice : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void qtPlatform_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<bool>("display");
        QTest::addColumn<QStringList>("globals");
        QTest::addColumn<bool>("builtX11");
        QTest::addColumn<bool>("builtWayland");
        QTest::addColumn<QString>("expected");

        QTest::newRow("X11 session: Qt's own choice")
            << QString() << false << true << QStringList() << true << true << QString();
        QTest::newRow("data-control compositor: native Wayland")
            << QString() << true << true << kSway << true << true << u"wayland"_s;
        QTest::newRow("data-control without XWayland: native Wayland")
            << QString() << true << false << kSway << true << true << u"wayland"_s;
        QTest::newRow("GNOME: XWayland")
            << QString() << true << true << kMutter << true << true << u"xcb"_s;
        QTest::newRow("compositor did not answer: XWayland")
            << QString() << true << true << QStringList() << true << true << u"xcb"_s;
        QTest::newRow("GNOME without XWayland: Qt's own choice")
            << QString() << true << false << kMutter << true << true << QString();
        QTest::newRow("user's choice stands")
            << u"wayland"_s << true << true << kMutter << true << true << QString();
        QTest::newRow("user's xcb stands on sway")
            << u"xcb"_s << true << true << kSway << true << true << QString();
        QTest::newRow("no Wayland backend built: XWayland even on sway")
            << QString() << true << true << kSway << true << false << u"xcb"_s;
        QTest::newRow("no X11 backend built: GNOME left to Qt")
            << QString() << true << true << kMutter << false << true << QString();
    }
    void qtPlatform()
    {
        QFETCH(QString, requested);
        QFETCH(bool, wayland);
        QFETCH(bool, display);
        QFETCH(QStringList, globals);
        QFETCH(bool, builtX11);
        QFETCH(bool, builtWayland);
        QFETCH(QString, expected);
        const SessionEnvironment session{requested, wayland, display, globals, {}};
        QCOMPARE(SessionChoice::qtPlatformFor(session, {builtX11, builtWayland}), expected);
    }

    void desktopFor_data()
    {
        QTest::addColumn<QString>("currentDesktop");
        QTest::addColumn<QStringList>("globals");
        QTest::addColumn<int>("expected");
        const QStringList kwin{u"wl_seat"_s, u"org_kde_plasma_shell"_s};
        const QStringList mutter{u"wl_seat"_s, u"gtk_shell1"_s};
        QTest::newRow("KDE") << u"KDE"_s << QStringList() << int(DesktopKind::kde);
        QTest::newRow("ubuntu:GNOME") << u"ubuntu:GNOME"_s << kwin << int(DesktopKind::gnome);
        QTest::newRow("unset on KWin") << QString() << kwin << int(DesktopKind::kde);
        QTest::newRow("unset on mutter") << QString() << mutter << int(DesktopKind::gnome);
        // A desktop that names itself is believed, whatever its compositor offers.
        QTest::newRow("sway") << u"sway"_s << mutter << int(DesktopKind::other);
        QTest::newRow("nothing known")
            << QString() << QStringList{u"wl_seat"_s} << int(DesktopKind::other);
    }

    // Whose services Tessel asks for beside the windowing system's.
    void desktopFor()
    {
        QFETCH(QString, currentDesktop);
        QFETCH(QStringList, globals);
        QFETCH(int, expected);
        const SessionEnvironment session{{}, true, false, globals, currentDesktop};
        QCOMPARE(int(SessionChoice::desktopFor(session)), expected);
    }

    void backend_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("builtX11");
        QTest::addColumn<bool>("builtWayland");
        QTest::addColumn<PlatformKind>("expected");

        QTest::newRow("xcb") << u"xcb"_s << true << true << PlatformKind::x11;
        QTest::newRow("wayland") << u"wayland"_s << true << true << PlatformKind::wayland;
        QTest::newRow("wayland-egl") << u"wayland-egl"_s << true << true << PlatformKind::wayland;
        QTest::newRow("offscreen") << u"offscreen"_s << true << true << PlatformKind::none;
        QTest::newRow("xcb not built") << u"xcb"_s << false << true << PlatformKind::none;
        QTest::newRow("wayland not built") << u"wayland"_s << true << false << PlatformKind::none;
    }
    void backend()
    {
        QFETCH(QString, platform);
        QFETCH(bool, builtX11);
        QFETCH(bool, builtWayland);
        QFETCH(PlatformKind, expected);
        QCOMPARE(SessionChoice::backendFor(platform, {builtX11, builtWayland}), expected);
    }
};

QTEST_GUILESS_MAIN(TestSessionChoice)
#include "test_session_choice.moc"
