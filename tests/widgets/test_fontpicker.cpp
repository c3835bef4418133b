// The font picker with its sample box, and the size picker linked to it:
// code-set and user paths, the refill of sizes before the font is announced.

#include "widgets/FontPicker.h"
#include "widgets/SizePicker.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using namespace fabulor;

namespace {

const QList<int> scalableSizes{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const QString bitmapFamily = QStringLiteral("Fsb Test Bitmap");

// A one-glyph BDF bitmap font of the given pixel height: the platform lists
// it as a font that is not scalable, with its own sizes.
QByteArray bitmapFont(int pixels)
{
    QByteArray glyph;
    for (int row = 0; row < pixels; ++row)
        glyph += row % 2 ? "42\n" : "7E\n";
    return "STARTFONT 2.1\n"
           "FONT -fsb-Fsb Test Bitmap-Medium-R-Normal--" +
           QByteArray::number(pixels) +
           "-120-75-75-C-80-ISO10646-1\n"
           "SIZE " +
           QByteArray::number(pixels) +
           " 75 75\n"
           "FONTBOUNDINGBOX 8 " +
           QByteArray::number(pixels) +
           " 0 -2\n"
           "STARTPROPERTIES 3\n"
           "FAMILY_NAME \"Fsb Test Bitmap\"\n"
           "FONT_ASCENT " +
           QByteArray::number(pixels - 2) +
           "\n"
           "FONT_DESCENT 2\n"
           "ENDPROPERTIES\n"
           "CHARS 1\n"
           "STARTCHAR A\n"
           "ENCODING 65\n"
           "SWIDTH 500 0\n"
           "DWIDTH 8 0\n"
           "BBX 8 " +
           QByteArray::number(pixels) +
           " 0 -2\n"
           "BITMAP\n" +
           glyph + "ENDCHAR\nENDFONT\n";
}

void choose(QComboBox& combo, int row)
{
    combo.showPopup();
    QAbstractItemView* list = combo.view();
    list->setCurrentIndex(combo.model()->index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
}

QList<int> entries(const QComboBox& combo)
{
    QList<int> sizes;
    for (int i = 0; i < combo.count(); ++i)
        sizes << combo.itemText(i).toInt();
    return sizes;
}

// The first listed family that scales smoothly and is not the given one.
QString scalableFamily(const FontPicker& fonts, const QString& other = {})
{
    for (int i = 0; i < fonts.count(); ++i)
        if (fonts.itemText(i) != other && QFontDatabase::isSmoothlyScalable(fonts.itemText(i)))
            return fonts.itemText(i);
    return {};
}

} // namespace

class FontPickerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Two strikes, the larger added first, so the size list must be sorted.
        QVERIFY(QFontDatabase::addApplicationFontFromData(bitmapFont(20)) >= 0);
        QVERIFY(QFontDatabase::addApplicationFontFromData(bitmapFont(13)) >= 0);
        QVERIFY(!QFontDatabase::isSmoothlyScalable(bitmapFamily));
    }

    void listsInstalledFamiliesSortedWithoutFreeText()
    {
        FontPicker fonts;
        QVERIFY(!fonts.isEditable());
        QVERIFY(fonts.count() > 1);
        QCOMPARE(fonts.currentIndex(), -1);
        QCOMPARE(fonts.text(), QString());
        const QStringList installed = QFontDatabase::families();
        for (int i = 0; i < fonts.count(); ++i) {
            // Each family once, by its plain name, without Qt's "[foundry]".
            const QString name = fonts.itemText(i);
            QVERIFY2(
                installed.contains(name) ||
                    !installed
                         .filter(QRegularExpression("^" + QRegularExpression::escape(name) + " \\[.*\\]$"))
                         .isEmpty(),
                qPrintable(name));
            if (i > 0) {
                const QString previous = fonts.itemText(i - 1);
                const int order = QString::compare(previous, name, Qt::CaseInsensitive);
                QVERIFY2(order < 0 || (order == 0 && previous < name), qPrintable(previous + " / " + name));
            }
        }
        QVERIFY(fonts.findText(bitmapFamily) >= 0);
    }

    void nameSetFromCodeSelectsIgnoringCase()
    {
        FontPicker fonts;
        int changes = 0;
        connect(&fonts, &FontPicker::changed, [&] { ++changes; });
        const QString family = scalableFamily(fonts);
        QVERIFY(!family.isEmpty());

        fonts.setFontName(family.toUpper());
        QCOMPARE(fonts.text(), family); // the entry's own spelling
        QCOMPARE(changes, 1);
        fonts.setFontName(family); // the same text: nothing to do
        QCOMPARE(changes, 1);
        fonts.setFontName(family.toLower()); // differs in case: selected again and announced
        QCOMPARE(fonts.text(), family);
        QCOMPARE(changes, 2);
    }

    void unknownNameClearsThePickerAndIsAnnounced()
    {
        FontPicker fonts;
        int changes = 0;
        connect(&fonts, &FontPicker::changed, [&] { ++changes; });
        fonts.setFontName(scalableFamily(fonts));
        fonts.setFontName(QStringLiteral("No Such Font Installed"));
        QCOMPARE(fonts.currentIndex(), -1);
        QCOMPARE(fonts.text(), QString());
        QCOMPARE(changes, 2);
        fonts.setFontName(QString()); // already empty
        QCOMPARE(changes, 2);
    }

    void sampleBoxFollowsTheHighlightWhileTheListIsOpen()
    {
        FontPicker fonts;
        fonts.resize(145, 20);
        fonts.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fonts));
        fonts.setFontName(bitmapFamily);
        QLabel* sample = fonts.sampleBox();
        QVERIFY(!sample->isVisible());

        fonts.showPopup();
        QWidget* popup = fonts.view()->window();
        QVERIFY(popup->isVisible());
        QVERIFY(sample->isVisible());
        QVERIFY(sample->isWindow());
        QCOMPARE(sample->text(), QStringLiteral("Zażółć gęślą jaźń"));
        QCOMPARE(sample->font().family(), bitmapFamily);
        QCOMPARE(sample->font().pointSize(), 12);
        QVERIFY(!sample->geometry().intersects(popup->geometry())); // beside the list, not over it

        QTest::keyClick(fonts.view(), Qt::Key_Down);
        const QString next = fonts.view()->currentIndex().data().toString();
        QVERIFY(next != bitmapFamily);
        QCOMPARE(sample->font().family(), next);
        QCOMPARE(fonts.text(), bitmapFamily); // highlighting is not choosing

        fonts.hidePopup();
        QVERIFY(!sample->isVisible());
        // Closed another way, as by a click elsewhere.
        fonts.showPopup();
        QVERIFY(sample->isVisible());
        popup->hide();
        QVERIFY(!sample->isVisible());
    }

    void sizeTextReadsAsAWholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("number");
        QTest::newRow("empty") << "" << -1 << false;
        QTest::newRow("plain") << "12" << 12 << true;
        QTest::newRow("plus") << "+14" << 14 << true;
        QTest::newRow("negative") << "-3" << -3 << true;
        QTest::newRow("minus one") << "-1" << -1 << true;
        QTest::newRow("leading zeros") << "007" << 7 << true;
        QTest::newRow("sign only") << "-" << -1 << false;
        QTest::newRow("sign inside") << "1-2" << -1 << false;
        QTest::newRow("two signs") << "+-5" << -1 << false;
        QTest::newRow("too large") << "99999999999" << -1 << false;
    }
    void sizeTextReadsAsAWholeNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(bool, number);
        SizePicker sizes;
        sizes.lineEdit()->setText(text);
        QCOMPARE(sizes.value(), value);
        // A typed -1 is a number; a text that is none is told apart from it.
        QCOMPARE(sizes.number(), number ? std::optional<int>(value) : std::nullopt);
    }

    void sizeSetFromCodeKeepsWithinOneTo999_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("entry");
        QTest::newRow("listed") << 12 << "12" << 4;
        QTest::newRow("unlisted") << 13 << "13" << -1;
        QTest::newRow("smallest") << 1 << "1" << -1;
        QTest::newRow("largest") << 999 << "999" << -1;
        QTest::newRow("zero") << 0 << "10" << 2;
        QTest::newRow("cleared box") << -1 << "10" << 2;
        QTest::newRow("thousand") << 1000 << "10" << 2;
    }
    void sizeSetFromCodeKeepsWithinOneTo999()
    {
        QFETCH(int, size);
        QFETCH(QString, text);
        QFETCH(int, entry);
        SizePicker sizes;
        QCOMPARE(entries(sizes), scalableSizes);
        QCOMPARE(sizes.value(), -1);
        int changes = 0;
        connect(&sizes, &SizePicker::changed, [&] { ++changes; });
        sizes.setSize(size);
        QCOMPARE(sizes.currentText(), text);
        QCOMPARE(sizes.currentIndex(), entry);
        QCOMPARE(changes, 1);
        sizes.setSize(size); // announced again, the end state the same
        QCOMPARE(sizes.currentText(), text);
        QCOMPARE(changes, 2);
    }

    void typingTakesOnlyDigitsAndSigns()
    {
        SizePicker sizes;
        int changes = 0;
        connect(&sizes, &SizePicker::changed, [&] { ++changes; });
        QTest::keyClicks(sizes.lineEdit(), QStringLiteral("1a2 +b-x"));
        QCOMPARE(sizes.currentText(), QStringLiteral("12+-"));
        QCOMPARE(changes, 4); // every accepted key edits the text
        QCOMPARE(sizes.value(), -1);
        QTest::keyClick(sizes.lineEdit(), Qt::Key_Backspace);
        QTest::keyClick(sizes.lineEdit(), Qt::Key_Backspace);
        QCOMPARE(sizes.value(), 12);
        QCOMPARE(changes, 6);
        // Pasted text goes through the same filter.
        sizes.lineEdit()->selectAll();
        sizes.lineEdit()->insert(QStringLiteral("2pt"));
        QCOMPARE(sizes.currentText(), QStringLiteral("12"));
        // Typing a prefix of a listed size is not completed to it (a
        // completer works only with the focus).
        sizes.show();
        QApplication::setActiveWindow(&sizes);
        sizes.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&sizes));
        sizes.lineEdit()->clear();
        QTest::keyClick(sizes.lineEdit(), Qt::Key_1);
        QCOMPARE(sizes.currentText(), QStringLiteral("1"));
        QCOMPARE(sizes.value(), 1);
    }

    void choosingASizeIsAnnounced()
    {
        SizePicker sizes;
        QList<int> seen;
        connect(&sizes, &SizePicker::changed, [&] { seen << sizes.value(); });
        choose(sizes, static_cast<int>(scalableSizes.indexOf(36)));
        QCOMPARE(seen, QList<int>({36}));
        QCOMPARE(sizes.currentText(), QStringLiteral("36"));
        QCOMPARE(sizes.count(), scalableSizes.size()); // a choice adds no entry
    }

    void linkingListsTheFontsSizesQuietly()
    {
        FontPicker fonts;
        fonts.setFontName(bitmapFamily);
        SizePicker sizes;
        sizes.setSize(14);
        int changes = 0;
        connect(&sizes, &SizePicker::changed, [&] { ++changes; });
        sizes.setFontPicker(&fonts);
        QCOMPARE(changes, 0);
        QCOMPARE(sizes.currentText(), QStringLiteral("14"));
        QCOMPARE(entries(sizes), SizePicker::sizesFor(bitmapFamily));
    }

    void bitmapFontOffersItsOwnSizesAscending()
    {
        const QList<int> own = SizePicker::sizesFor(bitmapFamily);
        QCOMPARE(own.size(), 2);
        QVERIFY(own[0] < own[1]);
        QList<int> reported = QFontDatabase::pointSizes(bitmapFamily);
        std::sort(reported.begin(), reported.end());
        QCOMPARE(own, reported);
        QCOMPARE(SizePicker::sizesFor(scalableFamily(FontPicker())), scalableSizes);
        QCOMPARE(SizePicker::sizesFor(QStringLiteral("No Such Font Installed")), scalableSizes);
    }

    void sizesAreRefilledBeforeTheFontIsAnnounced()
    {
        FontPicker fonts;
        SizePicker sizes;
        sizes.setFontPicker(&fonts);
        QStringList events;
        QList<int> listedAtFontChange;
        int valueAtFontChange = 0;
        connect(&sizes, &SizePicker::changed, [&] { events << "size " + sizes.currentText(); });
        connect(&fonts, &FontPicker::changed, [&] {
            events << "font " + fonts.text();
            listedAtFontChange = entries(sizes);
            valueAtFontChange = sizes.value();
        });

        // Code: a cleared size box becomes 10 with the new font.
        const QString scalable = scalableFamily(fonts);
        fonts.setFontName(scalable);
        QCOMPARE(events, QStringList({"size 10", "font " + scalable}));
        QCOMPARE(listedAtFontChange, scalableSizes);
        QCOMPARE(valueAtFontChange, 10);

        // User: the bitmap font lists its own sizes and the shown size stays.
        sizes.setSize(14);
        events.clear();
        choose(fonts, fonts.findText(bitmapFamily));
        QCOMPARE(fonts.text(), bitmapFamily);
        QCOMPARE(events, QStringList({"size 14", "font " + bitmapFamily}));
        QCOMPARE(listedAtFontChange, SizePicker::sizesFor(bitmapFamily));
        QCOMPARE(valueAtFontChange, 14);
        QCOMPARE(sizes.currentIndex(), sizes.findText(QStringLiteral("14")));

        // Clearing the size, then choosing another font, puts 10.
        sizes.lineEdit()->selectAll();
        QTest::keyClick(sizes.lineEdit(), Qt::Key_Delete);
        QCOMPARE(sizes.value(), -1);
        events.clear();
        choose(fonts, fonts.findText(scalable));
        QCOMPARE(events, QStringList({"size 10", "font " + scalable}));
        QCOMPARE(sizes.currentIndex(), scalableSizes.indexOf(10));

        // An unknown name clears the font; the sizes are still offered.
        events.clear();
        fonts.setFontName(QStringLiteral("No Such Font Installed"));
        QCOMPARE(events, QStringList({"size 10", "font "}));
        QCOMPARE(entries(sizes), scalableSizes);
    }

    void everyLinkedSizePickerIsRefilledAndAGoneOneIsSkipped()
    {
        FontPicker fonts;
        SizePicker first;
        first.setFontPicker(&fonts);
        auto second = std::make_unique<SizePicker>();
        second->setFontPicker(&fonts);
        auto third = std::make_unique<SizePicker>();
        third->setFontPicker(&fonts);
        third->setFontPicker(nullptr);
        fonts.setFontName(bitmapFamily);
        QCOMPARE(entries(first), SizePicker::sizesFor(bitmapFamily));
        QCOMPARE(entries(*second), SizePicker::sizesFor(bitmapFamily));
        QCOMPARE(entries(*third), scalableSizes);
        second.reset();
        fonts.setFontName(scalableFamily(fonts));
        QCOMPARE(entries(first), scalableSizes);
    }
};

QTEST_MAIN(FontPickerTest)
#include "test_fontpicker.moc"
