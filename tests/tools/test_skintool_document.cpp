// skintool ini and get, run as a user would run them: exit codes, standard
// output byte for byte, and messages on standard error.

#include "support/RunSkintool.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = fabulor::testing::SkintoolRun;

Run skintool(const QStringList& args)
{
    return fabulor::testing::RunSkintool(args);
}

} // namespace

class SkintoolDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void iniWritesTheSavedTextForm();
    void iniOfAnEmptyFile();
    void get_data();
    void get();
    void getBinaryWritesRawBytes();
    void colourThatIsNoColourFails();
    void missingFileFails();
    void usageErrors_data();
    void usageErrors();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir m_dir;
    QString m_doc;
};

QString SkintoolDocumentTest::write(const QString& name, const QByteArray& bytes)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
    return path;
}

void SkintoolDocumentTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_doc =
        write("doc.ini", QByteArray("junk before\n[ skin ]\n w = 700 \nEn=1\nBad=silver\n; note\nHex=0x1F\n"
                                    "[PC1]\nColor=$00DFDFDF\nFName=Times New Roman\n[PClose]\nMP1=00ab7f\n"
                                    "Odd=00AB7\n[pc1]\nS=300") +
                             QByteArray("\0ignored\n", 9));
    QVERIFY(!m_doc.isEmpty());
}

void SkintoolDocumentTest::iniWritesTheSavedTextForm()
{
    const Run r = skintool({"ini", m_doc});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("[skin]\r\nw=700\r\nEn=1\r\nBad=silver\r\nHex=0x1F\r\n\r\n"
                               "[PC1]\r\nColor=$00DFDFDF\r\nFName=Times New "
                               "Roman\r\n\r\n[PClose]\r\nMP1=00ab7f\r\nOdd=00AB7\r\n\r\n"
                               "[pc1]\r\nS=300\r\n\r\n"));
    QVERIFY(r.err.isEmpty());
}

void SkintoolDocumentTest::iniOfAnEmptyFile()
{
    const Run r = skintool({"ini", write("empty.ini", {})});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.isEmpty());
}

void SkintoolDocumentTest::get_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("int") << QStringList{"Skin", "W", "int", "623"} << QByteArray("700\n");
    QTest::newRow("int default") << QStringList{"Skin", "H", "int", "364"} << QByteArray("364\n");
    QTest::newRow("int hex default") << QStringList{"Skin", "H", "int", "$10"} << QByteArray("16\n");
    QTest::newRow("int from 0x") << QStringList{"Skin", "Hex", "int", "0"} << QByteArray("31\n");
    QTest::newRow("int from text") << QStringList{"PClose", "MP1", "int", "-4"} << QByteArray("-4\n");
    // The second [pc1] hides the first one.
    QTest::newRow("duplicate section")
        << QStringList{"PC1", "Color", "colour", "clRed"} << QByteArray("clRed\n");
    QTest::newRow("last section") << QStringList{"PC1", "S", "int", "0"} << QByteArray("300\n");
    QTest::newRow("text") << QStringList{"PClose", "MP1", "text", ""} << QByteArray("00ab7f\n");
    QTest::newRow("text default") << QStringList{"Nowhere", "K", "text", "a b"} << QByteArray("a b\n");
    QTest::newRow("flag") << QStringList{"skin", "en", "flag", "0"} << QByteArray("1\n");
    QTest::newRow("flag default") << QStringList{"skin", "Flat", "flag", "1"} << QByteArray("1\n");
    QTest::newRow("colour default") << QStringList{"OP1", "Color", "colour", "$0FFFFFF"}
                                    << QByteArray("clWhite\n");
    QTest::newRow("colour number") << QStringList{"OP1", "Color", "colour", "12"}
                                   << QByteArray("$0000000C\n");
}

void SkintoolDocumentTest::get()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, out);
    const Run r = skintool(QStringList{"get", m_doc} + args);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, out);
    QVERIFY(r.err.isEmpty());
}

void SkintoolDocumentTest::getBinaryWritesRawBytes()
{
    Run r = skintool({"get", m_doc, "pclose", "mp1", "binary", ""});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("\x00\xAB\x7F", 3));
    r = skintool({"get", m_doc, "PClose", "Odd", "binary", ""});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("\x00\xAB", 2));
    r = skintool({"get", m_doc, "PClose", "Missing", "binary", ""});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.isEmpty());
}

void SkintoolDocumentTest::colourThatIsNoColourFails()
{
    Run r = skintool({"get", m_doc, "Skin", "Bad", "colour", "clBlack"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(r.err, QByteArray("'silver' is not a valid integer value\n"));
    // A default that is no colour fails the same way once it is used.
    r = skintool({"get", m_doc, "PC1", "Missing", "colour", "gray"});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QByteArray("'gray' is not a valid integer value\n"));
}

void SkintoolDocumentTest::missingFileFails()
{
    const QString path = m_dir.filePath("absent.ini");
    Run r = skintool({"ini", path});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, "Cannot open file " + path.toLocal8Bit() + "\n");
    r = skintool({"get", path, "A", "B", "text", ""});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.out.isEmpty());
}

void SkintoolDocumentTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("ini without file") << QStringList{"ini"};
    QTest::newRow("ini with two files") << QStringList{"ini", "a", "b"};
    QTest::newRow("get short") << QStringList{"get", "f", "S", "K", "text"};
    QTest::newRow("unknown kind") << QStringList{"get", "@doc", "S", "K", "bool", "1"};
    QTest::newRow("int default not a number") << QStringList{"get", "@doc", "S", "K", "int", "ten"};
    QTest::newRow("flag default not a number") << QStringList{"get", "@doc", "S", "K", "flag", "true"};
    QTest::newRow("binary with default") << QStringList{"get", "@doc", "S", "K", "binary", "00"};
}

void SkintoolDocumentTest::usageErrors()
{
    QFETCH(QStringList, args);
    args.replaceInStrings("@doc", m_doc);
    const Run r = skintool(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(r.err.contains("usage: skintool"));
}

QTEST_GUILESS_MAIN(SkintoolDocumentTest)
#include "test_skintool_document.moc"
