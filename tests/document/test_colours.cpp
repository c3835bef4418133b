// Colour text both ways: the 52 named colours, window-system colours, the
// "$" form for everything else, and the error for text that is no colour.

#include "document/ColourTable.h"
#include "document/Errors.h"
#include "document/IniStore.h"

#include <QTest>

#include <optional>
#include <set>

using namespace fabulor;

Q_DECLARE_METATYPE(fabulor::Colour)

class ColoursTest : public QObject {
    Q_OBJECT
private slots:
    void tableIsCompleteAndUnique();
    void everyNamedColourRoundTrips();
    void toText_data();
    void toText();
    void fromText_data();
    void fromText();
    void notAColour_data();
    void notAColour();
    void storeWritesColourTextAndReadsDefaults();
};

void ColoursTest::tableIsCompleteAndUnique()
{
    const auto table = ColourTable();
    QCOMPARE(table.size(), std::size_t{52});
    std::set<Colour> values;
    std::set<std::string> names;
    for (const NamedColour& entry : table) {
        values.insert(entry.value);
        names.insert(std::string(entry.identifier));
    }
    QCOMPARE(values.size(), std::size_t{52});
    QCOMPARE(names.size(), std::size_t{52});
    // Every window-system colour from index 0 to 30 has its name, except 25,
    // which the window system leaves unused.
    for (Colour c = 0x80000000; c <= 0x8000001E; ++c)
        QVERIFY2(values.count(c) == (c == 0x80000019 ? 0u : 1u), ColorToString(c).c_str());
}

void ColoursTest::everyNamedColourRoundTrips()
{
    for (const NamedColour& entry : ColourTable()) {
        QCOMPARE(ColorToString(entry.value), std::string(entry.identifier));
        QCOMPARE(StringToColor(entry.identifier), entry.value);
    }
}

void ColoursTest::toText_data()
{
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("silver") << Colour{0x00C0C0C0} << QByteArray("clSilver");
    QTest::newRow("white") << Colour{0x00FFFFFF} << QByteArray("clWhite");
    QTest::newRow("black") << Colour{0x00000000} << QByteArray("clBlack");
    QTest::newRow("red is the low byte") << Colour{0x000000FF} << QByteArray("clRed");
    QTest::newRow("page colour") << Colour{0x00DFDFDF} << QByteArray("$00DFDFDF");
    QTest::newRow("small value padded") << Colour{0x0000000C} << QByteArray("$0000000C");
    QTest::newRow("btn face") << Colour{0x8000000F} << QByteArray("clBtnFace");
    QTest::newRow("scroll bar is index 0") << Colour{0x80000000} << QByteArray("clScrollBar");
    QTest::newRow("none") << Colour{0x1FFFFFFF} << QByteArray("clNone");
    QTest::newRow("default") << Colour{0x20000000} << QByteArray("clDefault");
    QTest::newRow("unused system index") << Colour{0x80000019} << QByteArray("$80000019");
    QTest::newRow("past the system colours") << Colour{0x8000001F} << QByteArray("$8000001F");
    QTest::newRow("all bits") << Colour{0xFFFFFFFF} << QByteArray("$FFFFFFFF");
}

void ColoursTest::toText()
{
    QFETCH(Colour, colour);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(ColorToString(colour)), text);
}

void ColoursTest::fromText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Colour>("colour");
    QTest::newRow("identifier") << QByteArray("clSilver") << Colour{0x00C0C0C0};
    QTest::newRow("upper case") << QByteArray("CLSILVER") << Colour{0x00C0C0C0};
    QTest::newRow("lower case") << QByteArray("clwindowtext") << Colour{0x80000008};
    QTest::newRow("digit in name") << QByteArray("CL3DDKSHADOW") << Colour{0x80000015};
    QTest::newRow("seven digits") << QByteArray("$0FFFFFF") << Colour{0x00FFFFFF};
    QTest::newRow("seven zeros") << QByteArray("$0000000") << Colour{0};
    QTest::newRow("eight digits") << QByteArray("$00DFDFDF") << Colour{0x00DFDFDF};
    QTest::newRow("lower-case digits") << QByteArray("$00dfdfdf") << Colour{0x00DFDFDF};
    QTest::newRow("decimal") << QByteArray("12") << Colour{0x0000000C};
    QTest::newRow("0x") << QByteArray("0x8000000F") << Colour{0x8000000F};
    QTest::newRow("negative decimal") << QByteArray("-1") << Colour{0xFFFFFFFF};
    QTest::newRow("leading spaces") << QByteArray("  $FF") << Colour{0xFF};
}

void ColoursTest::fromText()
{
    QFETCH(QByteArray, text);
    QFETCH(Colour, colour);
    QCOMPARE(StringToColor(text.toStdString()), colour);
    QCOMPARE(TextToColour(text.toStdString()), std::optional(colour));
}

void ColoursTest::notAColour_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("name without prefix") << QByteArray("silver");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("blank around name") << QByteArray(" clSilver");
    QTest::newRow("nine digits") << QByteArray("$000000000");
    QTest::newRow("hash form") << QByteArray("#DFDFDF");
}

void ColoursTest::notAColour()
{
    QFETCH(QByteArray, text);
    QVERIFY(!TextToColour(text.toStdString()));
    try {
        StringToColor(text.toStdString());
        QFAIL("no error raised");
    } catch (const EConvertError& e) {
        QCOMPARE(QByteArray(e.what()), "'" + text + "' is not a valid integer value");
    }
}

void ColoursTest::storeWritesColourTextAndReadsDefaults()
{
    IniStore store;
    store.writeColour("PC1", "Color", 0x00DFDFDF);
    store.writeColour("OP1", "Color", 0x00FFFFFF);
    QCOMPARE(store.readString("PC1", "Color", ""), std::string("$00DFDFDF"));
    QCOMPARE(store.readString("OP1", "Color", ""), std::string("clWhite"));
    QCOMPARE(store.readColour("PC1", "Color", "clRed"), Colour{0x00DFDFDF});
    // Missing keys take the caller's default text through the same conversion.
    QCOMPARE(store.readColour("OP1", "FColor", "$0000000"), Colour{0});
    QCOMPARE(store.readColour("PRys", "RColor", "clGray"), Colour{0x00808080});
    QVERIFY_THROWS_EXCEPTION(EConvertError, store.readColour("OP1", "FColor", "gray"));
    store.writeString("OP1", "FColor", "silver");
    QVERIFY_THROWS_EXCEPTION(EConvertError, store.readColour("OP1", "FColor", "clBlack"));
}

QTEST_APPLESS_MAIN(ColoursTest)
#include "test_colours.moc"
