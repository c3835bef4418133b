// skintool list/unpack/pack as a script sees them, and the archives `pack`
// makes as other ZIP tools see them.

#include "support/RunSkintool.h"
#include "support/TestData.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString ZipDir = fabulor::testing::TestData::ZipFolder;
const QByteArray SkinText = "[Skin]\r\nEn=0\r\nW=700\r\nH=400\r\n\r\n";

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString& program, const QStringList& args, const QString& dir = {})
{
    QProcess p;
    if (!dir.isEmpty()) p.setWorkingDirectory(dir);
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

Run skintool(const QStringList& args, const QString& dir = {})
{
    const fabulor::testing::SkintoolRun r =
        fabulor::testing::RunSkintool(args, fabulor::testing::InFolder(dir));
    return {r.exitCode, r.out, r.err};
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

class SkintoolArchiveTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString copyOf(const QString& name)
    {
        const QString copy = m_dir.filePath(QString(name).replace('/', '_'));
        QFile::remove(copy);
        QFile::copy(ZipDir + "/" + name, copy);
        QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }

    // A skin text with some bulk, so Deflate has real work.
    // `large` makes a text of a few MB with a picture in hex, big enough to
    // be compressed in pieces on several cores and joined into one stream.
    QString packed(const QString& name, QByteArray* text = nullptr, bool large = false)
    {
        QByteArray ini = SkinText;
        for (int i = 0; i < 2000; ++i)
            ini += "[P" + QByteArray::number(i) + "]\r\nT=" + QByteArray::number(i * 37 % 500) + "\r\n\r\n";
        if (large) {
            QByteArray picture(qsizetype{1800} * 1024, Qt::Uninitialized);
            quint32 seed = 7;
            for (char& c : picture) {
                seed = seed * 1664525u + 1013904223u;
                // Mostly noise with runs, as pictures are: some matches, mostly literals.
                c = static_cast<char>((seed >> 28) < 3 ? 0 : seed >> 24);
            }
            ini += "[Big]\r\nMP1=" + picture.toHex().toUpper() + "\r\n\r\n";
        }
        const QString iniPath = m_dir.filePath(name + ".ini");
        writeAll(iniPath, ini);
        const QString out = m_dir.filePath(name);
        const Run r = skintool({"pack", iniPath, out});
        if (r.code != 0) return {};
        if (text) *text = ini;
        return out;
    }

private slots:
    void unpackWritesTheText()
    {
        const Run r = skintool({"unpack", copyOf("izip_deflate.ski")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, SkinText);
        QCOMPARE(r.err, QByteArray());
    }

    void unpackReportsRaisedFailure()
    {
        const Run r = skintool({"unpack", copyOf("raw_pk_text.ski")});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.err, QByteArray("File not found\n"));
    }

    void unpackWarnsAboutQuietFailure()
    {
        const QString file = copyOf("dmg_data_byte_flipped_stored.ski");
        const Run r = skintool({"unpack", file});
        QCOMPARE(r.code, 3);
        QCOMPARE(r.err, QByteArray("warning: Failed CRC Check\n"));
        QCOMPARE(r.out.size(), 30); // the bytes extracted all the same
        QCOMPARE(readAll(file), readAll(ZipDir + "/dmg_data_byte_flipped_stored.ski"));
    }

    void unpackOfMissingFileCreatesNothing()
    {
        const QString file = m_dir.filePath("absent.ski");
        const Run r = skintool({"unpack", file});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err, ("Cannot open file " + file + "\n").toUtf8());
        QVERIFY(!QFile::exists(file));
    }

    void listShowsTheDirectory()
    {
        const Run r = skintool({"list", copyOf("py_folders.ski")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QByteArray("images/\t0\t0\t0\t00000000\t20\n"
                                   "images/buttons/\t0\t0\t0\t00000000\t20\n"
                                   "skin.ski\t8\t28\t30\t6508a12c\t20\n"
                                   "sounds/\t0\t0\t0\t00000000\t20\n"));
    }

    void packReplacesNamedEntries()
    {
        const QString file = copyOf("jar_cf_manifest.ski");
        writeAll(m_dir.filePath("s.ini"), SkinText);
        QCOMPARE(skintool({"pack", m_dir.filePath("s.ini"), file}).code, 0);
        const Run list = skintool({"list", file});
        const QList<QByteArray> lines = list.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 2); // the manifest entry is gone, the folder stays
        QVERIFY(lines[0].startsWith("META-INF/\t"));
        QCOMPARE(lines[1], QByteArray("skin.ski\t8\t28\t30\t6508a12c\t20"));
        QCOMPARE(skintool({"unpack", file}).out, SkinText);
    }

    void packTakesRelativePaths()
    {
        writeAll(m_dir.filePath("rel.ini"), SkinText);
        const Run r = skintool({"pack", "rel.ini", "rel.ski"}, m_dir.path());
        QCOMPARE(r.code, 0);
        QCOMPARE(skintool({"unpack", "rel.ski"}, m_dir.path()).out, SkinText);
    }

    void packOfMissingIniFails()
    {
        const QString ini = m_dir.filePath("none.ini");
        const Run r = skintool({"pack", ini, m_dir.filePath("none.ski")});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err, ("Cannot open file " + ini + "\n").toUtf8());
        QVERIFY(!QFile::exists(m_dir.filePath("none.ski")));
    }

    void packRefusesTextAboveTheBound()
    {
        // Sparse: 512 MiB and one byte on paper, nothing on disk.
        const QString ini = m_dir.filePath("huge.ini");
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize((qint64(512) << 20) + 1));
        file.close();
        const QString out = m_dir.filePath("huge.ski");
        const Run r = skintool({"pack", ini, out});
        QCOMPARE(r.err, QByteArray("Cannot insert file - entry larger than 512 MiB\n"));
        QCOMPARE(r.code, 1);
        QVERIFY(!QFile::exists(out));
        QFile::remove(ini);
    }

    void unzipAcceptsPackedArchive_data()
    {
        QTest::addColumn<bool>("large");
        QTest::newRow("one piece") << false;
        QTest::newRow("pieces joined") << true;
    }
    void unzipAcceptsPackedArchive()
    {
        QFETCH(bool, large);
        const QString unzip = QStandardPaths::findExecutable("unzip");
        if (unzip.isEmpty()) QSKIP("unzip is not installed");
        QByteArray text;
        const QString file = packed("peer-unzip.ski", &text, large);
        QVERIFY(!file.isEmpty());
        const Run t = run(unzip, {"-t", file});
        QVERIFY2(t.code == 0, t.out.constData());
        QVERIFY(t.out.contains("No errors detected"));
        const Run p = run(unzip, {"-p", file, "skin.ski"});
        QCOMPARE(p.out, text);
    }

    void pythonZipfileAcceptsPackedArchive_data()
    {
        QTest::addColumn<bool>("large");
        QTest::newRow("one piece") << false;
        QTest::newRow("pieces joined") << true;
    }
    void pythonZipfileAcceptsPackedArchive()
    {
        QFETCH(bool, large);
        QString python = QStandardPaths::findExecutable("python3", {"/usr/bin"});
        if (python.isEmpty()) python = QStandardPaths::findExecutable("python3");
        if (python.isEmpty()) QSKIP("python3 is not installed");
        QByteArray text;
        const QString file = packed("peer-python.ski", &text, large);
        QVERIFY(!file.isEmpty());
        const QString script = "import sys, zipfile, hashlib\n"
                               "z = zipfile.ZipFile(sys.argv[1])\n"
                               "assert z.testzip() is None\n"
                               "assert z.namelist() == ['skin.ski'], z.namelist()\n"
                               "print(hashlib.sha256(z.read('skin.ski')).hexdigest())\n";
        const Run r = run(python, {"-c", script, file});
        QVERIFY2(r.code == 0, r.err.constData());
        QCOMPARE(r.out.trimmed(), QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
    }
};

QTEST_GUILESS_MAIN(SkintoolArchiveTest)
#include "test_skintool_archive.moc"
