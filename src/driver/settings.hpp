#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// What the command line asks of one run.
struct Settings {
    std::vector<std::string> arguments; // after options files were expanded
    // The accepted input report names, in order: views of `arguments`, so
    // that thousands of names are not kept twice.
    std::vector<std::string_view> inputs;
    std::string listingName;                   // -p; empty: no listing, "-": standard output
    std::string summaryName;                   // -x; empty: no summary, "-": standard output
    std::string lcovName;                      // -lcov; empty: no lcov tracefile
    std::string coberturaName;                 // -cobertura; empty: no Cobertura XML
    std::string root;                          // -root; empty: names as displayed
    std::vector<std::string> chosenPatterns;   // -f
    std::vector<std::string> unchosenPatterns; // -nf
    bool noDriveLetter = false;                // -ndl
};

} // namespace kiv
