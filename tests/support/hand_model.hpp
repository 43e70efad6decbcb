#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "model/coverage_file.hpp"
#include "model/coverage_function.hpp"
#include "model/coverage_probe.hpp"
#include "model/records.hpp"

namespace kiv::test {

// Inserts into a model built by hand, bypassing the merging rules, so that
// the evaluation and the writers can be tested on exactly the model given.

// A function stored under its line, its first header naming `owner`.
inline CoverageFunction& insertFunction(CoverageFile& file, CoverageFile& owner,
                                        const std::string& ownerName, std::uint32_t ownerLine,
                                        const std::string& ownerParameters, const std::string& name,
                                        std::uint32_t line, const std::string& parameters) {
    FunctionHeader header;
    header.file = &owner;
    header.name = ownerName;
    header.definedAtLine = ownerLine;
    header.parameters = ownerParameters;
    auto created = std::make_unique<CoverageFunction>(name, line, parameters, header);
    CoverageFunction& result = *created;
    file.functionMap.emplace(line, std::move(created));
    return result;
}

inline CoverageFunction& insertFunction(CoverageFile& file, const std::string& name,
                                        std::uint32_t line, const std::string& parameters) {
    return insertFunction(file, file, name, line, parameters, name, line, parameters);
}

// A probe stored under its probe line, after the probes already there.
inline CoverageProbe& insertProbe(CoverageFunction& function, ProbeRecord&& record) {
    auto created = std::make_unique<CoverageProbe>(std::move(record));
    CoverageProbe& result = *created;
    function.probes.emplace(std::move(created));
    return result;
}

} // namespace kiv::test
