#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "diagnostics/program_name.hpp"
#include "driver/program.hpp"
#include "driver/run.hpp"

namespace kiv {

int runMain(int argc, char** argv, const Program& program) {
    std::ios::sync_with_stdio(false);
    setProgramName(program.name);
    std::vector<std::string> arguments;
    try {
        arguments.reserve(argc > 1 ? static_cast<std::size_t>(argc - 1) : 0);
        for (int i = 1; i < argc; ++i)
            arguments.emplace_back(argv[i]);
    } catch (...) {
        std::cerr << "*** " << program.name << " error 19 (8/" << __LINE__ << "): Out of memory.\n";
        return kExitDiagnostic;
    }
    // The process ends with the run. The arguments move on: thousands of
    // report names are not kept twice.
    return runProgram(program, std::move(arguments), std::cout, std::cerr,
                      ModelAtEnd::LeftToTheSystem);
}

} // namespace kiv
