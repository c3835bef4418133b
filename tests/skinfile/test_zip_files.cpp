// The archive's file on disk: paths that name no regular file (a named pipe,
// a folder, devices) are refused at once, and a load never creates a file,
// not even one that vanished while the load was under way.

#include "ZipTestSupport.h"

#include "document/Errors.h"
#include "skinfile/SkinEntry.h"
#include "skinfile/ZipKit.h"
#include "support/PipeWatchdog.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace fabulor;
using namespace ziptest;
using fabulor::testing::PipeWatchdog;

namespace {

const QByteArray SmallText = "[Skin]\r\nEn=0\r\nW=700\r\nH=400\r\n\r\n";

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

bool isFifo(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// The message an operation raised, or "done".
template <typename Operation> QString failureOf(Operation&& operation)
{
    try {
        operation();
    } catch (const Exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("done");
}

} // namespace

class ZipFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString target(const QString& kind)
    {
        if (kind == "fifo") {
            const QString pipe = m_dir.filePath("pipe.ski");
            if (!isFifo(pipe)) ::mkfifo(QFile::encodeName(pipe).constData(), 0600);
            return pipe;
        }
        if (kind == "folder") {
            QDir(m_dir.path()).mkpath("folder.ski");
            return m_dir.filePath("folder.ski");
        }
        if (kind == "link to fifo") {
            const QString link = m_dir.filePath("link.ski");
            QFile::link(target("fifo"), link);
            return link;
        }
        return kind; // a device
    }

    static void addTargets()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"fifo", "link to fifo", "folder", "/dev/null", "/dev/zero"})
            QTest::newRow(kind) << kind;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const char* kind : {"fifo", "link to fifo", "folder"})
            QVERIFY(QFileInfo::exists(target(kind)) || QFileInfo(target(kind)).isSymLink());
    }

    void loadRefusesNonRegularFiles_data() { addTargets(); }
    void loadRefusesNonRegularFiles()
    {
        QFETCH(QString, kind);
        const QString path = target(kind);
        PipeWatchdog watchdog(target("fifo"));
        TZipKit zip;
        QCOMPARE(failureOf([&] { LoadSkinEntry(local(path), zip); }), "Cannot open file " + path);
        QCOMPARE(failureOf([&] { zip.OpenArchiveFile(local(path)); }), "Cannot open file " + path);
        QVERIFY2(!watchdog.fired(), "the open waited for a writer");
        QVERIFY(zip.FileName().empty());
        QVERIFY(isFifo(target("fifo")));
    }

    void saveRefusesNonRegularTargets_data() { addTargets(); }
    void saveRefusesNonRegularTargets()
    {
        QFETCH(QString, kind);
        const QString path = target(kind);
        PipeWatchdog watchdog(target("fifo"));
        TZipKit zip;
        MemoryStream text;
        text.write(std::string_view(SmallText.constData(), std::size_t(SmallText.size())));
        QCOMPARE(failureOf([&] { SaveSkinEntry(local(path), text, zip); }), "Cannot create file " + path);
        QVERIFY2(!watchdog.fired(), "the save waited for a writer");
        QVERIFY(zip.FileName().empty());
        // Nothing took the pipe's or the link's place, and no temporary file stayed behind.
        QVERIFY(isFifo(target("fifo")));
        QVERIFY(QFileInfo(target("link to fifo")).isSymLink());
        QCOMPARE(QDir(m_dir.path())
                     .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"folder.ski", "link.ski", "pipe.ski"}));
        QVERIFY(QDir(target("folder")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    void fileVanishingBeforeTheOpenIsNotCreated()
    {
        const QString file = m_dir.filePath("vanishing.ski");
        QVERIFY(writeAll(file, archive({stored("skin.ski", SmallText)})));
        TZipKit zip;
        zip.setBeforeOpenHook([&] { QFile::remove(file); });
        QCOMPARE(failureOf([&] { LoadSkinEntry(local(file), zip); }), "Cannot open file " + file);
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(zip.FileName().empty());
    }

    void openForReadingNeverCreates()
    {
        // Opening is the first step of every load; only a save creates.
        const QString file = m_dir.filePath("absent.ski");
        TZipKit zip;
        QCOMPARE(failureOf([&] { zip.OpenArchiveFile(local(file)); }), "Cannot open file " + file);
        zip.CloseArchiveFile();
        QVERIFY(!QFileInfo::exists(file));
    }
};

QTEST_GUILESS_MAIN(ZipFilesTest)
#include "test_zip_files.moc"
