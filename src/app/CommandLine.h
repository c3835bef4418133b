#pragma once
// The editor's command line: an optional skin file to open at start, and
// --help and --version.

#include <QString>
#include <QStringList>

namespace fabulor {

struct CommandLine {
    enum class Action {
        Start,   // start the editor, with skinFile when one was named
        Help,    // print text to standard output and end
        Version, // likewise
        Error,   // print text to standard error and end with ExitUsage
    };
    static constexpr int ExitUsage = 2;

    Action action = Action::Start;
    QString skinFile;
    QString text;
};

// arguments as QCoreApplication::arguments() gives them, the program first.
// Options are written as Qt's own are (-platform): a single dash names a
// whole word, so -stylesheet is not -s -t -y ... -h.
CommandLine ParseCommandLine(const QStringList& arguments);

// Prints what a command line that ends the program says, where it says it;
// returns the exit code.
int Answer(const CommandLine& line);

} // namespace fabulor
