#include "model/coverage_file.hpp"
#include "model/function_identity.hpp"

namespace kiv {

void CoverageFile::addFunction(std::string name, std::uint32_t line, std::string parameters,
                               const FunctionHeader& header) {
    if (CoverageFunction* known = findFunction(name, line, parameters)) {
        known->mergeHeader(header);
        return;
    }
    auto function =
        std::make_unique<CoverageFunction>(std::move(name), line, std::move(parameters), header);
    CoverageFunction& added = *function;
    added.keepTextsIn(texts_);
    // A multimap inserts after the functions already stored under the line.
    functionMap.emplace(line, std::move(function));
    index_->add(added);
}

void CoverageFile::addProbe(std::string_view functionName, std::uint32_t line,
                            std::string_view parameters, ProbeRecord&& probe) {
    // A probe of a function this file does not hold is dropped.
    if (CoverageFunction* function = findFunction(functionName, line, parameters))
        function->addProbe(std::move(probe));
}

void CoverageFile::setStatementAvailable(std::string_view functionName, std::uint32_t line,
                                         std::string_view parameters, std::string_view value) {
    if (value != "no") return;
    if (CoverageFunction* function = findFunction(functionName, line, parameters))
        function->statementAvailable = "no";
}

} // namespace kiv
