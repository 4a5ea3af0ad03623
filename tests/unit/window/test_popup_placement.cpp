// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/PopupPlacement.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

Q_DECLARE_METATYPE(std::optional<QPoint>)

namespace {
const QSize kPopup(330, 450);
// A 1920x1080 screen with a 30-pixel panel at the top, and a second one to its right.
const ScreenArea kLeft{QRect(0, 0, 1920, 1080), QRect(0, 30, 1920, 1050)};
const ScreenArea kRight{QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 1024)};
} // namespace

class TestPopupPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void origin_data()
    {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QList<ScreenArea>>("screens");
        QTest::addColumn<int>("primary");
        QTest::addColumn<std::optional<QPoint>>("expected");
        const QList<ScreenArea> both{kLeft, kRight};

        QTest::newRow("below and right of the pointer")
            << QPoint(500, 300) << both << 0 << std::optional(QPoint(512, 308));
        QTest::newRow("near the bottom: above the pointer")
            << QPoint(500, 900) << both << 0 << std::optional(QPoint(512, 900 - 16 - 450));
        QTest::newRow("near the right edge: left of the pointer")
            << QPoint(1800, 300) << both << 0 << std::optional(QPoint(1800 - 330 - 12, 308));
        // Fits on the screen, but not above a 40-pixel bottom panel: the available area counts.
        QTest::newRow("bottom panel: above the pointer")
            << QPoint(500, 600)
            << QList<ScreenArea>{{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)}} << 0
            << std::optional(QPoint(512, 600 - 16 - 450));
        // Two pixels short of the 10-pixel margin on the right: left of the pointer.
        QTest::newRow("inside the right margin: left of the pointer")
            << QPoint(1570, 300) << both << 0 << std::optional(QPoint(1570 - 330 - 12, 308));
        QTest::newRow("top-left corner: kept inside below the panel")
            << QPoint(0, 0) << both << 0 << std::optional(QPoint(12, 40));
        // Above the pointer would leave the top edge above the panel: clamped 10 pixels inside.
        QTest::newRow("short screen: clamped to the top")
            << QPoint(100, 300)
            << QList<ScreenArea>{{QRect(0, 0, 800, 500), QRect(0, 30, 800, 470)}} << 0
            << std::optional(QPoint(112, 40));
        QTest::newRow("pointer on no screen: the primary one")
            << QPoint(-500, -500) << both << 1 << std::optional(QPoint(1930, 10));
        QTest::newRow("no screen")
            << QPoint(10, 10) << QList<ScreenArea>{} << 0 << std::optional<QPoint>();
    }

    void origin()
    {
        QFETCH(QPoint, cursor);
        QFETCH(QList<ScreenArea>, screens);
        QFETCH(int, primary);
        QFETCH(std::optional<QPoint>, expected);
        QCOMPARE(popupOrigin(cursor, kPopup, screens, primary), expected);
    }

    // A floating popup asks for the middle of the primary screen.
    void centredWithoutThePointer_data()
    {
        QTest::addColumn<QList<ScreenArea>>("screens");
        QTest::addColumn<int>("primary");
        QTest::addColumn<std::optional<QPoint>>("expected");
        const QList<ScreenArea> both{kLeft, kRight};
        QTest::newRow("below the top panel")
            << both << 0 << std::optional(QPoint((1920 - 330) / 2, 30 + (1050 - 450) / 2));
        QTest::newRow("primary screen on the right")
            << both << 1 << std::optional(QPoint(1920 + (1280 - 330) / 2, (1024 - 450) / 2));
        QTest::newRow("no primary: the first screen")
            << both << -1 << std::optional(QPoint((1920 - 330) / 2, 30 + (1050 - 450) / 2));
        QTest::newRow("screen lower than the popup: its top kept inside")
            << QList<ScreenArea>{{QRect(0, 0, 800, 400), QRect(0, 0, 800, 400)}} << 0
            << std::optional(QPoint((800 - 330) / 2, 10));
        QTest::newRow("no screen") << QList<ScreenArea>{} << 0 << std::optional<QPoint>();
    }
    void centredWithoutThePointer()
    {
        QFETCH(QList<ScreenArea>, screens);
        QFETCH(int, primary);
        QFETCH(std::optional<QPoint>, expected);
        QCOMPARE(centredOrigin(kPopup, screens, primary), expected);
    }
};

QTEST_GUILESS_MAIN(TestPopupPlacement)
#include "test_popup_placement.moc"
