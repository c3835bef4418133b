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

// The words of the command line, the program first, as ProgramWords gives them.
// Options are written as Qt's own are (-platform): a single dash names a
// whole word, so -stylesheet is not -s -t -y ... -h.
CommandLine ParseCommandLine(const QStringList& arguments);

// argv as the system passed it: a file name keeps every byte, also one that
// is no UTF-8, which QCoreApplication::arguments() would replace.
QStringList ProgramWords(int argc, const char* const* argv);

// Prints what a command line that ends the program says, where it says it;
// returns the exit code.
int Answer(const CommandLine& line);

} // namespace fabulor
