// The note label: a bold lead in front of plain text, and a height that
// follows the text.

#include "widgets/NoteLabel.h"

#include <QLabel>
#include <QTest>

using namespace fabulor;

namespace {

const QString Mask =
    QStringLiteral(" Maska musi być czarno - biała. Czarny kolor oznacza miejsca niewidoczne.");
const QString Sizes = QStringLiteral(" Zarówno maska jak i skóra muszą mieć takie same rozmiary!");

// How much dark ink a widget draws on its background.
int Ink(QWidget& widget)
{
    const QImage image = widget.grab().toImage();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += 255 - qGray(image.pixel(x, y));
    return ink;
}

} // namespace

class NoteLabelTest : public QObject {
    Q_OBJECT
private slots:
    void heightGrowsWithTextAndNarrowing()
    {
        QWidget parent;
        auto* note = new NoteLabel(QStringLiteral("Uwaga!"), QStringLiteral(" Krótko."), &parent);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        note->setWidth(235);
        const int oneLine = note->height();
        QCOMPARE(note->width(), 235);
        QVERIFY(oneLine >= note->fontMetrics().height());
        QVERIFY(oneLine < 2 * note->fontMetrics().lineSpacing());

        note->setNote(QStringLiteral("Uwaga!"), Mask + Mask);
        const int longer = note->height();
        QVERIFY2(longer >= 3 * note->fontMetrics().lineSpacing(), qPrintable(QString::number(longer)));
        QCOMPARE(note->width(), 235);

        note->setWidth(120);
        QVERIFY(note->height() > longer);
        note->setNote(QStringLiteral("Uwaga!"), QStringLiteral(" Krótko."));
        note->setWidth(235);
        QCOMPARE(note->height(), oneLine); // and shrinks back
    }

    void placedNoteFitsItsGivenWidth()
    {
        QWidget parent;
        parent.resize(265, 250);
        auto* first = new NoteLabel(QStringLiteral("Uwaga!"), Mask, &parent);
        auto* second = new NoteLabel(QStringLiteral("Uwaga!"), Sizes, &parent);
        first->setGeometry(6, 35, 235, 26);
        second->setGeometry(6, 111, 235, 26);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        for (NoteLabel* note : {first, second}) {
            QCOMPARE(note->width(), 235);
            QCOMPARE(note->height(), note->heightForWidth(235));
            QCOMPARE(note->pos().y() % 2, 1); // position kept
        }
        QVERIFY(first->height() >= second->height());
    }

    void fontIsTheParentsAndRefits()
    {
        QWidget parent;
        QFont font = parent.font();
        font.setPointSize(8);
        parent.setFont(font);
        auto* note = new NoteLabel(QStringLiteral("Uwaga!"), Mask, &parent);
        note->setWidth(235);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QCOMPARE(note->font().pointSize(), 8);
        const int small = note->height();
        font.setPointSize(16);
        parent.setFont(font);
        QCOMPARE(note->font().pointSize(), 16);
        QVERIFY(note->height() > small);
        QCOMPARE(note->width(), 235);
    }

    void leadIsBoldAndTextIsNot()
    {
        QWidget parent;
        const QString word = QStringLiteral("Uwaga!");
        auto* bold = new NoteLabel(word, QString(), &parent);
        auto* plainNote = new NoteLabel(QString(), word, &parent);
        auto* plain = new QLabel(word, &parent);
        for (QWidget* w :
             {static_cast<QWidget*>(bold), static_cast<QWidget*>(plainNote), static_cast<QWidget*>(plain)})
            w->setFixedSize(200, 40);
        const int boldInk = Ink(*bold);
        const int plainInk = Ink(*plain);
        QVERIFY2(boldInk > plainInk * 11 / 10,
                 qPrintable(QStringLiteral("%1 %2").arg(boldInk).arg(plainInk)));
        QVERIFY(qAbs(Ink(*plainNote) - plainInk) <= plainInk / 20);
    }

    void textIsNotMarkup()
    {
        QWidget parent;
        const QString text = QStringLiteral("a < b & <b>c</b> <i>d</i>");
        auto* note = new NoteLabel(QString(), text, &parent);
        auto* plain = new QLabel(text, &parent);
        plain->setTextFormat(Qt::PlainText);
        note->setFixedSize(300, 40);
        plain->setFixedSize(300, 40);
        // Drawn as characters, tags and all; as mark-up there would be less ink.
        const int plainInk = Ink(*plain);
        QVERIFY(qAbs(Ink(*note) - plainInk) <= plainInk / 20);
    }
};

QTEST_MAIN(NoteLabelTest)
#include "test_notelabel.moc"
