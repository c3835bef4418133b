// The skin document store: how lines are parsed, how names are found
// (letter case, duplicates, indexes after changes), how writes place their
// lines, and binary values.

#include "document/IniStore.h"

#include <QTest>

using namespace fabulor;
using Lines = std::vector<std::string>;

namespace {

Lines linesOf(const IniStore& store)
{
    Lines lines;
    store.getStrings(lines);
    return lines;
}

std::vector<std::uint8_t> readBytes(const IniStore& store, std::string_view section, std::string_view key)
{
    MemoryStream stream;
    const std::size_t added = store.readBinary(section, key, stream);
    if (added != stream.size() || stream.position() != 0) return {0xEE}; // a marker no test expects
    const auto bytes = stream.bytes();
    return {bytes.begin(), bytes.end()};
}

} // namespace

class IniStoreTest : public QObject {
    Q_OBJECT
private slots:
    void parseTrimsAndDropsWhatIsNotContent();
    void parseKeepsOddLines();
    void parseTreatsOnlyControlBytesAsBlanks();
    void valueWithEqualsSign();
    void parseReplacesTheWholeDocument();
    void rvalueParseGivesTheSameDocument();
    void lookupsIgnoreLetterCase();
    void centralEuropeanLettersMatchTheirCapitals();
    void duplicateSections();
    void duplicateKeys();
    void longNamesAreFoundAsShortOnes();
    void writesKeepOrderAndReplaceInPlace();
    void writeCreatesSectionWithNameAsPassed();
    void valuesAreNotTrimmedOrChecked();
    void indexesFollowEveryChange();
    void manyKeysInOneSection();
    void binaryEncoding();
    void binaryDecoding_data();
    void binaryDecoding();
    void binaryReadsAtTheStreamPosition();
    void binaryOfAnEmptyStream();
    void clearEmptiesTheDocument();
};

void IniStoreTest::parseTrimsAndDropsWhatIsNotContent()
{
    IniStore store;
    store.setStrings(
        {"W=1", "; comment before", "[ Skin ]", "", "   ", "\t W = 623 \t", ";W=5", "  ;H=1", "H\t=\t364"});
    QCOMPARE(linesOf(store), (Lines{"[Skin]", "W=623", "H=364", ""}));
    QCOMPARE(store.readInteger("Skin", "W", 0), 623);
    QCOMPARE(store.readInteger("Skin", "H", 0), 364);
}

void IniStoreTest::parseKeepsOddLines()
{
    IniStore store;
    // A header without its bracket and a line without "=" stay as lines of
    // the current section, are written again and never match a key.
    store.setStrings({"[PC1]", "[PC2", "  loose words  ", "loose", "[]", "x=1", "[ ]"});
    QCOMPARE(linesOf(store), (Lines{"[PC1]", "[PC2", "loose words", "loose", "", "[]", "x=1", "", "[]", ""}));
    QCOMPARE(store.readString("PC1", "loose", "dflt"), std::string("dflt"));
    QCOMPARE(store.readString("PC1", "[PC2", "dflt"), std::string("dflt"));
    QCOMPARE(store.readString("", "x", "dflt"), std::string("dflt")); // the last "[]" has no x
    // Writing the name of such a line adds a key line; the odd line stays.
    store.writeString("PC1", "loose", "v");
    QCOMPARE(linesOf(store)[4], std::string("loose=v"));
    QCOMPARE(linesOf(store)[3], std::string("loose"));
}

void IniStoreTest::parseTreatsOnlyControlBytesAsBlanks()
{
    IniStore store;
    // 0xA0 (no-break space in the ANSI page) and other high bytes are text.
    store.setStrings({"\x01[S]\x1F", "\xA0k\xA0=\x7Fv\xFF "});
    QCOMPARE(linesOf(store), (Lines{"[S]", "\xA0k\xA0=\x7Fv\xFF", ""}));
    QCOMPARE(store.readString("S", "\xA0k\xA0", ""), std::string("\x7Fv\xFF"));
}

void IniStoreTest::valueWithEqualsSign()
{
    IniStore store;
    store.setStrings({"[OP1]", "FName=A=B", "Empty=", " = lone value"});
    QCOMPARE(store.readString("OP1", "FName", ""), std::string("A=B"));
    QCOMPARE(store.readString("OP1", "Empty", "dflt"), std::string(""));
    QCOMPARE(store.readString("OP1", "", "dflt"), std::string("lone value"));
    store.writeString("OP1", "FName", "C==D");
    QCOMPARE(store.readString("OP1", "FName", ""), std::string("C==D"));
    // A key holding "=" splits there, exactly as the saved text would reload.
    store.writeString("OP1", "a=b", "c");
    QCOMPARE(store.readString("OP1", "a", ""), std::string("b=c"));
    IniStore reloaded;
    reloaded.setStrings(linesOf(store));
    QCOMPARE(linesOf(reloaded), linesOf(store));
}

void IniStoreTest::parseReplacesTheWholeDocument()
{
    IniStore store;
    store.writeInteger("Skin", "W", 700);
    store.writeInteger("Old", "K", 1);
    store.setStrings({"[skin]", "h=300"});
    QCOMPARE(store.readInteger("Skin", "W", -1), -1);
    QCOMPARE(store.readInteger("Old", "K", -1), -1);
    QCOMPARE(store.readInteger("Skin", "H", -1), 300);
    store.setStrings(Lines{});
    QVERIFY(linesOf(store).empty());
}

void IniStoreTest::rvalueParseGivesTheSameDocument()
{
    const Lines input{"junk",  "[ A ]",    "k=v", " k2 = v2 ",
                      "plain", "  plain2", "[B]", "x=" + std::string(5000, 'F')};
    IniStore copied;
    copied.setStrings(input);
    IniStore moved;
    Lines consumed = input;
    moved.setStrings(std::move(consumed));
    QCOMPARE(linesOf(moved), linesOf(copied));
    QCOMPARE(moved.readString("a", "K2", ""), std::string("v2"));
    QCOMPARE(moved.readString("B", "X", "").size(), std::size_t{5000});
}

void IniStoreTest::lookupsIgnoreLetterCase()
{
    IniStore store;
    store.setStrings({"[skin]", "w=700"});
    QCOMPARE(store.readInteger("Skin", "W", 623), 700);
    QCOMPARE(store.readInteger("SKIN", "w", 623), 700);
    // A write keeps the section's name but gives the key the case of the call.
    store.writeInteger("SKIN", "W", 640);
    QCOMPARE(linesOf(store), (Lines{"[skin]", "W=640", ""}));
    // Values are case-sensitive text.
    store.writeString("Skin", "FName", "Arial");
    QCOMPARE(store.readString("skin", "fname", ""), std::string("Arial"));
}

void IniStoreTest::centralEuropeanLettersMatchTheirCapitals()
{
    IniStore store;
    // "źdźbło" and "ŻÓŁĆ" in Windows-1250, read back in the other case.
    store.writeString("\x9F"
                      "d\x9F"
                      "b\xB3o",
                      "\xBF\xF3\xB3\xE6", "v");
    QCOMPARE(store.readString("\x8F"
                              "D\x8F"
                              "B\xA3O",
                              "\xAF\xD3\xA3\xC6", ""),
             std::string("v"));
    // Signs without a capital match only themselves.
    store.writeString("S", "\xF7", "division");
    store.writeString("S", "\xD7", "multiplication");
    QCOMPARE(store.readString("S", "\xF7", ""), std::string("division"));
    QCOMPARE(store.readString("S", "\xD7", ""), std::string("multiplication"));
}

void IniStoreTest::duplicateSections()
{
    IniStore store;
    store.setStrings({"[PC1]", "S=1", "T=5", "[Skin]", "En=0", "[pc1]", "S=2"});
    QCOMPARE(store.readInteger("PC1", "S", 0), 2);
    // The later section wins even where only the earlier one has the key.
    QCOMPARE(store.readInteger("PC1", "T", 144), 144);
    store.writeInteger("PC1", "S", 3);
    store.writeInteger("PC1", "T", 4);
    QCOMPARE(linesOf(store),
             (Lines{"[PC1]", "S=1", "T=5", "", "[Skin]", "En=0", "", "[pc1]", "S=3", "T=4", ""}));
}

void IniStoreTest::duplicateKeys()
{
    IniStore store;
    store.setStrings({"[Skin]", "W=1", "H=9", "w=2"});
    QCOMPARE(store.readInteger("Skin", "W", 0), 2);
    store.writeInteger("Skin", "W", 3);
    QCOMPARE(linesOf(store), (Lines{"[Skin]", "W=1", "H=9", "W=3", ""}));
    QCOMPARE(store.readInteger("Skin", "W", 0), 3);
}

void IniStoreTest::longNamesAreFoundAsShortOnes()
{
    // Names of any length are found regardless of letter case, the last
    // duplicate winning, also those too long to be indexed.
    for (const std::size_t length : {std::size_t{256}, std::size_t{257}, std::size_t{5000}}) {
        const std::string lower(length, 'k');
        const std::string upper(length, 'K');
        IniStore store;
        store.setStrings({"[" + lower + "]", lower + "=1", "x=0", upper + "=2", "[" + upper + "]", "y=3"});
        QCOMPARE(store.readString(upper, "y", ""), std::string("3"));
        QCOMPARE(store.readString(upper, "x", "none"), std::string("none")); // the later section wins
        QVERIFY(store.hasSection(lower));
        store.setStrings({"[S]", lower + "=1", "x=0", upper + "=2"});
        QCOMPARE(store.readString("S", lower, ""), std::string("2"));
        store.writeString("S", lower, "4");
        QCOMPARE(linesOf(store), (Lines{"[S]", lower + "=1", "x=0", lower + "=4", ""}));
        store.eraseKey("S", upper);
        QCOMPARE(store.readString("S", upper, ""), std::string("1"));
        store.writeString(lower, upper, "5");
        QCOMPARE(store.readString(upper, lower, ""), std::string("5"));
    }
}

void IniStoreTest::writesKeepOrderAndReplaceInPlace()
{
    IniStore store;
    store.writeInteger("Skin", "En", 0);
    store.writeInteger("PC1", "S", 209);
    store.writeInteger("Skin", "W", 623);
    store.writeInteger("Skin", "en", 1);
    store.writeString("PC1", "S", "");
    QCOMPARE(linesOf(store), (Lines{"[Skin]", "en=1", "W=623", "", "[PC1]", "S=", ""}));
    // getStrings appends to what the list holds.
    Lines lines{"keep"};
    store.getStrings(lines);
    QCOMPARE(lines.size(), std::size_t{8});
    QCOMPARE(lines.front(), std::string("keep"));
}

void IniStoreTest::writeCreatesSectionWithNameAsPassed()
{
    IniStore store;
    store.writeString("PClose", "T", "16");
    store.writeString("pclose", "L", "464");
    QCOMPARE(linesOf(store), (Lines{"[PClose]", "T=16", "L=464", ""}));
}

void IniStoreTest::valuesAreNotTrimmedOrChecked()
{
    IniStore store;
    store.writeString("S", "K", "  padded  ");
    QCOMPARE(store.readString("S", "K", ""), std::string("  padded  "));
    QCOMPARE(linesOf(store)[1], std::string("K=  padded  "));
}

void IniStoreTest::indexesFollowEveryChange()
{
    IniStore store;
    // Look up first, so the indexes exist before the changes below.
    QCOMPARE(store.readString("A", "k", "none"), std::string("none"));
    store.writeString("A", "k", "1");
    QCOMPARE(store.readString("a", "K", "none"), std::string("1"));
    store.writeString("B", "k", "2");
    store.writeString("A", "j", "3");
    QCOMPARE(store.readString("B", "k", ""), std::string("2"));
    QCOMPARE(store.readString("A", "j", ""), std::string("3"));
    QCOMPARE(store.readString("A", "k", ""), std::string("1"));

    // Parsing a text in which the same names sit at other positions.
    store.setStrings({"[B]", "k=20", "[C]", "x=0", "[A]", "j=30", "k=10"});
    QCOMPARE(store.readString("A", "k", ""), std::string("10"));
    QCOMPARE(store.readString("A", "j", ""), std::string("30"));
    QCOMPARE(store.readString("B", "k", ""), std::string("20"));
    store.writeString("A", "k", "11");
    QCOMPARE(linesOf(store)[8], std::string("k=11"));

    // A copy, made or assigned after lookups, finds the same lines; writes
    // to it leave the original as it was.
    IniStore copy = store;
    QCOMPARE(copy.readString("a", "K", ""), std::string("11"));
    copy.writeString("C", "x", "7");
    copy.writeString("D", "y", "8");
    QCOMPARE(copy.readString("C", "X", ""), std::string("7"));
    QCOMPARE(store.readString("C", "x", ""), std::string("0"));
    QCOMPARE(store.readString("D", "y", "none"), std::string("none"));
    IniStore assigned;
    QCOMPARE(assigned.readString("A", "k", "none"), std::string("none"));
    assigned = copy;
    QCOMPARE(assigned.readString("D", "Y", ""), std::string("8"));
    QCOMPARE(assigned.readString("B", "k", ""), std::string("20"));

    store.clear();
    QCOMPARE(store.readString("A", "k", "gone"), std::string("gone"));
    store.writeString("C", "x", "5");
    QCOMPARE(linesOf(store), (Lines{"[C]", "x=5", ""}));
}

void IniStoreTest::manyKeysInOneSection()
{
    // Alternating writes and reads must keep finding the right lines while
    // the section grows.
    IniStore store;
    for (int i = 0; i < 2000; ++i) {
        const std::string key = "K" + std::to_string(i);
        store.writeInteger("Big", key, i);
        QCOMPARE(store.readInteger("BIG", "k" + std::to_string(i / 2), -1), i / 2);
    }
    store.writeInteger("Big", "k1000", -5);
    QCOMPARE(linesOf(store)[1001], std::string("k1000=-5"));
    QCOMPARE(linesOf(store).size(), std::size_t{2002});
}

void IniStoreTest::binaryEncoding()
{
    IniStore store;
    const std::uint8_t bytes[] = {0x00, 0xAB, 0x7F, 0x10, 0xFF};
    MemoryStream stream;
    stream.write(std::span(bytes));
    stream.setPosition(0);
    store.writeBinary("PClose", "MP1", stream);
    QCOMPARE(store.readString("PClose", "MP1", ""), std::string("00AB7F10FF"));
    QCOMPARE(stream.position(), std::size_t{0});
    // Only the bytes from the position on are stored.
    stream.setPosition(3);
    store.writeBinary("PClose", "MP2", stream);
    QCOMPARE(store.readString("PClose", "MP2", ""), std::string("10FF"));
    QCOMPARE(stream.position(), std::size_t{3});
    // Every byte value survives the round trip.
    MemoryStream all;
    for (int i = 0; i < 256; ++i)
        all.write(std::span<const std::uint8_t>(std::vector<std::uint8_t>{static_cast<std::uint8_t>(i)}));
    all.setPosition(0);
    store.writeBinary("Skin", "Skin", all);
    const auto back = readBytes(store, "Skin", "Skin");
    QCOMPARE(back.size(), std::size_t{256});
    QVERIFY(std::equal(back.begin(), back.end(), all.bytes().begin()));
}

void IniStoreTest::binaryDecoding_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("upper case") << QByteArray("00AB7F") << QByteArray("\x00\xAB\x7F", 3);
    QTest::newRow("lower case") << QByteArray("00ab7f") << QByteArray("\x00\xAB\x7F", 3);
    QTest::newRow("odd length") << QByteArray("00AB7") << QByteArray("\x00\xAB", 2);
    QTest::newRow("one digit") << QByteArray("7") << QByteArray();
    // Not a digit pair: decoding stops there and the rest stays zero.
    QTest::newRow("bad pair") << QByteArray("01G2030405") << QByteArray("\x01\x00\x00\x00\x00", 5);
    QTest::newRow("blank inside") << QByteArray("AB CD") << QByteArray("\xAB\x00", 2);
}

void IniStoreTest::binaryDecoding()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    IniStore store;
    store.writeString("P1", "MP1", text.toStdString());
    const auto got = readBytes(store, "P1", "MP1");
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(got.data()), static_cast<qsizetype>(got.size())),
             bytes);
}

void IniStoreTest::binaryReadsAtTheStreamPosition()
{
    IniStore store;
    store.writeString("P1", "MP1", "AABB");
    MemoryStream stream;
    stream.write(std::string_view("\x01\x02\x03\x04\x05", 5));
    stream.setPosition(1);
    QCOMPARE(store.readBinary("P1", "MP1", stream), std::size_t{2});
    QCOMPARE(stream.position(), std::size_t{1});
    const auto b = stream.bytes();
    QCOMPARE(std::vector<std::uint8_t>(b.begin(), b.end()), (std::vector<std::uint8_t>{1, 0xAA, 0xBB, 4, 5}));
    // Past the end: the gap is zero-filled, nothing is written out of bounds.
    stream.setPosition(7);
    QCOMPARE(store.readBinary("P1", "MP1", stream), std::size_t{2});
    QCOMPARE(stream.size(), std::size_t{9});
    QCOMPARE(stream.bytes()[5], std::uint8_t{0});
    QCOMPARE(stream.bytes()[8], std::uint8_t{0xBB});
}

void IniStoreTest::binaryOfAnEmptyStream()
{
    IniStore store;
    MemoryStream empty;
    store.writeBinary("Skin", "Maska", empty);
    QCOMPARE(linesOf(store), (Lines{"[Skin]", "Maska=", ""}));
    MemoryStream out;
    QCOMPARE(store.readBinary("Skin", "Maska", out), std::size_t{0});
    QCOMPARE(store.readBinary("Skin", "Missing", out), std::size_t{0});
    QCOMPARE(store.readBinary("Missing", "Maska", out), std::size_t{0});
    QCOMPARE(out.size(), std::size_t{0});
}

void IniStoreTest::clearEmptiesTheDocument()
{
    IniStore store;
    store.writeString("A", "B", "C");
    store.clear();
    QVERIFY(linesOf(store).empty());
    QCOMPARE(store.readString("A", "B", "dflt"), std::string("dflt"));
}

QTEST_APPLESS_MAIN(IniStoreTest)
#include "test_inistore.moc"
