#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "driver/settings.hpp"

namespace kiv {

struct Program;

enum class CommandLineOutcome {
    Run,   // settings complete: run the merge
    Usage, // no argument or -h: show the help and end with status 1
};

// Interprets the arguments (program name excluded) of `program` into
// settings. Every error is raised as kiv::Error (unit 1).
CommandLineOutcome interpretCommandLine(std::vector<std::string> arguments, Settings& settings,
                                        const Program& program);

// Replaces every "@file" argument by the tokens of that options file.
std::vector<std::string> expandOptionsFiles(std::vector<std::string> arguments);

// Appends the ";"-separated pieces of a -f/-nf argument to patterns.
void splitPatterns(std::string_view argument, std::vector<std::string>& patterns);

// Checks an input report name: it must open for reading and end in ".xml"
// (any case). Raises codes 9, 8 or 7.
void checkInputName(const std::string& name);

} // namespace kiv
