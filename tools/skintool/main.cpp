// skintool: the command-line companion of the skin builder, for people who
// script skins and for black-box tests. It reads no configuration.

#include "Command.h"

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
} // namespace skintool

namespace {

using skintool::Command;

constexpr auto commands = std::to_array<Command>({
    {"jpeg", "FILE", 1, skintool::runJpeg},
    {"mask", "FILE", 1, skintool::runMask},
    {"ini", "FILE", 1, skintool::runIni},
    {"get", "FILE SECTION KEY KIND DEFAULT", 5, skintool::runGet},
    {"list", "FILE", 1, skintool::runList},
    {"unpack", "FILE", 1, skintool::runUnpack},
    {"pack", "INI OUT", 2, skintool::runPack},
});

void printUsage(std::ostream& err)
{
    err << "usage: skintool COMMAND ARGS...\n";
    for (const Command& c : commands)
        err << "  skintool " << c.name << ' ' << c.arguments << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        printUsage(std::cerr);
        return skintool::ExitUsage;
    }
    for (const Command& c : commands) {
        if (words.front() != c.name) continue;
        if (words.size() - 1 != c.arity) {
            std::cerr << "usage: skintool " << c.name << ' ' << c.arguments << '\n';
            return skintool::ExitUsage;
        }
        try {
            const int rc = c.run(skintool::Args(words).subspan(1), std::cout, std::cerr);
            std::cout.flush();
            return rc;
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            return skintool::ExitFailure;
        }
    }
    printUsage(std::cerr);
    return skintool::ExitUsage;
}
