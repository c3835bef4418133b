// Every archive of the test data, made by other programs or damaged
// on purpose, loads with the outcome its manifest row names, and loading
// never changes the file.

#include "ZipTestSupport.h"

#include "document/Errors.h"
#include "skinfile/SkinEntry.h"
#include "skinfile/ZipKit.h"
#include "support/TestData.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace fabulor;
using namespace ziptest;

namespace {

const QString ZipDir = fabulor::testing::TestData::ZipFolder;
const QString LargeName = QStringLiteral("large_2mb_hex_deflated.ski");

} // namespace

class ZipManifestTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_large; // made by the test data's own recipe, when it can be
    QString m_largeSkipReason;

    // The recipe of make_large.sh for the one archive this test needs.
    void makeLargeArchive()
    {
        QString python = QStandardPaths::findExecutable("python3", {"/usr/bin"});
        if (python.isEmpty()) python = QStandardPaths::findExecutable("python3");
        const QString zip = QStandardPaths::findExecutable("zip");
        if (python.isEmpty() || zip.isEmpty()) {
            m_largeSkipReason = "python3 or zip is not installed, so the large archive cannot be made";
            return;
        }
        const QString work = m_dir.filePath("large");
        QDir().mkpath(work);
        QProcess py;
        py.setStandardOutputFile(work + "/skin.ski");
        py.start(python, {fabulor::testing::DataFile(u"tools/skin_texts.py"), "bighex", "1000000", "7"});
        if (!py.waitForFinished(120000) || py.exitCode() != 0) {
            m_largeSkipReason = "skin_texts.py failed";
            return;
        }
        QProcess z;
        z.setWorkingDirectory(work);
        z.start(zip, {"-q", "-X", "-9", work + "/" + LargeName, "skin.ski"});
        if (!z.waitForFinished(120000) || z.exitCode() != 0) {
            m_largeSkipReason = "zip failed";
            return;
        }
        m_large = work + "/" + LargeName;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(ZipDir + "/MANIFEST.tsv"), qPrintable("no test data at " + ZipDir));
        makeLargeArchive();
    }

    void manifestRow_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("textBytes");
        QTest::addColumn<QString>("textSha");
        QTest::addColumn<QString>("quietFailure");

        QFile manifest(ZipDir + "/MANIFEST.tsv");
        QVERIFY(manifest.open(QIODevice::ReadOnly));
        const QStringList header = QString::fromUtf8(manifest.readLine()).trimmed().split('\t');
        const auto column = [&](const char* name) { return int(header.indexOf(name)); };
        const int file = column("file"), outcome = column("outcome_class"), message = column("message"),
                  bytes = column("text_bytes"), sha = column("text_sha256"),
                  words = column("expected_outcome");
        QVERIFY(file >= 0 && outcome >= 0 && message >= 0 && bytes >= 0 && sha >= 0 && words >= 0);
        const QRegularExpression quiet("quiet failure \"([^\"]+)\"");
        while (!manifest.atEnd()) {
            const QStringList row = QString::fromUtf8(manifest.readLine()).chopped(1).split('\t');
            if (row.size() < header.size()) continue;
            const auto match = quiet.match(row[words]);
            QTest::newRow(qPrintable(row[file]))
                << row[file] << row[outcome] << row[message] << row[bytes].toInt() << row[sha]
                << (match.hasMatch() ? match.captured(1) : QString());
        }
    }

    void manifestRow()
    {
        QFETCH(QString, file);
        QFETCH(QString, outcome);
        QFETCH(QString, message);
        QFETCH(int, textBytes);
        QFETCH(QString, textSha);
        QFETCH(QString, quietFailure);

        QString source = ZipDir + "/" + file;
        if (file == LargeName) {
            if (m_large.isEmpty()) QSKIP(qPrintable(m_largeSkipReason));
            source = m_large;
        }
        // Each archive is loaded from a copy whose name ends in .ski.
        const QString copy = m_dir.filePath(QString(file).replace('/', '_') + ".ski");
        QFile::remove(copy);
        QVERIFY(QFile::copy(source, copy));
        QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray before = readAll(copy);

        TZipKit zip;
        QString raised;
        QByteArray text;
        try {
            const MemoryStream stream = LoadSkinEntry(copy.toStdString(), zip);
            text = QByteArray(reinterpret_cast<const char*>(stream.bytes().data()), qsizetype(stream.size()));
        } catch (const Exception& e) {
            raised = e.what();
        }
        const QString failure =
            zip.lastItemFailure() ? QString::fromStdString(zip.lastItemFailure()->message) : QString();

        QCOMPARE(readAll(copy), before);
        QVERIFY(zip.FileName().empty());
        if (outcome == "fails") {
            QCOMPARE(raised, message);
        } else if (outcome.startsWith("loads-text")) {
            QCOMPARE(raised, QString());
            QCOMPARE(int(text.size()), textBytes);
            QCOMPARE(QString(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex()), textSha);
            QCOMPARE(failure.isEmpty(), outcome == "loads-text");
            if (!quietFailure.isEmpty()) QCOMPARE(failure, quietFailure);
        } else if (outcome == "loads-nothing") {
            QCOMPARE(raised, QString());
            QCOMPARE(text, QByteArray());
            QCOMPARE(failure, quietFailure);
        }
        // Rows left open need only what every row gets: no crash, the file unchanged.
    }
};

QTEST_GUILESS_MAIN(ZipManifestTest)
#include "test_zip_manifest.moc"
