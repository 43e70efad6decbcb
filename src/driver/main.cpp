#include <iostream>
#include <string>
#include <vector>

#include "driver/run.hpp"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> arguments;
    try {
        arguments.reserve(argc > 1 ? static_cast<std::size_t>(argc - 1) : 0);
        for (int i = 1; i < argc; ++i)
            arguments.emplace_back(argv[i]);
    } catch (...) {
        std::cerr << "*** kivxmlmerge error 19 (8/" << __LINE__ << "): Out of memory.\n";
        return kiv::kExitDiagnostic;
    }
    // The process ends with the run.
    return kiv::runMerge(arguments, std::cout, std::cerr, kiv::ModelAtEnd::LeftToTheSystem);
}
