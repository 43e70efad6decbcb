#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kiv {

// Exit statuses of a run.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitDiagnostic = 2;

// What becomes of the merged model once the outputs are written.
enum class ModelAtEnd {
    Destroyed,
    // For a process that ends right after the run: the system takes the
    // memory back at once, far quicker than destroying millions of objects
    // one by one. The model stays reachable, so that leak checkers do not
    // count it as lost.
    LeftToTheSystem,
};

struct Program;

// One run of `program` from start to end: interprets the arguments (program
// name excluded), reads every input report, finishes the model and writes the
// requested outputs ("-" meaning `out`). A diagnostic goes to `err` as one
// line. Returns the exit status.
int runProgram(const Program& program, std::vector<std::string> arguments, std::ostream& out,
               std::ostream& err, ModelAtEnd atEnd = ModelAtEnd::Destroyed);

// The same for kivxmlmerge and for kivxmlexport.
int runMerge(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
             ModelAtEnd atEnd = ModelAtEnd::Destroyed);
int runExport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
              ModelAtEnd atEnd = ModelAtEnd::Destroyed);

// The process's entry point for `program`.
int runMain(int argc, char** argv, const Program& program);

} // namespace kiv
