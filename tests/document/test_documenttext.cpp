// The document as bytes: splitting text into lines whatever the line ends,
// the exact saved text form, and whole round trips through a stream.

#include "document/DocumentText.h"

#include <QTest>

using namespace fabulor;
using Lines = std::vector<std::string>;

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

Lines split(const QByteArray& text)
{
    return BytesToLines(bytesOf(std::string_view(text.constData(), static_cast<std::size_t>(text.size()))));
}

} // namespace

Q_DECLARE_METATYPE(Lines)

class DocumentTextTest : public QObject {
    Q_OBJECT
private slots:
    void bytesToLines_data();
    void bytesToLines();
    void emptyDocumentGivesNoText();
    void textFormOfTwoSections();
    void defaultSkinDocument();
    void loadFromStreamPosition();
    void saveWritesAtStreamPosition();
    void roundTripWithLargePictures();
};

void DocumentTextTest::bytesToLines_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Lines>("lines");
    QTest::newRow("empty") << QByteArray() << Lines{};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << Lines{"a", "b"};
    QTest::newRow("LF only") << QByteArray("a\nb\n") << Lines{"a", "b"};
    QTest::newRow("CR only") << QByteArray("a\rb\r") << Lines{"a", "b"};
    QTest::newRow("mixed") << QByteArray("a\rb\nc\r\nd") << Lines{"a", "b", "c", "d"};
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << Lines{"a", "b"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << Lines{"", ""};
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << Lines{"a", "", "b"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << Lines{"a", "", "b"};
    QTest::newRow("NUL cuts") << QByteArray("a\r\nb\0c\r\nd", 10) << Lines{"a", "b"};
    QTest::newRow("NUL first") << QByteArray("\0a\r\n", 4) << Lines{};
    QTest::newRow("NUL after line end") << QByteArray("a\r\n\0b", 5) << Lines{"a"};
    QTest::newRow("high bytes are text") << QByteArray("\xB9\xFF\x85") << Lines{"\xB9\xFF\x85"};
}

void DocumentTextTest::bytesToLines()
{
    QFETCH(QByteArray, text);
    QFETCH(Lines, lines);
    QCOMPARE(split(text), lines);
}

void DocumentTextTest::emptyDocumentGivesNoText()
{
    IniStore store;
    QCOMPARE(DocumentText(store), std::string());
    MemoryStream stream;
    SaveDocumentBytes(store, stream);
    QCOMPARE(stream.size(), std::size_t{0});
    store.writeString("A", "B", "C");
    LoadDocumentBytes(store, stream);
    QCOMPARE(DocumentText(store), std::string());
}

void DocumentTextTest::textFormOfTwoSections()
{
    IniStore store;
    store.writeBool("Skin", "En", false);
    store.writeColour("PC1", "Color", 0x00DFDFDF);
    const std::string expected = "[Skin]\r\nEn=0\r\n\r\n[PC1]\r\nColor=$00DFDFDF\r\n\r\n";
    QCOMPARE(DocumentText(store), expected);
    // The one-pass text is the store's lines, each followed by CR LF.
    Lines lines;
    store.getStrings(lines);
    std::string joined;
    for (const std::string& line : lines)
        joined += line + "\r\n";
    QCOMPARE(joined, expected);
}

void DocumentTextTest::defaultSkinDocument()
{
    // What the editor saves right after start-up, read as another program
    // would have written it: LF line ends, blanks, a comment.
    const std::string text = "; saved by hand\n[Skin]\nEn = 0\nW=623\nH=364\n\n[OP1]\nS=209\nColor=clWhite\n"
                             "FColor=$0000000\nFName=Arial\n";
    MemoryStream in(std::vector<std::uint8_t>(text.begin(), text.end()));
    IniStore store;
    LoadDocumentBytes(store, in);
    QCOMPARE(in.position(), in.size());
    QCOMPARE(store.readInteger("skin", "w", 0), 623);
    QCOMPARE(store.readColour("OP1", "FColor", "clRed"), Colour{0});
    store.writeColour("OP1", "FColor", store.readColour("OP1", "FColor", "clRed"));
    QCOMPARE(DocumentText(store), std::string("[Skin]\r\nEn=0\r\nW=623\r\nH=364\r\n\r\n[OP1]\r\nS=209\r\n"
                                              "Color=clWhite\r\nFColor=clBlack\r\nFName=Arial\r\n\r\n"));
}

void DocumentTextTest::loadFromStreamPosition()
{
    const std::string text = "[Old]\r\nK=1\r\n[New]\r\nK=2\r\n";
    MemoryStream stream(std::vector<std::uint8_t>(text.begin(), text.end()));
    stream.setPosition(12); // just past the first section
    IniStore store;
    LoadDocumentBytes(store, stream);
    QCOMPARE(DocumentText(store), std::string("[New]\r\nK=2\r\n\r\n"));
}

void DocumentTextTest::saveWritesAtStreamPosition()
{
    IniStore store;
    store.writeInteger("A", "B", 1);
    MemoryStream stream;
    stream.write(std::string_view("xx"));
    SaveDocumentBytes(store, stream);
    const auto b = stream.bytes();
    QCOMPARE(std::string(b.begin(), b.end()), std::string("xx[A]\r\nB=1\r\n\r\n"));
}

void DocumentTextTest::roundTripWithLargePictures()
{
    // Pictures of a megabyte and more on single lines keep every byte.
    IniStore store;
    std::vector<std::uint8_t> picture(1 << 20);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<std::uint8_t>((i * 7919) >> 3);
    MemoryStream source(picture);
    store.writeInteger("Skin", "En", 1);
    store.writeBinary("Skin", "Skin", source);
    store.writeBinary("PClose", "MP1", source);
    MemoryStream saved;
    SaveDocumentBytes(store, saved);
    QCOMPARE(saved.size(), std::size_t{4 * (1 << 20) + 41});

    saved.rewind();
    IniStore loaded;
    LoadDocumentBytes(loaded, saved);
    QCOMPARE(DocumentText(loaded), DocumentText(store));
    MemoryStream back;
    QCOMPARE(loaded.readBinary("skin", "SKIN", back), picture.size());
    QVERIFY(std::equal(picture.begin(), picture.end(), back.bytes().begin()));
}

QTEST_APPLESS_MAIN(DocumentTextTest)
#include "test_documenttext.moc"
