#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/coverage_common.hpp"
#include "model/coverage_function.hpp"
#include "model/distinct_list.hpp"
#include "model/records.hpp"
#include "model/run_list.hpp"

namespace kiv {

// File types.
enum FileType : int {
    kSourceFile = 1,
    kHeaderFile = 2, // header extracted at file level
    kHeaderPart = 3, // header code met inside a function (never written)
};

class CoverageFile : public CoverageCommon {
  public:
    using FunctionMap = std::multimap<std::uint32_t, std::unique_ptr<CoverageFunction>>;

    CoverageFile(std::string key, int type, std::string displayName, bool chosen);
    ~CoverageFile() override;

    // Merging.
    void addFunction(std::string name, std::uint32_t line, std::string parameters,
                     const FunctionHeader& header);
    void addProbe(std::string_view functionName, std::uint32_t line, std::string_view parameters,
                  ProbeRecord&& probe);
    void addInstrumentationMode(std::string_view mode) { instrumentationModes.add(mode); }
    void addInclude(std::string_view name) { includes.add(name); }
    void setStatementAvailable(std::string_view functionName, std::uint32_t line,
                               std::string_view parameters, std::string_view value);

    // Header extraction.
    void addIncludedHeader(std::string_view displayName) { includedHeaders.add(displayName); }
    void addIncluder(std::string_view displayName, bool insideFunction) {
        (insideFunction ? functionIncluders : fileIncluders).add(displayName);
    }
    void addHeaderPart(std::string_view headerDisplayName, std::string_view functionName,
                       std::uint32_t line, std::string_view parameters);

    // The first function that is the same as (name, line, parameters), or null.
    CoverageFunction* findFunction(std::string_view name, std::uint32_t line,
                                   std::string_view parameters) const;

    bool isSourceOrHeader() const { return type != kHeaderPart; }

    // Where the texts of this file's probes are kept (see
    // CoverageFunction::keepTextsIn).
    void keepTextsIn(TextPool* texts) { texts_ = texts; }

    std::string key;
    int type = kSourceFile;
    std::string displayName;
    // Header parts: the key of the header whose code they hold.
    std::string headerKey;
    // The order in which the model met its files (0 for the first).
    std::uint32_t creationOrder = 0;
    std::string fileType; // "source" or "header"
    DistinctList instrumentationModes;
    std::string instrumentationMode;
    bool functionCoverageOnly = false;
    bool hasExecutionCost = false;
    bool chosen = false;
    std::uint32_t functions = 0;
    std::uint32_t lines = 0;
    std::uint32_t hits = 0;
    std::uint32_t all = 0;
    std::uint32_t ter = 100;
    std::uint32_t statementHits = 0;
    std::uint32_t statementAll = 0;
    std::uint32_t statementTer = 100;
    std::uint32_t statementNaFunctions = 0;

    // --- Filled when the model is finished.
    bool statementCoverage = false;
    std::uint32_t points = 0;
    std::uint32_t statementFunctions = 0; // functions with statement coverage available
    std::string terText;
    std::string statementTerText;

    DistinctList fileIncluders;     // including sources met at file level
    DistinctList functionIncluders; // including files met inside functions
    DistinctList includedHeaders;   // headers extracted from this source file
    DistinctList includes;          // the reports' own include elements
    DistinctList headerParts;       // headers met inside functions, as the reports spell them
    RunList lineCounts;             // one per file summary "lines" of every report
    FunctionMap functionMap;

  private:
    struct Index;
    std::unique_ptr<Index> index_; // identity index of functionMap, built by the merging code
    TextPool* texts_ = nullptr;
};

} // namespace kiv
