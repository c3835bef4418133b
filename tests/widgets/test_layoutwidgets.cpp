// The self-sizing and page-area behaviours the preview window is built on.

#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/StaticText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <limits>

using namespace fabulor;

namespace {

// Forty words: more lines than a small description box shows.
QString LongStory()
{
    QString story;
    for (int i = 0; i < 40; ++i)
        story += QStringLiteral("słowo%1 ").arg(i);
    return story;
}

} // namespace

class LayoutWidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void pageAreaFollowsClientBorderWidth_data()
    {
        QTest::addColumn<int>("border");
        QTest::addColumn<QRect>("area");
        QTest::newRow("standard frame") << 4 << QRect(4, 4, 201, 145);
        QTest::newRow("no border widens by 4") << 0 << QRect(0, 0, 209, 153);
        QTest::newRow("created with 1") << 1 << QRect(1, 1, 207, 151);
        QTest::newRow("10 narrows") << 10 << QRect(10, 10, 189, 133);
        // As wide as a widget may be, from as far out as one may lie.
        QTest::newRow("the least int widens only so far")
            << std::numeric_limits<int>::min()
            << QRect(-QWIDGETSIZE_MAX, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    void pageAreaFollowsClientBorderWidth()
    {
        QFETCH(int, border);
        QFETCH(QRect, area);
        PageControl pc;
        pc.resize(209, 153);
        QWidget* page = pc.addPage(QStringLiteral("Sytuacje"));
        auto* child = new QWidget(page);
        child->move(8, 5);
        pc.setClientBorderWidth(border);
        QCOMPARE(page->geometry(), area);
        // Children stay where they are relative to the page.
        QCOMPARE(child->pos(), QPoint(8, 5));
        QCOMPARE(child->mapTo(&pc, QPoint(0, 0)), area.topLeft() + QPoint(8, 5));
    }

    void pagesChangeOnlyByIndexAndKeepTheActivePage()
    {
        PageControl pc;
        pc.resize(100, 100);
        for (const char* name : {"Sytuacje", "Kierunki", "Koniec", "Przedm"})
            pc.addPage(QString::fromLatin1(name));
        pc.show();
        QCOMPARE(pc.activePageIndex(), 0);
        pc.setActivePageIndex(2);
        QVERIFY(pc.page(2)->isVisible());
        QVERIFY(!pc.page(0)->isVisible());
        pc.setActivePageIndex(4); // out of range: nothing changes
        pc.setActivePageIndex(-1);
        QCOMPARE(pc.activePageIndex(), 2);
        pc.setClientBorderWidth(7);
        QCOMPARE(pc.activePageIndex(), 2);
        QVERIFY(pc.page(2)->isVisible());
        QCOMPARE(pc.focusPolicy(), Qt::NoFocus);
    }

    void panelTakesItsChildsSize()
    {
        Panel panel;
        panel.setGeometry(464, 16, 27, 25);
        auto* image = new QWidget(&panel);
        image->resize(27, 25);
        panel.setAutoSizeToChild(image);
        panel.show();
        image->resize(86, 40);
        QCOMPARE(panel.geometry(), QRect(464, 16, 86, 40)); // top-left corner unchanged
        QCOMPARE(image->pos(), QPoint(0, 0));
    }

    void panelInsetsItsClientChildByTheBorderWidth()
    {
        Panel frame;
        frame.resize(241, 249);
        auto* inner = new Panel(&frame);
        frame.setClientChild(inner);
        frame.setBorderWidth(4);
        frame.show();
        QCOMPARE(inner->geometry(), QRect(4, 4, 233, 241));
        frame.setBorderWidth(0);
        QCOMPARE(inner->geometry(), QRect(0, 0, 241, 249));
        frame.resize(100, 50);
        QCOMPARE(inner->geometry(), QRect(0, 0, 100, 50));
    }

    void staticTextFitsItsTextAndFont()
    {
        StaticText label(QStringLiteral("Droga nr 1"));
        QFont font(QStringLiteral("Arial"), 8);
        label.setFont(font);
        const QSize small = label.size();
        QCOMPARE(small, QSize(QFontMetrics(font).horizontalAdvance(QStringLiteral("Droga nr 1")),
                              QFontMetrics(font).height()));
        font.setPointSize(20);
        label.setFont(font);
        QVERIFY(label.width() > small.width());
        QVERIFY(label.height() > small.height());
        label.setText(QStringLiteral("D"));
        QCOMPARE(label.width(), QFontMetrics(font).horizontalAdvance(QStringLiteral("D")));
    }

    void descriptionBoxWrapsAndScrollsLongText()
    {
        Memo memo;
        memo.resize(140, 70);
        const QImage empty = memo.grab().toImage();
        memo.setPlainText(QStringLiteral("Tu znajduje się opis"));
        QCOMPARE(memo.verticalScrollBar()->maximum(), 0);
        QVERIFY(memo.grab().toImage() != empty); // the text is drawn

        const QString story = LongStory();
        memo.setPlainText(story);
        memo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&memo));
        const int range = memo.verticalScrollBar()->maximum();
        QVERIFY(range > 0);
        QVERIFY(memo.verticalScrollBar()->isVisible());
        const QImage top = memo.grab().toImage();
        memo.verticalScrollBar()->setValue(range);
        QVERIFY(memo.grab().toImage() != top);

        // A larger font makes the text longer; a new text starts at its top.
        QFont font = memo.font();
        font.setPixelSize(24);
        memo.setFont(font);
        QVERIFY(memo.verticalScrollBar()->maximum() > range);
        memo.setPlainText(story);
        QCOMPARE(memo.verticalScrollBar()->value(), 0);
        QCOMPARE(memo.toPlainText(), story);
    }

    void descriptionBoxLooksTheSameOnceItTakesTyping()
    {
        QWidget window;
        QLineEdit first(&window); // the window's focus goes here as it shows
        Memo memo(&window);
        memo.setGeometry(10, 40, 209, 89);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(10);
        memo.setFont(font);
        memo.setFontColour(0x000000FFu);
        memo.setPlainText(QStringLiteral("Tu znajduje się opis, dość długi, by zawinąć się w dwa wiersze"));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QImage drawn = memo.grab().toImage();
        QVERIFY(!memo.editor());

        memo.setFocus();
        QVERIFY(memo.editor());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(memo.editor()));
        memo.editor()->setCursorWidth(0); // the caret blinks
        // Exactly: the same glyphs in the same places, blended by the same
        // routine on the same machine.
        QCOMPARE(memo.grab().toImage(), drawn);
        QTest::keyClicks(memo.editor(), QStringLiteral("Ala "));
        QVERIFY(memo.toPlainText().startsWith(QStringLiteral("Ala Tu")));
        memo.setPlainText(QStringLiteral("x"));
        QCOMPARE(memo.editor()->toPlainText(), QStringLiteral("x"));
    }

    void descriptionBoxKeepsItsPlaceAndBarWhenItTakesTyping()
    {
        QWidget window;
        QLineEdit first(&window);
        Memo memo(&window);
        memo.setGeometry(10, 40, 140, 70);
        const QString story = LongStory();
        memo.setPlainText(story);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QScrollBar* own = memo.verticalScrollBar();
        // Scrolled by the wheel, which gives no focus, before any typing.
        own->setValue(own->maximum());

        memo.setFocus();
        QScrollBar* its = memo.editor()->verticalScrollBar();
        QVERIFY(its->maximum() > 0);
        QCOMPARE(its->value(), its->maximum()); // still at the end
        QCOMPARE(own->maximum(), its->maximum());
        QCOMPARE(own->pageStep(), its->pageStep());
        QCOMPARE(own->value(), its->value());
        QVERIFY(own->isVisible());

        own->setValue(0);
        QCOMPARE(its->value(), 0);
        its->setValue(2);
        QCOMPARE(own->value(), 2);
        // Typing that adds lines lengthens the box's bar too.
        const int before = its->maximum();
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(memo.editor(), Qt::Key_Return);
        QCOMPARE(own->maximum(), its->maximum());
        QVERIFY(own->maximum() > before);
    }
};

QTEST_MAIN(LayoutWidgetsTest)
#include "test_layoutwidgets.moc"
