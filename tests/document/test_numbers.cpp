// Integers and flags in the skin document: every accepted form of a typed
// number, every rejection, and the 32-bit boundaries.

#include "document/IniStore.h"
#include "document/IntegerText.h"

#include <QTest>

#include <climits>

using namespace fabulor;

class NumbersTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void rejected_data();
    void rejected();
    void writtenAsPlainDecimal_data();
    void writtenAsPlainDecimal();
    void readIntegerFallsBackToDefault();
    void flags_data();
    void flags();
    void flagsAreWrittenAsOneAndZero();
};

void NumbersTest::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << QByteArray("623") << 623;
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("plus") << QByteArray("+12") << 12;
    QTest::newRow("minus") << QByteArray("-12") << -12;
    QTest::newRow("minus zero") << QByteArray("-0") << 0;
    QTest::newRow("leading zeros") << QByteArray("000000000000007") << 7;
    QTest::newRow("leading spaces") << QByteArray("   12") << 12;
    QTest::newRow("spaces before sign") << QByteArray("  -5") << -5;
    QTest::newRow("int max") << QByteArray("2147483647") << INT_MAX;
    QTest::newRow("int min") << QByteArray("-2147483648") << INT_MIN;
    QTest::newRow("0x") << QByteArray("0x1F") << 31;
    QTest::newRow("0X upper digits") << QByteArray("0X1f") << 31;
    QTest::newRow("dollar") << QByteArray("$1F") << 31;
    QTest::newRow("x") << QByteArray("x1f") << 31;
    QTest::newRow("X") << QByteArray("X1F") << 31;
    QTest::newRow("spaces before hex") << QByteArray("  $10") << 16;
    QTest::newRow("seven digits") << QByteArray("$0FFFFFF") << 0x00FFFFFF;
    QTest::newRow("eight digits") << QByteArray("$7FFFFFFF") << INT_MAX;
    QTest::newRow("eight digits, top bit is the sign") << QByteArray("$FFFFFFFF") << -1;
    QTest::newRow("eight digits, smallest") << QByteArray("$80000000") << INT_MIN;
    QTest::newRow("eight digits with leading zero") << QByteArray("0x0000001F") << 31;
}

void NumbersTest::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    const auto parsed = ParseInteger(text.toStdString());
    QVERIFY(parsed.has_value());
    QCOMPARE(*parsed, value);
}

void NumbersTest::rejected_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("only spaces") << QByteArray("   ");
    QTest::newRow("trailing space") << QByteArray("12 ");
    QTest::newRow("tab before") << QByteArray("\t12");
    QTest::newRow("fraction") << QByteArray("1.5");
    QTest::newRow("letters") << QByteArray("abc");
    QTest::newRow("word") << QByteArray("true");
    QTest::newRow("sign only") << QByteArray("-");
    QTest::newRow("double sign") << QByteArray("--1");
    QTest::newRow("space after sign") << QByteArray("- 5");
    QTest::newRow("sign before dollar") << QByteArray("-$1F");
    QTest::newRow("sign before 0x") << QByteArray("+0x1F");
    QTest::newRow("dollar alone") << QByteArray("$");
    QTest::newRow("0x alone") << QByteArray("0x");
    QTest::newRow("x alone") << QByteArray("x");
    QTest::newRow("bad hex digit") << QByteArray("$1G");
    QTest::newRow("two prefixes") << QByteArray("0x$1F");
    QTest::newRow("space after prefix") << QByteArray("$ 1F");
    QTest::newRow("nine hex digits") << QByteArray("$100000000");
    QTest::newRow("nine hex digits, leading zero") << QByteArray("$0FFFFFFFF");
    QTest::newRow("int max + 1") << QByteArray("2147483648");
    QTest::newRow("int min - 1") << QByteArray("-2147483649");
    QTest::newRow("far too long") << QByteArray("99999999999999999999999999");
    QTest::newRow("digits then garbage") << QByteArray("12px");
    QTest::newRow("NUL inside") << QByteArray("1\0"
                                              "2",
                                              3);
}

void NumbersTest::rejected()
{
    QFETCH(QByteArray, text);
    QVERIFY(!ParseInteger(std::string_view(text.constData(), static_cast<std::size_t>(text.size()))));
}

void NumbersTest::writtenAsPlainDecimal_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zero") << 0 << QByteArray("0");
    QTest::newRow("positive") << 623 << QByteArray("623");
    QTest::newRow("negative") << -40 << QByteArray("-40");
    QTest::newRow("max") << INT_MAX << QByteArray("2147483647");
    QTest::newRow("min") << INT_MIN << QByteArray("-2147483648");
}

void NumbersTest::writtenAsPlainDecimal()
{
    QFETCH(int, value);
    QFETCH(QByteArray, text);
    IniStore store;
    store.writeInteger("Skin", "W", value);
    QCOMPARE(QByteArray::fromStdString(store.readString("Skin", "W", "?")), text);
    QCOMPARE(store.readInteger("Skin", "W", 1), value);
}

void NumbersTest::readIntegerFallsBackToDefault()
{
    IniStore store;
    store.setStrings({"[PC1]", "S=12 ", "W=0x1F", "T=", "L=abc"});
    QCOMPARE(store.readInteger("PC1", "S", 209), 12); // the blank went on parsing
    QCOMPARE(store.readInteger("PC1", "W", 153), 31);
    QCOMPARE(store.readInteger("PC1", "T", 144), 144);
    QCOMPARE(store.readInteger("PC1", "L", 24), 24);
    QCOMPARE(store.readInteger("PC1", "Missing", -7), -7);
    QCOMPARE(store.readInteger("Nowhere", "S", 5), 5);
    // A value written directly keeps its blank and is then no number.
    store.writeString("PC1", "S", "12 ");
    QCOMPARE(store.readInteger("PC1", "S", 209), 209);
    store.writeString("PC1", "S", " 12");
    QCOMPARE(store.readInteger("PC1", "S", 209), 12);
}

void NumbersTest::flags_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("withFalseDefault");
    QTest::addColumn<bool>("withTrueDefault");
    QTest::newRow("1") << QByteArray("1") << true << true;
    QTest::newRow("2") << QByteArray("2") << true << true;
    QTest::newRow("-1") << QByteArray("-1") << true << true;
    QTest::newRow("0") << QByteArray("0") << false << false;
    QTest::newRow("$0") << QByteArray("$0") << false << false;
    QTest::newRow("true") << QByteArray("true") << false << true;
    QTest::newRow("empty") << QByteArray("") << false << true;
}

void NumbersTest::flags()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, withFalseDefault);
    QFETCH(bool, withTrueDefault);
    IniStore store;
    store.writeString("OP1", "Flat", text.toStdString());
    QCOMPARE(store.readBool("OP1", "Flat", false), withFalseDefault);
    QCOMPARE(store.readBool("OP1", "Flat", true), withTrueDefault);
}

void NumbersTest::flagsAreWrittenAsOneAndZero()
{
    IniStore store;
    store.writeBool("Skin", "En", true);
    QCOMPARE(store.readString("Skin", "En", ""), std::string("1"));
    store.writeBool("Skin", "En", false);
    QCOMPARE(store.readString("Skin", "En", ""), std::string("0"));
    QCOMPARE(store.readBool("Skin", "Missing", true), true);
}

QTEST_APPLESS_MAIN(NumbersTest)
#include "test_numbers.moc"
