// Writing skin files: the exact records of a new file, what a rewrite keeps
// and drops, the stored/deflated choice, and saves that fail.

#include "ZipTestSupport.h"

#include "document/Errors.h"
#include "skinfile/Deflate.h"
#include "skinfile/SkinEntry.h"
#include "skinfile/ZipErrors.h"
#include "skinfile/ZipKit.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace fabulor;
using namespace ziptest;

namespace {

const QByteArray SmallText = "[Skin]\r\nEn=0\r\nW=700\r\nH=400\r\n\r\n";

// 2024-03-05 10:20:30 on the local clock.
std::time_t fixedMoment()
{
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 10;
    t.tm_min = 20;
    t.tm_sec = 30;
    t.tm_isdst = -1;
    return std::mktime(&t);
}
constexpr quint16 FixedDosTime = (10 << 11) | (20 << 5) | 15;
constexpr quint16 FixedDosDate = (44 << 9) | (3 << 5) | 5;

MemoryStream streamOf(const QByteArray& bytes)
{
    return MemoryStream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

QByteArray deflated(const QByteArray& bytes)
{
    const auto out = deflateRaw(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
    return QByteArray(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()));
}

// The skin.ski entry our writer must produce for the text at the fixed moment.
Entry expectedSkinEntry(const QByteArray& text, bool deflate)
{
    Entry e;
    e.name = "skin.ski";
    e.data = deflate ? deflated(text) : text;
    e.method = deflate ? 8 : 0;
    e.versionNeeded = deflate ? 20 : 10;
    e.crc = text.isEmpty() ? 0 : crcOf(text);
    e.size = quint32(text.size());
    e.time = FixedDosTime;
    e.date = FixedDosDate;
    return e;
}

void save(TZipKit& zip, const QString& path, const QByteArray& text)
{
    MemoryStream stream = streamOf(text);
    SaveSkinEntry(path.toStdString(), stream, zip);
}

QStringList folderListing(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class ZipWritingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    void newKit(TZipKit& zip) const { zip.setClock(fixedMoment); }

private slots:
    void newFileHasExactRecords()
    {
        TZipKit zip;
        newKit(zip);
        const QString file = path("new.ski");
        save(zip, file, SmallText);
        const QByteArray bytes = readAll(file);
        const Entry e = expectedSkinEntry(SmallText, true);
        const int c = int(e.data.size());
        QCOMPARE(bytes, archive({e}));
        QCOMPARE(bytes.size(), 114 + c);
        // End record: one entry, directory of 54 bytes at 38 + C.
        const QByteArray end = bytes.right(22);
        QCOMPARE(end.mid(8, 4), QByteArray::fromHex("01000100"));
        QCOMPARE(quint8(end[12]) | quint8(end[13]) << 8, 54u);
        QCOMPARE(quint8(end[16]) | quint8(end[17]) << 8, quint32(38 + c));
        QVERIFY(zip.FileName().empty());
    }

    void emptyTextIsStoredEmpty()
    {
        TZipKit zip;
        newKit(zip);
        const QString file = path("empty-text.ski");
        save(zip, file, {});
        QCOMPARE(readAll(file), archive({expectedSkinEntry({}, false)}));
        QCOMPARE(readAll(file).size(), 114);
    }

    void incompressibleTextIsStored()
    {
        QByteArray noise(3000, '\0');
        QRandomGenerator rng(7);
        for (char& c : noise)
            c = char(rng.bounded(256));
        TZipKit zip;
        newKit(zip);
        const QString file = path("noise.ski");
        save(zip, file, noise);
        QCOMPARE(readAll(file), archive({expectedSkinEntry(noise, false)}));
    }

    void equalSizeStaysDeflated()
    {
        // Find a text whose Deflate output is exactly as long as the text.
        QByteArray text;
        for (int n = 1; n < 120 && text.isEmpty(); ++n) {
            const QByteArray candidate = QByteArray("abc").repeated(40).left(n);
            if (deflated(candidate).size() == candidate.size()) text = candidate;
        }
        QVERIFY2(!text.isEmpty(), "no text of equal deflated size found");
        TZipKit zip;
        newKit(zip);
        const QString file = path("equal.ski");
        save(zip, file, text);
        QCOMPARE(readAll(file), archive({expectedSkinEntry(text, true)}));
    }

    void rewriteKeepsFoldersAndCommentOnly()
    {
        Entry images = stored("images/", {});
        images.versionMadeBy = 0x031E;
        images.externalAttributes = 0x41ED0010;
        images.flags = 0x0008; // written with a data descriptor by its maker
        images.localExtra = QByteArray::fromHex("5554050003aabbccdd");
        images.centralExtra = QByteArray::fromHex("5554050003aabbccdd");
        Entry readme = stored("docs/readme.txt", "hello, this entry goes");
        Entry oldSkin = stored("skin.ski", QByteArray("[Skin]\r\nW=1\r\n").repeated(50));
        Entry sounds = stored("sounds/", {});
        sounds.fileComment = "folder note";
        const QByteArray comment = "This archive's comment survives.";
        const QString file = path("rewrite.ski");
        QVERIFY(writeAll(file, archive({images, readme, oldSkin, sounds}, comment)));

        TZipKit zip;
        newKit(zip);
        save(zip, file, SmallText);

        // Folders keep their place and record, minus what no longer applies.
        Entry imagesOut = images;
        imagesOut.flags = 0;
        imagesOut.localExtra.clear();
        imagesOut.centralExtra.clear();
        QCOMPARE(readAll(file), archive({imagesOut, sounds, expectedSkinEntry(SmallText, true)}, comment));
    }

    void saveOverEmptyFileGivesOneEntry()
    {
        const QString file = path("zero.ski");
        QVERIFY(writeAll(file, {}));
        TZipKit zip;
        newKit(zip);
        save(zip, file, SmallText);
        QCOMPARE(readAll(file), archive({expectedSkinEntry(SmallText, true)}));
    }

    void saveOverNonArchiveFailsAndKeepsFile()
    {
        const QString file = path("text.ski");
        const QByteArray text = "this is a plain text file, no archive at all\r\n";
        QVERIFY(writeAll(file, text));
        TZipKit zip;
        try {
            save(zip, file, SmallText);
            QFAIL("no error");
        } catch (const EZipInvalid& e) {
            QCOMPARE(QString(e.what()), QString("Invalid file - not a PKZip file"));
        }
        QCOMPARE(readAll(file), text);
        QVERIFY(zip.FileName().empty());
    }

    void duplicateNameIsRefusedQuietly()
    {
        const QString file = path("dup.ski");
        TZipKit zip;
        newKit(zip);
        zip.setFileName(file.toStdString());
        MemoryStream first = streamOf(SmallText);
        zip.AddEntryFromStream("skin.ski", first);
        const QByteArray afterFirst = readAll(file);
        MemoryStream second = streamOf("other");
        zip.AddEntryFromStream("SKIN.SKI", second);
        QVERIFY(zip.lastItemFailure().has_value());
        QCOMPARE(QString::fromStdString(zip.lastItemFailure()->className), QString("EZipDuplicateName"));
        QCOMPARE(QString::fromStdString(zip.lastItemFailure()->message),
                 QString("Cannot insert file - duplicates stored name"));
        QCOMPARE(zip.entries().size(), std::size_t(1));
        zip.CloseArchiveFile();
        QCOMPARE(readAll(file), afterFirst);
    }

    void addReadsWholeStreamFromStart()
    {
        TZipKit zip;
        newKit(zip);
        const QString file = path("position.ski");
        zip.setFileName(file.toStdString());
        MemoryStream stream = streamOf(SmallText);
        stream.setPosition(10);
        zip.AddEntryFromStream("skin.ski", stream);
        zip.CloseArchiveFile();
        QCOMPARE(readAll(file), archive({expectedSkinEntry(SmallText, true)}));
    }

    void operationsNeedAnArchive()
    {
        TZipKit zip;
        MemoryStream stream;
        const QString blank = "Archive does not exist - FileName is blank";
        try {
            zip.DeleteEntries("*.*");
            QFAIL("no error");
        } catch (const EZipNoArchive& e) {
            QCOMPARE(QString(e.what()), blank);
        }
        QVERIFY_THROWS_EXCEPTION(EZipNoArchive, zip.AddEntryFromStream("skin.ski", stream));
        QVERIFY_THROWS_EXCEPTION(EZipNoArchive, zip.ExtractEntryToStream("skin.ski", stream));
        zip.SaveChanges(); // nothing open: nothing to do
        zip.CloseArchiveFile();
    }

    void relativePathIsRefused()
    {
        TZipKit zip;
        try {
            zip.setFileName("skins/relative.ski");
            QFAIL("no error");
        } catch (const EZipException& e) {
            QCOMPARE(QString(e.what()), QString("Full Path Required"));
        }
        QVERIFY(!QFile::exists("skins/relative.ski"));
    }

    void newArchiveClosedUntouchedGetsEndRecord()
    {
        const QString file = path("created.ski");
        TZipKit zip;
        zip.setFileName(file.toStdString());
        QVERIFY(QFile::exists(file));
        QCOMPARE(readAll(file).size(), 0);
        zip.CloseArchiveFile();
        QCOMPARE(readAll(file), endRecord(0, 0, 0, {}));
    }

    void createInMissingFolderFails()
    {
        const QString file = path("no-such-folder/x.ski");
        TZipKit zip;
        try {
            zip.setFileName(file.toStdString());
            QFAIL("no error");
        } catch (const EFCreateError& e) {
            QCOMPARE(QString(e.what()), "Cannot create file " + file);
        }
    }

    // A full disk: an old file stays whole, and a new name stays free (an
    // empty file there would load as an empty skin).
    void shortWriteLeavesOldFileWhole_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("over an old skin") << true;
        QTest::newRow("to a new name") << false;
    }
    void shortWriteLeavesOldFileWhole()
    {
        QFETCH(bool, existing);
        const QString file = path("diskfull.ski");
        QFile::remove(file);
        TZipKit zip;
        newKit(zip);
        if (existing) save(zip, file, SmallText);
        const QByteArray before = readAll(file);
        zip.setWriteLimit(60);
        try {
            save(zip, file, SmallText.repeated(20));
            QFAIL("no error");
        } catch (const EWriteError& e) {
            QCOMPARE(QString(e.what()), QString("Stream write error"));
        }
        QVERIFY(zip.FileName().empty());
        QCOMPARE(readAll(file), before);
        QCOMPARE(QFile::exists(file), existing);
        // No temporary left behind.
        QCOMPARE(folderListing(m_dir.path()).filter("diskfull").size(), existing ? 1 : 0);
    }

    void unwritableFolderLeavesOldFileWhole()
    {
        // Running as the superuser, permissions would not stop a write; a
        // folder that is no longer a folder stops everyone.
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkdir("skins"));
        const QString file = root.filePath("skins/a.ski");
        TZipKit zip;
        newKit(zip);
        save(zip, file, SmallText);
        const QByteArray before = readAll(file);

        zip.setFileName(file.toStdString());
        QVERIFY(QDir(root.path()).rename("skins", "moved"));
        QVERIFY(writeAll(root.filePath("skins"), "a file where the folder was"));
        zip.DeleteEntries("*.*");
        MemoryStream stream = streamOf("[Skin]\r\n");
        try {
            zip.AddEntryFromStream("skin.ski", stream);
            QFAIL("no error");
        } catch (const EFOpenError& e) {
            QCOMPARE(QString(e.what()), "Cannot open file " + file);
        }
        QVERIFY(zip.FileName().empty());
        QCOMPARE(readAll(root.filePath("moved/a.ski")), before);
        QCOMPARE(folderListing(root.filePath("moved")), QStringList{"a.ski"});
    }

    void rewriteKeepsPermissionBits()
    {
        const QString file = path("mode.ski");
        TZipKit zip;
        newKit(zip);
        save(zip, file, SmallText);
        QVERIFY(::chmod(file.toLocal8Bit().constData(), 0640) == 0);
        save(zip, file, SmallText + "[More]\r\n");
        struct stat st {};
        QVERIFY(::stat(file.toLocal8Bit().constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
    }

    void savedTextReadsBack()
    {
        QByteArray big;
        for (int i = 0; i < 20000; ++i)
            big += "[PClose]\r\nMP1=" + QByteArray::number(i * 7919, 16).toUpper() + "\r\n";
        TZipKit zip;
        const QString file = path("big.ski");
        save(zip, file, big);
        save(zip, file, big); // a second save over the first
        const MemoryStream text = LoadSkinEntry(file.toStdString(), zip);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(text.bytes().data()), qsizetype(text.size())), big);
        QVERIFY(!zip.lastItemFailure());
        QCOMPARE(zip.entries().size(), std::size_t(0)); // closed again
    }
};

QTEST_GUILESS_MAIN(ZipWritingTest)
#include "test_zip_writing.moc"
