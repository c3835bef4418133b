// Reading archives: finding the end record, reading the directory, and
// extraction failures that stay quiet but are kept for the caller.

#include "ZipTestSupport.h"

#include "document/Errors.h"
#include "skinfile/Deflate.h"
#include "skinfile/SkinEntry.h"
#include "skinfile/ZipErrors.h"
#include "skinfile/ZipKit.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace fabulor;
using namespace ziptest;

namespace {

const QByteArray SmallText = "[Skin]\r\nEn=0\r\nW=700\r\nH=400\r\n\r\n";

QByteArray deflated(const QByteArray& bytes)
{
    const auto out = deflateRaw(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
    return QByteArray(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()));
}

Entry deflatedEntry(const QByteArray& name, const QByteArray& text)
{
    Entry e = stored(name, text);
    e.data = deflated(text);
    e.method = 8;
    e.versionNeeded = 20;
    return e;
}

QByteArray toBytes(const MemoryStream& s)
{
    return QByteArray(reinterpret_cast<const char*>(s.bytes().data()), qsizetype(s.size()));
}

} // namespace

class ZipReadingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_counter = 0;

    QString place(const QByteArray& bytes)
    {
        const QString file = m_dir.filePath(QString("case%1.ski").arg(++m_counter));
        writeAll(file, bytes);
        return file;
    }

    // Loads the file and returns the text; raised failures propagate.
    QByteArray load(const QString& file, TZipKit& zip)
    {
        const QByteArray before = readAll(file);
        const MemoryStream text = LoadSkinEntry(file.toStdString(), zip);
        if (readAll(file) != before) throw std::logic_error("loading changed the file");
        return toBytes(text);
    }

    QString openFailure(const QByteArray& bytes)
    {
        TZipKit zip;
        try {
            load(place(bytes), zip);
        } catch (const Exception& e) {
            return e.what();
        }
        return "loaded";
    }

    QString quietFailure(const TZipKit& zip)
    {
        const auto& f = zip.lastItemFailure();
        return f ? QString::fromStdString(f->className + ": " + f->message) : QString("none");
    }

private slots:
    void endRecordBehindComment_data()
    {
        QTest::addColumn<int>("commentLength");
        for (int n : {0, 1, 100, 488, 489, 490, 491, 492, 1000, 1500, 5000, 65535})
            QTest::newRow(qPrintable(QString::number(n))) << n;
    }
    void endRecordBehindComment()
    {
        QFETCH(int, commentLength);
        QByteArray comment(commentLength, 'c');
        // A stray signature whose claimed comment runs past the end is no end record.
        if (commentLength > 40) comment.replace(commentLength - 40, 22, endRecord(9, 9, 9, {}, 5000));
        TZipKit zip;
        QCOMPARE(load(place(archive({deflatedEntry("skin.ski", SmallText)}, comment)), zip), SmallText);
        QCOMPARE(quietFailure(zip), QString("none"));
    }

    void openFailures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = archive({deflatedEntry("skin.ski", SmallText)});
        QTest::newRow("1 byte") << QByteArray("P") << "Stream read error";
        QTest::newRow("21 bytes") << QByteArray("PK\x05\x06").append(17, '\0') << "Stream read error";
        QTest::newRow("text") << QByteArray("plain words, not an archive at all")
                              << "Invalid file - not a PKZip file";
        QTest::newRow("PK text") << QByteArray("PK but nothing more to see here....") << "File not found";
        QTest::newRow("spanned marker") << QByteArray("PK\x07\x08") + good << "File not found";
        QTest::newRow("spanned temporary marker") << QByteArray("PK00") + good << "File not found";
        QByteArray badHeader = good;
        badHeader[good.size() - 22 - 54 + 3] = 0x09; // central header signature
        QTest::newRow("central signature") << badHeader << "Invalid file - not a PKZip file";
        QByteArray negative = good;
        negative.replace(good.size() - 6, 4, QByteArray::fromHex("ffffffff"));
        QTest::newRow("directory offset -1") << negative << "Invalid file - not a PKZip file";
        QByteArray cut = good;
        cut.replace(good.size() - 6, 4, QByteArray::fromHex("64000000")); // a header running past the end
        QTest::newRow("header past end") << cut << "Stream read error";
    }
    void openFailures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QCOMPARE(openFailure(bytes), message);
    }

    void directoryIsReadUpToEndRecord()
    {
        // Counts say 7, the directory has 2: both are read, nothing more.
        const Entry a = stored("a.txt", "a");
        const Entry skin = deflatedEntry("skin.ski", SmallText);
        QByteArray bytes = archive({a, skin});
        bytes.replace(bytes.size() - 14, 4, QByteArray::fromHex("07000700"));
        TZipKit zip;
        zip.OpenArchiveFile(place(bytes).toStdString());
        QCOMPARE(zip.entries().size(), std::size_t(2));
        QCOMPARE(zip.entries()[1].name, std::string("skin.ski"));
    }

    void lookupNamesAndDuplicates()
    {
        const QByteArray bytes = archive({stored("skins/skin.ski", "folder copy"),
                                          stored("SKIN.SKI", "first"), deflatedEntry("Skin.Ski", "second")});
        TZipKit zip;
        QCOMPARE(load(place(bytes), zip), QByteArray("second"));
        QCOMPARE(load(place(archive({stored("skins/skin.ski", "x")})), zip), QByteArray());
        QCOMPARE(quietFailure(zip), QString("none"));
    }

    void quietExtractionFailures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("failure");

        Entry newer = deflatedEntry("skin.ski", SmallText);
        newer.versionNeeded = 0x0015;
        QTest::newRow("version 21") << archive({newer}) << QByteArray()
                                    << "EZipVersion: Cannot extract file - newer version required";
        Entry highByte = deflatedEntry("skin.ski", SmallText);
        highByte.versionNeeded = 0x0314; // only the low byte counts
        QTest::newRow("version 3.20") << archive({highByte}) << SmallText << "none";

        Entry encrypted = stored("skin.ski", SmallText);
        encrypted.flags = 1;
        QTest::newRow("encrypted") << archive({encrypted}) << QByteArray()
                                   << "EZipInvalidPassword: Cannot extract file - invalid password";

        for (quint16 method : {1, 6, 9, 12}) {
            Entry other = deflatedEntry("skin.ski", SmallText);
            other.method = method;
            QTest::newRow(qPrintable(QString("method %1").arg(method)))
                << archive({other}) << QByteArray()
                << "EZipInvalidMethod: Cannot extract file - unsupported compression method";
        }

        QByteArray badLocal = archive({stored("skin.ski", SmallText)});
        badLocal[2] = 'X';
        QTest::newRow("local signature")
            << badLocal << QByteArray() << "EZipInvalid: Invalid file - not a PKZip file";

        Entry wrongCrc = deflatedEntry("skin.ski", SmallText);
        wrongCrc.crc ^= 1;
        QTest::newRow("crc") << archive({wrongCrc}) << SmallText << "EZipBadCRC: Failed CRC Check";

        // The directory says 100 bytes; the data decodes to 20000. The data
        // is read to its end and the CRC-32 decides.
        const QByteArray zeros(20000, '0');
        Entry overlong = deflatedEntry("skin.ski", zeros);
        overlong.size = 100;
        QTest::newRow("longer than recorded") << archive({overlong}) << zeros << "none";
        overlong.crc = crcOf(zeros.left(100));
        QTest::newRow("longer than recorded, CRC of the recorded part")
            << archive({overlong}) << zeros << "EZipBadCRC: Failed CRC Check";
        Entry shorter = deflatedEntry("skin.ski", zeros);
        shorter.size = 30000;
        QTest::newRow("shorter than recorded") << archive({shorter}) << zeros << "none";

        Entry garbage = deflatedEntry("skin.ski", SmallText);
        garbage.data = QByteArray::fromHex("ffffffffffffffff");
        QTest::newRow("malformed") << archive({garbage}) << QByteArray()
                                   << "EZipInflateError: Cannot extract file - compressed data damaged";
    }
    void quietExtractionFailures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, text);
        QFETCH(QString, failure);
        TZipKit zip;
        QCOMPARE(load(place(bytes), zip), text);
        QCOMPARE(quietFailure(zip), failure);
    }

    // Skin texts are bounded at 512 MiB: a small file must not make a load
    // inflate gigabytes before it is refused.
    void entriesRecordedAboveTheBoundAreRefusedUnread_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("failure");
        const QString tooLarge = "EZipEntryTooLarge: Cannot extract file - entry larger than 512 MiB";
        quint32 crc = 0;
        Entry bomb = deflatedEntry("skin.ski", SmallText);
        bomb.data = zeroBomb(3, &crc);
        bomb.crc = crc;
        for (quint32 size : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x20000001u}) {
            bomb.size = size;
            QTest::addRow("deflated, recorded %08x", size) << archive({bomb}) << tooLarge;
        }
        Entry stored = ziptest::stored("skin.ski", SmallText);
        stored.size = 0x20000001u;
        QTest::newRow("stored, recorded 512 MiB + 1") << archive({stored}) << tooLarge;
        // Exactly at the bound the recorded size is no reason to refuse;
        // the data is what it is and the CRC-32 decides.
        bomb.size = 0x20000000u;
        QTest::newRow("deflated, recorded 512 MiB") << archive({bomb}) << "none";
    }
    void entriesRecordedAboveTheBoundAreRefusedUnread()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, failure);
        TZipKit zip;
        const QByteArray text = load(place(bytes), zip);
        QCOMPARE(quietFailure(zip), failure);
        QCOMPARE(text.size(), failure == "none" ? 3 << 20 : 0);
    }

    void dataInflatingPastTheBoundIsRefused()
    {
        // Half a megabyte on disk, 100 bytes recorded, 513 MiB when inflated.
        Entry bomb = deflatedEntry("skin.ski", SmallText);
        bomb.data = zeroBomb(513);
        bomb.size = 100;
        TZipKit zip;
        zip.OpenArchiveFile(place(archive({bomb})).toStdString());
        MemoryStream out;
        out.write(std::string_view("before|"));
        zip.ExtractEntryToStream("skin.ski", out);
        QCOMPARE(quietFailure(zip),
                 QString("EZipEntryTooLarge: Cannot extract file - entry larger than 512 MiB"));
        // The refused entry leaves nothing behind, not even its first 512 MiB.
        QCOMPARE(toBytes(out), QByteArray("before|"));
        QCOMPARE(out.position(), std::size_t(7));
    }

    void cutShortKeepsDecodedPrefix()
    {
        QByteArray text;
        for (int i = 0; i < 30000; ++i)
            text += QByteArray::number(i * 2654435761u % 100000) + ',';
        // The data ends half-way; what follows it in the file decodes as junk or not at all.
        Entry e = deflatedEntry("skin.ski", text);
        e.data = e.data.left(e.data.size() / 2);
        const QByteArray bytes = localHeader(e) + e.data;
        TZipKit zip;
        zip.OpenArchiveFile(
            place(bytes + centralHeader(e, 0) +
                  endRecord(1, quint32(centralHeader(e, 0).size()), quint32(bytes.size()), {}))
                .toStdString());
        MemoryStream out;
        out.write(std::string_view("before|"));
        zip.ExtractEntryToStream("skin.ski", out);
        QCOMPARE(quietFailure(zip),
                 QString("EZipInflateError: Cannot extract file - compressed data cut short"));
        const QByteArray got = toBytes(out);
        QVERIFY(got.startsWith("before|"));
        qsizetype same = 0;
        while (7 + same < got.size() && same < text.size() && got[7 + same] == text[same])
            ++same;
        QVERIFY2(same > 10000, qPrintable(QString::number(same)));
        QVERIFY(got.size() - 7 < text.size());
        QCOMPARE(out.position(), out.size());
    }

    void storedEntryCutShortKeepsWhatIsThere()
    {
        Entry e = stored("skin.ski", SmallText);
        e.size = 5000; // far more than the file holds
        TZipKit zip;
        QCOMPARE(load(place(archive({e})), zip).left(SmallText.size()), SmallText);
        QCOMPARE(quietFailure(zip), QString("EReadError: Stream read error"));
    }

    void missingFileIsNotCreatedByLoad()
    {
        TZipKit zip;
        const QString file = m_dir.filePath("never-there.ski");
        QVERIFY_THROWS_EXCEPTION(EFOpenError, LoadSkinEntry(file.toStdString(), zip));
        QVERIFY(!QFile::exists(file));
    }

    void extractAppendsAtPosition()
    {
        TZipKit zip;
        zip.OpenArchiveFile(place(archive({deflatedEntry("skin.ski", "XYZ")})).toStdString());
        MemoryStream out;
        out.write(std::string_view("abcdef"));
        out.setPosition(2);
        zip.ExtractEntryToStream("skin.ski", out);
        QCOMPARE(toBytes(out), QByteArray("abXYZf"));
        QCOMPARE(out.position(), std::size_t(5));
        MemoryStream untouched;
        untouched.write(std::string_view("keep"));
        zip.ExtractEntryToStream("missing.ski", untouched);
        QCOMPARE(toBytes(untouched), QByteArray("keep"));
    }
};

QTEST_GUILESS_MAIN(ZipReadingTest)
#include "test_zip_reading.moc"
