// Where the program's small windows open beside another: the arithmetic,
// on outer rectangles, for windows anywhere on a screen.

#include "widgets/DialogPlacement.h"

#include <QTest>

using namespace fabulor;

class DialogPlacementTest : public QObject {
    Q_OBJECT
private slots:
    // A findings list of 622 x 261 beside a settings window of 284 x 322 on
    // a screen of 1280 x 1024 (or the part of it a panel leaves): below it
    // where there is room, above it where only that fits, and wholly on the
    // screen however far the settings window has been moved.
    void besideAWindowWhollyOnTheScreen_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("beside");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("expected");
        const QRect screen(0, 0, 1280, 1024);
        const QSize list(622, 261);
        QTest::newRow("room below") << screen << QRect(384, 158, 284, 322) << list
                                    << QRect(384, 488, 622, 261);
        QTest::newRow("moved right") << screen << QRect(880, 158, 284, 322) << list
                                     << QRect(658, 488, 622, 261);
        QTest::newRow("bottom-right corner")
            << screen << QRect(996, 702, 284, 322) << list << QRect(658, 433, 622, 261);
        QTest::newRow("bottom-left corner")
            << screen << QRect(0, 702, 284, 322) << list << QRect(0, 433, 622, 261);
        QTest::newRow("partly off the left edge")
            << screen << QRect(-100, 20, 284, 322) << list << QRect(0, 350, 622, 261);
        QTest::newRow("partly off the bottom")
            << screen << QRect(500, 900, 284, 322) << list << QRect(500, 631, 622, 261);
        QTest::newRow("no room above or below")
            << screen << QRect(100, 150, 284, 800) << list << QRect(100, 763, 622, 261);
        QTest::newRow("under a panel")
            << QRect(0, 30, 1280, 994) << QRect(996, 200, 284, 322) << list << QRect(658, 530, 622, 261);
        QTest::newRow("on a second screen")
            << QRect(1280, 0, 1024, 768) << QRect(2100, 400, 284, 322) << list << QRect(1682, 131, 622, 261);
        // Wider than the screen: its left end, with the title, stays on it.
        QTest::newRow("wider than the screen")
            << QRect(0, 0, 600, 400) << QRect(300, 100, 284, 322) << list << QRect(0, 139, 622, 261);
    }

    void besideAWindowWhollyOnTheScreen()
    {
        QFETCH(QRect, area);
        QFETCH(QRect, beside);
        QFETCH(QSize, size);
        QFETCH(QRect, expected);
        const QRect placed = BesideWithin(beside, size, area, 8);
        QCOMPARE(placed, expected);
        if (size.width() <= area.width() && size.height() <= area.height()) QVERIFY(area.contains(placed));
    }
};

QTEST_APPLESS_MAIN(DialogPlacementTest)
#include "test_dialogplacement.moc"
