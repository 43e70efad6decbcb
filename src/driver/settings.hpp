#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kiv {

// What the command line asks of one run.
struct Settings {
    std::vector<std::string> arguments; // after options files were expanded
    // Where the accepted input report names are in `arguments`, in order:
    // thousands of names are not kept twice.
    std::vector<std::size_t> inputPositions;
    std::string listingName;                   // -p; empty: no listing, "-": standard output
    std::string summaryName;                   // -x; empty: no summary, "-": standard output
    std::string lcovName;                      // -lcov; empty: no lcov tracefile
    std::string coberturaName;                 // -cobertura; empty: no Cobertura XML
    std::string root;                          // -root; empty: names as displayed
    std::vector<std::string> chosenPatterns;   // -f
    std::vector<std::string> unchosenPatterns; // -nf
    bool noDriveLetter = false;                // -ndl

    // The accepted input report names, in order.
    std::vector<std::string_view> inputNames() const {
        std::vector<std::string_view> names;
        names.reserve(inputPositions.size());
        for (const std::size_t position : inputPositions)
            names.emplace_back(arguments[position]);
        return names;
    }
    // Adds an accepted input name (as the command line does for each).
    void addInput(std::string name) {
        inputPositions.push_back(arguments.size());
        arguments.push_back(std::move(name));
    }
};

} // namespace kiv
