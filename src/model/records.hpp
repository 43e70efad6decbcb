#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kiv {

class CoverageFile;
class CoverageFunction;

// How the reader announces a function to the model.
struct FunctionHeader {
    CoverageFile* file = nullptr; // the file in which the header was read
    std::string name;
    std::uint32_t definedAtLine = 0;
    std::string parameters;
    std::uint32_t directiveProbeLine = 0; // line of the opening line-directive probe, 0 if none
    std::uint32_t directiveNumber = 0;    // line number named by that directive, 0 if none
    std::uint32_t callCount = 0;
    std::int32_t totalExecutionCost = 0;
    std::int32_t maxExecutionCost = 0;
};

// How the reader announces a probe to the model.
struct ProbeRecord {
    std::uint8_t type = 0;        // probe type code (ProbeType)
    std::string description;      // descr, unescaped; "eval_no: " in front when given
    std::string_view typeName;    // the type keyword (static storage of the keyword table)
    std::uint32_t probeLine = 0;  // key of the function's probe map
    std::uint32_t sourceLine = 0; // first entry of the source-line list
    std::uint32_t directiveLine = 0;
    std::uint32_t sequence = 0;              // number among consecutive ternary probes on one line
    std::array<std::uint32_t, 2> counters{}; // count1, count2
    std::uint32_t outcomeClass = 0;
    std::uint32_t nesting = 0;
    std::uint32_t scCount = 0;
    std::string context;           // description context, set by the model
    CoverageFile* owner = nullptr; // line-directive probes inside functions only
    // A line directive into a header part: the part's first function when the
    // probe was read, for a model merged on another thread than the one that
    // adds functions (null: the model looks it up).
    CoverageFunction* partFunction = nullptr;
};

} // namespace kiv
