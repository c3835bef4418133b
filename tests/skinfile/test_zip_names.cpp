// Entry names: the stored form of a given name, lookups, and delete masks.

#include "skinfile/NameMatch.h"

#include <QtTest>

using namespace fabulor;

class ZipNamesTest : public QObject {
    Q_OBJECT

private slots:
    void storedName_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain") << "skin.ski"
                               << "skin.ski";
        QTest::newRow("drive") << "C:\\skins\\skin.ski"
                               << "skins/skin.ski";
        QTest::newRow("share") << "\\\\server\\share\\dir\\skin.ski"
                               << "dir/skin.ski";
        QTest::newRow("leading separator") << "\\skin.ski"
                                           << "skin.ski";
        QTest::newRow("dots") << "..\\..\\up\\skin.ski"
                              << "up/skin.ski";
        QTest::newRow("forward") << "/abs/skin.ski"
                                 << "abs/skin.ski";
    }
    void storedName()
    {
        QFETCH(QString, given);
        QFETCH(QString, stored);
        QCOMPARE(QString::fromStdString(storedEntryName(given.toStdString())), stored);
    }

    void lookupIgnoresOnlyAsciiCase()
    {
        QVERIFY(sameEntryName("skin.ski", "SKIN.SKI"));
        QVERIFY(!sameEntryName("skin.ski", "skins/skin.ski"));
        QVERIFY(!sameEntryName("\xe9.ski", "\xc9.ski")); // é and É: not A to Z
    }

    void mask_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("all") << "*.*"
                             << "skin.ski" << true;
        QTest::newRow("all, no dot") << "*.*"
                                     << "README" << true;
        QTest::newRow("star, no dot") << "*"
                                      << "README" << true;
        QTest::newRow("all, in a folder") << "*.*"
                                          << "skins/skin.ski" << true;
        QTest::newRow("folder entry") << "*.*"
                                      << "images/" << false;
        QTest::newRow("nested folder entry") << "*"
                                             << "images/buttons/" << false;
        QTest::newRow("case") << "SKIN.SKI"
                              << "skin.ski" << true;
        QTest::newRow("question") << "skin.sk?"
                                  << "skin.ski" << true;
        QTest::newRow("question needs one") << "skin.ski?"
                                            << "skin.ski" << false;
        QTest::newRow("extension") << "*.txt"
                                   << "skin.ski" << false;
        QTest::newRow("list, blanks") << " *.txt ; *.ski "
                                      << "skin.ski" << true;
        QTest::newRow("path part") << "docs\\*.*"
                                   << "docs/readme.txt" << true;
        QTest::newRow("path part differs") << "docs/*.*"
                                           << "other/readme.txt" << false;
        QTest::newRow("path part, no path") << "docs\\*.*"
                                            << "readme.txt" << false;
        QTest::newRow("drive ignored") << "C:*.ski"
                                       << "skin.ski" << true;
        QTest::newRow("empty mask") << ""
                                    << "skin.ski" << false;
        QTest::newRow("many stars") << "*a*a*a*a*a*a*b" << QString(200, 'a') << false;
    }
    void mask()
    {
        QFETCH(QString, mask);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(matchesMask(mask.toStdString(), name.toStdString()), matches);
    }
};

QTEST_GUILESS_MAIN(ZipNamesTest)
#include "test_zip_names.moc"
