// skintool --help and --version: what they print, where, and their exit
// code; the help names every command the tool runs.

#include "support/RunSkintool.h"

#include <QtTest>

using namespace fabulor;

namespace {

struct Run {
    int exitCode = -1; // -1: killed after hanging, or crashed
    QString out;
    QString err;
};

Run skintool(const QStringList& args)
{
    const testing::SkintoolRun run = testing::RunSkintool(args);
    // A hung run keeps no output here: the help checks compare it whole.
    if (run.exitCode == -1) return {};
    return {run.exitCode, QString::fromLocal8Bit(run.out), QString::fromLocal8Bit(run.err)};
}

} // namespace

class SkintoolHelpTest : public QObject {
    Q_OBJECT
private slots:
    void help_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("--help") << "--help";
        QTest::newRow("-h") << "-h";
    }
    void help()
    {
        QFETCH(QString, option);
        const Run run = skintool({option});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QVERIFY(run.out.startsWith(QLatin1String("usage: skintool COMMAND ARGS...\n")));
        QVERIFY(run.out.contains(QLatin1String("--version")));

        // Every command the help lists is one the tool knows: called without
        // its arguments it answers with its own usage line, not the general one.
        const QRegularExpression line(QStringLiteral("^  skintool ([\\w-]+) (.+)$"),
                                      QRegularExpression::MultilineOption);
        QStringList listed;
        for (auto match = line.globalMatch(run.out); match.hasNext();) {
            const QRegularExpressionMatch command = match.next();
            listed << command.captured(1);
            const Run bare = skintool({command.captured(1)});
            QCOMPARE(bare.exitCode, 2);
            QCOMPARE(bare.err, "usage: skintool " + command.captured(1) + ' ' + command.captured(2) + '\n');
        }
        QCOMPARE(listed, (QStringList{"jpeg", "mask", "ini", "get", "list", "unpack", "pack", "check",
                                      "render", "mask-from", "export", "import"}));
    }

    void version_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("--version") << "--version";
        QTest::newRow("-v") << "-v";
    }
    void version()
    {
        QFETCH(QString, option);
        const Run run = skintool({option});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("skintool " FSB_PROJECT_VERSION "\n"));
        QCOMPARE(run.err, QString());
    }

    // Anything else is still a usage error, on standard error.
    void otherWordsAreUsageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("--help with more") << QStringList{"--help", "list"};
        QTest::newRow("unknown option") << QStringList{"--bogus"};
        QTest::newRow("nothing") << QStringList{};
    }
    void otherWordsAreUsageErrors()
    {
        QFETCH(QStringList, args);
        const Run run = skintool(args);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QString());
        QVERIFY(run.err.startsWith(QLatin1String("usage: skintool")));
    }
};

QTEST_GUILESS_MAIN(SkintoolHelpTest)
#include "test_skintool_help.moc"
