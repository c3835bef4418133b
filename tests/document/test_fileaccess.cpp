// Whole-file reads through the regular-file checks: the size limit at its
// edge, and files whose recorded length is not their content.

#include "document/FileAccess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace fabulor;

namespace {

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

class FileAccessTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString place(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
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
};

QTEST_GUILESS_MAIN(FileAccessTest)
#include "test_fileaccess.moc"
