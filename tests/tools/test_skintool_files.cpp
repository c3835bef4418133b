// Every skintool command pointed at something that is not a regular file: a
// named pipe, a folder, a device. Each must fail at once with the open (or,
// for pack's output, the create) message, never wait for a writer or read
// without end. A run that hangs is killed and fails the case.

#include "support/RunSkintool.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

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

} // namespace

class TestSkintoolFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_fifo;
    QString m_folder;
    QString m_ini;

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
    }

    void readersRefuseNonRegularFiles_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target");
        for (const char* command : {"jpeg", "mask", "ini", "get", "list", "unpack", "pack"})
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
        if (command == "pack") args << m_dir.filePath("out.ski");
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
            (QStringList{"pipe.ski", "skin.ini"}));
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

QTEST_GUILESS_MAIN(TestSkintoolFiles)
#include "test_skintool_files.moc"
