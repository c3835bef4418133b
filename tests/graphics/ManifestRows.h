#pragma once
// Reads a test-data MANIFEST.tsv into rows keyed by column name, and makes
// the large inputs that are not kept with the test data.

#include "support/TestData.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

using ManifestRow = QHash<QString, QString>;

inline QList<ManifestRow> readManifest(const QString& path)
{
    QList<ManifestRow> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return rows;
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    if (lines.isEmpty()) return rows;
    const QStringList columns = lines.front().split('\t');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split('\t');
        ManifestRow row;
        for (qsizetype c = 0; c < columns.size() && c < fields.size(); ++c)
            row.insert(columns[c], fields[c]);
        rows.append(row);
    }
    return rows;
}

// The large files come from the test data's own script (ImageMagick, zip,
// python3; a few seconds). Returns an empty path and a reason when it cannot run.
class LargeTestData {
public:
    LargeTestData()
    {
        for (const char* tool : {"bash", "convert", "zip", "python3"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                m_reason = QStringLiteral("%1 is not installed, so the large test files cannot be made")
                               .arg(QString::fromLatin1(tool));
                return;
            }
        }
        m_dir = std::make_unique<QTemporaryDir>();
        QProcess script;
        script.start(QStringLiteral("bash"), {fabulor::testing::DataFile(u"make_large.sh"), m_dir->path()});
        if (!script.waitForFinished(120000) || script.exitCode() != 0) {
            m_reason = QStringLiteral("make_large.sh failed: ") +
                       QString::fromLocal8Bit(script.readAllStandardError());
            m_dir.reset();
        }
    }
    // The path of a large file under its folder ("bmp/...", "jpeg/..."), or empty.
    QString path(const QString& relative) const
    {
        if (!m_dir) return {};
        const QString p = m_dir->filePath(relative);
        return QFile::exists(p) ? p : QString();
    }
    QString reason() const { return m_reason.isEmpty() ? QStringLiteral("the file was not made") : m_reason; }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_reason;
};

} // namespace testsupport
