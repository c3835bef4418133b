#include "CommandLine.h"

#include "Version.h"
#include "widgets/FileNames.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstring>

namespace fabulor {
namespace {

const QString ProgramName = QStringLiteral("skinbuilder");

// Qt's help names the program after the running executable, which it only
// knows once the application object exists; --help is answered before that,
// so the usage line is made here.
QString HelpText(const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    const qsizetype endOfUsage = text.indexOf(QLatin1Char('\n'));
    const QString usage = QStringLiteral("Usage: %1 [options] [FILE.ski]").arg(ProgramName);
    return endOfUsage < 0 ? usage + QLatin1Char('\n') : usage + text.mid(endOfUsage);
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Fabulor Skin Builder: an editor for the skins of the Fabulor Reader."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Not addHelpOption(): its --help-all lists Qt's own options, which only
    // an application object knows, and --help is answered before one exists.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE.ski"), QStringLiteral("A skin file to open at start."),
                                 QStringLiteral("[FILE.ski]"));

    const bool parsed = parser.parse(arguments);
    // Asked for help, the user gets it whatever else the line holds.
    if (parser.isSet(help)) return {CommandLine::Action::Help, {}, HelpText(parser)};
    if (parser.isSet(version))
        return {CommandLine::Action::Version,
                {},
                QStringLiteral("%1 %2\n").arg(ProgramName, QString::fromLatin1(ProgramVersion))};
    QString error;
    if (!parsed)
        error = parser.errorText();
    else if (parser.positionalArguments().size() > 1)
        error = QStringLiteral("Only one skin file can be opened.");
    if (!error.isEmpty())
        return {CommandLine::Action::Error,
                {},
                QStringLiteral("%1: %2\n\n%3").arg(ProgramName, error, HelpText(parser))};
    const QStringList files = parser.positionalArguments();
    return {CommandLine::Action::Start, files.value(0), {}};
}

QStringList ProgramWords(int argc, const char* const* argv)
{
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << FileNameFromBytes(argv[i], std::strlen(argv[i]));
    return words;
}

int Answer(const CommandLine& line)
{
    const QByteArray text = line.text.toLocal8Bit();
    std::FILE* stream = line.action == CommandLine::Action::Error ? stderr : stdout;
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stream);
    std::fflush(stream);
    return line.action == CommandLine::Action::Error ? CommandLine::ExitUsage : 0;
}

} // namespace fabulor
