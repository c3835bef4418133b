#pragma once
// One sub-command of skintool: its name, its argument words for the usage
// text, and the function that runs it. Each topic file defines its commands.

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace skintool {

using Args = std::span<const std::string>;

// Exit codes shared by every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;
inline constexpr int ExitWarning = 3;
// The skin check's verdicts.
inline constexpr int ExitCheckWarnings = 4;
inline constexpr int ExitCheckErrors = 5;

struct Command {
    std::string_view name;
    std::string_view arguments; // e.g. "FILE SECTION KEY KIND DEFAULT"
    std::size_t arity;          // number of argument words after the name
    int (*run)(Args args, std::ostream& out, std::ostream& err);
    std::string_view summary; // what it does, for --help
    // Commands with options take up to this many words; the command checks
    // which ones it was given. Zero: exactly `arity`.
    std::size_t maxArity = 0;

    bool accepts(std::size_t words) const
    {
        return maxArity == 0 ? words == arity : words >= arity && words <= maxArity;
    }
};

} // namespace skintool
