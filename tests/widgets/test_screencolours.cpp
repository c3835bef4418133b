// Skin colours as the preview paints them.

#include "widgets/Colours.h"

#include <QTest>

using namespace fabulor;

class ColoursTest : public QObject {
    Q_OBJECT
private slots:
    void plainColoursAreBlueGreenRed()
    {
        QCOMPARE(toQColor(0x00DFDFDFu), QColor(0xDF, 0xDF, 0xDF));
        QCOMPARE(toQColor(0x000000FFu), QColor(Qt::red));
        QCOMPARE(toQColor(0x00FF0000u), QColor(Qt::blue));
        QCOMPARE(fromQColor(QColor(0x12, 0x34, 0x56)), Colour(0x00563412u));
    }

    void windowSystemColoursComeFromThePalette()
    {
        QPalette palette;
        palette.setColor(QPalette::Button, QColor(1, 2, 3));
        palette.setColor(QPalette::Base, QColor(4, 5, 6));
        palette.setColor(QPalette::Text, QColor(7, 8, 9));
        QCOMPARE(toQColor(0x8000000Fu, palette), QColor(1, 2, 3)); // clBtnFace
        QCOMPARE(toQColor(0x80000005u, palette), QColor(4, 5, 6)); // clWindow
        QCOMPARE(toQColor(0x80000008u, palette), QColor(7, 8, 9)); // clWindowText
    }

    void otherHighBytesPaintTheirLowBits()
    {
        QCOMPARE(toQColor(0x1FFFFFFFu), QColor(Qt::white)); // clNone
        QCOMPARE(toQColor(0x20000000u), QColor(Qt::black)); // clDefault
        QCOMPARE(toQColor(0x800000FFu), QColor(Qt::red));   // no such system colour
    }
};

QTEST_MAIN(ColoursTest)
#include "test_screencolours.moc"
