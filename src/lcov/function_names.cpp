#include "lcov/function_names.hpp"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "model/coverage_file.hpp"

namespace kiv {

namespace {

void appendWithoutCommas(std::string& out, std::string_view text) {
    const std::size_t start = out.size();
    out.append(text);
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), ',', ';');
}

} // namespace

std::vector<std::string> lcovFunctionNames(const CoverageFile& file) {
    std::unordered_map<std::string_view, unsigned> uses;
    for (const auto& [line, function] : file.functionMap)
        ++uses[function->name];

    std::vector<std::string> names;
    names.reserve(file.functionMap.size());
    std::unordered_set<std::string> taken;
    for (const auto& [line, function] : file.functionMap) {
        std::string name;
        appendWithoutCommas(name, function->name);
        if (uses[function->name] > 1) appendWithoutCommas(name, function->parameters);
        if (name.empty() || taken.contains(name)) {
            name += '@';
            name += std::to_string(function->definedAtLine);
            const std::string stem = name;
            for (unsigned k = 2; taken.contains(name); ++k)
                name = stem + '#' + std::to_string(k);
        }
        taken.insert(name);
        names.push_back(std::move(name));
    }
    return names;
}

} // namespace kiv
