#include "model/coverage_file.hpp"

namespace kiv {

void CoverageFile::addHeaderPart(std::string_view headerDisplayName, std::string_view functionName,
                                 std::uint32_t line, std::string_view parameters) {
    if (CoverageFunction* function = findFunction(functionName, line, parameters))
        function->headerParts.add(headerDisplayName);
    headerParts.add(headerDisplayName);
}

} // namespace kiv
