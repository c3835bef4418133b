// skintool check, run as a user would run it: the line format, the JSON
// fields, and the exit codes for clean skins, warnings, errors, unreadable
// files and wrong usage.

#include "support/ClaimingJpeg.h"
#include "support/RunSkintool.h"
#include "support/TestData.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using fabulor::testing::RunSkintool;

namespace {

// A family every label of the skin can be drawn in here, so the clean skin
// is clean on any machine.
QString InstalledFamily()
{
    const QStringList families = QFontDatabase::families();
    return families.contains(QStringLiteral("DejaVu Sans")) ? QStringLiteral("DejaVu Sans")
                                                            : families.value(0);
}

QByteArray Jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

// 16384 x 16384 grey in a few hundred bytes: 256 MiB once decoded.
QString Largest(char note)
{
    return QString::fromStdString(fabulor::testing::LargestJpegHex(note));
}

} // namespace

class SkintoolCheckTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Packs the lines as a skin file and returns its path.
    QString Skin(const QString& name, QStringList lines)
    {
        const QString family = InstalledFamily();
        for (const char* section : {"OP1", "L1", "L2", "L3", "L4", "LM", "LB"}) {
            const QString header = QStringLiteral("[%1]").arg(QLatin1String(section));
            const qsizetype at = lines.indexOf(header);
            if (at >= 0)
                lines.insert(at + 1, "FName=" + family);
            else
                lines << header << "FName=" + family;
        }
        const QString ini = m_dir.filePath(name + ".ini");
        QFile file(ini);
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
        file.close();
        const QString ski = m_dir.filePath(name + ".ski");
        if (RunSkintool({"pack", ini, ski}).exitCode != 0) return {};
        return ski;
    }

private slots:
    void initTestCase() { QVERIFY(!InstalledFamily().isEmpty()); }

    void verdicts_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::newRow("clean") << QStringList{} << 0 << QString();
        QTest::newRow("a warning")
            << QStringList{"[OP1]", "FColour=clRed"} << 4
            << QString::fromUtf8("warning OP1 FColour Nieznany klucz „FColour”; może chodzi o „FColor”?\n");
        QTest::newRow("no key: a dash")
            << QStringList{"[PClose]", "L=610"} << 4
            << QString::fromUtf8("warning PClose - Komponent wystaje poza okno (623×364).\n");
        QTest::newRow("errors come first")
            << QStringList{"[LB]", "FColor=clSilver", "[Skin]", "W=6000"} << 5
            << QString::fromUtf8(
                   "error LB FColor Kontrast tekstu z tłem 1,8:1 jest poniżej 2:1: tekstu nie da się "
                   "przeczytać.\nwarning Skin W Wartość 6000 jest poza zakresem 0–5000.\n");
        const QString small = QString::fromLatin1(QByteArray(Jpeg(27, 25)).toHex().toUpper());
        QTest::newRow("pictures past the memory of the skin's pictures")
            << QStringList{"[PClose]", "MP1=" + small, "MP2=" + Largest('c'),
                           "[PMini]",  "MP1=" + small, "MP2=" + Largest('m')}
            << 5
            << QString::fromUtf8("error PMini MP2 Obraz po najechaniu razem z wcześniejszymi obrazami skórki "
                                 "zająłby ponad 512 MiB pamięci: edytor pokaże zwykły obraz przycisku.\n");
        QTest::newRow("a place at the end of int")
            << QStringList{"[PClose]", "L=2147483647"} << 5
            << QString::fromUtf8("error PClose - Komponent leży całkowicie poza oknem (623×364).\n");
        QTest::newRow("an unknown section: no key")
            << QStringList{"[Foo]", "A=1"} << 4
            << QString::fromUtf8("warning Foo - Nieznana sekcja „Foo”: program ją pomija.\n");
        // Its look-alikes are fallbacks of other widths: no stand-in.
        QTest::newRow("a font nobody has")
            << QStringList{"[LB]", "FName=Fabulor Nowhere Sans"} << 4
            << QString::fromUtf8("warning LB FName Czcionki „Fabulor Nowhere Sans” nie ma w systemie: tekst "
                                 "zostanie napisany zastępczą.\n");
    }
    void verdicts()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        const QString skin = Skin(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'), lines);
        QVERIFY(!skin.isEmpty());
        const auto run = RunSkintool({"check", skin});
        QCOMPARE(QString::fromUtf8(run.out), out);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, exitCode);
    }

    void json()
    {
        const QString skin = Skin("json", {"[Skin]", "En=1", "[PClose]", "L=610", "[Bad\"Name\\]", "x=1"});
        const auto run = RunSkintool({"check", skin, "--json"});
        QCOMPARE(run.exitCode, 5);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QVERIFY(document.isArray());
        const QJsonArray findings = document.array();
        QCOMPARE(findings.size(), 4);

        const QJsonObject first = findings[0].toObject();
        QCOMPARE(first.keys(), (QStringList{"component", "key", "message", "section", "severity"}));
        QCOMPARE(first["severity"].toString(), QStringLiteral("error"));
        QCOMPARE(first["section"].toString(), QStringLiteral("Skin"));
        QCOMPARE(first["key"].toString(), QStringLiteral("Maska"));
        QVERIFY(first["component"].isNull());
        QCOMPARE(first["message"].toString(),
                 QString::fromUtf8("Skóra jest włączona, ale nie ma maski: okno nie dostanie kształtu."));

        QCOMPARE(findings[1].toObject()["key"].toString(), QStringLiteral("Skin"));
        const QJsonObject second = findings[2].toObject();
        QCOMPARE(second["severity"].toString(), QStringLiteral("warning"));
        QCOMPARE(second["section"].toString(), QStringLiteral("PClose"));
        QCOMPARE(second["key"].toString(), QString());
        QCOMPARE(second["component"].toString(), QStringLiteral("Przycisk [Zamknij]"));

        // Quotes and backslashes of a name come back as they were.
        QCOMPARE(findings[3].toObject()["section"].toString(), QStringLiteral("Bad\"Name\\"));
    }

    // The default skin's fonts on a machine with Debian's Liberation fonts:
    // each is missing, and one of the same widths takes its place, so the
    // skin is clean and a note says which font will be used.
    void fontsOfTheSameWidthsStandIn()
    {
        const QStringList families{"Arial", "Times New Roman", "Courier New"};
        const QStringList standIns{"Liberation Sans", "Liberation Serif", "Liberation Mono"};
        for (int i = 0; i < families.size(); ++i) {
            if (QFontDatabase::hasFamily(families[i]))
                QSKIP(qPrintable(families[i] + " itself is installed"));
            if (!QFontDatabase::hasFamily(standIns[i]))
                QSKIP(qPrintable(standIns[i] + " is not installed (Debian: fonts-liberation2)"));
        }
        const QString skin = Skin("standins", {"[OP1]", "FName=Arial", "[LM]", "FName=Times New Roman",
                                               "[LB]", "FName=Courier New"});
        const auto run = RunSkintool({"check", skin});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(
            QString::fromUtf8(run.out),
            QString::fromUtf8("note OP1 FName Zamiast czcionki „Arial” zostanie użyta „Liberation Sans” o "
                              "tych samych szerokościach znaków: tekst ułoży się tak samo.\n"
                              "note LM FName Zamiast czcionki „Times New Roman” zostanie użyta „Liberation "
                              "Serif” o tych samych szerokościach znaków: tekst ułoży się tak samo.\n"
                              "note LB FName Zamiast czcionki „Courier New” zostanie użyta „Liberation "
                              "Mono” o tych samych szerokościach znaków: tekst ułoży się tak samo.\n"));

        const auto json = RunSkintool({"check", skin, "--json"});
        QCOMPARE(json.exitCode, 0);
        const QJsonArray findings = QJsonDocument::fromJson(json.out).array();
        QCOMPARE(findings.size(), 3);
        QCOMPARE(findings[0].toObject()["severity"].toString(), QStringLiteral("note"));
        QVERIFY(
            findings[0].toObject()["message"].toString().contains(QString::fromUtf8("„Liberation Sans”")));
        // Beside a warning, the verdict is the warning's.
        QCOMPARE(RunSkintool({"check", Skin("standinswarning", {"[OP1]", "FName=Arial", "[LM]", "Zz=1"})})
                     .exitCode,
                 4);
    }

    void cleanJsonIsAnEmptyArray()
    {
        const auto run = RunSkintool({"check", Skin("cleanjson", {}), "--json"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(run.out).array().size(), 0);
        QVERIFY(QJsonDocument::fromJson(run.out).isArray());
    }

    // With no platform chosen and no display, the check picks the offscreen
    // one itself.
    void noPlatformChosen()
    {
        const auto run =
            RunSkintool({"check", Skin("noplatform", {"[OP1]", "Zz=1"})}, fabulor::testing::WithoutDisplay());
        QCOMPARE(run.exitCode, 4);
        QVERIFY(run.out.startsWith("warning OP1 Zz "));
    }

    void unreadableOrWrongUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("missing file") << QStringList{"check", "/nonexistent/skin.ski"} << 1;
        QTest::newRow("a folder") << QStringList{"check", "/tmp"} << 1;
        QTest::newRow("not an archive") << QStringList{"check", fabulor::testing::TestData::Bitmap64x48} << 1;
        QTest::newRow("no file") << QStringList{"check"} << 2;
        QTest::newRow("an unknown option") << QStringList{"check", "a.ski", "--xml"} << 2;
        QTest::newRow("too many words") << QStringList{"check", "a.ski", "--json", "--json"} << 2;
    }
    void unreadableOrWrongUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        const auto run = RunSkintool(args);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, QByteArray());
        QVERIFY(!run.err.isEmpty());
    }
};

QTEST_MAIN(SkintoolCheckTest)
#include "test_skintool_check.moc"
