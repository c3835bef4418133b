// Every skintool command pointed at something that is not a regular file: a
// named pipe, a folder, a device. Each must fail at once with the open (or,
// for pack's output, the create) message, never wait for a writer or read
// without end. A run that hangs is killed and fails the case. And every
// writer alike: a symbolic link to a file is followed, one that leads
// nowhere refused; a name that is no UTF-8 is a name like any other; a
// standard output that takes nothing fails the run.

#include "support/RunSkintool.h"
#include "support/TestData.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Run = fabulor::testing::SkintoolRun;

Run skintool(const QStringList& args)
{
    return fabulor::testing::RunSkintool(args);
}

bool isFifo(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// Paths as bytes, for names Qt cannot spell.
QByteArray readBytes(const QByteArray& path)
{
    QFile file;
    if (!file.open(std::fopen(path.constData(), "rb"), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return {};
    return file.readAll();
}

bool copyBytes(const QByteArray& from, const QByteArray& to)
{
    const QByteArray bytes = readBytes(from);
    std::FILE* out = std::fopen(to.constData(), "wb");
    if (!out) return false;
    const bool written =
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out) == std::size_t(bytes.size());
    return std::fclose(out) == 0 && written && !bytes.isEmpty();
}

// The names in a folder as bytes: QDir leaves out those that are no UTF-8.
QList<QByteArray> entries(const QByteArray& folder)
{
    QList<QByteArray> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.toStdString()))
        names << QByteArray::fromStdString(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Empties a folder by its bytes when it ends: QTemporaryDir goes by Qt's
// listing, which leaves out names that are no UTF-8, and could not remove it.
struct EmptiedAtEnd {
    std::string folder;
    ~EmptiedAtEnd()
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
            std::filesystem::remove_all(entry.path(), ignored);
    }
};

QByteArray linkTarget(const QByteArray& path)
{
    char buffer[4096];
    const ssize_t n = ::readlink(path.constData(), buffer, sizeof buffer);
    return n < 0 ? QByteArray() : QByteArray(buffer, n);
}

// Every command with what it needs: input files by kind ("INI", "SKI",
// "JPEG", "BMP") and OUT for the file it writes.
const QHash<QString, QList<QByteArray>>& commandLines()
{
    static const QHash<QString, QList<QByteArray>> lines{
        {"ini", {"ini", "INI"}},
        {"get", {"get", "INI", "Skin", "En", "text", ""}},
        {"list", {"list", "SKI"}},
        {"unpack", {"unpack", "SKI"}},
        {"pack", {"pack", "INI", "OUT"}},
        {"check", {"check", "SKI"}},
        {"check --json", {"check", "SKI", "--json"}},
        {"render", {"render", "SKI", "OUT"}},
        {"jpeg", {"jpeg", "JPEG"}},
        {"mask", {"mask", "BMP"}},
        {"mask-from", {"mask-from", "BMP", "OUT", "--key", "#000000"}},
        {"--help", {"--help"}},
        {"--version", {"--version"}},
    };
    return lines;
}

// What a whole output file of each writer starts with.
QByteArray outputSignature(const QString& command)
{
    if (command == "pack") return "PK\x03\x04";
    if (command == "render") return "\x89PNG";
    return "BM";
}

} // namespace

class SkintoolFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_fifo;
    QString m_folder;
    QString m_ini;
    // Inputs of every kind, by the word standing for them in commandLines().
    QHash<QByteArray, QByteArray> m_inputs;

    QList<QByteArray> words(const QString& command, const QByteArray& out,
                            const QHash<QByteArray, QByteArray>& inputs) const
    {
        QList<QByteArray> line = commandLines().value(command);
        for (QByteArray& word : line) {
            if (word == "OUT") word = out;
            if (inputs.contains(word)) word = inputs.value(word);
        }
        return line;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_fifo = m_dir.filePath("pipe.ski");
        QVERIFY(::mkfifo(QFile::encodeName(m_fifo).constData(), 0600) == 0);
        m_folder = m_dir.filePath("folder.ski");
        QVERIFY(QDir(m_dir.path()).mkdir("folder.ski"));
        m_ini = m_dir.filePath("skin.ini");
        QFile ini(m_ini);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Skin]\r\nEn=0\r\n\r\n");
        ini.close();
        // A skin with a finding, so the check has something to print.
        const QString findingText = m_dir.filePath("finding.ini");
        QFile finding(findingText);
        QVERIFY(finding.open(QIODevice::WriteOnly));
        finding.write("[Skin]\r\nEn=0\r\nNieznany=1\r\n\r\n");
        finding.close();
        const QByteArray skin = QFile::encodeName(m_dir.filePath("input.ski"));
        QCOMPARE(skintool({"pack", findingText, QFile::decodeName(skin)}).exitCode, 0);
        m_inputs = {{"INI", QFile::encodeName(m_ini)},
                    {"SKI", skin},
                    {"JPEG", QFile::encodeName(fabulor::testing::TestData::Jpeg320x240)},
                    {"BMP", QFile::encodeName(fabulor::testing::TestData::Mask400x300)}};
    }

    // The file a writer makes, reached by a name it has to make sense of.
    void outputFiles_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target");
        for (const char* command : {"pack", "render", "mask-from"})
            for (const char* target : {"link to a file", "link to a link to a file", "dangling link",
                                       "link into no folder", "link in a circle", "name that is no UTF-8"})
                QTest::addRow("%s, %s", command, target) << command << target;
    }
    void outputFiles()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray folder = QFile::encodeName(dir.path()) + '/';
        const EmptiedAtEnd emptied{folder.toStdString()};
        QByteArray out = "out";
        QByteArray written = out; // where the output is to end up
        QByteArray linkedTo;      // what the link out leads to, and still must
        QList<QByteArray> left{"out"};
        if (target.startsWith("link to")) {
            written = "real";
            // A skin: pack writes only over an archive.
            QVERIFY(copyBytes(m_inputs.value("SKI"), folder + written));
            linkedTo = written;
            left << written;
            if (target == "link to a link to a file") {
                QCOMPARE(::symlink("real", folder + "middle"), 0);
                linkedTo = "middle";
                left << linkedTo;
            }
        } else if (target == "dangling link") {
            linkedTo = "missing";
        } else if (target == "link into no folder") {
            linkedTo = "no/folder/missing";
        } else if (target == "link in a circle") {
            linkedTo = "out";
        } else {
            out = written = "bad\xFF"
                            "byte";
            left = {out};
        }
        if (!linkedTo.isEmpty()) QCOMPARE(::symlink(linkedTo, folder + out), 0);

        const Run r = fabulor::testing::RunSkintoolWithBytes(words(command, folder + out, m_inputs));
        if (!linkedTo.isEmpty()) QCOMPARE(linkTarget(folder + out), linkedTo);
        if (target.startsWith("link to") || target.startsWith("name")) {
            QVERIFY2(r.exitCode == 0, r.err.constData());
            QVERIFY(readBytes(folder + written).startsWith(outputSignature(command)));
        } else {
            QCOMPARE(r.err, "Cannot create file " + folder + out + "\n");
            QCOMPARE(r.exitCode, 1);
        }
        // Nothing else: no file in the link's place or at its target, no
        // replacement left behind.
        std::sort(left.begin(), left.end());
        QCOMPARE(entries(folder), left);
    }

    // Standard output: every write is checked, and every command reads its
    // input by whatever bytes name it.
    void standardOutput_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<bool>("prints"); // what a full standard output loses
        for (const char* command : {"ini", "get", "list", "unpack", "check", "check --json", "jpeg", "mask",
                                    "mask-from", "--help", "--version"})
            QTest::addRow("%s to /dev/full", command) << command << "/dev/full" << true;
        // Writing nothing there, these lose nothing.
        QTest::newRow("pack to /dev/full") << "pack"
                                           << "/dev/full" << false;
        QTest::newRow("render to /dev/full") << "render"
                                             << "/dev/full" << false;
        for (const char* command :
             {"ini", "get", "list", "unpack", "pack", "check", "render", "jpeg", "mask", "mask-from"})
            QTest::addRow("%s, input named with no UTF-8", command) << command << "input name" << false;
    }
    void standardOutput()
    {
        QFETCH(QString, command);
        QFETCH(QString, situation);
        QFETCH(bool, prints);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray folder = QFile::encodeName(dir.path()) + '/';
        const EmptiedAtEnd emptied{folder.toStdString()};
        if (situation == "/dev/full") {
            fabulor::testing::SkintoolOptions options;
            options.standardOutputFile = QStringLiteral("/dev/full");
            const Run r =
                fabulor::testing::RunSkintoolWithBytes(words(command, folder + "out", m_inputs), options);
            QCOMPARE(r.err, prints ? QByteArray("Cannot write to standard output: No space left on device\n")
                                   : QByteArray());
            QCOMPARE(r.exitCode, prints ? 1 : 0);
            return;
        }
        QHash<QByteArray, QByteArray> renamed = m_inputs;
        for (auto input = renamed.begin(); input != renamed.end(); ++input) {
            input.value() = folder + input.key().toLower() + "\xFF\xFE.in";
            QVERIFY(copyBytes(m_inputs.value(input.key()), input.value()));
        }
        const Run r = fabulor::testing::RunSkintoolWithBytes(words(command, folder + "out", renamed));
        // As through a name of plain letters.
        const Run plain = fabulor::testing::RunSkintoolWithBytes(words(command, folder + "plain", m_inputs));
        QVERIFY2(r.exitCode == 0 || r.exitCode == 4, r.err.constData());
        QCOMPARE(r.err, plain.err);
        QCOMPARE(r.exitCode, plain.exitCode);
        QCOMPARE(r.out, plain.out);
        // A packed entry carries the time it was packed at.
        if (command == "pack")
            QCOMPARE(readBytes(folder + "out").size(), readBytes(folder + "plain").size());
        else
            QCOMPARE(readBytes(folder + "out"), readBytes(folder + "plain"));
    }

    void readersRefuseNonRegularFiles_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target");
        for (const char* command : {"jpeg", "mask", "ini", "get", "list", "unpack", "pack", "export"})
            for (const char* target : {"fifo", "folder", "/dev/zero", "/dev/null"})
                QTest::addRow("%s %s", command, target) << command << target;
    }
    void readersRefuseNonRegularFiles()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        const QString path = target == "fifo" ? m_fifo : target == "folder" ? m_folder : target;
        QStringList args{command, path};
        if (command == "get")
            args << "Skin"
                 << "En"
                 << "text"
                 << "";
        if (command == "pack" || command == "export") args << m_dir.filePath("out.ski");
        const Run r = skintool(args);
        QCOMPARE(r.err, "Cannot open file " + QFile::encodeName(path) + "\n");
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(!QFileInfo::exists(m_dir.filePath("out.ski")));
        QVERIFY(isFifo(m_fifo));
    }

    void packRefusesNonRegularOutput_data()
    {
        QTest::addColumn<QString>("target");
        for (const char* target : {"fifo", "folder", "/dev/null"})
            QTest::newRow(target) << target;
    }
    void packRefusesNonRegularOutput()
    {
        QFETCH(QString, target);
        const QString path = target == "fifo" ? m_fifo : target == "folder" ? m_folder : target;
        const Run r = skintool({"pack", m_ini, path});
        QCOMPARE(r.err, "Cannot create file " + QFile::encodeName(path) + "\n");
        QCOMPARE(r.exitCode, 1);
        // The pipe is still a pipe, not replaced by an archive; the folder still a folder.
        QVERIFY(isFifo(m_fifo));
        QVERIFY(QFileInfo(m_folder).isDir());
        QCOMPARE(QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QCOMPARE(
            QDir(m_dir.path()).entryList(QDir::Hidden | QDir::Files | QDir::System | QDir::NoDotAndDotDot),
            (QStringList{"finding.ini", "input.ski", "pipe.ski", "skin.ini"}));
    }

    // Sparse files: their size on paper is refused before a byte is read.
    void oversizedInputsAreRefusedUnread_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("message");
        const qint64 mebibyte = qint64(1) << 20;
        QTest::newRow("ini") << "ini" << 512 * mebibyte + 1 << "Cannot open file @ - larger than 512 MiB";
        QTest::newRow("get") << "get" << 512 * mebibyte + 1 << "Cannot open file @ - larger than 512 MiB";
        QTest::newRow("jpeg") << "jpeg" << 256 * mebibyte + 1 << "Cannot open file @ - larger than 256 MiB";
        // A mask file too large to hold is one that does not decode, as in the editor.
        QTest::newRow("mask") << "mask" << 256 * mebibyte + 1 << "Bitmap image is not valid";
    }
    void oversizedInputsAreRefusedUnread()
    {
        QFETCH(QString, command);
        QFETCH(qint64, size);
        QFETCH(QString, message);
        const QString path = m_dir.filePath("huge.bin");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));
        file.close();
        QStringList args{command, path};
        if (command == "get")
            args << "Skin"
                 << "En"
                 << "text"
                 << "";
        const Run r = skintool(args);
        QFile::remove(path);
        QCOMPARE(QString::fromUtf8(r.err), message.replace("@", path) + "\n");
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray());
    }
};

QTEST_GUILESS_MAIN(SkintoolFilesTest)
#include "test_skintool_files.moc"
