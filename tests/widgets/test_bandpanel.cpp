// The band panel: one band expanded at most, expanding by header or code,
// hidden bands leaving the column, band-relative contents, scrolling.

#include "widgets/BandPanel.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace fabulor;

namespace {

// An expanded band is taller than its header: its controls show below it.
bool isOpen(const Band* band)
{
    return band->height() > Band::HeaderHeight;
}

struct FourBands {
    FourBands()
    {
        panel.resize(250, 201);
        size = panel.addBand(QStringLiteral("Rozmiar"), 65);
        place = panel.addBand(QStringLiteral("Położenie"), 68);
        pages = panel.addBand(QStringLiteral("Nawigacja"), 55);
        pictures = panel.addBand(QStringLiteral("Rysunek"), 153);
    }
    int expandedCount() const
    {
        int n = 0;
        for (Band* band : panel.bands())
            n += isOpen(band) ? 1 : 0;
        return n;
    }
    BandPanel panel;
    Band* size;
    Band* place;
    Band* pages;
    Band* pictures;
};

} // namespace

class BandPanelTest : public QObject {
    Q_OBJECT
private slots:
    void bandsStartCollapsed()
    {
        FourBands f;
        QCOMPARE(f.expandedCount(), 0);
        QCOMPARE(f.size->caption(), QStringLiteral("Rozmiar"));
        QCOMPARE(f.size->height(), Band::HeaderHeight);
        QVERIFY(f.size->content()->isHidden());
        QCOMPARE(f.size->header()->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(f.size->header()->font().pointSize(), 8);
    }

    void expandingOneCollapsesTheOthers()
    {
        FourBands f;
        QSignalSpy sizeExpanded(f.size, &Band::expanded);
        QSignalSpy placeExpanded(f.place, &Band::expanded);
        f.pictures->setExpanded(true);
        QCOMPARE(f.expandedCount(), 1);
        QCOMPARE(f.pictures->height(), 153);
        QVERIFY(!f.pictures->content()->isHidden());

        f.size->setExpanded(true);
        QCOMPARE(sizeExpanded.count(), 1);
        QVERIFY(!isOpen(f.pictures));
        QCOMPARE(f.pictures->height(), Band::HeaderHeight);
        QCOMPARE(f.expandedCount(), 1);

        // Expanding what is expanded is no new expansion.
        f.size->setExpanded(true);
        QCOMPARE(sizeExpanded.count(), 1);

        f.place->setExpanded(true);
        QCOMPARE(placeExpanded.count(), 1);
        QVERIFY(!isOpen(f.size));
        QCOMPARE(f.expandedCount(), 1);
    }

    void headerClicksExpandAndFold()
    {
        FourBands f;
        f.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.panel));
        QSignalSpy expanded(f.place, &Band::expanded);
        f.pictures->setExpanded(true);
        QTest::mouseClick(f.place->header(), Qt::LeftButton);
        QCOMPARE(expanded.count(), 1);
        QVERIFY(isOpen(f.place));
        QVERIFY(!isOpen(f.pictures));
        QTest::mouseClick(f.place->header(), Qt::LeftButton);
        QVERIFY(!isOpen(f.place));
        QCOMPARE(f.expandedCount(), 0);
        QCOMPARE(expanded.count(), 1);
    }

    void contentsArePlacedInBandCoordinates()
    {
        FourBands f;
        auto* child = new QWidget(f.size->content());
        child->setGeometry(8, 28, 25, 25);
        f.size->setExpanded(true);
        QCOMPARE(child->mapTo(f.size, QPoint(0, 0)), QPoint(8, 28));
        QVERIFY(child->isVisibleTo(f.size));
        f.size->setExpanded(false);
        QVERIFY(!child->isVisibleTo(f.size));
    }

    void hiddenBandsLeaveTheColumnAndTallBandsScroll()
    {
        FourBands f;
        f.pictures->setExpanded(true);
        f.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.panel));
        // 3 headers and 153 do not fit into 201: the panel scrolls.
        QTRY_VERIFY(f.panel.verticalScrollBar()->maximum() > 0);
        QCOMPARE(f.size->y(), 0);

        f.size->setVisible(false);
        f.pages->setVisible(false);
        QTRY_COMPARE(f.place->y(), 0);
        QTRY_COMPARE(f.pictures->y(), f.place->height() + 1);
        QTRY_COMPARE(f.panel.verticalScrollBar()->maximum(), 0);
        QCOMPARE(f.pictures->width(), f.panel.viewport()->width());

        f.size->setVisible(true);
        QTRY_COMPARE(f.place->y(), Band::HeaderHeight + 1);
    }
};

QTEST_MAIN(BandPanelTest)
#include "test_bandpanel.moc"
