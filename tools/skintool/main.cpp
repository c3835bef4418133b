// skintool: the command-line companion of the skin builder, for people who
// script skins and for black-box tests. It reads no configuration.

#include "Command.h"
#include "StandardOutput.h"

#include "Version.h"

#include <array>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace skintool {
// Defined in the topic files beside this one.
int runJpeg(Args args, std::ostream& out, std::ostream& err);
int runMask(Args args, std::ostream& out, std::ostream& err);
int runIni(Args args, std::ostream& out, std::ostream& err);
int runGet(Args args, std::ostream& out, std::ostream& err);
int runList(Args args, std::ostream& out, std::ostream& err);
int runUnpack(Args args, std::ostream& out, std::ostream& err);
int runPack(Args args, std::ostream& out, std::ostream& err);
int runCheck(Args args, std::ostream& out, std::ostream& err);
int runRender(Args args, std::ostream& out, std::ostream& err);
int runMaskFrom(Args args, std::ostream& out, std::ostream& err);
int runExport(Args args, std::ostream& out, std::ostream& err);
int runImport(Args args, std::ostream& out, std::ostream& err);
} // namespace skintool

namespace {

using skintool::Command;

constexpr auto commands = std::to_array<Command>({
    {"jpeg", "FILE", 1, skintool::runJpeg,
     "reads a JPEG picture's header: WIDTHxHEIGHT grey=G progressive=P"},
    {"mask", "FILE", 1, skintool::runMask, "reads a mask bitmap: WIDTHxHEIGHT visible=N"},
    {"ini", "FILE", 1, skintool::runIni, "parses FILE as skin document text and writes it in canonical form"},
    {"get", "FILE SECTION KEY KIND DEFAULT", 5, skintool::runGet,
     "reads one value; KIND is text, int, flag, colour or binary"},
    {"list", "FILE", 1, skintool::runList, "lists a skin file's archive entries"},
    {"unpack", "FILE", 1, skintool::runUnpack, "writes the skin.ski entry of a skin file to standard output"},
    {"pack", "INI OUT", 2, skintool::runPack, "writes INI's bytes as the skin.ski entry of skin file OUT"},
    {"check", "FILE.ski [--json]", 1, skintool::runCheck,
     "checks a skin: one finding per line (error|warning SECTION KEY message), or a JSON array", 2},
    {"render", "FILE.ski OUT.png [--hover COMPONENT] [--size N]", 2, skintool::runRender,
     "draws the skin's window as the editor's preview shows it, as PNG, transparent outside its\n"
     "      shape; --hover draws that button (PClose, ...) under the pointer, --size N makes the\n"
     "      longer side N pixels (1 to 4096)",
     6},
    {"mask-from", "PICTURE OUT.bmp --key COLOUR [--tolerance N]", 4, skintool::runMaskFrom,
     "writes a 1-bit mask BMP of a JPEG or BMP picture: pixels within N (0-255, default 0) of COLOUR\n"
     "      (#RRGGBB, $00BBGGRR or clName) on every channel are hidden (black), the rest shown (white)",
     6},
    {"export", "FILE.ski DIR", 2, skintool::runExport,
     "writes a skin file as a new or empty folder DIR: DIR/skin.ini holds its text, each picture\n"
     "      value replaced by a reference (@PClose.MP1.jpg) to the picture's own file in DIR"},
    {"import", "DIR OUT.ski", 2, skintool::runImport,
     "builds skin file OUT.ski from folder DIR: the text of DIR/skin.ini with each reference\n"
     "      replaced by the named file's bytes; an import of an export gives the same skin text"},
});

// The exit code once the command has ended: a standard output that lost
// bytes fails the run, whatever the command made of it (the findings of a
// check that never arrived are no verdict).
int Finished(int code, skintool::StandardOutput& output)
{
    if (output.finish()) return code;
    std::cerr << "Cannot write to standard output: " << output.reason() << '\n';
    return skintool::ExitFailure;
}

void printUsage(std::ostream& err)
{
    err << "usage: skintool COMMAND ARGS...\n";
    for (const Command& c : commands)
        err << "  skintool " << c.name << ' ' << c.arguments << '\n';
}

void printHelp(std::ostream& out)
{
    out << "usage: skintool COMMAND ARGS...\n"
           "       skintool --help | --version\n"
           "The command-line companion of the Fabulor Skin Builder.\n\n"
           "Commands:\n";
    for (const Command& c : commands)
        out << "  skintool " << c.name << ' ' << c.arguments << "\n      " << c.summary << '\n';
    out << "\nExit codes: 0 success, 1 failure (message on standard error), 2 usage error,\n"
           "3 a warning (what was extracted is still written).\n"
           "skintool check: 0 the skin is clean, 4 warnings only, 5 errors; a file that cannot be\n"
           "read at all gives 1, a usage error 2.\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    skintool::StandardOutput output;
    std::ostream out(&output);
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        printUsage(std::cerr);
        return skintool::ExitUsage;
    }
    if (words.size() == 1 && (words.front() == "--help" || words.front() == "-h")) {
        printHelp(out);
        return Finished(skintool::ExitOk, output);
    }
    if (words.size() == 1 && (words.front() == "--version" || words.front() == "-v")) {
        out << "skintool " << fabulor::ProgramVersion << '\n';
        return Finished(skintool::ExitOk, output);
    }
    for (const Command& c : commands) {
        if (words.front() != c.name) continue;
        if (!c.accepts(words.size() - 1)) {
            std::cerr << "usage: skintool " << c.name << ' ' << c.arguments << '\n';
            return skintool::ExitUsage;
        }
        try {
            return Finished(c.run(skintool::Args(words).subspan(1), out, std::cerr), output);
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            // What the command wrote before it failed still goes out.
            return Finished(skintool::ExitFailure, output);
        }
    }
    printUsage(std::cerr);
    return skintool::ExitUsage;
}
