// The picture box: natural-size drawing, self-sizing, transparency, presses.

#include "pictures/BuiltInPictures.h"
#include "widgets/PictureBox.h"

#include <QSignalSpy>
#include <QTest>

using namespace fabulor;

class PictureBoxTest : public QObject {
    Q_OBJECT
private slots:
    void sizesItselfToPicturesAboveZero()
    {
        PictureBox box;
        box.resize(70, 25);
        LoadBuiltInPicture(box.picture(), "BUTITEM");
        QCOMPARE(box.size(), QSize(86, 25));
        box.picture().assign(Bitmap());
        QCOMPARE(box.size(), QSize(86, 25));
        box.picture().assign(Bitmap(QImage(0, 10, QImage::Format_RGB32)));
        QCOMPARE(box.size(), QSize(86, 25));
        box.picture().clear();
        QCOMPARE(box.size(), QSize(86, 25));
        LoadBuiltInPicture(box.picture(), "BUT");
        QCOMPARE(box.size(), QSize(27, 25));
    }

    void autoSizeOffKeepsSize()
    {
        PictureBox box;
        box.setAutoSize(false);
        box.resize(40, 40);
        LoadBuiltInPicture(box.picture(), "BUTUWAGA");
        QCOMPARE(box.size(), QSize(40, 40));
        box.setAutoSize(true);
        QCOMPARE(box.size(), QSize(17, 17));
    }

    // The warning picture over a known background: the red square never shows.
    // Exact colours: its alpha is 0 or 255 and it is drawn at its own size.
    void transparentWarningShowsNoRed()
    {
        QWidget parent;
        parent.resize(40, 40);
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(0, 0, 200));
        parent.setPalette(pal);
        parent.setAutoFillBackground(true);
        auto* box = new PictureBox(&parent);
        box->move(5, 5);
        box->setTransparent(true);
        LoadBuiltInPicture(box->picture(), "BUTUWAGA");

        const QImage shot = parent.grab().toImage();
        int yellow = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb p = shot.pixel(x, y);
                QVERIFY2(!(qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80), "red shows");
                yellow += qRed(p) > 200 && qGreen(p) > 180 && qBlue(p) < 60;
            }
        QVERIFY(yellow > 40);
        QCOMPARE(shot.pixel(5, 5 + 16), qRgb(0, 0, 200));

        box->setTransparent(false);
        const QImage opaque = parent.grab().toImage();
        QCOMPARE(opaque.pixel(5, 5 + 16), qRgb(255, 0, 0));
    }

    void pressesAreSignalled()
    {
        PictureBox box;
        LoadBuiltInPicture(box.picture(), "BUT");
        QSignalSpy spy(&box, &PictureBox::pressed);
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(3, 4));
        QCOMPARE(spy.count(), 1);
    }

    void pictureChangeIsSignalled()
    {
        PictureBox box;
        QSignalSpy spy(&box, &PictureBox::pictureChanged);
        LoadBuiltInPicture(box.picture(), "BUTG");
        QVERIFY(spy.count() >= 1);
    }
};

QTEST_MAIN(PictureBoxTest)
#include "test_picturebox.moc"
