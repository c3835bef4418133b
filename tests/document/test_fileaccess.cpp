// Whole-file reads and creation through the regular-file checks: the size
// limit at its edge, files whose recorded length is not their content, and
// refusals that name the path as the error box shows it.

#include "document/Errors.h"
#include "document/FileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>


using namespace fabulor;

namespace {

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }

template <typename Operation>
QString failureOf(Operation&& operation)
{
    try {
        operation();
    } catch (const Exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("done");
}

} // namespace

class TestFileAccess : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString place(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }

private slots:
    void readLimitIsInclusive_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("read");
        QTest::newRow("empty") << 0 << 0 << true;
        QTest::newRow("one over an empty limit") << 1 << 0 << false;
        QTest::newRow("at the limit") << 200000 << 200000 << true;
        QTest::newRow("one over") << 200001 << 200000 << false;
        QTest::newRow("well under") << 100 << 200000 << true;
    }
    void readLimitIsInclusive()
    {
        QFETCH(int, size);
        QFETCH(int, limit);
        QFETCH(bool, read);
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = char(i * 7 + i / 251);
        const QString path = place(QString("limit%1-%2").arg(size).arg(limit), bytes);
        const auto got = ReadRegularFile(local(path), std::size_t(limit));
        QCOMPARE(got.has_value(), read);
        if (read)
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(got->data()), qsizetype(got->size())), bytes);
    }

    void contentCountsNotTheRecordedLength()
    {
        // A kernel file reports length 0 and still has content; it is read to its end.
        const auto status = ReadRegularFile("/proc/self/status", 1 << 20);
        QVERIFY(status && status->size() > 10);
        // And the limit holds for it too, though its recorded length is 0.
        QVERIFY(!ReadRegularFile("/proc/self/status", 10));
    }

    void refusalsNameThePath()
    {
        const QString folder = m_dir.path();
        QCOMPARE(failureOf([&] { ReadRegularFile(local(folder), 100); }), "Cannot open file " + folder);
        QCOMPARE(failureOf([&] { ReadRegularFile("/dev/zero", 100); }), QString("Cannot open file /dev/zero"));
        const QString missing = m_dir.filePath("missing");
        QCOMPARE(failureOf([&] { OpenRegularFileForReading(local(missing)); }), "Cannot open file " + missing);
        QVERIFY(!QFile::exists(missing));
        QCOMPARE(failureOf([&] { RefuseNonRegularTarget("/dev/null"); }), QString("Cannot create file /dev/null"));
        QCOMPARE(failureOf([&] { RefuseNonRegularTarget(local(missing)); }), QString("done"));
    }

    void createIsExclusive()
    {
        const QString path = m_dir.filePath("new");
        {
            FileHandle file = CreateNewRegularFile(local(path), 0600);
            QVERIFY(file.isOpen());
        }
        QCOMPARE(QFileInfo(path).size(), qint64(0));
        QCOMPARE(failureOf([&] { CreateNewRegularFile(local(path)); }), "Cannot create file " + path);
        // Not through a link either, even one that points nowhere yet.
        const QString link = m_dir.filePath("link");
        QVERIFY(QFile::link(m_dir.filePath("elsewhere"), link));
        QCOMPARE(failureOf([&] { CreateNewRegularFile(local(link)); }), "Cannot create file " + link);
        QVERIFY(!QFile::exists(m_dir.filePath("elsewhere")));
    }
};

QTEST_GUILESS_MAIN(TestFileAccess)
#include "test_fileaccess.moc"
