// The window-shaping component: its two states, the order of its property
// changes, and what it leaves behind.

#include "pictures/Region.h"
#include "pictures/TransparentForm.h"

#include <QPointer>
#include <QTest>
#include <QWidget>

#include <cstring>

using namespace fabulor;

namespace {

// A mask of w x h, black (invisible) with a white rectangle.
Bitmap maskWith(int w, int h, QRect visible)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(0, 0, 0));
    for (int y = visible.top(); y <= visible.bottom(); ++y)
        for (int x = visible.left(); x <= visible.right(); ++x)
            img.setPixel(x, y, qRgb(255, 255, 255));
    return Bitmap(img);
}

bool hasCaption(const QWidget& w)
{
    const Qt::WindowFlags f = w.windowFlags();
    return !(f & Qt::FramelessWindowHint) && (f & Qt::WindowTitleHint) && (f & Qt::CustomizeWindowHint) &&
           !(f & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

bool isFrameless(const QWidget& w)
{
    return w.windowFlags() & Qt::FramelessWindowHint;
}

// The preview window's set-up: created inactive, auto-size on, empty mask.
struct Window {
    QWidget widget;
    TTransparentForm* mask;
    Window()
    {
        widget.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        widget.resize(615, 337);
        mask = new TTransparentForm(&widget);
        mask->setActive(false);
        mask->setAutoSize(true);
    }
};

} // namespace

class TransparentFormTest : public QObject {
    Q_OBJECT
private slots:
    void nothingHappensWhileBuilding()
    {
        Window w;
        w.mask->setMask(maskWith(50, 40, QRect(1, 1, 5, 5)));
        w.mask->setActive(true);
        QVERIFY(w.widget.mask().isEmpty());
        QCOMPARE(w.widget.size(), QSize(615, 337));
        QVERIFY(isFrameless(w.widget));
        w.mask->setActive(false);
        w.mask->loaded();
        QVERIFY(hasCaption(w.widget));
    }

    void loadedGivesCaptionAndNoRegion()
    {
        Window w;
        w.mask->loaded();
        QVERIFY(hasCaption(w.widget));
        QVERIFY(w.widget.mask().isEmpty());
        QCOMPARE(w.widget.size(), QSize(615, 337));
        // Not resizable by the user.
        QCOMPARE(w.widget.minimumSize(), w.widget.maximumSize());
    }

    void activeShapesAndSizes()
    {
        Window w;
        w.mask->loaded();
        w.mask->mask() = maskWith(60, 50, QRect(10, 10, 20, 5));
        QVERIFY(w.widget.mask().isEmpty()); // loading the bitmap alone changes nothing
        w.mask->setActive(true);
        QVERIFY(isFrameless(w.widget));
        QCOMPARE(w.widget.mask(), QRegion(10, 10, 20, 5));
        QCOMPARE(w.widget.size(), QSize(60, 50));
    }

    void newMaskNeedsActiveAgain()
    {
        Window w;
        w.mask->loaded();
        w.mask->mask() = maskWith(60, 50, QRect(10, 10, 20, 5));
        w.mask->setActive(true);
        w.mask->mask() = maskWith(80, 30, QRect(1, 1, 3, 3));
        QCOMPARE(w.widget.mask(), QRegion(10, 10, 20, 5));
        QCOMPARE(w.widget.size(), QSize(60, 50));
        w.mask->setActive(true); // already on: re-shapes all the same
        QCOMPARE(w.widget.mask(), QRegion(1, 1, 3, 3));
        QCOMPARE(w.widget.size(), QSize(80, 30));
    }

    void setMaskAppliesWhileOnAndClearsWhileOff()
    {
        Window w;
        w.mask->loaded();
        w.mask->setActive(true);
        w.mask->setMask(maskWith(40, 40, QRect(5, 5, 2, 2)));
        QCOMPARE(w.widget.mask(), QRegion(5, 5, 2, 2));
        w.mask->setActive(false);
        w.mask->setMask(maskWith(40, 40, QRect(6, 6, 2, 2)));
        QVERIFY(w.widget.mask().isEmpty());
        QVERIFY(hasCaption(w.widget));
    }

    void offGivesCaptionAndFullRectangle()
    {
        Window w;
        w.mask->loaded();
        w.mask->setMask(maskWith(40, 30, QRect(5, 5, 2, 2)));
        w.mask->setActive(true);
        QVERIFY(!w.widget.mask().isEmpty());
        w.mask->setActive(false);
        QVERIFY(hasCaption(w.widget));
        QVERIFY(w.widget.mask().isEmpty());
        QCOMPARE(w.widget.size(), QSize(40, 30)); // the size stays as the last shaping left it
    }

    void oneColourOrEmptyMaskShowsWholeWindow()
    {
        Window w;
        w.mask->loaded();
        w.mask->setMask(maskWith(30, 20, QRect()));
        w.mask->setActive(true);
        QVERIFY(w.widget.mask().isEmpty());
        QCOMPARE(w.widget.size(), QSize(30, 20));
        w.mask->setMask(Bitmap());
        QVERIFY(w.widget.mask().isEmpty());
        // Nothing to show, but a window of no pixels would leave the screen
        // and take the focus when it came back.
        QCOMPARE(w.widget.size(), QSize(1, 1));
        QVERIFY(isFrameless(w.widget));
    }

    // A region of more rectangles, row for row, than Qt's painter can clip a
    // repaint of the window to is not given to the window: it shows whole and
    // repaints. The skin's shape stays the mask's.
    void shapesTooBusyToPaintThroughAreNotGiven_data()
    {
        QTest::addColumn<int>("side"); // of a checkerboard of one-pixel squares
        QTest::addColumn<bool>("given");
        QTest::newRow("250: 31250 rectangles") << 250 << true;
        QTest::newRow("1500: a million") << 1500 << false;
        QTest::newRow("4096: the region builder's limit") << 4096 << false;
    }
    void shapesTooBusyToPaintThroughAreNotGiven()
    {
        QFETCH(int, side);
        QFETCH(bool, given);
        QImage checker(side, side, QImage::Format_Mono);
        checker.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < side; ++y)
            std::memset(checker.scanLine(y), (y & 1) ? 0xAA : 0x55, std::size_t(checker.bytesPerLine()));
        Window w;
        w.mask->loaded();
        w.mask->setMask(Bitmap(checker));
        w.mask->setActive(true);
        const QRegion region = BuildRegionFromMask(Bitmap(checker));
        QCOMPARE(region.rectCount(), side * side / 2);
        QCOMPARE(w.widget.mask(), given ? region : QRegion());
        QCOMPARE(w.mask->shape().size(), QSize(side, side));
        QCOMPARE(w.widget.size(), QSize(side, side));
        w.widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        w.widget.repaint(); // clipped to the window's own shape
        w.mask->setActive(false);
        QVERIFY(w.mask->shape().isNull());
    }

    void autoSizeFollowsActive()
    {
        Window w;
        w.mask->setAutoSize(false);
        w.mask->loaded();
        w.mask->setMask(maskWith(70, 20, QRect(1, 1, 1, 1)));
        w.mask->setActive(true);
        QCOMPARE(w.widget.size(), QSize(615, 337));
        w.mask->setAutoSize(true);
        QCOMPARE(w.widget.size(), QSize(70, 20));
        w.mask->setActive(false);
        w.widget.setFixedSize(100, 100);
        w.mask->setAutoSize(true); // off: no resize
        QCOMPARE(w.widget.size(), QSize(100, 100));
    }

    // Switching the decoration of a shown window keeps it shown and in place.
    void shownWindowStaysShownInPlace()
    {
        Window w;
        w.mask->loaded();
        w.widget.move(191, 206);
        w.widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        const QPoint before = w.widget.pos();
        w.mask->setMask(maskWith(60, 50, QRect(10, 10, 20, 5)));
        w.mask->setActive(true);
        QVERIFY(w.widget.isVisible());
        QCOMPARE(w.widget.pos(), before);
        w.mask->setActive(false);
        QVERIFY(w.widget.isVisible());
        QCOMPARE(w.widget.pos(), before);
    }

    void destroyedComponentRestoresWindow()
    {
        Window w;
        w.mask->loaded();
        w.mask->setMask(maskWith(60, 50, QRect(10, 10, 20, 5)));
        w.mask->setActive(true);
        delete w.mask;
        QVERIFY(hasCaption(w.widget));
        QVERIFY(w.widget.mask().isEmpty());
    }

    void destroyedWindowTakesComponentQuietly()
    {
        auto* window = new QWidget;
        QPointer<TTransparentForm> mask = new TTransparentForm(window);
        mask->loaded();
        mask->setMask(maskWith(10, 10, QRect(1, 1, 2, 2)));
        mask->setActive(true);
        window->show();
        delete window;
        QVERIFY(mask.isNull());
    }

    void ownerMayBeAChildWidget()
    {
        QWidget window;
        auto* child = new QWidget(&window);
        auto* mask = new TTransparentForm(child);
        QCOMPARE(mask->window(), &window);
    }
};

QTEST_MAIN(TransparentFormTest)
#include "test_transparentform.moc"
