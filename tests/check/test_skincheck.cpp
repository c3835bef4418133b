// The skin check's rules: each small skin below breaks one rule and must
// give exactly that one finding; the clean skins give none. Then the order
// of findings, the picture cache, and the contrast measure itself.

#include "CheckSkins.h"

#include "check/CheckPictures.h"
#include "check/Contrast.h"
#include "check/SkinCheck.h"
#include "check/SystemFonts.h"
#include "document/SkinSchema.h"
#include "support/ClaimingJpeg.h"

#include <QFontDatabase>
#include <QtTest>

#include <functional>

using namespace fabulor;
using namespace fabulor::testing;

using Change = std::function<void(IniStore&)>;
using Lines = std::vector<std::string>;
Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(fabulor::Severity)

namespace {

QString Describe(const std::vector<Finding>& findings)
{
    QStringList lines;
    for (const Finding& f : findings)
        lines << QString::fromStdString((f.severity == Severity::Error     ? "error "
                                         : f.severity == Severity::Warning ? "warning "
                                                                           : "note ") +
                                        f.section + " " + f.key + " " + f.message);
    return lines.join('\n');
}

// What the check quotes of a name of a thousand letters.
std::string LongName(char letter)
{
    return std::string(40, letter) + "…";
}

// The two bases every rule's skin starts from.
IniStore Base(bool shaped)
{
    return shaped ? CleanShapedSkin() : IniStore();
}

} // namespace

class SkinCheckTest : public QObject {
    Q_OBJECT

private slots:
    void cleanSkins_data()
    {
        QTest::addColumn<bool>("shaped");
        QTest::newRow("the default skin") << false;
        QTest::newRow("shaped, with pictures") << true;
    }
    void cleanSkins()
    {
        QFETCH(bool, shaped);
        const auto findings = CheckSkin(Base(shaped), FakeEnvironment());
        QVERIFY2(findings.empty(), qPrintable(Describe(findings)));
    }

    void oneRule_data()
    {
        QTest::addColumn<bool>("shaped");
        QTest::addColumn<Change>("change");
        QTest::addColumn<Severity>("severity");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("says");

        const auto row = [](const char* name, bool shaped, const Change& change, bool error,
                            const char* section, const char* key, const char* says) {
            QTest::newRow(name) << shaped << change << (error ? Severity::Error : Severity::Warning)
                                << section << key << QString::fromUtf8(says);
        };
        const auto note = [](const char* name, const Change& change, const char* section, const char* key,
                             const char* says) {
            QTest::newRow(name) << false << change << Severity::Note << section << key
                                << QString::fromUtf8(says);
        };

        // The window's shape.
        row(
            "shaped without a mask", true, [](IniStore& s) { s.writeString("Skin", "Maska", ""); }, true,
            "Skin", "Maska", "nie ma maski");
        row(
            "a mask that does not decode", true,
            [](IniStore& s) { s.writeString("Skin", "Maska", Hex("BM this is no bitmap at all")); }, true,
            "Skin", "Maska", "Maska nie daje się odczytać: ");
        row(
            "a mask that is a PNG", true,
            [](IniStore& s) {
                QImage png(623, 364, QImage::Format_RGB32);
                png.fill(Qt::white);
                s.writeString("Skin", "Maska", Hex(Encoded(png, "PNG")));
            },
            true, "Skin", "Maska", "plikiem PNG, a nie BMP");
        row(
            "a mask of one colour", true,
            [](IniStore& s) {
                s.writeString("Skin", "Maska", MaskHex({623, 364}, QRect()));
            },
            true, "Skin", "Maska", "jeden kolor");
        row(
            "a mask white at the top left", true,
            [](IniStore& s) {
                s.writeString("Skin", "Maska",
                              MaskHex({623, 364}, QRect(10, 10, 603, 344), {}, Qt::white, Qt::black));
            },
            false, "Skin", "Maska", "Lewy górny piksel maski jest biały");
        row(
            "a mask larger than the skin picture", true,
            [](IniStore& s) {
                s.writeString("Skin", "Maska", MaskHex({700, 400}, QRect(10, 10, 603, 344)));
            },
            false, "Skin", "Maska", "Maska ma 700×400 pikseli, a obraz skóry 623×364.");
        row(
            "shaped without a skin picture", true, [](IniStore& s) { s.writeString("Skin", "Skin", ""); },
            false, "Skin", "Skin", "nie ma obrazu skóry");
        row(
            "a skin picture that does not decode", true,
            [](IniStore& s) { s.writeString("Skin", "Skin", "FFD8FF00112233"); }, true, "Skin", "Skin",
            "Obraz skóry nie daje się odczytać: JPEG error #");
        row(
            "a broken skin picture while unshaped is kept, not shown", false,
            [](IniStore& s) { s.writeString("Skin", "Skin", "FFD8FF00112233"); }, false, "Skin", "Skin",
            "Obraz skóry nie daje się odczytać");

        // Button pictures.
        row(
            "a mouse-out picture that is a PNG", true,
            [](IniStore& s) {
                QImage png(27, 25, QImage::Format_RGB32);
                png.fill(Qt::red);
                s.writeString("PClose", "MP1", Hex(Encoded(png, "PNG")));
            },
            true, "PClose", "MP1",
            "jest plikiem PNG, a nie JPEG: jest zapisany, ale nigdy nie będzie pokazany");
        row(
            "a mouse-over picture that does not decode", true,
            [](IniStore& s) { s.writeString("PMenu", "MP2", "FFD8FFE000"); }, true, "PMenu", "MP2",
            "Obraz po najechaniu nie daje się odczytać: JPEG error #");
        row(
            "a mouse-over picture alone", false,
            [](IniStore& s) { s.writeString("P2", "MP2", JpegHex(27, 25)); }, false, "P2", "MP1",
            "nie ma zwykłego");
        row(
            "a mouse-over picture past the memory of the skin's pictures", true,
            [](IniStore& s) {
                s.writeString("PClose", "MP2", LargestJpegHex('c'));
                s.writeString("PMenu", "MP2", LargestJpegHex('m'));
            },
            true, "PMenu", "MP2",
            "Obraz po najechaniu razem z wcześniejszymi obrazami skórki zająłby ponad 512 MiB pamięci: "
            "edytor "
            "pokaże zwykły obraz przycisku.");
        row(
            "a mouse-out picture alone", false,
            [](IniStore& s) { s.writeString("PEnd", "MP1", JpegHex(70, 25)); }, false, "PEnd", "MP2",
            "nie ma obrazu po najechaniu");

        // Placement.
        row(
            "partly outside the window", false, [](IniStore& s) { s.writeString("PClose", "L", "610"); },
            false, "PClose", "", "Komponent wystaje poza okno (623×364).");
        row(
            "wholly outside the window", false, [](IniStore& s) { s.writeString("LB", "T", "400"); }, true,
            "LB", "", "Komponent leży całkowicie poza oknem (623×364).");
        row(
            "the window's own size counts", false,
            [](IniStore& s) {
                s.writeString("Skin", "W", "500");
                s.writeString("LB", "L", "420"); // all else ends before 500
            },
            false, "LB", "", "wystaje poza okno (500×364)");
        row(
            "partly off its page", false, [](IniStore& s) { s.writeString("P1", "L", "200"); }, false, "P1",
            "", "wystaje poza obszar stron (209×153)");
        row(
            "a wider page border narrows the pages", false,
            [](IniStore& s) {
                s.writeString("PC1", "Border", "10");
                s.writeString("PEnd", "L", "130"); // 130 + 70 fits 209, not 189
            },
            false, "PEnd", "", "wystaje poza obszar stron (189×133)");
        row(
            "partly where the mask hides", true,
            [](IniStore& s) {
                s.writeString("Skin", "Maska",
                              MaskHex({623, 364}, QRect(10, 10, 603, 344), {QRect(300, 320, 60, 30)}));
                s.writeString("PUwaga", "L", "292"); // 17 wide: 9 of its 17 columns in the hole
                s.writeString("PUwaga", "T", "322");
            },
            false, "PUwaga", "", "Maska ukrywa 52% komponentu");
        row(
            "wholly where the mask hides, inside the mask's bounds", true,
            [](IniStore& s) {
                s.writeString("Skin", "Maska",
                              MaskHex({623, 364}, QRect(10, 10, 603, 344), {QRect(300, 320, 60, 30)}));
                s.writeString("PUwaga", "L", "310");
                s.writeString("PUwaga", "T", "322");
            },
            true, "PUwaga", "", "całkowicie w obszarze ukrytym przez maskę");
        row(
            "half hidden by a checkerboard reaching past it", true,
            [](IniStore& s) {
                // Single-pixel squares: bands above, below and across the
                // component, each of many rectangles, most beside it.
                QImage mask(623, 364, QImage::Format_RGB888);
                mask.fill(Qt::black);
                QPainter(&mask).fillRect(10, 10, 603, 344, Qt::white);
                for (int y = 316; y < 352; ++y)
                    for (int x = 286; x < 318; ++x)
                        if ((x + y) % 2 == 0) mask.setPixelColor(x, y, Qt::black);
                s.writeString("Skin", "Maska", Hex(Encoded(mask, "BMP")));
                s.writeString("PUwaga", "L", "292");
                s.writeString("PUwaga", "T", "322");
            },
            false, "PUwaga", "", "Maska ukrywa 50% komponentu: zostanie obcięty.");
        row(
            "a button placed at the greatest int", false,
            [](IniStore& s) { s.writeString("PClose", "L", "2147483647"); }, true, "PClose", "",
            "Komponent leży całkowicie poza oknem (623×364).");
        row(
            "two buttons on the window overlap", false,
            [](IniStore& s) { s.writeString("PMini", "L", "450"); }, false, "PClose", "",
            "zachodzi na „Przycisk [Minimalizuj]”");
        row(
            "a window button over a page button", false,
            [](IniStore& s) {
                s.writeString("PUwaga", "L", "40");
                s.writeString("PUwaga", "T", "183"); // over P2 at 24 + 8, 144 + 35, clear of P3
            },
            false, "P2", "", "zachodzi na „Rysunek [Uwaga]”");

        // Legibility.
        row(
            "grey #777 on white", false, [](IniStore& s) { s.writeString("OP1", "FColor", "$00777777"); },
            false, "OP1", "FColor", "Kontrast tekstu z tłem 4,4:1 jest poniżej zalecanych 4,5:1.");
        row(
            "silver on white", false, [](IniStore& s) { s.writeString("LB", "FColor", "clSilver"); }, true,
            "LB", "FColor", "Kontrast tekstu z tłem 1,8:1 jest poniżej 2:1");
        row(
            "path labels on the page colour", false,
            [](IniStore& s) { s.writeString("L1", "FColor", "$00D0D0D0"); }, true, "L1", "FColor",
            "Kontrast");
        row(
            "the message label on a dark part of the skin picture", true,
            [](IniStore& s) {
                QImage picture(623, 364, QImage::Format_RGB32);
                picture.fill(Qt::white);
                QPainter(&picture).fillRect(64, 312, 20, 16, Qt::black); // 12 % of the label's box
                s.writeString("Skin", "Skin", Hex(Encoded(picture, "JPG")));
            },
            true, "LM", "FColor", "poniżej 2:1");

        // Values.
        row(
            "an unknown key", false, [](IniStore& s) { s.writeString("OP1", "FColour", "clRed"); }, false,
            "OP1", "FColour", "Nieznany klucz „FColour”; może chodzi o „FColor”?");
        row(
            "an unknown section", false, [](IniStore& s) { s.writeString("PClsoe", "T", "16"); }, false,
            "PClsoe", "", "Nieznana sekcja „PClsoe”; może chodzi o „PClose”?");
        row(
            "an unknown key of a thousand letters, quoted in part", false,
            [](IniStore& s) { s.writeString("PMove", std::string(1000, 'Z'), "1"); }, false, "PMove",
            LongName('Z').c_str(), ("Nieznany klucz „" + LongName('Z') + "”: program go pomija.").c_str());
        row(
            "an unknown section of a thousand letters, quoted in part", false,
            [](IniStore& s) { s.writeString(std::string(1000, 'Q'), "T", "16"); }, false,
            LongName('Q').c_str(), "",
            ("Nieznana sekcja „" + LongName('Q') + "”: program ją pomija.").c_str());
        row(
            "an unknown key like no other", false, [](IniStore& s) { s.writeString("PMove", "Zebra", "1"); },
            false, "PMove", "Zebra", "Nieznany klucz „Zebra”: program go pomija.");
        row(
            "a border past its editor's limit", false,
            [](IniStore& s) { s.writeString("PRys", "Border", "15"); }, false, "PRys", "Border",
            "Wartość 15 jest poza zakresem 0–10.");
        row(
            "a window wider than its editor takes", false,
            [](IniStore& s) { s.writeString("Skin", "W", "6000"); }, false, "Skin", "W",
            "poza zakresem 0–5000");
        row(
            "a number that is none", false, [](IniStore& s) { s.writeString("PMove", "T", "abc"); }, false,
            "PMove", "T", "„abc” nie jest liczbą: zostanie użyta wartość domyślna 16.");
        row(
            "a colour that is none", false,
            [](IniStore& s) { s.writeString("PRys", "RColor", "clGreenish"); }, true, "PRys", "RColor",
            "„clGreenish” nie jest kolorem");
        row(
            "a font the system lacks", false,
            [](IniStore& s) { s.writeString("LM", "FName", "Comic Sans MS"); }, false, "LM", "FName",
            "Czcionki „Comic Sans MS” nie ma w systemie");
        note(
            "a font of the same widths stands in",
            [](IniStore& s) { s.writeString("LM", "FName", "Helvetica"); }, "LM", "FName",
            "Zamiast czcionki „Helvetica” zostanie użyta „Arial” o tych samych szerokościach znaków: tekst "
            "ułoży się tak samo.");
        row(
            "a font size of 0", false, [](IniStore& s) { s.writeString("OP1", "FSize", "0"); }, true, "OP1",
            "FSize", "rozmiarze 0 pt nie da się pokazać");
        row(
            "a size a fixed-size font lacks", false,
            [](IniStore& s) {
                s.writeString("LB", "FName", "MS Sans Serif");
                s.writeString("LB", "FSize", "9");
            },
            false, "LB", "FSize", "nie ma rozmiaru 9 pt (ma 8, 10, 12 pt)");
    }
    void oneRule()
    {
        QFETCH(bool, shaped);
        QFETCH(Change, change);
        QFETCH(Severity, severity);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, says);
        IniStore skin = Base(shaped);
        change(skin);
        const auto findings = CheckSkin(skin, FakeEnvironment());
        QVERIFY2(findings.size() == 1, qPrintable(Describe(findings)));
        const Finding& f = findings.front();
        QCOMPARE(f.severity, severity);
        QCOMPARE(QString::fromStdString(f.section), section);
        QCOMPARE(QString::fromStdString(f.key), key);
        QVERIFY2(QString::fromStdString(f.message).contains(says), f.message.c_str());
        QCOMPARE(f.component, ComponentIndex(f.section));
    }

    // Rules that must stay quiet where a careless one would speak.
    void noFinding_data()
    {
        QTest::addColumn<bool>("shaped");
        QTest::addColumn<Change>("change");
        QTest::newRow("buttons of different pages share a place") << false << Change([](IniStore& s) {
            s.writeString("PG", "L", "8"); // over P1, but on another page
            s.writeString("PG", "T", "5");
        });
        QTest::newRow("a few dark pixels under the message label") << true << Change([](IniStore& s) {
            QImage picture(623, 364, QImage::Format_RGB32);
            picture.fill(Qt::white);
            QPainter(&picture).fillRect(64, 312, 4, 14, Qt::black); // 2 % of its box
            s.writeString("Skin", "Skin", Hex(Encoded(picture, "JPG")));
        });
        QTest::newRow("the later path labels' own colours are never shown")
            << false << Change([](IniStore& s) { s.writeString("L2", "FColor", "$00DFDFDF"); });
        QTest::newRow("an unshaped skin keeps stale size and shape keys") << false << Change([](IniStore& s) {
            s.writeString("Skin", "Maska", MaskHex({100, 100}, QRect(0, 0, 50, 50)));
            s.writeString("PClose", "L", "590"); // inside 623, outside the unused mask
        });
        QTest::newRow("the warning sign's mouse-over picture is never used")
            << false << Change([](IniStore& s) { s.writeString("PUwaga", "MP2", "00"); });
        QTest::newRow("names in any letter case") << false << Change([](IniStore& s) {
            s.writeString("pclose", "l", "470");
            s.writeString("OP1", "fcolor", "clNavy");
        });
        QTest::newRow("without font functions, no font rule")
            << false << Change([](IniStore& s) { s.writeString("LM", "FName", "Nowhere Sans"); });
    }
    void noFinding()
    {
        QFETCH(bool, shaped);
        QFETCH(Change, change);
        IniStore skin = Base(shaped);
        change(skin);
        CheckEnvironment environment = FakeEnvironment();
        if (QByteArray(QTest::currentDataTag()).startsWith("without font")) environment = {};
        const auto findings = CheckSkin(skin, environment);
        QVERIFY2(findings.empty(), qPrintable(Describe(findings)));
    }

    // This machine's fonts: a family missing here counts as present where
    // fontconfig's metric aliases name an installed one of the same widths,
    // and never through a mere fallback of a similar look.
    void systemFontsOfTheSameWidths_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("standIn");
        QTest::newRow("Arial") << "Arial"
                               << "Liberation Sans";
        QTest::newRow("Times New Roman") << "Times New Roman"
                                         << "Liberation Serif";
        QTest::newRow("Courier New") << "Courier New"
                                     << "Liberation Mono";
        QTest::newRow("Tahoma: only fallbacks of a similar look") << "Tahoma" << QString();
        QTest::newRow("a family nobody has") << "Fabulor Nowhere Sans" << QString();
    }
    void systemFontsOfTheSameWidths()
    {
        QFETCH(QString, family);
        QFETCH(QString, standIn);
        if (QFontDatabase::hasFamily(family)) QSKIP("the family itself is installed here");
        if (!standIn.isEmpty() && !QFontDatabase::hasFamily(standIn))
            QSKIP(qPrintable(standIn + " is not installed (Debian: fonts-liberation2)"));
        const CheckEnvironment environment = SystemCheckEnvironment();
        QVERIFY(!environment.fontInstalled(family.toStdString()));
        QVERIFY(environment.fontSubstitute);
        QCOMPARE(QString::fromStdString(environment.fontSubstitute(family.toStdString())), standIn);
        // Only what is installed stands in.
        QCOMPARE(MetricSubstitute(family.toStdString(), [](const QString&) { return false; }), std::string());
    }

    // The last duplicate of a key, and of a section, is the one that counts,
    // as in the document.
    void duplicates()
    {
        IniStore skin;
        skin.setStrings({"[PRys]", "Border=15", "Border=4", "[LB]", "Foo=1", "[LB]", "T=48"});
        QVERIFY2(CheckSkin(skin, FakeEnvironment()).empty(), qPrintable(Describe(CheckSkin(skin))));
    }

    // Past 200 of them, unknown keys and sections are only counted, in one
    // finding each; a name counts once however often it is repeated.
    void manyUnknownNamesAreCounted_data()
    {
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("sections");
        QTest::addColumn<QString>("keysSummary"); // empty: none
        QTest::addColumn<QString>("sectionsSummary");
        QTest::newRow("200 of each: all listed") << 200 << 200 << ""
                                                 << "";
        QTest::newRow("one key more") << 201 << 0 << "Jeszcze 1 nieznany klucz: program go pomija."
                                      << "";
        QTest::newRow("one section more") << 0 << 201 << ""
                                          << "Jeszcze 1 nieznana sekcja: program ją pomija.";
        QTest::newRow("three and twenty-two more")
            << 203 << 222 << "Jeszcze 3 nieznane klucze: program je pomija."
            << "Jeszcze 22 nieznane sekcje: program je pomija.";
        QTest::newRow("twelve and a thousand more")
            << 212 << 1200 << "Jeszcze 12 nieznanych kluczy: program je pomija."
            << "Jeszcze 1000 nieznanych sekcji: program je pomija.";
    }
    void manyUnknownNamesAreCounted()
    {
        QFETCH(int, keys);
        QFETCH(int, sections);
        QFETCH(QString, keysSummary);
        QFETCH(QString, sectionsSummary);
        Lines lines{"[PMove]"};
        for (int i = 0; i < keys; ++i) {
            lines.push_back("Zebra" + std::to_string(i) + "=1");
            lines.push_back("zebra" + std::to_string(i) + "=2"); // the same key again
        }
        for (int i = 0; i < sections; ++i) {
            lines.push_back("[Zoo" + std::to_string(i) + "]");
            lines.push_back("[ZOO" + std::to_string(i) + "]");
        }
        IniStore skin;
        skin.setStrings(lines);
        const auto findings = CheckSkin(skin, FakeEnvironment());
        QStringList summaries;
        int listedKeys = 0;
        int listedSections = 0;
        for (const Finding& f : findings) {
            const QString message = QString::fromStdString(f.message);
            listedKeys += message.startsWith("Nieznany klucz");
            listedSections += message.startsWith("Nieznana sekcja");
            if (message.startsWith("Jeszcze")) {
                summaries << message;
                QCOMPARE(f.severity, Severity::Warning);
                QVERIFY(f.section.empty() && f.key.empty() && f.component == -1);
            }
        }
        QCOMPARE(listedKeys, std::min(keys, 200));
        QCOMPARE(listedSections, std::min(sections, 200));
        QStringList expected;
        if (!keysSummary.isEmpty()) expected << keysSummary;
        if (!sectionsSummary.isEmpty()) expected << sectionsSummary;
        QCOMPARE(summaries, expected);
        QCOMPARE(findings.size(), std::size_t(listedKeys + listedSections + summaries.size()));
    }

    void errorsFirstThenSchemaOrder()
    {
        IniStore skin;
        skin.writeString("Zzz", "A", "1");                 // unknown section: last
        skin.writeString("LB", "Border", "1");             // unknown key, warning
        skin.writeString("PClose", "MP1", "89504E470D0A"); // error
        skin.writeString("Skin", "W", "9000");             // warning of the window
        skin.writeString("OP1", "Color", "nope");          // error
        skin.writeString("OP1", "FName", "Helvetica");     // note: last
        const auto findings = CheckSkin(skin, FakeEnvironment());
        QStringList order;
        for (const Finding& f : findings)
            order << QString::fromStdString(f.section);
        // The PNG also leaves the button with a mouse-over picture missing.
        QCOMPARE(order, (QStringList{"OP1", "PClose", "Skin", "PClose", "LB", "Zzz", "OP1"}));
        QCOMPARE(findings[6].severity, Severity::Note);
        QCOMPARE(findings[1].severity, Severity::Error);
        QCOMPARE(findings[2].severity, Severity::Warning);
        QCOMPARE(findings[5].component, -1);
    }

    // Checking again after an edit decodes only the pictures the edit changed.
    void cacheDecodesChangedPicturesOnly()
    {
        IniStore skin = CleanShapedSkin();
        CheckPictureCache cache;
        const auto first = CheckSkin(skin, FakeEnvironment(), &cache);
        const std::uint64_t cold = cache.entries().decodes;
        QVERIFY(cold >= 6); // mask, skin picture (and its pixels), four button pictures

        QVERIFY(CheckSkin(skin, FakeEnvironment(), &cache).empty());
        QCOMPARE(cache.entries().decodes, cold);

        skin.writeString("PClose", "T", "20");
        QVERIFY(CheckSkin(skin, FakeEnvironment(), &cache).empty());
        QCOMPARE(cache.entries().decodes, cold);

        skin.writeString("PClose", "MP1", "FFD8FF00");
        const auto broken = CheckSkin(skin, FakeEnvironment(), &cache);
        QCOMPARE(cache.entries().decodes, cold + 1);
        QCOMPARE(broken.size(), std::size_t(1));

        // Pictures no longer in the skin leave the cache.
        const std::size_t held = cache.entries().entries.size();
        skin.writeString("PMenu", "MP1", "");
        skin.writeString("PMenu", "MP2", "");
        CheckSkin(skin, FakeEnvironment(), &cache);
        QCOMPARE(cache.entries().entries.size(), held - 2);
    }

    void contrastRatio()
    {
        QCOMPARE(ContrastRatio(qRgb(0, 0, 0), qRgb(255, 255, 255)), 21.0);
        QCOMPARE(ContrastRatio(qRgb(255, 255, 255), qRgb(0, 0, 0)), 21.0);
        QVERIFY(qAbs(ContrastRatio(qRgb(0x77, 0x77, 0x77), qRgb(255, 255, 255)) - 4.48) < 0.005);
        QCOMPARE(ContrastRatio(qRgb(0x12, 0x34, 0x56), qRgb(0x12, 0x34, 0x56)), 1.0);
        // Green weighs most: pure green on black is far above pure blue on black.
        QVERIFY(ContrastRatio(qRgb(0, 255, 0), qRgb(0, 0, 0)) > 15);
        QVERIFY(ContrastRatio(qRgb(0, 0, 255), qRgb(0, 0, 0)) < 3);
    }

    void worstShareOfPixels()
    {
        QImage ground(100, 10, QImage::Format_RGB32);
        ground.fill(Qt::white);
        // 4 % black: the 5 % decides on white.
        QPainter(&ground).fillRect(0, 0, 4, 10, Qt::black);
        QCOMPARE(WorstContrast(ground, ground.rect(), qRgb(0, 0, 0), qRgb(0, 0, 0)), 21.0);
        // 6 % black: now black.
        QPainter(&ground).fillRect(0, 0, 6, 10, Qt::black);
        QCOMPARE(WorstContrast(ground, ground.rect(), qRgb(0, 0, 0), qRgb(0, 0, 0)), 1.0);
        // Off the picture the window's own colour counts.
        QCOMPARE(WorstContrast(QImage(), QRect(0, 0, 10, 10), qRgb(0, 0, 0), qRgb(255, 255, 255)), 21.0);
        QCOMPARE(WorstContrast(ground, QRect(200, 0, 10, 10), qRgb(0, 0, 0), qRgb(0, 0, 0)), 1.0);
    }

    void readerColours()
    {
        QCOMPARE(ReaderColour(0x000000FFu), qRgb(255, 0, 0));     // clRed: 00BBGGRR
        QCOMPARE(ReaderColour(0x00FF0000u), qRgb(0, 0, 255));     // clBlue
        QCOMPARE(ReaderColour(0x8000000Fu), qRgb(240, 240, 240)); // clBtnFace
        QCOMPARE(ReaderColour(0x80000005u), qRgb(255, 255, 255)); // clWindow
    }

    void polishNumbers()
    {
        QCOMPARE(PolishNumber(21.0), std::string("21"));
        QCOMPARE(PolishNumber(4.478), std::string("4,4")); // never rounded up to the limit
        QCOMPARE(PolishNumber(1.86), std::string("1,8"));
        QCOMPARE(PolishNumber(4.5), std::string("4,5"));
        QCOMPARE(PolishNumber(2.0), std::string("2"));
        QCOMPARE(PolishNumber(3.05, 2), std::string("3,05"));
    }

    void formats()
    {
        const auto sniff = [](const char* text, std::size_t size) {
            return check::SniffFormat(std::span(reinterpret_cast<const std::uint8_t*>(text), size));
        };
        QCOMPARE(sniff("\xFF\xD8\xFF\xE0", 4), std::string("JPEG"));
        QCOMPARE(sniff("BM\x10", 3), std::string("BMP"));
        QCOMPARE(sniff("GIF89a", 6), std::string("GIF"));
        const char webp[] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'};
        QCOMPARE(sniff(webp, sizeof webp), std::string("WebP"));
        QCOMPARE(sniff("\xFF", 1), std::string());
        QCOMPARE(sniff("", 0), std::string());
    }
};

QTEST_MAIN(SkinCheckTest)
#include "test_skincheck.moc"
