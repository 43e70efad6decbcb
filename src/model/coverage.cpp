#include "model/coverage.hpp"

#include "model/current_coverage.hpp"

namespace kiv {

namespace {

std::string joinOptions(const std::vector<std::string>& arguments) {
    std::size_t length = 0;
    for (const std::string& argument : arguments)
        length += argument.size() + 1;
    std::string options;
    options.reserve(length);
    for (const std::string& argument : arguments) {
        options += argument;
        options += ' ';
    }
    if (!options.empty()) options.pop_back();
    return options;
}

} // namespace

Coverage::Coverage(std::string version, const std::vector<std::string>& arguments,
                   std::vector<std::string> chosen, std::vector<std::string> unchosen,
                   std::vector<std::string> copyrightLines)
    : kivxmlmergeVersion(std::move(version)), kivxmlmergeOptions(joinOptions(arguments)),
      copyright(std::move(copyrightLines)), chosenPatterns(std::move(chosen)),
      unchosenPatterns(std::move(unchosen)) {
    setCurrentCoverage(this);
}

Coverage::~Coverage() {
    // Files go in key order, each taking its functions and probes with it.
    for (auto& [key, file] : fileMap)
        file.reset();
    if (currentCoverage() == this) setCurrentCoverage(nullptr);
}

CoverageFile& Coverage::findOrCreateFile(std::string_view key, int type,
                                         std::string_view displayName, bool chosen) {
    auto it = fileMap.find(key);
    if (it != fileMap.end()) return *it->second;
    auto file =
        std::make_unique<CoverageFile>(std::string(key), type, std::string(displayName), chosen);
    CoverageFile& created = *file;
    created.keepTextsIn(&texts);
    created.creationOrder = static_cast<std::uint32_t>(fileMap.size());
    fileMap.emplace(std::string(key), std::move(file));
    if (chosen) {
        if (type == kSourceFile) {
            ++files;
            ++chosenFiles;
        } else if (type == kHeaderFile) {
            ++headers;
            ++chosenFiles;
        } else {
            ++chosenOthers;
        }
    }
    return created;
}

} // namespace kiv
