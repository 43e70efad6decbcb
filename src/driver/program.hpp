#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "driver/settings.hpp"

namespace kiv {

class Coverage;

// An option that takes the next argument, whatever it looks like, as its
// value; a later one replaces an earlier one.
struct ValueOption {
    std::string_view name;        // as written on the command line
    int missingArgumentCode;      // raised when it is the last argument
    std::string Settings::*value; // receives the argument
    bool namesOutput;             // one output option at least must be given
};

// What sets the two programs of the project apart. Everything else of a run
// (options files, inputs, filters, reading, merging, finishing, diagnostics)
// they share.
struct Program {
    std::string_view name; // begins every diagnostic line
    std::span<const ValueOption> valueOptions;
    int outputMissingCode; // no output option with a non-empty name
    void (*writeUsage)(std::ostream& out);
    // Writes the requested outputs of a finished model, one after the other,
    // each complete and closed before the next is opened; "-" means `out`.
    void (*writeOutputs)(const Coverage& coverage, const Settings& settings, std::ostream& out);
};

// kivxmlmerge: the profile listing and the summary report.
const Program& mergeProgram();
// kivxmlexport: the lcov tracefile and Cobertura XML.
const Program& exportProgram();

} // namespace kiv
