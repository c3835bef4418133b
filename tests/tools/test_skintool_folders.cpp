// skintool export and import: a skin as a folder of skin.ini and picture
// files. Every skin of the test data, and texts with pictures in every
// form the document takes, come back byte for byte; what cannot be done
// fails with the writers' and readers' messages and leaves nothing behind.

#include "support/RunSkintool.h"
#include "support/TestData.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using fabulor::testing::SkintoolRun;
using namespace std::literals;

SkintoolRun skintool(const QList<QByteArray>& args)
{
    return fabulor::testing::RunSkintoolWithBytes(args);
}

// Paths as bytes: some names here are no UTF-8.
QByteArray readBytes(const QByteArray& path)
{
    QFile file;
    std::FILE* f = std::fopen(path.constData(), "rb");
    if (!f || !file.open(f, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return {};
    return file.readAll();
}

bool writeBytes(const QByteArray& path, const QByteArray& bytes)
{
    std::FILE* out = std::fopen(path.constData(), "wb");
    if (!out) return false;
    const bool written =
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out) == std::size_t(bytes.size());
    return std::fclose(out) == 0 && written;
}

// A sparse file: its size on paper, no bytes on disk.
bool makeSparse(const QByteArray& path, qint64 size)
{
    return writeBytes(path, {}) && ::truncate(path.constData(), size) == 0;
}

// A temporary folder emptied by the bytes of its names when it ends:
// QTemporaryDir goes by Qt's listing, which leaves out names that are no
// UTF-8, and could not remove it.
struct Folder {
    QTemporaryDir dir;
    QByteArray path = QFile::encodeName(dir.path()) + '/';
    ~Folder()
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(path.toStdString(), ignored))
            std::filesystem::remove_all(entry.path(), ignored);
    }
};

QList<QByteArray> entries(const QByteArray& folder)
{
    QList<QByteArray> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder.toStdString(), ignored))
        names << QByteArray::fromStdString(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Text with NUL bytes in it.
QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

QByteArray dataFile(const char* name)
{
    return readBytes(QFile::encodeName(fabulor::testing::DataFile(QString::fromLatin1(name))));
}

// The pictures the texts below hold, by the letter that stands for them.
const QHash<char, QByteArray>& pictures()
{
    static const QHash<char, QByteArray> bytes{
        {'J', dataFile("jpeg/cjpeg_1x1.jpg")},
        {'B', dataFile("bmp/im_1bit_64x48.bmp")},
        {'P', QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {'X', QByteArray("\0\1\2\3", 4)},
    };
    return bytes;
}

// A skin text and the skin.ini its export must be, from one pattern:
// "{J:PClose.MP1.jpg}" is picture J as upper-case hexadecimal in the skin
// and that reference in skin.ini; "{J}" is its upper-case and "{j}" its
// lower-case hexadecimal in both; "{@text}" is "@text" in the skin and
// "@@text" in skin.ini.
struct Texts {
    QByteArray skin;
    QByteArray ini;
    QList<QByteArray> files{"skin.ini"};
};

Texts expand(const QByteArray& pattern)
{
    Texts t;
    qsizetype at = 0;
    for (qsizetype open; (open = pattern.indexOf('{', at)) >= 0;) {
        const qsizetype close = pattern.indexOf('}', open);
        t.skin += pattern.mid(at, open - at);
        t.ini += pattern.mid(at, open - at);
        const QByteArray token = pattern.mid(open + 1, close - open - 1);
        const char letter = token.at(0);
        const bool lower = letter >= 'a' && letter <= 'z';
        const QByteArray picture = pictures().value(lower ? char(letter - 'a' + 'A') : letter).toHex();
        if (letter == '@') {
            t.skin += token;
            t.ini += '@' + token;
        } else if (token.size() == 1) {
            t.skin += lower ? picture : picture.toUpper();
            t.ini += lower ? picture : picture.toUpper();
        } else {
            t.skin += picture.toUpper();
            t.ini += '@' + token.mid(2);
            t.files << token.mid(2);
        }
        at = close + 1;
    }
    t.skin += pattern.mid(at);
    t.ini += pattern.mid(at);
    std::sort(t.files.begin(), t.files.end());
    return t;
}

} // namespace

class SkintoolFoldersTest : public QObject {
    Q_OBJECT

private slots:
    // skin: a file of the test data, or empty for text; target: what DIR is
    // before the export.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("target");
        // Every archive of the test data, whether it loads as a skin or not.
        for (QDirIterator it(fabulor::testing::TestData::ZipFolder, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString path = it.next();
            QTest::newRow(qPrintable(QDir(fabulor::testing::TestData::Folder).relativeFilePath(path)))
                << path << QByteArray() << "new folder";
        }
        const QByteArray everyPicture =
            "[Skin]\r\nEn=1\r\nW=623\r\nMaska={B:Skin.Maska.bmp}\r\n"
            "Skin={J:Skin.Skin.jpg}\r\n\r\n[PClose]\r\nT=16\r\n"
            "MP1={J:PClose.MP1.jpg}\r\nMP2={P:PClose.MP2.png}\r\n\r\n"
            "[PUwaga]\r\nMP1={X:PUwaga.MP1.bin}\r\nMP2={J:PUwaga.MP2.jpg}\r\n\r\n";
        QTest::newRow("every picture key") << QString() << everyPicture << "new folder";
        QTest::newRow("letter case, blanks, LF and lone CR")
            << QString()
            << QByteArray("; made by hand\n[ skin ]\nen = 1\n\tskin =  {J:Skin.Skin.jpg} \t\r"
                          "[pclose]\rmp1={B:PClose.MP1.bmp}")
            << "new folder";
        // The one the document reads, the last in the last [PClose], takes
        // the plain name; the others are numbered in order.
        QTest::newRow("duplicate sections and keys")
            << QString()
            << QByteArray(
                   "[PClose]\r\nMP1={J:PClose.MP1-1.jpg}\r\n[PMini]\r\nMP1={J:PMini.MP1-1.jpg}\r\n"
                   "MP1={B:PMini.MP1.bmp}\r\n[pclose]\r\nMP1={B:PClose.MP1-2.bmp}\r\n"
                   "mp1={J:PClose.MP1.jpg}\r\n[PMenu]\r\nMP1={J:PMenu.MP1-1.jpg}\r\n[PMENU]\r\nT=1\r\n")
            << "new folder";
        QTest::newRow("values kept as they are")
            << QString()
            << QByteArray("MP1={J}\r\n[PClose]\r\nMP1={j}\r\nMP2=ABC\r\nT=@16\r\n[PMini]\r\nMP1=\r\n"
                          "MP2={@not a reference}\r\n[PMenu]\r\nMP1={@@x}\r\n[PFoo]\r\nMP1={J}\r\n"
                          "[PRys]\r\nSkin={J}\r\n[LB]\r\nFName=@Arial\r\n")
            << "new folder";
        QTest::newRow("a NUL ends the text")
            << QString() << bytes("[Skin]\r\nSkin={J:Skin.Skin.jpg}\r\n\0[PClose]\r\nMP1={J}\r\n"sv)
            << "new folder";
        for (const char* target :
             {"existing empty folder", "link to an empty folder", "name that is no UTF-8", "trailing slash"})
            QTest::newRow(target) << QString() << everyPicture << target;
    }
    void roundTrip()
    {
        QFETCH(QString, skin);
        QFETCH(QByteArray, text);
        QFETCH(QString, target);
        const Folder temporary;
        QVERIFY(temporary.dir.isValid());
        const QByteArray& base = temporary.path;
        Texts expected = expand(text);
        // Loaded as a copy named .ski, as the test data asks.
        QByteArray source = base + "source.ski";
        if (!skin.isEmpty()) {
            QVERIFY(writeBytes(source, readBytes(QFile::encodeName(skin))));
        } else {
            QVERIFY(writeBytes(base + "text", expected.skin));
            QCOMPARE(skintool({"pack", base + "text", source}).exitCode, 0);
        }
        QByteArray folder = base + "folder";
        QByteArray named = folder; // as the command line names it
        if (target == "existing empty folder") {
            QCOMPARE(::mkdir(folder.constData(), 0777), 0);
        } else if (target == "link to an empty folder") {
            QCOMPARE(::mkdir((base + "real").constData(), 0777), 0);
            QCOMPARE(::symlink("real", folder.constData()), 0);
        } else if (target == "name that is no UTF-8") {
            folder = named = base + "bad\xFF";
        } else if (target == "trailing slash") {
            named = folder + "/";
        }

        const SkintoolRun loaded = skintool({"unpack", source});
        const SkintoolRun exported = skintool({"export", source, named});
        if (loaded.exitCode != 0) {
            // What does not load is no skin to export: the load's message, no folder.
            QCOMPARE(exported.err, QByteArray(loaded.err).replace("warning: ", ""));
            QCOMPARE(exported.exitCode, 1);
            QCOMPARE(entries(base), QList<QByteArray>{"source.ski"});
            return;
        }
        QVERIFY2(exported.exitCode == 0, exported.err.constData());
        QCOMPARE(exported.err, QByteArray());
        if (!skin.isEmpty()) expected.ini = loaded.out; // the test data's skins hold no pictures
        QCOMPARE(readBytes(folder + "/skin.ini"), expected.ini);
        QCOMPARE(entries(folder), expected.files);
        // The plain names hold what the editor shows.
        for (const QByteArray& file : expected.files) {
            const QList<QByteArray> parts = file.split('.');
            if (file == "skin.ini" || file.contains('-')) continue;
            const SkintoolRun read = skintool({"get", base + "text", parts[0], parts[1], "binary", ""});
            QCOMPARE(readBytes(folder + '/' + file), read.out);
        }

        const QByteArray back = base + "back\xFE.ski";
        const SkintoolRun imported = skintool({"import", named, back});
        QVERIFY2(imported.exitCode == 0, imported.err.constData());
        QCOMPARE(skintool({"unpack", back}).out, loaded.out);
    }

    // Each case leaves the files it found, and nothing of its own.
    void failures_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("situation");
        QTest::addColumn<QByteArray>("message"); // <D> stands for the folder's path
        QTest::addColumn<QList<QByteArray>>("left");
        QTest::newRow("export, folder not empty")
            << QByteArray("export") << QByteArray("folder holds a file")
            << QByteArray("Cannot export to <D> - the folder is not empty")
            << QList<QByteArray>{"<D>", "<D>/keep", "skin.ski"};
        QTest::newRow("export, a file of that name")
            << QByteArray("export") << QByteArray("file") << QByteArray("Cannot create file <D>")
            << QList<QByteArray>{"<D>", "skin.ski"};
        QTest::newRow("export, dangling link")
            << QByteArray("export") << QByteArray("dangling link") << QByteArray("Cannot create file <D>")
            << QList<QByteArray>{"<D>", "skin.ski"};
        QTest::newRow("export, no parent folder")
            << QByteArray("export") << QByteArray("no parent") << QByteArray("Cannot create file <D>")
            << QList<QByteArray>{"skin.ski"};
        QTest::newRow("export, disk full")
            << QByteArray("export") << QByteArray("file size limit")
            << QByteArray("Cannot write file <D>/PClose.MP1.jpg - File too large")
            << QList<QByteArray>{"skin.ski"};
        QTest::newRow("import, no skin.ini")
            << QByteArray("import") << QByteArray("empty folder")
            << QByteArray("Cannot open file <D>/skin.ini") << QList<QByteArray>{"<D>"};
        QTest::newRow("import, missing picture")
            << QByteArray("import") << QByteArray("MP1=@PClose.MP1.jpg")
            << QByteArray("Cannot open file <D>/PClose.MP1.jpg") << QList<QByteArray>{"<D>", "<D>/skin.ini"};
        QTest::newRow("import, picture outside the folder")
            << QByteArray("import") << QByteArray("MP1=@../skin.ski")
            << QByteArray("<D>/skin.ini line 2: @../skin.ski names no file in <D>")
            << QList<QByteArray>{"<D>", "<D>/skin.ini", "skin.ski"};
        QTest::newRow("import, picture over its bound")
            << QByteArray("import") << QByteArray("MP1=@big.jpg, 256 MiB and one byte")
            << QByteArray("Cannot open file <D>/big.jpg - larger than 256 MiB")
            << QList<QByteArray>{"<D>", "<D>/big.jpg", "<D>/skin.ini"};
        QTest::newRow("import, text over its bound")
            << QByteArray("import") << QByteArray("skin.ini of 512 MiB and one byte")
            << QByteArray("Cannot open file <D>/skin.ini - larger than 512 MiB")
            << QList<QByteArray>{"<D>", "<D>/skin.ini"};
        QTest::newRow("import, text with its picture over the bound")
            << QByteArray("import") << QByteArray("MP1=@big.jpg, 256 MiB")
            << QByteArray("Cannot insert file - entry larger than 512 MiB")
            << QList<QByteArray>{"<D>", "<D>/big.jpg", "<D>/skin.ini"};
        QTest::newRow("import, output a dangling link")
            << QByteArray("import") << QByteArray("output dangling link")
            << QByteArray("Cannot create file <D>.ski")
            << QList<QByteArray>{"<D>", "<D>.ski", "<D>/skin.ini"};
    }
    void failures()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, situation);
        QFETCH(QByteArray, message);
        QFETCH(QList<QByteArray>, left);
        const Folder temporary;
        QVERIFY(temporary.dir.isValid());
        const QByteArray& base = temporary.path;
        QByteArray folder = base + "folder";
        const QByteArray skin = base + "skin.ski";
        const QByteArray out = folder + ".ski";
        const qint64 mebibyte = qint64(1) << 20;

        if (command == "export") {
            QVERIFY(writeBytes(base + "text", expand("[PClose]\r\nMP1={J:x}\r\n").skin));
            QCOMPARE(skintool({"pack", base + "text", skin}).exitCode, 0);
            QVERIFY(QFile::remove(QFile::decodeName(base + "text")));
        }
        if (situation == "folder holds a file") {
            QCOMPARE(::mkdir(folder.constData(), 0777), 0);
            QVERIFY(writeBytes(folder + "/keep", "kept"));
        } else if (situation == "file") {
            QVERIFY(writeBytes(folder, "kept"));
        } else if (situation == "dangling link") {
            QCOMPARE(::symlink("nowhere", folder.constData()), 0);
        } else if (situation == "no parent") {
            folder = base + "no/folder";
        } else if (command == "import") {
            QCOMPARE(::mkdir(folder.constData(), 0777), 0);
            if (situation.startsWith("MP1="))
                QVERIFY(writeBytes(folder + "/skin.ini", "[PClose]\r\n" + situation.split(',')[0] + "\r\n"));
            if (situation.startsWith("MP1=@../")) QVERIFY(writeBytes(skin, "PK"));
            if (situation.contains("256 MiB"))
                QVERIFY(
                    makeSparse(folder + "/big.jpg", 256 * mebibyte + (situation.contains("one") ? 1 : 0)));
            if (situation.startsWith("skin.ini"))
                QVERIFY(makeSparse(folder + "/skin.ini", 512 * mebibyte + 1));
            if (situation == "output dangling link") {
                QVERIFY(writeBytes(folder + "/skin.ini", "[Skin]\r\n"));
                QCOMPARE(::symlink("nowhere", out.constData()), 0);
            }
        }

        SkintoolRun r;
        if (situation == "file size limit") {
            // Writes past 512 bytes fail as on a full disk (the signal that
            // would end the program is ignored, so the write reports it).
            r = fabulor::testing::RunProgram(
                "/bin/sh",
                {"-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" export \"$1\" \"$2\"", FSB_SKINTOOL,
                 QFile::decodeName(skin), QFile::decodeName(folder)},
                {});
        } else {
            r = command == "export" ? skintool({"export", skin, folder}) : skintool({"import", folder, out});
        }
        QCOMPARE(r.err, message.replace("<D>", folder) + "\n");
        QCOMPARE(r.exitCode, 1);
        QList<QByteArray> expected;
        for (const QByteArray& name : left)
            expected << QByteArray(name).replace("<D>", "folder");
        QList<QByteArray> found = entries(base);
        if (QFileInfo(QFile::decodeName(base + "folder")).isDir())
            for (const QByteArray& name : entries(base + "folder"))
                found << "folder/" + name;
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(found, expected);
    }
};

QTEST_GUILESS_MAIN(SkintoolFoldersTest)
#include "test_skintool_folders.moc"
