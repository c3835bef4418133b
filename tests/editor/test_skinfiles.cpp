// Saving and loading skin files through the "Plik" tab: the exact document
// text of a new skin, round trips, cancelled dialogs, damaged and foreign files.

#include "editor/SettingsWindow.h"
#include "skinfile/SkinEntry.h"
#include "support/PipeWatchdog.h"
#include "support/TestData.h"
#include "support/TestProgram.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"

#include <QCryptographicHash>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

// The document a skin saved right after start-up holds.
std::string DefaultSkinText()
{
    std::string text;
    const auto section = [&](const char* name, std::initializer_list<const char*> lines) {
        text += "[" + std::string(name) + "]\r\n";
        for (const char* line : lines)
            text += std::string(line) + "\r\n";
        text += "\r\n";
    };
    section("Skin", {"En=0", "W=623", "H=364"});
    section("PC1", {"S=209", "W=153", "T=144", "L=24", "Border=0", "Color=$00DFDFDF"});
    section("OP1", {"S=209", "W=88", "T=49", "L=24", "Flat=0", "Color=clWhite", "FColor=clBlack",
                    "FName=Arial", "FSize=10"});
    section("PRys", {"S=241", "W=249", "T=48", "L=248", "Border=4", "RColor=clGray", "Color=clSilver"});
    section("PClose", {"T=16", "L=464"});
    section("PMini", {"T=16", "L=430"});
    section("PMenu", {"T=16", "L=396"});
    section("P1", {"T=5", "L=8"});
    section("P2", {"T=35", "L=8"});
    section("P3", {"T=65", "L=8"});
    section("P4", {"T=95", "L=8"});
    section("PG", {"T=40", "L=85"});
    section("PD", {"T=80", "L=85"});
    section("PL", {"T=80", "L=45"});
    section("PP", {"T=80", "L=125"});
    section("PEnd", {"T=50", "L=64"});
    section("PItem", {"T=50", "L=64"});
    section("PUwaga", {"T=305", "L=25"});
    section("PMove", {"S=361", "W=25", "T=16", "L=24"});
    section("L1", {"T=12", "L=42", "FColor=clBlack", "FName=Arial", "FSize=8"});
    section("L2", {"T=42", "L=42", "FColor=clBlack", "FName=Arial", "FSize=8"});
    section("L3", {"T=72", "L=42", "FColor=clBlack", "FName=Arial", "FSize=8"});
    section("L4", {"T=102", "L=42", "FColor=clBlack", "FName=Arial", "FSize=8"});
    section("LM", {"T=312", "L=64", "FColor=clBlack", "FName=Arial", "FSize=8"});
    section("LB", {"S=97", "W=249", "T=48", "L=504", "Flat=0", "Color=clWhite", "FColor=clBlack",
                   "FName=Arial", "FSize=10"});
    return text;
}

std::string EntryText(const QString& path)
{
    TZipKit zip;
    MemoryStream stream = LoadSkinEntry(QFile::encodeName(path).toStdString(), zip);
    const auto bytes = stream.bytes();
    return std::string(bytes.begin(), bytes.end());
}

void WriteSkinFile(const QString& path, const std::string& text)
{
    TZipKit zip;
    MemoryStream stream;
    stream.write(text);
    SaveSkinEntry(QFile::encodeName(path).toStdString(), stream, zip);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Click(QPushButton* button)
{
    // Through the application object, so failures reach the error box.
    QTest::mouseClick(button, Qt::LeftButton);
    // A failure reaches the error box from a queued call.
    QCoreApplication::processEvents();
}

} // namespace

class SkinFilesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void savingAfterStartUpWritesTheDefaultSkin()
    {
        TestProgram program;
        const QString path = m_dir.filePath(QStringLiteral("default.ski"));
        program.dialogs->answerFile(path);
        Click(program.FBox().Button2);
        QVERIFY(program.dialogs->errors.isEmpty());
        QCOMPARE(EntryText(path), DefaultSkinText());

        const FileDialogOptions& asked = program.dialogs->fileDialogs.at(0);
        QCOMPARE(asked.kind, FileDialogOptions::Kind::Save);
        QCOMPARE(asked.filters.at(0).description, QStringLiteral("Skórki (*.ski)"));
        QCOMPARE(asked.filters.at(0).patterns, QStringLiteral("*.ski"));
        QCOMPARE(asked.defaultExtension, QStringLiteral("ski"));
    }

    void loadingTheDefaultSkinRestoresTheDefaults()
    {
        TestProgram program;
        const QString path = m_dir.filePath(QStringLiteral("restore.ski"));
        WriteSkinFile(path, DefaultSkinText());
        program.F().PClose->move(100, 100);
        program.F().PC1->resize(50, 60);
        program.dialogs->answerFile(path);
        Click(program.FBox().Button1);
        QVERIFY(program.dialogs->errors.isEmpty());
        QCOMPARE(program.F().PClose->pos(), QPoint(464, 16));
        QCOMPARE(program.F().PC1->size(), QSize(209, 153));
        QCOMPARE(program.text(), DefaultSkinText());
        QCOMPARE(FileBytes(path).size(), QFileInfo(path).size()); // still there, untouched
    }

    void nameWithoutExtensionGetsSki()
    {
        TestProgram program;
        program.dialogs->answerFile(m_dir.filePath(QStringLiteral("bare")));
        Click(program.FBox().Button2);
        QVERIFY(QFileInfo::exists(m_dir.filePath(QStringLiteral("bare.ski"))));
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("bare"))));
    }

    void dialogsRememberTheLastConfirmedName()
    {
        TestProgram program;
        const QString path = m_dir.filePath(QStringLiteral("remembered.ski"));
        program.dialogs->answerFile(path);
        Click(program.FBox().Button2);
        program.dialogs->cancelFile();
        Click(program.FBox().Button2);
        program.dialogs->cancelFile();
        Click(program.FBox().Button2);
        QCOMPARE(program.dialogs->proposedNames, (QStringList{QString(), path, path}));
    }

    void cancelledSaveWritesNothingButCaptures()
    {
        TestProgram program;
        const QString path = m_dir.filePath(QStringLiteral("kept.ski"));
        program.dialogs->answerFile(path);
        Click(program.FBox().Button2);
        const QByteArray before = FileBytes(path);

        program.F().PMove->move(7, 9);
        program.dialogs->cancelFile();
        Click(program.FBox().Button2);
        QCOMPARE(FileBytes(path), before);
        QCOMPARE(program.doc().readInteger("PMove", "L", 0), 7); // captured before the dialog
    }

    void cancelledLoadChangesNothing()
    {
        TestProgram program;
        program.F().PClose->move(100, 100);
        const std::string before = program.text();
        program.dialogs->cancelFile();
        Click(program.FBox().Button1);
        QCOMPARE(program.F().PClose->pos(), QPoint(100, 100)); // not re-applied
        QCOMPARE(program.text(), before);

        // A name that no longer exists is as good as a cancel.
        program.dialogs->answerFile(m_dir.filePath(QStringLiteral("gone.ski")));
        Click(program.FBox().Button1);
        QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
        QVERIFY(program.dialogs->errors.isEmpty());
    }

    void savingOverAForeignFileFailsAndKeepsIt()
    {
        TestProgram program;
        const QString path = m_dir.filePath(QStringLiteral("notes.ski"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("just some notes, not an archive");
        file.close();
        program.dialogs->answerFile(path);
        Click(program.FBox().Button2);
        QCOMPARE(program.dialogs->errors, QStringList{"Invalid file - not a PKZip file."});
        QCOMPARE(FileBytes(path), QByteArray("just some notes, not an archive"));
    }

    void savingOntoANamedPipeIsRefusedAtOnce()
    {
        TestProgram program;
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.ski"));
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        fabulor::testing::PipeWatchdog watchdog(pipe);
        program.dialogs->answerFile(pipe);
        Click(program.FBox().Button2);
        QVERIFY2(!watchdog.fired(), "the save waited for a writer");
        QCOMPARE(program.dialogs->errors, QStringList{"Cannot create file " + pipe + "."});
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(pipe).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    }

    void loadingANamedPipeIsRefusedAtOnce()
    {
        TestProgram program;
        const QString pipe = m_dir.filePath(QStringLiteral("load-pipe.ski"));
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        const std::string before = program.text();
        fabulor::testing::PipeWatchdog watchdog(pipe);
        program.dialogs->answerFile(pipe);
        Click(program.FBox().Button1);
        QVERIFY2(!watchdog.fired(), "the load waited for a writer");
        QCOMPARE(program.dialogs->errors, QStringList{"Cannot open file " + pipe + "."});
        QCOMPARE(program.text(), before);
    }

    void roundTripKeepsEverythingTheSkinHolds()
    {
        TestProgram program;
        // Unknown sections and keys, a duplicate, and a picture of several
        // megabytes the program never decodes.
        std::string picture(std::size_t{3} * 1024 * 1024, '\0');
        for (std::size_t i = 0; i < picture.size(); ++i)
            picture[i] = "0123456789ABCDEF"[(i * 7919) % 16];
        std::string text = DefaultSkinText();
        text += "[Extra]\r\nAuthor=Someone\r\n\r\n[PClose]\r\nMP2=" + picture + "\r\nX=1\r\n\r\n";
        const QString first = m_dir.filePath(QStringLiteral("first.ski"));
        WriteSkinFile(first, text);

        program.dialogs->answerFile(first);
        Click(program.FBox().Button1);
        QVERIFY(program.dialogs->errors.isEmpty());
        program.F().PMenu->move(11, 12);

        const QString second = m_dir.filePath(QStringLiteral("second.ski"));
        program.dialogs->answerFile(second);
        Click(program.FBox().Button2);

        // Writes go to the last of two sections of one name.
        std::string expected = text;
        expected.replace(expected.find("X=1\r\n"), 5, "X=1\r\nT=16\r\nL=464\r\n");
        const std::string oldMenu = "[PMenu]\r\nT=16\r\nL=396\r\n";
        expected.replace(expected.find(oldMenu), oldMenu.size(), "[PMenu]\r\nT=12\r\nL=11\r\n");
        QCOMPARE(EntryText(second), expected);

        TestProgram again;
        again.dialogs->answerFile(second);
        Click(again.FBox().Button1);
        QCOMPARE(again.text(), expected);
        QCOMPARE(again.F().PMenu->pos(), QPoint(11, 12));
    }

    // Every archive made by other tools gives its expected outcome when
    // loaded through the "Plik" tab.
    void foreignArchives_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("textBytes");
        QTest::addColumn<QString>("textSha256");
        QTest::addColumn<QString>("manifestOutcome");
        QFile manifest(testing::TestData::ZipFolder + "/MANIFEST.tsv");
        QVERIFY(manifest.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = manifest.readAll().split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QList<QByteArray> f = lines[i].split('\t');
            if (f.size() < 12) continue;
            const QString file = QString::fromUtf8(f[0]);
            if (!QFileInfo::exists(testing::TestData::ZipFolder + '/' + file))
                continue; // the large file is made by a script, the archive tests cover it
            QTest::newRow(qPrintable(file))
                << file << QString::fromUtf8(f[6]) << QString::fromUtf8(f[7]) << f[8].toInt()
                << QString::fromUtf8(f[9]) << QString::fromUtf8(f[11]);
        }
    }
    void foreignArchives()
    {
        QFETCH(QString, file);
        QFETCH(QString, outcome);
        QFETCH(QString, message);
        QFETCH(int, textBytes);
        QFETCH(QString, textSha256);
        QFETCH(QString, manifestOutcome);

        const QString copy =
            m_dir.filePath(QString(file).replace(QLatin1Char('/'), QLatin1Char('_')) + ".ski");
        QFile::remove(copy);
        QVERIFY(QFile::copy(testing::TestData::ZipFolder + '/' + file, copy));
        const QByteArray before = FileBytes(copy);

        TestProgram program;
        program.F().PClose->move(100, 100);
        const std::string previous = program.text();
        program.dialogs->answerFile(copy);
        Click(program.FBox().Button1);
        QCOMPARE(FileBytes(copy), before); // loading never writes

        const auto sha = [](const std::string& text) {
            return QString::fromLatin1(
                QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256)
                    .toHex());
        };
        if (manifestOutcome.contains(QLatin1String("quiet failure"))) {
            // A damaged or unreadable entry is refused: the failure the
            // archive component absorbed is shown, and nothing changes.
            QCOMPARE(program.dialogs->errors.size(), 1);
            QVERIFY2(manifestOutcome.contains(program.dialogs->errors[0].chopped(1)),
                     qPrintable(program.dialogs->errors[0] + " / " + manifestOutcome));
            QCOMPARE(program.text(), previous);
            QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
        } else if (outcome == QLatin1String("loads-text")) {
            QVERIFY2(program.dialogs->errors.isEmpty(), qPrintable(program.dialogs->errors.join('|')));
            // The document is the entry's text as parsed; check through a
            // fresh parse of the same bytes.
            QCOMPARE(int(EntryText(copy).size()), textBytes);
            QVERIFY(sha(EntryText(copy)).startsWith(textSha256.left(16)));
            QCOMPARE(program.F().PClose->pos(), QPoint(464, 16)); // applied
        } else if (outcome == QLatin1String("loads-nothing")) {
            QVERIFY(program.dialogs->errors.isEmpty());
            QVERIFY(program.text().empty());
            QCOMPARE(program.F().PClose->pos(), QPoint(464, 16));
        } else if (outcome == QLatin1String("fails")) {
            QCOMPARE(program.dialogs->errors, QStringList{ErrorBoxText(message)});
            QCOMPARE(program.text(), previous);
            QCOMPARE(program.F().PClose->pos(), QPoint(100, 100)); // apply did not run
        } else {
            QVERIFY(program.dialogs->errors.size() <= 1); // left open: any clean outcome
        }
    }

private:
    QTemporaryDir m_dir;
};

FSB_PROGRAM_TEST_MAIN(SkinFilesTest)
#include "test_skinfiles.moc"
